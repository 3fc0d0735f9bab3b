// CALLDLL of a function the library does not have: the wrapper says so in an
// Alert box and stops with FUNCTION_NOT_FOUND_IN_DLL, message 134.
FUNCTION Main()
   ? "before"
   ? Nowhere( 1 )
   ? "never printed"
   RETURN NIL

FUNCTION Nowhere( A )
   CALLDLL( "zeltaforeign.dll", "no_such_function", "INTEGER", "INTEGER", A, "C" )
   RETURN NIL
