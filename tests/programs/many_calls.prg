// User functions called far more often than the ring of temporaries has
// slots, with their results added up, stored or dropped: a finished call
// must not keep its result's slot for the rest of the caller's run.
FUNCTION Main()
   LOCAL i, nSum := 0, nLast := 0
   FOR i := 1 TO 10000
      nSum += Twice( i )
      nLast := Twice( i )
      Twice( i )
      Note( i )
   NEXT
   ? nSum, nLast
   RETURN NIL

FUNCTION Twice( n )
   RETURN n * 2

PROCEDURE Note( n )
   LOCAL c := "call " + AllTrim( Str( n ) )
