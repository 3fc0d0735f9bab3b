// Exports for the server connection that RPC calls keep open.
#ifndef ZELTARPC_H
#define ZELTARPC_H

#include "zeltaobjs.h"

// Sends the keep-alive on the open server connection: 1 when a reply came.
ZELTA_EXPORT int SendAlive();
// The open server connection's socket as a number, or NIL.
ZELTA_EXPORT pObj_Node __GetConnServer();

#endif
