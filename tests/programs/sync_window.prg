// The sync window: Configurations saves the profile into CAD_USER, Start
// runs a session with it (nothing listens on the port: the connection error
// and the question to reconnect, answered no), Exit closes the window.
FUNCTION Main()
   ? "status", DoSync()
   dbUseArea( .T., NIL, "CAD_USER", "CFG", .F., .F. )
   ? "profile", Trim( CFG->HOST ), Trim( CFG->US_NAME ), Trim( CFG->DEV_ID ), Val( CFG->PORT ), Val( CFG->TOUT )
   dbCloseAll()
   ? "sync date", SyncDate()
RETURN NIL
