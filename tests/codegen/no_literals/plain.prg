FUNCTION Main()
   LOCAL x
   x := Date()
   QOut(x)
   RETURN x
