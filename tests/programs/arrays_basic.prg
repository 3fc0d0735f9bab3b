// Arrays: literals, 1-based indexing, nested arrays read and written with
// a[i][j] and a[i, j], Len, AAdd, Array() with two dimensions, and arrays
// held by reference when assigned.
FUNCTION Main()
   LOCAL a := { 10, "two", .T. }, b, m, e := {}
   ? Len( a ), a[ 1 ], a[ 2 ], a[ 3 ], Len( e )
   a[ 1 ] := a[ 1 ] + 5
   AAdd( a, CToD( "01/02/03" ) )
   ? Len( a ), a[ 1 ], a[ 4 ]
   m := { { 1, 2 }, { 3, { 4, 5 } } }
   ? m[ 2 ][ 1 ], m[ 2, 2, 2 ], Len( m[ 2 ] ), ValType( m[ 1 ] )
   m[ 1 ][ 2 ] := "x"
   m[ 2, 2, 1 ] += 10
   ? m[ 1, 2 ], m[ 2 ][ 2 ][ 1 ]
   b := a
   b[ 2 ] := "changed"
   ? a[ 2 ]
   m := Array( 2, 3 )
   ? Len( m ), Len( m[ 1 ] ), m[ 2, 3 ] == NIL
   m[ 2, 3 ] := 7
   ? m[ 2, 3 ], m[ 1, 3 ] == NIL
   AAdd( e, { "row" } )
   ? Len( e ), e[ 1, 1 ]
   RETURN NIL
