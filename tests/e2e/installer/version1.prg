// The first version of the updated program: says which it is and ends
// asking for the installer, as a sync session that received files does.
FUNCTION Main()
   ? "updated program, version 1"
   SHUTDOWN()
   RETURN NIL
