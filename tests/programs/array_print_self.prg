// Printing an array that holds itself, directly or through another array,
// shows the inner reference as {...} instead of recursing without end.
FUNCTION Main()
   LOCAL a := { 1, "x" }, b := { 2 }
   AAdd( a, a )
   ? a
   AAdd( b, a )
   AAdd( a, b )
   ? b
   ? Len( a ), Len( b )
   RETURN NIL
