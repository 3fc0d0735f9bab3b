// A function returns its value as it was at the RETURN, also when the value
// lives on (a STATIC, a PUBLIC, the caller's variable, an array element), and
// a call's arguments and an operator's operands are evaluated left to right.
// An array is a reference: returning one returns the array itself.
FUNCTION Main()
   LOCAL n := 10, a := { 1, 2 }, b
   PUBLIC nShared := 0
   ? Counter(), Counter(), Counter()
   ? Counter() + Counter() * 10
   ? Shared(), Shared(), nShared
   ? Bump( @n ), Bump( @n ), n
   ? Elem( a ), Put( a, 7 ), Elem( a )
   b := Same( a )
   b[ 2 ] := 9
   ? a[ 2 ], Len( Same( a ) )
   ? Pair( Counter(), Pair( Counter(), Counter() ) )
   RETURN NIL

FUNCTION Counter()
   STATIC nCount := 0
   nCount++
   RETURN nCount

FUNCTION Shared()
   nShared += 100
   RETURN nShared

FUNCTION Bump( x )
   x++
   RETURN x

FUNCTION Elem( aList )
   RETURN aList[ 1 ]

FUNCTION Put( aList, nNew )
   aList[ 1 ] := nNew
   RETURN nNew

FUNCTION Same( aList )
   RETURN aList

FUNCTION Pair( x, y )
   RETURN "(" + Str( x, 1 ) + " " + IIF( ValType( y ) == "C", y, Str( y, 1 ) ) + ")"
