// The synchronisation folder's public header for the session and its
// connection, serial ports, Base64 and compression. runtime/sync declares
// those exports here, each with ZELTA_EXPORT; its RPC calls are in
// zeltarpc.h.
#ifndef ZELTANET_H
#define ZELTANET_H

#include "zeltaobjs.h"

#endif
