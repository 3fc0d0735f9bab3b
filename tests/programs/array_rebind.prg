// A variable that held one row of a table of arrays, assigned another row,
// denotes the new row and leaves the old one as it was; an array passed by
// reference and assigned a new array is seen so by the caller.
FUNCTION Main()
   LOCAL aGrid := { { 1, 2 }, { 3, 4 }, { 5, 6 } }, aRow, i, aOut := { 0 }
   FOR i := 1 TO 3
      aRow := aGrid[ i ]
      aRow[ 2 ] := aRow[ 2 ] * 10
   NEXT
   ? aGrid
   aRow := aGrid[ 1 ]
   aRow := { 7, 8 }
   ? aGrid[ 1 ], aRow
   Fill( @aOut )
   ? aOut
   RETURN NIL

PROCEDURE Fill( a )
   a := { "x", "y" }
