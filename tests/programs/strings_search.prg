// Searching and replacing in texts: At, RAt, $, StrTran with its start and
// count arguments, Replicate and Space.
FUNCTION Main()
   LOCAL s := "banana"
   ? At( "an", s ), At( "x", s ), At( "", s ), RAt( "an", s ), RAt( "a", s ), RAt( "x", s )
   ? "nan" $ s, "nab" $ s
   ? StrTran( s, "a", "o" ), StrTran( s, "an", "" ), StrTran( s, "a", "A", 3 )
   ? StrTran( s, "a", "*", 1, -1 ), StrTran( s, "a", "*", 9 ), StrTran( s, "x", "y" )
   ? Replicate( "ab", 3 ), "[" + Replicate( "x", 0 ) + "]", "[" + Space( 3 ) + "]"
   RETURN NIL
