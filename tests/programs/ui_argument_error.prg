// A dialog call with an argument of the wrong type stops the program with
// ARGUMENT ERROR! and the position of the call.
FUNCTION Main()
   LOCAL nWin
   nWin := DlgCreate(0, 0, "Bad", 160, 160, .T.)
   ? "before"
   Say(nWin, "ten", 5, "text")
   ? "never"
   RETURN NIL
