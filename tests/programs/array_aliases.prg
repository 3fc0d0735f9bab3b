// Elements as parameters and assignment targets: a called function sees
// the element it was given however many elements it reads meanwhile, and
// its assignments reach the array; strings survive a[i] := a[i], and
// a[i] += ... on strings and numbers writes back.
FUNCTION Main()
   LOCAL a := {}, i, s := {}
   FOR i := 1 TO 3000
      AAdd( a, i )
   NEXT
   ? Keep( a, a[ 2 ] ), a[ 2 ]
   ? Keep( a, a[ 2999 ] ), a[ 2999 ]
   AAdd( s, "ab" )
   AAdd( s, { "x", 1 } )
   s[ 1 ] := s[ 1 ]
   s[ 1 ] += "cd"
   s[ 2 ][ 2 ] += 41
   s[ 2 ][ 1 ] := s[ 1 ] + s[ 2 ][ 1 ]
   ? s[ 1 ], s[ 2 ][ 1 ], s[ 2 ][ 2 ]
   Twice( s[ 2 ], 2 )
   ? s[ 2 ][ 2 ]
   ? Keep( a, a[ 2 ] ) + Keep( a, a[ 3 ] ), a[ 2 ], a[ 3 ]
   RETURN NIL

// Reads every element, then returns the parameter and doubles it.
FUNCTION Keep( a, x )
   LOCAL i, n := 0, before := x
   FOR i := 1 TO Len( a )
      n += a[ i ]
   NEXT
   x := x * 2
   RETURN before

PROCEDURE Twice( row, n )
   row[ n ] := row[ n ] * 2
