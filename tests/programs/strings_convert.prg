// Conversions between numbers and texts: Str with a width and decimals,
// StrZero, Val, Asc and Chr, IsAlpha and IsDigit.
FUNCTION Main()
   ? "[" + Str( 42, 6 ) + "]", "[" + Str( 3.14159, 8, 2 ) + "]", "[" + Str( -2.5, 6, 1 ) + "]"
   ? "[" + Str( 5 ) + "]", "[" + Str( 12345, 3 ) + "]", "[" + Str( 7.5, 3 ) + "]"
   ? StrZero( 42, 5 ), StrZero( 7, 1 ), StrZero( 123, 2 )
   ? Val( "12.50" ), Val( "  -42 " ), Val( "1,234.5" ), Val( "007" )
   ? Asc( "A" ), Asc( "" ), Asc( "abc" ), Chr( 90 ), Chr( 256 + 66 )
   ? IsAlpha( "abc" ), IsAlpha( "1a" ), IsDigit( "12" ), IsDigit( "x1" )
   RETURN NIL
