// Syncs the device's tables with a zeltasyncd on this machine (port 8025),
// then lists the clients the device now holds.
FUNCTION Main()
   LOCAL nStatus
   nStatus := DoSync( "", "127.0.0.1", 8025, 20, "joe", "dev1" )
   ? "sync status", nStatus
   IF nStatus == 0
      dbUseArea( .T., NIL, "CLIENTS", "CLI", .F., .F. )
      dbGoTop()
      DO WHILE !EOF()
         ? Trim( CLI->CODE ), Trim( CLI->NAME ), CLI->BALANCE
         dbSkip()
      ENDDO
      dbCloseAll()
   ENDIF
RETURN NIL
