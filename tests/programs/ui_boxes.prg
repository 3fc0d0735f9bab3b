// Message boxes from an action, answered by the script; the information
// window, drawings, a progress bar and the status display as the screen
// dump shows them.
FUNCTION Main()
   LOCAL nWin, nBar, nAsk
   nWin := DlgCreate(0, 0, "Boxes", 160, 160, .T.)
   nBar := Meter(nWin, 60, 5, 100, 10, 200, 50)
   nAsk := Button(nWin, 140, 5, "Ask", {|| Ask(nBar) })
   SetVldParam(nAsk, 2, {|x| nBar })
   Box(20, 5, 40, 150, , , "frame")
   MsgStatus("Working")
   DlgActivate(nWin)
   ClearStatus()
   RETURN NIL

FUNCTION Ask(nBar)
   IF MsgYesOrNo("Advance?")
      SetMeter(nBar, 25)
   ENDIF
   MsgAlert("Done", "Note")
   RETURN .T.
