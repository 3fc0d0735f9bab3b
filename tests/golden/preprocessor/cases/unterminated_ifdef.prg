#define X
#ifdef X
FUNCTION Main()
#ifndef Y
   RETURN NIL
#endif
