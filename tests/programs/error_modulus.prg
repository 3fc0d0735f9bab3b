// The remainder by zero is a fatal ARGUMENT ERROR!, unlike the quotient.
FUNCTION Main()
   LOCAL n := 0
   ? 7 / n
   ? 7 % n
   ? "never printed"
   RETURN NIL
