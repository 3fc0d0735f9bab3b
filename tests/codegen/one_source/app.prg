// Statics with initial values, a public, locals, a procedure and a
// function with parameters, under -gFULL.
STATIC nCount := 10, cName := "app"

FUNCTION Main()
   LOCAL nTotal := 0
   PUBLIC gLast := .F.
   nTotal := nCount + 1
   Show(nTotal, cName)
   RETURN nTotal

PROCEDURE Show(nValue, cLabel)
   QOut(cLabel, nValue, nCount)
   gLast := .T.
   RETURN
