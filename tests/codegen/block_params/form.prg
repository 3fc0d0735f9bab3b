// Code blocks with and without parameters, as dialogs use them.
STATIC nBase := 2

FUNCTION Main()
   LOCAL bDouble
   PUBLIC nQty := 1
   SetVldParam({|nQty| nQty > 0 })
   bDouble := {|| nQty * nBase }
   QOut(Eval(bDouble))
   RETURN NIL
