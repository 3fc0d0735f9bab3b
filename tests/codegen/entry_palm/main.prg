FUNCTION Main()
   QOut("hello")
   RETURN NIL
