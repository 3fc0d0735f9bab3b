// The second version of the updated program: says which it is and ends.
FUNCTION Main()
   ? "updated program, version 2"
   RETURN NIL
