// ValType and Type name the type of each kind of value, and Empty is true
// exactly for the empty value of each type.
FUNCTION Main()
   ? ValType( "x" ), ValType( 1 ), ValType( .T. ), ValType( CToD( "01/01/01" ) ), ValType( {} ), ValType( NIL )
   ? Type( "x" ), Type( 2 )
   ? Empty( "" ), Empty( "  " ), Empty( "a" ), Empty( 0 ), Empty( 0.1 ), Empty( .F. ), Empty( .T. ), Empty( NIL )
   ? Empty( CToD( "" ) ), Empty( Date() ), Empty( {} ), Empty( { 0 } )
   RETURN NIL
