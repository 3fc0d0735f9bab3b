// Date arithmetic: adding and subtracting days across month, year and leap
// day boundaries, the difference of two dates, a fractional day count, and
// Max/Min of dates.
FUNCTION Main()
   LOCAL d1 := CToD( "02/27/00" ), d2 := CToD( "03/01/00" )
   ? d2 - d1, d1 - d2
   ? d1 + 2, d1 + 3, d2 - 1
   ? CToD( "12/31/99" ) + 1, CToD( "01/01/01" ) - 1, CToD( "01/31/09" ) + 30
   ? d1 + 1.9
   ? Max( d1, d2 ), Min( d1, d2 )
   ? CToD( "03/01/01" ) - CToD( "03/01/00" ), CToD( "01/01/09" ) - CToD( "01/01/08" )
   ? ValType( d2 - d1 ), ValType( d1 + 1 ), ValType( d1 - 1 )
   RETURN NIL
