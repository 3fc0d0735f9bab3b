// Tables: a value of the wrong type for a field is a fatal argument error,
// and the record already committed stays as it was.
FUNCTION Main()
   dbCreate( "typed", { { "QTY", "N", 5, 0 } } )
   USE typed NEW
   APPEND BLANK
   REPLACE QTY WITH 5
   COMMIT
   ? TYPED->QTY
   TYPED->QTY := "five"
   ? "not reached"
   RETURN NIL
