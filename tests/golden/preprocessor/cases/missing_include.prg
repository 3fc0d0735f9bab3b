FUNCTION Main()
#include "no_such_file.ch"
   RETURN NIL
