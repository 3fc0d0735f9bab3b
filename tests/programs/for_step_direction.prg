// A FOR counts up when its step is 0 or more and down when it is negative,
// so a positive fractional step runs: 1 TO 2 STEP 0.5 makes three passes,
// and 2 TO 1 STEP -0.5 counts down as usual.
FUNCTION Main()
   LOCAL x, nRuns := 0
   FOR x := 1 TO 2 STEP 0.5
      nRuns++
   NEXT
   ? nRuns, x
   FOR x := 2 TO 1 STEP -0.5
      ? x
   NEXT
   ? "after", x
   FOR x := 1 TO 3 STEP 1
      nRuns++
   NEXT
   ? nRuns, x
   FOR x := 5 TO 1
      nRuns++
   NEXT
   ? nRuns, x
   RETURN NIL
