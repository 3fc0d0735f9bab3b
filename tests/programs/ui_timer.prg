// A timer delivered inside the modal loop on real time: it fires three
// times and then deactivates itself, while its system timer runs on.
STATIC nTicks := 0, nTimer := 0

FUNCTION Main()
   LOCAL nWin
   nWin := DlgCreate(0, 0, "Timer", 160, 160, .T.)
   nTimer := AddTimer(30, {|| Tick() })
   ActivateTimer(nTimer)
   Button(nWin, 140, 5, "OK", {|| CloseDialog() })
   DlgActivate(nWin)
   ? "ticks", nTicks
   RETURN NIL

FUNCTION Tick()
   nTicks := nTicks + 1
   ? "tick", nTicks
   IF nTicks == 3
      SuspendTimer(nTimer)
   ENDIF
   RETURN .T.
