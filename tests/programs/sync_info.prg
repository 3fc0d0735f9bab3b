// GetSyncVer gives the protocol version the run-time speaks; SetRasParams
// takes its dial-up parameters and changes nothing on this host.
FUNCTION Main()
   ? GetSyncVer()
   ? SetRasParams( { "office", "joe" } )
   ? SetRasParams( "office" )
   ? SetRasParams()
   RETURN NIL
