FUNCTION Main()
   SetTotal(5)
   QOut(gTotal)
   RETURN NIL
