// Statements before the first FUNCTION form the procedure REPORT, which is
// the main function of the program.
LOCAL nLines := 3
QOut("lines", Twice(nLines))

FUNCTION Twice(n)
   RETURN n * 2
