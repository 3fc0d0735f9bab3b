// Nested FOR loops over two-dimensional arrays: a matrix product, a
// transpose and a trace, built with Array() and read with a[i, j].
FUNCTION Main()
   LOCAL a := { { 1, 2, 3 }, { 4, 5, 6 }, { 7, 8, 9 } }
   LOCAL b := { { 9, 8, 7 }, { 6, 5, 4 }, { 3, 2, 1 } }
   LOCAL p := Array( 3, 3 ), t := Array( 3, 3 ), i, j, k, nTrace := 0
   FOR i := 1 TO 3
      FOR j := 1 TO 3
         p[ i, j ] := 0
         FOR k := 1 TO 3
            p[ i, j ] += a[ i, k ] * b[ k, j ]
         NEXT
         t[ j, i ] := a[ i, j ]
      NEXT
      nTrace += p[ i, i ]
   NEXT
   FOR i := 1 TO 3
      ? p[ i, 1 ], p[ i, 2 ], p[ i, 3 ], "|", t[ i, 1 ], t[ i, 2 ], t[ i, 3 ]
   NEXT
   ? "trace", nTrace
   RETURN NIL
