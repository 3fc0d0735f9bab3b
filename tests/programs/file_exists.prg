// File() tells whether a file exists, a relative name taken against the
// current directory (the program is built and run beside its source).
FUNCTION Main()
   ? File( "file_exists.prg" ), File( "./file_exists.prg" )
   ? File( "no_such_file.txt" ), File( "" )
   RETURN NIL
