// The browser the terminal test drives: 30 records, record 2 deleted,
// indexed on the code, a column of codes and one of quantities that can be
// edited in place; a menu item that closes the dialog.
FUNCTION Main()
   LOCAL aStru := { { "CODE", "C", 4, 0 }, { "QTY", "N", 4, 0 } }, i, nWin, nBrw, nFile
   dbCreate( "items", aStru )
   dbUseArea( .T., NIL, "items", "ITM", .F., .F. )
   FOR i := 1 TO 30
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
   nWin := DlgCreate( 0, 0, "Terminal Browse", 160, 160, .T. )
   nBrw := DbGrid( nWin, 0, 0, 140, 160, .T., , , "ITM" )
   DbColumn( nBrw, "Code", 1, 40 )
   DbColumn( nBrw, "Qty", 2, 30, "9999" )
   nFile := AddMenuBar( nWin, "File" )
   AddMenuItem( nFile, "Quit", {|| CloseDialog() } )
   DlgActivate( nWin )
   dbGoto( 1 )
   ? "first qty", ITM->QTY
   RETURN NIL
