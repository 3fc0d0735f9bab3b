// Long loops take far more temporaries than the run-time's ring holds:
// values kept in variables and arrays must survive the wrap-around, and a
// deep recursion must keep each level's argument.
FUNCTION Main()
   LOCAL i, nSum := 0, cText := "", a := {}
   FOR i := 1 TO 5000
      nSum += i * 2 - 1
      IF i % 100 == 0
         cText += Chr( 65 + ( i / 100 - 1 ) % 26 )
      ENDIF
      AAdd( a, "n" + AllTrim( Str( i ) ) )
   NEXT
   ? nSum, Len( cText ), cText
   ? Len( a ), a[ 1 ], a[ 2500 ], a[ 5000 ]
   ? Deep( 100 )
   RETURN NIL

FUNCTION Deep( n )
   IF n == 0
      RETURN 0
   ENDIF
   RETURN n + Deep( n - 1 )
