// DO WHILE and WHILE loops closed by ENDDO and END, LOOP and EXIT inside
// them, and a loop whose condition is false from the start.
FUNCTION Main()
   LOCAL i := 0, nSum := 0
   DO WHILE i < 5
      i++
      nSum += i
   ENDDO
   ? i, nSum
   ? "odd:"
   i := 0
   WHILE .T.
      i++
      IF i % 2 == 0
         LOOP
      ENDIF
      IF i > 7
         EXIT
      ENDIF
      ?? " " + AllTrim( Str( i ) )
   END
   ? i
   i := 10
   DO WHILE i < 5
      ? "never"
   ENDDO
   ? "done"
   RETURN NIL
