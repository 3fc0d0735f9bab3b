// File() of a value that is not a string stops with ARGUMENT ERROR.
FUNCTION Main()
   ? "before"
   ? File( 42 )
   RETURN NIL
