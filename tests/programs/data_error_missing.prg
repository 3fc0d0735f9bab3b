// Tables: opening a table that was never created is a fatal run-time error
// that names the alias error and the check that failed.
FUNCTION Main()
   ? "before"
   USE nowhere NEW
   ? "not reached"
   RETURN NIL
