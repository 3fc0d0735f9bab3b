// The forms of a function or procedure head: STATIC FUNCTION, STATIC
// PROCEDURE, USER FUNCTION, and heads written without parentheses.
FUNCTION Main()
   Banner()
   ? Twice( 4 ), Secret( 3 ), Answer()
   ShowSum( 2, 3 )
   RETURN NIL

PROCEDURE Banner
   ? "banner"

STATIC FUNCTION Secret( n )
   RETURN n * 100

USER FUNCTION Twice( n )
   RETURN n * 2

FUNCTION Answer
   RETURN 42

STATIC PROCEDURE ShowSum( a, b )
   ? "sum", a + b
