// DO CASE: the first true CASE wins even when a later one is true too,
// OTHERWISE runs when none is, and without OTHERWISE nothing may run.
FUNCTION Main()
   LOCAL n
   FOR n := 1 TO 5
      DO CASE
      CASE n == 1
         ? n, "first"
      CASE n < 4
         ? n, "small"
      CASE n < 3
         ? n, "never"
      OTHERWISE
         ? n, "other"
      ENDCASE
   NEXT
   n := 10
   DO CASE
   CASE n == 1
      ? "not printed"
   CASE n == 2
      ? "not printed either"
   END CASE
   ? "no case matched"
   DO CASE
   CASE n > 5
      ? "END closes a DO CASE too"
   END
   RETURN NIL
