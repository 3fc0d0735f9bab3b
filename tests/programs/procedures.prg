// Procedures and functions: parameters left out arrive as NIL, a function
// without RETURN gives NIL, and a RETURN inside IF or FOR leaves at once.
FUNCTION Main()
   Greet( "Ana" )
   Greet()
   ? NoReturn() == NIL
   ? FirstNegative( { 3, 8, -2, 5, -7 } ), FirstNegative( { 1, 2 } )
   ? Describe( 1, 2 ), Describe( 1 ), Describe()
   RETURN NIL

PROCEDURE Greet( cName )
   IF cName == NIL
      ? "Hello, nobody"
   ELSE
      ? "Hello, " + cName
   ENDIF

FUNCTION NoReturn()
   LOCAL x := 1
   x++

FUNCTION FirstNegative( a )
   LOCAL i
   FOR i := 1 TO Len( a )
      IF a[ i ] < 0
         RETURN i
      ENDIF
   NEXT
   RETURN 0

FUNCTION Describe( a, b )
   IF a == NIL
      RETURN "none"
   ELSEIF b == NIL
      RETURN "one"
   ENDIF
   RETURN "two"
