// ASort with its fourth argument, the order (.T. ascending, .F. descending),
// with the start and count given or left out.
FUNCTION Main()
   LOCAL a := { 3, 1, 2, 5, 4 }
   ASort( a, 1, 5, .F. )
   ? a[ 1 ], a[ 2 ], a[ 3 ], a[ 4 ], a[ 5 ]
   ASort( a, , , .T. )
   ? a[ 1 ], a[ 2 ], a[ 3 ], a[ 4 ], a[ 5 ]
   ASort( a, 2, , .F. )
   ? a[ 1 ], a[ 2 ], a[ 3 ], a[ 4 ], a[ 5 ]
   ASort( a, , 3, .F. )
   ? a[ 1 ], a[ 2 ], a[ 3 ], a[ 4 ], a[ 5 ]
   ASort( a, 2, 3, .T. )
   ? a[ 1 ], a[ 2 ], a[ 3 ], a[ 4 ], a[ 5 ]
   RETURN NIL
