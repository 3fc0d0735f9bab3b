// A program whose entry function carries the source's name instead of Main;
// the function written before it is not taken as the entry.
FUNCTION Helper()
   RETURN "helper"

FUNCTION Entry_Name()
   ? "started in Entry_Name with", Helper()
   RETURN NIL
