// PUBLIC and PRIVATE variables are program-wide: set in one function, read
// and changed in others. A name assigned without a declaration becomes
// public as well.
FUNCTION Main()
   PUBLIC nLevel := 1
   PRIVATE cUser := "ana"
   Bump()
   ? nLevel, cUser
   SetAuto()
   ? cAuto
   Bump()
   ? nLevel
   RETURN NIL

PROCEDURE Bump()
   nLevel := nLevel + 10
   cUser := Upper( cUser )
   RETURN

PROCEDURE SetAuto()
   cAuto := "made public"
   RETURN
