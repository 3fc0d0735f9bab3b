// Exports for RPC calls to the server; their folder declares them here.
#ifndef ZELTARPC_H
#define ZELTARPC_H

#include "zeltaobjs.h"

#endif
