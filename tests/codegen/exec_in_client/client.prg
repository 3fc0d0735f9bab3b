FUNCTION Main()
   RETURN NIL

FUNCTION Run( nWnd, cParams, cResult, nSize )
   EXPFUNCT( "ExecInClientDLL", "INTEGER", "INTEGER", nWnd, "PCHAR", cParams, "PCHAR", cResult, "INTEGER", nSize, 4096 )
   cResult := "done"
   RETURN 0
