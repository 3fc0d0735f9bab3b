// The new version the server pushes: says which it is and ends.
FUNCTION Main()
   ? "pushed program, version 2"
RETURN NIL
