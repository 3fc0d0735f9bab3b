// The special export ExecInClientDLL built into libexec_in_client.so and
// called from C: its parameter text goes in, the result comes back in the
// caller's buffer, and a run-time error inside it returns -9999.
FUNCTION Main()
   RETURN NIL

FUNCTION Run( nWnd, cParams, cResult, nSize )
   EXPFUNCT( "ExecInClientDLL", "INTEGER", "INTEGER", nWnd, "PCHAR", cParams, "PCHAR", cResult, "INTEGER", nSize, 64 )
   IF cParams == "fail"
      RETURN Len( nWnd )
   ENDIF
   cResult := Upper( cParams ) + " from window " + LTrim( Str( nWnd ) )
   RETURN Len( cResult )
