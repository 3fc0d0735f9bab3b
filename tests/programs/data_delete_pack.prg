// Tables: DELETE and RECALL, SET DELETED hiding deleted records, PACK
// dropping them for good, and ZAP emptying the table.
FUNCTION Main()
   LOCAL i
   dbCreate( "notes", { { "ID", "N", 3, 0 }, { "TXT", "M", 10, 0 } } )
   USE notes NEW
   FOR i := 1 TO 6
      APPEND BLANK
      REPLACE ID WITH i, TXT WITH "note " + Str( i, 1 )
   NEXT
   GOTO 2
   DELETE
   GOTO 4
   DELETE
   GOTO 5
   DELETE
   RECALL
   ? Deleted(), RecCount()
   SET DELETED ON
   GO TOP
   DO WHILE !EOF()
      ?? " " + Str( NOTES->ID, 1 )
      SKIP
   ENDDO
   SET DELETED OFF
   GOTO 4
   ? "record 4 deleted:", Deleted()
   PACK
   ? "after pack:", RecCount()
   GO TOP
   DO WHILE !EOF()
      ? NOTES->ID, NOTES->TXT
      SKIP
   ENDDO
   ZAP
   ? "after zap:", RecCount(), EOF(), BOF()
   CLOSE
   RETURN NIL
