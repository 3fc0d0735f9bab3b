// CALLDLL: functions of a shared library beside the program, with every
// parameter type the wrappers convert, by-reference results included. Texts
// cross the boundary Base64-encoded (DoEncode, DoDecode).
FUNCTION Main()
   LOCAL n := 4, a := 1, b := 2, d := 5, t := 10, s
   ? AddLongs( 2, 40 ), Mixed( 1, 2, 3, 0.5, .T. ), Scale( 1.5, 4 )
   ? Triple( @n ), n
   SwapShorts( @a, @b )
   ? a, b
   Halve( @d )
   ? d
   ? CountBits( 255 )
   AddUnsigned( @t, 5 )
   ? t
   s := DoEncode( "shout" )
   ShoutIt( @s )
   ? DoDecode( s )
   // The second call needs a bigger static buffer than the first.
   ? TextLength( DoEncode( "twelve chars" ) )
   ? TextLength( DoEncode( "a longer text than the one before" ) )
   ? Greeting(), NextChar( DoEncode( "a" ) )
   ? ReadCell( CellAddress() )
   ? IsPositive( 3 ), IsPositive( -3 ), Negate( .T. )
   ? ShortSum( 2, 3 ), PascalSub( 10, 4 )
   RETURN NIL

FUNCTION AddLongs( A, B )
   CALLDLL( "zeltaforeign.dll", "add_longs", "INTEGER", "INTEGER", A, "INTEGER", B, "C" )
   RETURN NIL

FUNCTION Mixed( A, B, C, D, E )
   CALLDLL( "zeltaforeign.dll", "mixed", "LONG", "LONG", A, "SHORT", B, "ULONG", C, "DOUBLE", D, "BOOLEAN", E, "C" )
   RETURN NIL

FUNCTION Scale( X, F )
   CALLDLL( "zeltaforeign.dll", "scale", "DOUBLE", "DOUBLE", X, "DOUBLE", F, "C" )
   RETURN NIL

FUNCTION Triple( N )
   CALLDLL( "zeltaforeign.dll", "triple_in_place", "INTEGER", "PLONG", N, "C" )
   RETURN NIL

PROCEDURE SwapShorts( A, B )
   CALLDLL( "zeltaforeign.dll", "swap_shorts", "VOID", "PSHORT", A, "PWORD", B, "C" )

PROCEDURE Halve( D )
   CALLDLL( "zeltaforeign.dll", "halve", "VOID", "PDOUBLE", D, "C" )

FUNCTION CountBits( V )
   CALLDLL( "zeltaforeign.dll", "count_bits", "ULONG", "UINT", V, "C" )
   RETURN NIL

PROCEDURE AddUnsigned( T, N )
   CALLDLL( "zeltaforeign.dll", "add_unsigned", "VOID", "PULONG", T, "ULONG", N, "C" )

PROCEDURE ShoutIt( S )
   CALLDLL( "zeltaforeign.dll", "upper_in_place", "VOID", "PCHAR", S, "C" )

FUNCTION TextLength( S )
   CALLDLL( "zeltaforeign.dll", "text_length", "INTEGER", "STATICPCHAR", S, "C" )
   RETURN NIL

FUNCTION Greeting()
   CALLDLL( "zeltaforeign.dll", "greeting", "PCHAR", "C" )
   RETURN NIL

FUNCTION NextChar( C )
   CALLDLL( "zeltaforeign.dll", "next_char", "BYTE", "BYTE", C, "C" )
   RETURN NIL

FUNCTION CellAddress()
   CALLDLL( "zeltaforeign.dll", "cell_address", "POINTER", "C" )
   RETURN NIL

FUNCTION ReadCell( P )
   CALLDLL( "zeltaforeign.dll", "read_cell", "INTEGER", "POINTER", P, "C" )
   RETURN NIL

FUNCTION IsPositive( N )
   CALLDLL( "zeltaforeign.dll", "is_positive", "BOOLEAN", "INTEGER", N, "C" )
   RETURN NIL

FUNCTION Negate( B )
   CALLDLL( "zeltaforeign.dll", "negate", "BOOLEAN", "BOOLEAN", B, "C" )
   RETURN NIL

// SHORT results come back as NIL: the wrappers have no initialiser for them.
FUNCTION ShortSum( A, B )
   CALLDLL( "zeltaforeign.dll", "short_sum", "SHORT", "SHORT", A, "SMALLINT", B, "C" )
   RETURN NIL

FUNCTION PascalSub( A, B )
   CALLDLL( "zeltaforeign.dll", "pascal_sub", "INTEGER", "INTEGER", A, "INTEGER", B, "PASCAL" )
   RETURN NIL
