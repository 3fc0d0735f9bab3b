// Numeric functions: Int truncates after rounding to one decimal, Round
// takes halves away from zero (also halves that binary fractions put just
// below .5) and negative decimals, then Abs, Sqrt, Max and Min.
FUNCTION Main()
   ? Int( 7.8 ), Int( -7.8 ), Int( 2.94 ), Int( 2.96 ), Int( -2.96 ), Int( 5 )
   ? Round( 2.5, 0 ), Round( -2.5, 0 ), Round( 3.14159, 2 ), Round( 1234.5, -2 ), Round( 2.4, 0 )
   ? Round( 0.285, 2 ), Round( 0.145, 2 ), Round( -0.285, 2 )
   ? Abs( -4.5 ), Abs( 3 ), Sqrt( 16 ), Sqrt( 2.25 )
   ? Max( 3, 7 ), Min( 3, 7 ), Max( -1, -2 ), Min( 2.5, 2.25 )
   RETURN NIL
