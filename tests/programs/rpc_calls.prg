// Server functions, images and the administrator client: the built-in echo
// through both call forms (the named form without parameters sends
// "__NOPARAM__"), an external program, one that outlives its time-out, a
// missing function, calls on a socket that is not the connection's, two
// images sent (an empty one is not), and the operations of administrator 7
// listed and run. rpc_with_server.sh checks the images the server kept.
FUNCTION Main()
   LOCAL nPort := 8025, nSock, aOps := {}, cOut := ""
   Profile( nPort )
   ? "no socket", RpcMarhold( 0, "echo" )
   nSock := ConnectServer()
   ? "gen", RpcGeneric( nSock, "echo", "one", "two" )
   ? "named", RpcMarhold( nSock, "echo", "a=1" )
   ? "noparam", RpcMarhold( nSock, "echo" )
   ? "no function", RpcMarhold( nSock, "" )
   ? "external", RpcMarhold( nSock, "hello", "world" )
   ? "slow", RpcGeneric( nSock, "slow", "", "" )
   ? "missing", RpcGeneric( nSock, "nothing", "", "" )
   ? "other socket", RpcGeneric( nSock + 1000, "echo", "x", "y" )
   ? "select", RpcSelect( nSock, "select * from clients", "x" )
   ? "image", SendImage( "photo.bin" )
   ? "empty", SendImage( "empty.bin" )
   ? "still", RpcMarhold( nSock, "echo", "alive" )
   DisconnectServer( nSock )
   ? "image after", SendImage( "photo.bin" )
   ? "admin", VaskoMonitor( "7", aOps )
   ? "operations", Len( aOps )
   ? "op", aOps[ 1, 1 ], aOps[ 1, 2 ], aOps[ 1, 3 ], aOps[ 1, 4 ]
   ? "exec", VaskoMonitorExec( aOps[ 1, 1 ], @cOut ), cOut
   ? "exec other", VaskoMonitorExec( 99, @cOut ), cOut
   VaskoMonitorDis()
   ? "after", GetConnection()
   aOps := {}
   ? "admin 8", VaskoMonitor( "8", aOps )
   ? "none", Len( aOps ), GetConnection()
RETURN NIL

// The connection profile ConnectServer reads.
FUNCTION Profile( nPort )
   dbCreate( "CAD_USER", { { "HOST", "C", 20, 0 }, { "US_NAME", "C", 20, 0 }, { "DEV_TYPE", "C", 30, 0 }, ;
                           { "DEV_ID", "C", 25, 0 }, { "PORT", "C", 15, 0 }, { "TOUT", "C", 3, 0 } } )
   USE CAD_USER NEW
   APPEND BLANK
   REPLACE HOST WITH "127.0.0.1", US_NAME WITH "joe", DEV_TYPE WITH "PALM", DEV_ID WITH "dev1"
   REPLACE PORT WITH LTrim( Str( nPort ) ), TOUT WITH "20"
   CLOSE
RETURN NIL
