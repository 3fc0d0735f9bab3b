// Nested dialogs: a button opens a second dialog whose ids continue the
// count; closing it gives the first one back, which goes on taking events.
FUNCTION Main()
   LOCAL nWin, nOpen, nQuit
   nWin := DlgCreate(0, 0, "Outer", 160, 160, .T.)
   nOpen := Button(nWin, 20, 5, "Open", {|| Inner() })
   nQuit := Button(nWin, 40, 5, "Quit", {|| CloseDialog() })
   ? "outer", nWin, nOpen, nQuit
   DlgActivate(nWin)
   ? "done"
   RETURN NIL

FUNCTION Inner()
   LOCAL nWin, nBack
   nWin := DlgCreate(0, 0, "Inner", 160, 160, .T.)
   nBack := Button(nWin, 20, 5, "Back", {|| CloseDialog() })
   ? "inner", nWin, nBack
   DlgActivate(nWin)
   ? "inner closed"
   RETURN .T.
