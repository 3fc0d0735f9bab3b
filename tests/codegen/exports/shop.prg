FUNCTION Main()
   RETURN NIL

FUNCTION Sum( a, b )
   EXPFUNCT( "Soma", "INTEGER", "INTEGER", a, "LONG", b, 0 )
   RETURN a + b

FUNCTION Describe( n, d, s, c, p, f, w, t )
   EXPFUNCT( "Describe", "PCHAR", "UINT", n, "DOUBLE", d, "PCHAR", s, "BYTE", c, "POINTER", p, "BOOLEAN", f, "PSHORT", w, "PDOUBLE", t, 0 )
   RETURN "x"

PROCEDURE Touch( v )
   EXPFUNCT( "Touch", "VOID", "PINTEGER", v, 0 )
   v := 1
