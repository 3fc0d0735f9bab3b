FUNCTION Main()
   RETURN NIL

FUNCTION Numbers( A, B, C, D, E )
   CALLDLL( "calc.dll", "numbers", "INTEGER", "INTEGER", A, "SHORT", B, "UINT", C, "DOUBLE", D, "BOOLEAN", E, "C" )
   RETURN NIL

FUNCTION Pointers( A, B, C, D, E )
   CALLDLL( "calc.dll", "pointers", "double", "PLONG", A, "PWORD", B, "PULONG", C, "PDOUBLE", D, "POINTER", E, "pascal" )
   RETURN NIL

FUNCTION Texts( A, B, C )
   CALLDLL( "C:\\dlls\\text.dll", "texts", "PCHAR", "PCHAR", A, "STATICPCHAR", B, "BYTE", C, "STDCALL" )
   RETURN NIL

FUNCTION ByteBack( A )
   CALLDLL( "text", "first", "BYTE", "BYTE", A, "C" )

FUNCTION Nothing()
   CALLDLL( "calc.dll", "nothing", "VOID", "C" )
   RETURN 5

FUNCTION NilResults( A )
   LOCAL x
   CALLDLL( "calc.dll", "shorts", "SHORT", "DWORD", A, "C" )
   RETURN x

FUNCTION Results()
   CALLDLL( "calc.dll", "results", "POINTER", "PASCAL" )

PROCEDURE Fill( A )
   CALLDLL( "calc.dll", "fill", "VOID", "PINTEGER", A, "C" )
