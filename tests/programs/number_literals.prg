// Number literals keep every digit: the pool once wrote them with six
// decimals, so 0.0000001 was 0 and 2.000000000001 was 2.
FUNCTION Main()
   ? 0.0000001 > 0, 0.0000001 * 10000000 == 1
   ? 2.000000000001 > 2, 2.000000000001 == 2
   ? Str( ( 2.000000000001 - 2 ) * 1000000000000, 6, 3 )
   ? 123456789012345 + 1, 1 == 1.0
   RETURN NIL
