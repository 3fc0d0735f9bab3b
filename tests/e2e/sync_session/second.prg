// A later session: the rows the server changed come down into the table.
FUNCTION Main()
   LOCAL n
   n := DoSync( "", "127.0.0.1", @PORT@, 20, "joe", "dev1" )
   ? "sync3", n
   dbUseArea( .T., NIL, "CLIENTS", "CLI", .F., .F. )
   dbGoTop()
   DO WHILE !EOF()
      ? "row", Trim( CLI->CODE ), Trim( CLI->NAME ), CLI->BALANCE, DToS( CLI->SINCE ), CLI->ACTIVE, IsDirty()
      dbSkip()
   ENDDO
   dbCloseAll()
RETURN NIL
