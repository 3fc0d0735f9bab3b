// Script lines that cannot be read, or name what is not there, are reported
// on standard error with their line number and skipped; the rest of the
// script still runs and the program ends normally.
FUNCTION Main()
   LOCAL nWin, cText := Space(10)
   nWin := DlgCreate(0, 0, "Script", 160, 160, .T.)
   Get(nWin, 10, 5, @cText)
   Button(nWin, 140, 5, "OK", {|| CloseDialog() })
   DlgActivate(nWin)
   ? "[" + cText + "]"
   RETURN NIL
