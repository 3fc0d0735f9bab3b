// Tables: the record pointer at both ends, skips of several records, going
// to a record by number, and the flags and record number at each step.
FUNCTION Main()
   LOCAL i
   dbCreate( "steps", { { "N", "N", 3, 0 } } )
   USE steps NEW
   ? "empty:", EOF(), BOF(), RecNo(), RecCount()
   FOR i := 1 TO 5
      APPEND BLANK
      STEPS->N := i * 10
   NEXT
   GO TOP
   ? "top:", RecNo(), STEPS->N, EOF(), BOF()
   SKIP -1
   ? "before the first:", RecNo(), STEPS->N, EOF(), BOF()
   SKIP 3
   ? "skip 3:", RecNo(), STEPS->N
   GO BOTTOM
   ? "bottom:", RecNo(), STEPS->N
   SKIP
   ? "past the end:", RecNo(), STEPS->N, EOF(), BOF()
   SKIP -2
   ? "back 2:", RecNo(), STEPS->N
   GOTO 2
   ? "goto 2:", RecNo(), STEPS->N
   GO 99
   ? "go 99:", RecNo(), EOF()
   dbGoTop()
   DO WHILE !EOF()
      ?? " " + Str( STEPS->N, 2 )
      dbSkip( 2 )
   ENDDO
   CLOSE
   RETURN NIL
