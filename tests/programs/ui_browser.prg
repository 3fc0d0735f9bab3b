// The database browser over a table of 50 records: a page down, a search
// with a seek key, a cancelled search that leaves the grid as it was, an
// appended row written when Top is pressed while appending, a deleted row;
// deleted rows never appear.
FUNCTION Main()
   LOCAL aStru := { { "CODE", "C", 4, 0 }, { "QTY", "N", 4, 0 } }, i, nWin, nBrw, lFound
   dbCreate( "items", aStru )
   dbUseArea( .T., NIL, "items", "ITM", .F., .F. )
   FOR i := 1 TO 50
      dbAppend()
      ITM->CODE := "C" + StrZero( i, 3 )
      ITM->QTY := i
   NEXT
   dbCommit()
   dbGoto( 2 )
   dbDelete()
   dbCommit()
   dbCreateIndex( "itmcode", "CODE" )
   dbGoTop()
   nWin := DlgCreate( 0, 0, "Items", 160, 160, .T. )
   nBrw := DbGrid( nWin, 0, 0, 140, 160, .T., , , "ITM" )
   DbColumn( nBrw, "Code", 1, 40 )
   DbColumn( nBrw, "Qty", 2, 30, "9999" )
   Button( nWin, 146, 110, "Done", {|| CloseDialog() } )
   DlgActivate( nWin )
   ? "records", RecCount()
   lFound := dbSeek( "A001" )
   ? "appended", lFound, ITM->QTY
   dbGoto( 3 )
   ? "record 3 deleted", Deleted()
   dbGoto( 2 )
   ? "record 2 deleted", Deleted()
   RETURN NIL
