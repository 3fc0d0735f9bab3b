// How ? and ?? show each kind of value: texts as they are, numbers in their
// shortest form, logicals, NIL and dates, separated by one blank.
FUNCTION Main()
   ? "text", 42, -7, 3.25, -0.5, 1000000
   ? .T., .F., NIL
   ? CToD( "12/31/99" )
   ?? " same line"
   ?? 1, 2
   ?
   ? "after an empty line"
   RETURN NIL
