// Adding a number to a text is a fatal ARGUMENT ERROR!, here raised inside a
// called function, whose name the report lists among the source positions.
FUNCTION Main()
   ? "start"
   ? Label( 5 )
   ? "never printed"
   RETURN NIL

FUNCTION Label( n )
   RETURN "item " + n
