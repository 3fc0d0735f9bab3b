// Rescue of arrays: an array saved with ExecDumpArray comes back from
// RestoreArray with its nested arrays and their values; its scalar
// top-level elements are not saved, and the saved copy is used up. The
// program runs in ../build beside its application directory ../app, and
// File() takes relative names against the current directory.
FUNCTION Main()
   LOCAL aOrder := { { "A-100", 2, CToD( "03/28/24" ), .T. }, "not kept", { { "deep" }, 3.5 } }
   LOCAL aBack
   ? RegisterArray( "ORDER", aOrder )
   ? RegisterArray( "ORDER", aOrder )
   ? ExecDumpArray( "ORDER", aOrder )
   ? File( "../app/ORDER.tLog" )
   aBack := RestoreArray( "ORDER" )
   ? Len( aBack ), Len( aBack[ 1 ] ), aBack[ 1, 1 ], aBack[ 1, 2 ], aBack[ 1, 3 ], aBack[ 1, 4 ]
   ? aBack[ 2, 1, 1 ], aBack[ 2, 2 ]
   ? ValType( RestoreArray( "ORDER" ) )
   ? File( "../app/ORDER.tLog" )
   RETURN NIL
