// FOR loops: the default step, negative and fractional negative steps, NEXT
// with the variable, END, the control variable after the loop, a loop that
// does not run, and a limit read again on every pass.
FUNCTION Main()
   LOCAL i, x, n
   FOR i := 1 TO 3
      ? "up", i
   NEXT
   ? "after", i
   FOR i := 3 TO 1 STEP -1
      ? "down", i
   NEXT i
   ? "after", i
   FOR x := 1 TO 0 STEP -0.25
      ? "quarter", x
   NEXT
   ? "after", x
   FOR i := 0 TO 10 STEP 4
      ? "by four", i
   END
   ? "after", i
   FOR i := 5 TO 1
      ? "never"
   NEXT
   ? "after", i
   n := 3
   FOR i := 1 TO n
      IF i == 1
         n := 5
      ENDIF
   NEXT
   ? "limit read on each pass", i
   RETURN NIL
