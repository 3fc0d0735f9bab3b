// A new interval takes effect at the next ActivateTimer: deactivated and
// activated again, the timer restarts with its current interval.
STATIC nTicks := 0, nTimer := 0

FUNCTION Main()
   LOCAL nWin
   nWin := DlgCreate(0, 0, "Timer", 160, 160, .T.)
   nTimer := AddTimer(100000, {|| Tick() })
   ActivateTimer(nTimer)
   SetTimerInt(nTimer, 20)
   Button(nWin, 140, 5, "Restart", {|| Restart() })
   Button(nWin, 140, 80, "OK", {|| CloseDialog() })
   DlgActivate(nWin)
   ? "ticks", nTicks
   RETURN NIL

FUNCTION Restart()
   ? "ticks before the restart", nTicks
   SuspendTimer(nTimer)
   ActivateTimer(nTimer)
   RETURN .T.

FUNCTION Tick()
   nTicks := nTicks + 1
   IF nTicks == 3
      KillTimer(nTimer)
   ENDIF
   RETURN .T.
