// Dividing by zero with / is not an error: the quotient is 0, also through /=.
FUNCTION Main()
   LOCAL n := 10, z := 0
   ? n / z, 5 / 0
   n /= z
   ? n
   ? "still running"
   RETURN NIL
