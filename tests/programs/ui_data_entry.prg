// A data-entry dialog: a picture-formatted field whose validation function
// (which reaches the caller's locals through SetVldParam) refuses a bad
// value and keeps the focus, then accepts a good one; a button closes the
// dialog and the program reads the values back.
FUNCTION Main()
   LOCAL nWin, nId, nQty := 0, nMax := 50, cName := Space(10)
   nWin := DlgCreate(0, 0, "Order", 160, 160, .T.)
   Say(nWin, 10, 5, "Name:")
   Get(nWin, 10, 50, @cName, "@!")
   Say(nWin, 30, 5, "Qty:")
   nId := Get(nWin, 30, 50, @nQty, "999", {|| Check(nQty, nMax) })
   SetVldParam(nId, 2, {|x| nQty + nMax })
   Button(nWin, 140, 5, "OK", {|| CloseDialog() })
   DlgActivate(nWin)
   ? "name", "[" + cName + "]", "qty", nQty, "picture size", GetPictSize(nId)
   RETURN NIL

FUNCTION Check(nValue, nLimit)
   ? "checking", nValue, "against", nLimit
   RETURN nValue > 0 .AND. nValue <= nLimit
