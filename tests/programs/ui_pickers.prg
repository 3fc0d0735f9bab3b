// The run-time's own dialogs: the date picker moves its day with the keys
// and keeps the first date when cancelled, the input box writes what was
// confirmed into the variable given by reference and nothing when
// cancelled, and the keyboard dialog fills a field.
FUNCTION Main()
   LOCAL dDay := CToD("02/27/24"), cCode := Space(6), nWin, nField, nKeys, nOk, cName := Space(8)
   ? SelectDate(dDay, "When")
   ? SelectDate(dDay, "When")
   nOk := InputBox("Code", "Enter a code:", cCode, "@!", @cCode)
   ? nOk, "[" + cCode + "]"
   nOk := InputBox("Code", "Enter a code:", cCode, "@!", @cCode)
   ? nOk, "[" + cCode + "]"
   nWin := DlgCreate(0, 0, "Form", 160, 160, .T.)
   nField := Get(nWin, 10, 5, @cName)
   nKeys := Button(nWin, 30, 5, "Keys", {|| Keyboard(nField, "Type") })
   SetVldParam(nKeys, 2, {|x| nField })
   Button(nWin, 140, 5, "Done", {|| CloseDialog() })
   DlgActivate(nWin)
   ? "[" + cName + "]"
   RETURN NIL
