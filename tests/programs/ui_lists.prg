// A list and a combo box: the rows chosen are written back into the
// variables given by reference and read back with GetObjValue; SetArray
// replaces the rows (the button's block reaches the combo box's id through
// SetVldParam); an action hears of every change.
FUNCTION Main()
   LOCAL nWin, nList, nCombo, nMore, nColor := 0, nSize := 1
   nWin := DlgCreate(0, 0, "Lists", 160, 160, .T.)
   nList := ListBox(nWin, 10, 5, {"red", "green", "blue"}, @nColor, {|| Changed("list") })
   nCombo := ComboBox(nWin, 80, 5, {"S", "M", "L"}, @nSize)
   nMore := Button(nWin, 140, 5, "More", {|| SetArray(nCombo, {"S", "M", "L", "XL"}) })
   SetVldParam(nMore, 2, {|x| nCombo })
   Button(nWin, 140, 60, "OK", {|| CloseDialog() })
   DlgActivate(nWin)
   ? "color", nColor, GetObjValue(nList), "size", nSize, GetObjValue(nCombo), GetListRows(nCombo)
   RETURN NIL

FUNCTION Changed(cWhat)
   ? "changed", cWhat
   RETURN .T.
