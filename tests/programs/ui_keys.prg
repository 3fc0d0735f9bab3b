// Key bindings: SetKey calls its action with the argument it was given
// when the key is pressed, before the focused control sees the key.
FUNCTION Main()
   LOCAL nWin, nList, nPick := 2
   nWin := DlgCreate(0, 0, "Keys", 160, 160, .T.)
   nList := ListBox(nWin, 10, 5, {"a", "b", "c"}, @nPick)
   SetKey("help", 112, {|| Pressed("f1") })
   SetKey("down", 12, {|| Pressed("down") })
   Button(nWin, 140, 5, "OK", {|| CloseDialog() })
   DlgActivate(nWin)
   ? "row", nPick
   RETURN NIL

FUNCTION Pressed(cKey)
   ? "pressed", cKey
   RETURN .T.
