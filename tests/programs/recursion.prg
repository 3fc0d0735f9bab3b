// Recursion: factorial, Fibonacci, two functions calling each other, and
// functions whose locals must stay separate at every level of the calls.
FUNCTION Main()
   ? Fact( 10 ), Fib( 20 )
   ? IsEven( 10 ), IsOdd( 7 ), IsEven( 7 )
   ? Hanoi( 10 )
   ? Binary( 37 ), Binary( 1 )
   RETURN NIL

FUNCTION Fact( n )
   IF n <= 1
      RETURN 1
   ENDIF
   RETURN n * Fact( n - 1 )

FUNCTION Fib( n )
   IF n < 2
      RETURN n
   ENDIF
   RETURN Fib( n - 1 ) + Fib( n - 2 )

FUNCTION IsEven( n )
   IF n == 0
      RETURN .T.
   ENDIF
   RETURN IsOdd( n - 1 )

FUNCTION IsOdd( n )
   IF n == 0
      RETURN .F.
   ENDIF
   RETURN IsEven( n - 1 )

// Moves needed for n discs; nMoves must not be shared between the levels.
FUNCTION Hanoi( n )
   LOCAL nMoves
   IF n == 0
      RETURN 0
   ENDIF
   nMoves := Hanoi( n - 1 )
   nMoves := nMoves + 1 + Hanoi( n - 1 )
   RETURN nMoves

FUNCTION Binary( n )
   LOCAL cDigit := Str( n % 2, 1 )
   IF n < 2
      RETURN cDigit
   ENDIF
   RETURN Binary( Int( n / 2 ) ) + cDigit
