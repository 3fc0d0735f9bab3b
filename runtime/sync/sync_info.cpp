// Two small entries about the connection itself: the protocol version this
// run-time speaks, and the dial-up parameters, which this host does not need.
#include "arguments.h"
#include "protocol.h"
#include "zeltanet.h"

pObj_Node __GetSyncVer() { return __INIT_CHARPTR(wire::kProtocolVersion); }

// A device dials out before it syncs; here the network is already up, so the
// parameters are checked and left unused.
pObj_Node __SetRasParams(pObj_Node params) {
  if (core::isGiven(params) && !core::isType(params, T_CHARPTR) && !core::isType(params, T_ARRAY))
    __RuntimeError(ARGUMENT_ERROR, -1);
  return __INIT_NIL();
}
