// The dialog the terminal test drives: a field that refuses 0, a list, a
// button that raises a run-time error and an OK button.
FUNCTION Main()
   LOCAL nWin, nQty := 0, nColor := 1, nId
   nWin := DlgCreate(0, 0, "Terminal Order", 160, 160, .T.)
   Say(nWin, 10, 5, "Qty:")
   nId := Get(nWin, 10, 50, @nQty, "999", {|| nQty > 0 })
   SetVldParam(nId, 2, {|x| nQty })
   ListBox(nWin, 30, 5, {"red", "green", "blue"}, @nColor)
   Button(nWin, 100, 5, "Fail", {|| Fail() })
   Button(nWin, 140, 5, "OK", {|| CloseDialog() })
   DlgActivate(nWin)
   ? "qty", nQty, "color", nColor
   RETURN NIL

FUNCTION Fail()
   LOCAL aNone := {}
   RETURN aNone[3]
