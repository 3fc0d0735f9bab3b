// A FOR counts up only when its step is 1 or more: any smaller step, also a
// positive fraction, takes the counting-down test, so 1 TO 2 STEP 0.5 never
// runs, while 2 TO 1 STEP -0.5 counts down as usual.
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
   RETURN NIL
