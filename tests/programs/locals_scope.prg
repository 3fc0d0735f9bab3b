// LOCAL variables: initial values from expressions, NIL when not given one,
// fresh on every call, and separate between functions using the same name.
FUNCTION Main()
   LOCAL a := 1, b, c := "x" + "y", n
   ? a, b == NIL, c
   n := Counter()
   n := Counter()
   ? n
   ? Shadow(), a
   RETURN NIL

FUNCTION Counter()
   LOCAL n := 0
   n++
   RETURN n

FUNCTION Shadow()
   LOCAL a := 99
   RETURN a
