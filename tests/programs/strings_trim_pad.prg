// Trimming and padding: AllTrim, LTrim, RTrim and Trim; PadL and PadR with
// and without a fill character, and on texts that are already long enough.
FUNCTION Main()
   LOCAL s := "  a b  "
   ? "[" + AllTrim( s ) + "]", "[" + LTrim( s ) + "]", "[" + RTrim( s ) + "]", "[" + Trim( s ) + "]"
   ? "[" + AllTrim( "   " ) + "]", Len( AllTrim( "   " ) ), Len( RTrim( s ) )
   ? PadL( "7", 3, "0" ), PadR( "ab", 5, "*" ), "[" + PadL( "x", 3 ) + "]", "[" + PadR( "x", 3 ) + "]"
   ? PadL( "abcd", 2 ), PadR( "abcd", 2 ), PadL( "abc", 3, "-" )
   RETURN NIL
