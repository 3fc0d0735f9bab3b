// IIF and IF() as functions: they nest, their branches may differ in type,
// and only the chosen branch is evaluated.
FUNCTION Main()
   LOCAL i
   FOR i := 1 TO 4
      ? i, IIf( i % 2 == 0, "even", "odd" ), If( i > 2, IIf( i == 4, "four", "three" ), 0 )
   NEXT
   ? IIf( .T., "yes", Boom() ), If( .F., Boom(), "no" )
   RETURN NIL

FUNCTION Boom()
   ? "Boom was called"
   RETURN "boom"
