// A session started from the sync window with the profile typed into its
// configuration dialog.
FUNCTION Main()
   ? "status", DoSync()
RETURN NIL
