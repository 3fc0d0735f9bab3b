// Passing a variable with @: the called procedure's assignments, compound
// assignments and increments reach the caller's variable.
FUNCTION Main()
   LOCAL a := 1, b := 2, n := 10
   Swap( @a, @b )
   ? a, b
   AddTen( @n )
   ? n
   RETURN NIL

PROCEDURE Swap( x, y )
   LOCAL t := x
   x := y
   y := t

PROCEDURE AddTen( v )
   v += 9
   v++
