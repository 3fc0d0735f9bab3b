// The program a device runs before an update: says which it is and runs a
// sync session, in which the server may push a new version of it.
FUNCTION Main()
   LOCAL n
   ? "pushed program, version 1"
   n := DoSync( "", "127.0.0.1", @PORT@, 20, "joe", "dev1" )
   ? "sync", n
RETURN NIL
