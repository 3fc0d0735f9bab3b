// First session of a device: the table comes down whole; then records are
// changed and added on the device and sent up by a second session, which
// leaves none dirty.
FUNCTION Main()
   LOCAL n
   n := DoSync( "", "127.0.0.1", @PORT@, 20, "joe", "dev1" )
   ? "sync1", n
   dbUseArea( .T., NIL, "CLIENTS", "CLI", .F., .F. )
   Dump()
   dbGoTop()
   CLI->NAME := "Ana changed on device"
   dbCommit()
   dbAppend()
   CLI->CODE := "D9"
   CLI->NAME := "New on device"
   CLI->BALANCE := 7
   CLI->SINCE := CToD( "01/03/25" )
   CLI->ACTIVE := .F.
   dbCommit()
   ? "dirty before", Dirty()
   dbCloseAll()
   n := DoSync( "", "127.0.0.1", @PORT@, 20, "joe", "dev1" )
   ? "sync2", n
   dbUseArea( .T., NIL, "CLIENTS", "CLI", .F., .F. )
   ? "dirty after", Dirty()
   dbCloseAll()
RETURN NIL

FUNCTION Dump()
   dbGoTop()
   DO WHILE !EOF()
      ? "row", Trim( CLI->CODE ), Trim( CLI->NAME ), CLI->BALANCE, DToS( CLI->SINCE ), CLI->ACTIVE
      dbSkip()
   ENDDO
RETURN NIL

FUNCTION Dirty()
   LOCAL n := 0
   dbGoTop()
   DO WHILE !EOF()
      IF IsDirty()
         n++
      ENDIF
      dbSkip()
   ENDDO
RETURN n
