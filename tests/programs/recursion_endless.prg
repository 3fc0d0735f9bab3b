// A function that calls itself without end stops with STACK FULL, counted by
// the depth of its calls, before the machine stack runs out.
FUNCTION Main()
   LOCAL x := 1
   ? "start"
   Forever( x )
   ? "never here"
   RETURN NIL

PROCEDURE Forever( n )
   Forever( n )
