// Directives: #define (object and function-like), #undef, nested #ifdef,
// #include with its #line announcements, #stdout.
#define LIMIT 10
#define EMPTY
#define AREA(w, h) ((w) * (h))
#include "directives.ch"
FUNCTION Main()
   LOCAL n := LIMIT + EMPTY 1
   n := AREA(n, LIMIT + 1) + AREA( 2, 3 )
#ifdef LIMIT
   ? "limit"
#ifndef LIMIT
   ? "never"
#else
   ? "nested else"
#endif
#else
   ? "skipped"
#endif
#undef LIMIT
#ifdef LIMIT
   ? "gone"
#endif
   n := LIMIT
#stdout compiled with a message
   RETURN n
