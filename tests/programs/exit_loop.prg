// EXIT and LOOP act on the innermost loop, also from inside DO CASE and IF.
FUNCTION Main()
   LOCAL i, j, cOut
   FOR i := 1 TO 3
      cOut := ""
      FOR j := 1 TO 5
         DO CASE
         CASE j == 2
            LOOP
         CASE j == 4
            EXIT
         ENDCASE
         cOut += Str( j, 1 )
      NEXT
      ? i, cOut, j
   NEXT
   i := 0
   DO WHILE i < 3
      i++
      FOR j := 1 TO 10
         IF j > i
            EXIT
         ENDIF
      NEXT
      ? "while", i, j
   ENDDO
   RETURN NIL
