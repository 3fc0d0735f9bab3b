// A device-only function builds on this host; calling it stops the program
// with a run-time error that names it as not available on this platform.
FUNCTION Main()
   ? "before"
   SmsOpen( 1 )
   ? "never printed"
   RETURN NIL
