// Device functions with a meaning on this host: the registry file, FErase,
// a process looked up by name and the storage of the application directory.
FUNCTION Main()
   ? RegSetData( "Software/Shop", "Server", "10.0.0.5" )
   ? RegSetData( "Software/Shop", "Port", 5000 )
   ? RegGetData( "Software/Shop", "server" ), RegGetData( "Software/Shop", "Port" )
   ? RegGetData( "Software/Shop", "Missing", "none" )
   // The build directory holds a copy of this source.
   ? FErase( "device_host.prg" )
   ? FErase( "device_host.prg" )
   ? CheckProcess( "device_host" ), CheckProcess( "device_host.exe" ), CheckProcess( "no_such_program" )
   ? Len( GetSDName() ) > 0
   RETURN NIL
