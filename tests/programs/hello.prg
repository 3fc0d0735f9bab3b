// The smallest program: Main writes one line.
FUNCTION Main()
   ? "Hello, Zelta"
   RETURN NIL
