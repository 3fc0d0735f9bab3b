// Reading past the end of an array is a fatal BOUND ERROR!: the report goes
// to standard error, the program ends with status 1, and what it wrote
// before the error stays on standard output.
FUNCTION Main()
   LOCAL a := { 1, 2, 3 }
   ? "before"
   ? a[ 4 ]
   ? "never printed"
   RETURN NIL
