// IF with ELSEIF and ELSE, IFs nested inside each branch, and END closing an IF.
FUNCTION Main()
   LOCAL i
   FOR i := 1 TO 7
      ? i, Classify( i )
   NEXT
   RETURN NIL

FUNCTION Classify( n )
   LOCAL c := "unset"
   IF n < 3
      IF n == 1
         c := "one"
      ELSE
         c := "two"
      ENDIF
   ELSEIF n == 3
      c := "three"
   ELSEIF n % 2 == 0
      IF n > 5
         c := "big even"
      ELSE
         c := "even"
      END
   ELSE
      IF n > 5
         c := "big odd"
      ENDIF
      IF n < 6
         c := "odd"
      ENDIF
   ENDIF
   RETURN c
