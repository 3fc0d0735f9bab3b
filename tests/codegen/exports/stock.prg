FUNCTION Flag( x )
   EXPFUNCT( "Flag", "BOOLEAN", "ULONG", x, 0 )
   RETURN x > 0

FUNCTION Pick( x )
   EXPFUNCT( "Pick", "BYTE", "SMALLINT", x, 0 )
   RETURN "y"
