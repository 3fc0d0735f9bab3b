// Date functions: CToD and DToC in the default mm/dd/yy format, DToS, the
// parts of a date, day and month names, the empty date, invalid dates and
// the two-digit-year epoch of 1940.
FUNCTION Main()
   LOCAL d := CToD( "03/05/09" )
   ? d, DToC( d ), DToS( d )
   ? Day( d ), Month( d ), Year( d )
   ? DoW( d ), CDoW( d ), CMonth( d )
   ? CMonth( CToD( "10/01/99" ) ), DToS( CToD( "12/31/39" ) ), DToS( CToD( "01/01/40" ) )
   ? DToS( CToD( "1/2/3" ) ), Empty( CToD( "" ) ), "[" + DToC( CToD( "" ) ) + "]"
   ? DToS( CToD( "02/30/09" ) ), DToS( CToD( "02/29/00" ) ), DToS( CToD( "13/01/09" ) )
   ? DoW( CToD( "01/01/00" ) ), CDoW( CToD( "01/01/00" ) )
   RETURN NIL
