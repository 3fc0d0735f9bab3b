// Queries on the server: a select whose rows become a local table read
// here, an insert and an update that the server's table keeps, and
// statements a device may not run (delete, drop, pragma, another table,
// two statements) refused with the error result and nothing changed.
// rpc_with_server.sh starts the server and checks its table afterwards.
FUNCTION Main()
   LOCAL nPort := 8025, nSock, cRes
   Profile( nPort )
   nSock := ConnectServer()
   ? "connected", nSock > 0, GetConnection() == nSock
   cRes := RpcQuery( nSock, "SELECT code, name, balance, since, active FROM clients WHERE balance >= 0 ORDER BY code", "got" )
   ? "select", cRes, Alias(), FCount(), RecCount()
   Dump( "GOT" )
   ? "insert", RpcQuery( nSock, "insert into clients (code, name, balance, since, active) values ('D4', 'Dora', 7.5, 45658, 1)" )
   ? "update", RpcQuery( nSock, "update clients set name = 'Bruno Updated', balance = balance + 100 where code = 'B2'" )
   ? "again", RpcQuery( nSock, "insert into clients (code, name) values ('A1', 'Twice')" )
   ? "count", RpcQuery( nSock, "select count(*) as n, max(balance) as top from clients" )
   ? "tmpQuery", Alias(), tmpQuery->N, tmpQuery->TOP
   ? "delete", RpcQuery( nSock, "delete from clients" )
   ? "drop", RpcQuery( nSock, "select 1 from clients; drop table zt_CLIENTS" )
   ? "pragma", RpcQuery( nSock, "select * from pragma_table_info('zt_CLIENTS')" )
   ? "other", RpcQuery( nSock, "select * from zs_devices" )
   ? "inner", RpcQuery( nSock, "update clients set name = (select user_name from zs_devices) where code = 'A1'" )
   ? "attach", RpcQuery( nSock, "update clients set name = 'x' where code = 'A1'; attach database 'x.db' as x" )
   ? "stored", RpcQuery( nSock, "select * from clients order by code", "all" )
   Dump( "ALL" )
   DisconnectServer( nSock )
   ? "after", GetConnection()
RETURN NIL

FUNCTION Dump( cAlias )
   dbSelectArea( cAlias )
   dbGoTop()
   DO WHILE !EOF()
      ? "row", Trim( FieldGet( 1 ) ), Trim( FieldGet( 2 ) ), FieldGet( 3 ), DToS( FieldGet( 4 ) ), FieldGet( 5 )
      dbSkip()
   ENDDO
RETURN NIL

// The connection profile __ConnServer reads.
FUNCTION Profile( nPort )
   dbCreate( "CAD_USER", { { "HOST", "C", 20, 0 }, { "US_NAME", "C", 20, 0 }, { "DEV_TYPE", "C", 30, 0 }, ;
                           { "DEV_ID", "C", 25, 0 }, { "PORT", "C", 15, 0 }, { "TOUT", "C", 3, 0 } } )
   USE CAD_USER NEW
   APPEND BLANK
   REPLACE HOST WITH "127.0.0.1", US_NAME WITH "joe", DEV_TYPE WITH "PALM", DEV_ID WITH "dev1"
   REPLACE PORT WITH LTrim( Str( nPort ) ), TOUT WITH "20"
   CLOSE
RETURN NIL
