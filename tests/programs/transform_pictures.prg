// Transform with each picture function: @! upper case, @R templates with
// literals, @E numbers, @D dates; an empty value gives an empty text, and a
// picture without a function gives the value back unchanged.
FUNCTION Main()
   ? Transform( "abc", "@!" )
   ? Transform( "12345678", "@R 99.999-999" )
   ? Transform( "ab12", "@R !!-99" )
   ? Transform( "123456", "@R (99) 9999" )
   ? "[" + Transform( 42, "@E 9999" ) + "]"
   ? Transform( CToD( "03/05/09" ), "@D" )
   ? "[" + Transform( 0, "@E 999" ) + "]", "[" + Transform( "", "@!" ) + "]"
   ? Transform( 15, "999" ), ValType( Transform( 15, "999" ) )
   RETURN NIL
