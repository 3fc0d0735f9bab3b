// Time() has the hh:mm:ss shape, ElapTime() gives the difference of two
// times, and Date() is a date of this century.
FUNCTION Main()
   LOCAL t := Time()
   ? Len( t ), SubStr( t, 3, 1 ), SubStr( t, 6, 1 ), Val( Left( t, 2 ) ) < 24
   ? ElapTime( "10:00:00", "12:30:15" ), ElapTime( "08:15:30", "08:15:30" )
   ? ValType( Date() ), Date() > CToD( "01/01/00" ), Year( Date() ) >= 2024
   RETURN NIL
