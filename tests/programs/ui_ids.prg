// Ids count windows and controls together from 6000, and variables bind
// only to controls of the current window: the first field's validation,
// bound while the second window was current, sees no variable.
FUNCTION Main()
   LOCAL w1, w2, f1, f2, nA := 1
   w1 := DlgCreate(0, 0, "One", 160, 160, .T.)
   f1 := Get(w1, 10, 5, 5, "9", {|| Show("f1", nA) })
   w2 := DlgCreate(0, 0, "Two", 160, 160, .T.)
   SetVldParam(f1, 2, {|x| nA })
   f2 := Get(w2, 10, 5, 5, "9", {|| Show("f2", nA) })
   SetVldParam(f2, 2, {|x| nA })
   ? w1, f1, w2, f2
   ? Button(w2, 140, 5, "OK", {|| CloseDialog() })
   ? Button(w1, 140, 5, "OK", {|| CloseDialog() })
   DlgActivate(w2)
   DlgActivate(w1)
   RETURN NIL

FUNCTION Show(cWhere, xValue)
   ? cWhere, IIF(xValue == NIL, "unbound", xValue)
   RETURN .T.
