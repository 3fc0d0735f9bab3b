// Date format settings: __SetCentury switches to four-digit years and back,
// and Set( 4, ... ) chooses the field order that ?, DToC and CToD use.
FUNCTION Main()
   LOCAL d := CToD( "03/05/09" )
   ? d
   __SetCentury( .T. )
   ? d, DToC( d )
   ? DToS( CToD( "07/04/1776" ) )
   __SetCentury( .F. )
   ? d
   Set( 4, "dd/mm/yy" )
   ? d, DToS( CToD( "25/12/10" ) )
   RETURN NIL
