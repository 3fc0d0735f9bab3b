// Tables: a field of every storable type written with REPLACE and
// alias->FIELD, read back after the table is closed and opened again.
FUNCTION Main()
   LOCAL aStru := { { "CODE", "C", 8, 0 }, { "PRICE", "N", 10, 2 }, { "SOLD", "D", 8, 0 }, ;
                    { "ACTIVE", "L", 1, 0 }, { "NOTE", "M", 10, 0 } }
   dbCreate( "goods", aStru )
   USE goods NEW
   ? Used(), Alias(), FCount(), RecCount()
   APPEND BLANK
   REPLACE CODE WITH "PEN", PRICE WITH 1.25, SOLD WITH CToD( "02/29/24" )
   REPLACE ACTIVE WITH .T., NOTE WITH "blue ink"
   APPEND BLANK
   GOODS->CODE := "A CODE TOO LONG"
   GOODS->PRICE := -3
   CLOSE
   ? Used()
   USE goods NEW
   DO WHILE !EOF()
      ? RecNo(), "[" + GOODS->CODE + "]", GOODS->PRICE, GOODS->SOLD, GOODS->ACTIVE, "[" + GOODS->NOTE + "]"
      SKIP
   ENDDO
   ? ValType( GOODS->CODE ), ValType( GOODS->PRICE ), ValType( GOODS->SOLD ), ValType( GOODS->ACTIVE )
   CLOSE ALL
   RETURN NIL
