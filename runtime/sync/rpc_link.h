// What the RPC calls share: the kept connection, one exchange on it, and the
// RPC-busy flag that keeps the keep-alive out of a running call.
#ifndef ZELTA_RUNTIME_SYNC_RPC_LINK_H
#define ZELTA_RUNTIME_SYNC_RPC_LINK_H

#include <stdint.h>

#include <string>
#include <vector>

#include "packet.h"
#include "sync_state.h"
#include "zeltaobjs.h"

namespace sync {

constexpr const char* kRpcDefault = "Erro Executando RPC!";
constexpr const char* kDefaultAlias = "tmpQuery";

// Holds the RPC-busy flag for the length of a call.
class RpcBusy {
 public:
  explicit RpcBusy(NetBlock& n) : n_(n), was_(n.rpcBusy) { n.rpcBusy = true; }
  ~RpcBusy() { n_.rpcBusy = was_; }
  RpcBusy(const RpcBusy&) = delete;
  RpcBusy& operator=(const RpcBusy&) = delete;

 private:
  NetBlock& n_;
  bool was_;
};

// The block when `socket` (a number, else error 0) is the kept RPC socket.
NetBlock* rpcBlock(pObj_Node socket);
// Sends the request and reads one reply on the RPC socket.
bool rpcExchange(NetBlock& n, const wire::PacketWriter& w);
// Logs in with the CAD_USER profile (RPC on, administrator mode when asked)
// and starts the keep-alive timer: the socket, 0 when it failed. An open
// connection is kept and returned.
int openRpcConnection(bool admin, int32_t adminId);
// Stops the timer, says goodbye when asked, frees the state blocks and
// closes the message log.
void closeRpcConnection(bool sayGoodbye);
// Command 5 with `texts`; the reply text or the default result.
std::string callServer(NetBlock& n, uint8_t kind, const std::vector<std::string>& texts);

}  // namespace sync

#endif
