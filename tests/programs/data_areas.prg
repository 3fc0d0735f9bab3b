// Work areas: two tables open at once, SELECT by alias and by number,
// alias->FIELD reaching a table that is not selected, and CLOSE ALL.
FUNCTION Main()
   dbCreate( "clients", { { "CODE", "N", 3, 0 }, { "NAME", "C", 12, 0 } } )
   dbCreate( "orders", { { "CLIENT", "N", 3, 0 }, { "TOTAL", "N", 8, 2 } } )
   USE clients NEW
   APPEND BLANK
   REPLACE CODE WITH 7, NAME WITH "Loja Azul"
   USE orders ALIAS ord NEW
   APPEND BLANK
   REPLACE CLIENT WITH 7, TOTAL WITH 99.5
   ? Alias(), Select()
   ? "client of the order:", Trim( CLIENTS->NAME ), ORD->TOTAL
   SELECT clients
   ? Alias(), Select(), CLIENTS->CODE
   SELECT 2
   ? Alias(), RecCount()
   CLIENTS->NAME := "Loja Verde"
   SELECT clients
   ? Trim( CLIENTS->NAME )
   CLOSE ALL
   ? Used(), "[" + Alias() + "]"
   RETURN NIL
