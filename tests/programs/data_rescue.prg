// Rescue of arrays: an array saved with ExecDumpArray comes back from
// RestoreArray with its nested arrays and their values; its scalar
// top-level elements are not saved, and the saved copy is used up.
FUNCTION Main()
   LOCAL aOrder := { { "A-100", 2, CToD( "03/28/24" ), .T. }, "not kept", { { "deep" }, 3.5 } }
   LOCAL aBack
   ? RegisterArray( "ORDER", aOrder )
   ? RegisterArray( "ORDER", aOrder )
   ? ExecDumpArray( "ORDER", aOrder )
   ? File( "ORDER.tLog" )
   aBack := RestoreArray( "ORDER" )
   ? Len( aBack ), Len( aBack[ 1 ] ), aBack[ 1, 1 ], aBack[ 1, 2 ], aBack[ 1, 3 ], aBack[ 1, 4 ]
   ? aBack[ 2, 1, 1 ], aBack[ 2, 2 ]
   ? ValType( RestoreArray( "ORDER" ) )
   ? File( "ORDER.tLog" )
   RETURN NIL
