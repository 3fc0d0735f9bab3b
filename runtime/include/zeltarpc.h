// The synchronisation folder's public header for RPC calls to the server.
// runtime/sync declares those exports here, each with ZELTA_EXPORT.
#ifndef ZELTARPC_H
#define ZELTARPC_H

#include "zeltanet.h"

// Sends the keep-alive on the open server connection: 1 when a reply came.
ZELTA_EXPORT int SendAlive();
// The open server connection's socket as a number, or NIL.
ZELTA_EXPORT pObj_Node __GetConnServer();

#endif
