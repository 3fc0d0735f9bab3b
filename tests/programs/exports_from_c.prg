// EXPFUNCT: the program's functions built into libexports_from_c.so and
// called from a C program, with values in and out of every kind: numbers,
// texts returned as copies, texts and numbers written back to the caller.
FUNCTION Main()
   RETURN NIL

FUNCTION Sum( a, b )
   EXPFUNCT( "Soma", "INTEGER", "INTEGER", a, "INTEGER", b, 0 )
   RETURN a + b

FUNCTION Greet( name )
   EXPFUNCT( "Greet", "PCHAR", "PCHAR", name, 0 )
   RETURN "Hello, " + AllTrim( name )

PROCEDURE Bump( n, by )
   EXPFUNCT( "Bump", "VOID", "PINTEGER", n, "DOUBLE", by, 0 )
   n := n + by

FUNCTION Shout( text )
   EXPFUNCT( "Shout", "INTEGER", "PCHAR", text, 0 )
   text := Upper( text )
   RETURN Len( text )

FUNCTION Half( x )
   EXPFUNCT( "Half", "DOUBLE", "DOUBLE", x, 0 )
   RETURN x / 2

FUNCTION Initial( c )
   EXPFUNCT( "Initial", "BYTE", "BYTE", c, 0 )
   RETURN Upper( c )

FUNCTION Positive( n )
   EXPFUNCT( "Positive", "BOOLEAN", "LONG", n, 0 )
   RETURN n > 0
