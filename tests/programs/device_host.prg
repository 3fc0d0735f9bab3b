// Device functions with a meaning on this host: the registry file, FErase,
// a process looked up by name, the storage of the application directory
// and ASort.
FUNCTION Main()
   LOCAL a
   ? RegSetData( "HKEY_CURRENT_USER\Software\Shop", "Server", "10.0.0.5" )
   ? RegSetData( "HKEY_CURRENT_USER\Software\Shop", "Port", 5000 )
   ? RegGetData( "HKEY_CURRENT_USER\Software\Shop", "server" ), RegGetData( "HKEY_CURRENT_USER\Software\Shop", "Port" )
   ? RegGetData( "HKEY_CURRENT_USER\Software\Shop", "Missing", "none" )
   // The build directory holds a copy of this source.
   ? FErase( "device_host.prg" )
   ? FErase( "device_host.prg" )
   ? CheckProcess( "device_host" ), CheckProcess( "device_host.exe" ), CheckProcess( "no_such_program" )
   ? Len( GetSDName() ) > 0
   a := { 3, 1, 2 }
   ASort( a )
   ? a[1], a[2], a[3]
   RETURN NIL
