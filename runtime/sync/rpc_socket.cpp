// The socket a server connection keeps open between RPC calls: the
// keep-alive that holds it and the number programs see.
#include "connection.h"
#include "protocol.h"
#include "sync_state.h"
#include "zeltanet.h"
#include "zeltarpc.h"

int SendAlive() {
  sync::NetBlock* n = sync::state().net;
  if (!n || n->rpcSocket < 0) return 0;
  wire::PacketWriter w = sync::beginRequest(*n, wire::kKeepAlive);
  if (!sync::sendRequest(*n, n->rpcSocket, w)) return 0;
  return sync::readPacket(*n, n->rpcSocket);
}

pObj_Node __GetConnServer() {
  sync::NetBlock* n = sync::state().net;
  if (!n || n->rpcSocket < 0) return __INIT_NIL();
  return __INIT_DOUBLE(n->rpcSocket);
}
