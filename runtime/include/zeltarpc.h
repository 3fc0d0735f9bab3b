// The synchronisation folder's public header for RPC calls to the server.
// runtime/sync declares those exports here, each with ZELTA_EXPORT. Every
// call but __ConnServer takes the socket __ConnServer returned; the default
// result "Erro Executando RPC!" means the server did not answer with 13.
#ifndef ZELTARPC_H
#define ZELTARPC_H

#include "zeltanet.h"

// Sends the keep-alive on the open server connection: 1 when a reply came.
ZELTA_EXPORT int SendAlive();
// The open server connection's socket as a number, or NIL.
ZELTA_EXPORT pObj_Node __GetConnServer();

// Logs in with the CAD_USER profile in RPC mode and starts the keep-alive
// timer; the socket, 0 when the connection failed.
ZELTA_EXPORT pObj_Node __ConnServer();
ZELTA_EXPORT pObj_Node __DisConnServer(pObj_Node socket);

// A server function: the general form with three texts, and the named form
// with the function's name and its parameters ("__NOPARAM__" when none).
ZELTA_EXPORT pObj_Node __ExecRPCGen(pObj_Node socket, pObj_Node first, pObj_Node second = NULL, pObj_Node third = NULL);
ZELTA_EXPORT pObj_Node __ExecRPMarhold(pObj_Node socket = NULL, pObj_Node function = NULL, pObj_Node parameters = NULL);

// A select, insert or update on the server: "EXEC=OK" or "EXEC=NOK"; a
// select's rows become the table of the alias (default "tmpQuery").
ZELTA_EXPORT pObj_Node __ExecRPCQuery(pObj_Node socket, pObj_Node statement, pObj_Node alias = NULL);
ZELTA_EXPORT pObj_Node __ExecRPCSelect(pObj_Node socket = NULL, pObj_Node statement = NULL, pObj_Node alias = NULL);
ZELTA_EXPORT pObj_Node __ExecRPCXml(pObj_Node socket, pObj_Node xml);
// Reads a query's reply into the table `alias`: 0, 12 (transmission), 1074
// (server error) or 34 (an empty row).
ZELTA_EXPORT int DumpQuery(int socket, const char* alias);

// The file IMG/<name> of the application directory sent to the server.
ZELTA_EXPORT pObj_Node __SendImage(pObj_Node name);

// The administrator client: log in with the administrator id and list the
// operations into the array ({number, name, text, value} each), run one
// (its reply text stored in `result`), and disconnect.
ZELTA_EXPORT pObj_Node __VaskoMonitor(pObj_Node adminId, pObj_Node list);
ZELTA_EXPORT pObj_Node __VaskoMonitorExec(pObj_Node operation, pObj_Node result = NULL);
ZELTA_EXPORT pObj_Node __VaskoMonitorDis();

#endif
