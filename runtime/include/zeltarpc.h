// The synchronisation folder's public header for RPC calls to the server.
// runtime/sync declares those exports here, each with ZELTA_EXPORT.
#ifndef ZELTARPC_H
#define ZELTARPC_H

#include "zeltanet.h"

#endif
