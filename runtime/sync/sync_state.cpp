// The connection state block's life: made on first use with its defaults,
// freed with its buffers and sockets.
#include "sync_state.h"

#include <new>

#include "framing.h"
#include "socket_posix.h"
#include "zeltanet.h"

namespace sync {

State stateRecord;

NetBlock* netBlock() {
  State& s = state();
  if (s.net) return s.net;
  NetBlock* n = new (std::nothrow) NetBlock{};
  if (!n) return nullptr;
  n->compression = new (std::nothrow) uint8_t[wire::kBufferSize]();
  n->packet = new (std::nothrow) uint8_t[wire::kBufferSize]();
  n->maxPacket = wire::kMaxPayload;
  n->receiveChunk = 1024;
  n->sendChunk = 1024;
  n->timeout = 20;
  n->modeByte = '2';
  n->rpcSocket = -1;
  n->socket = -1;
  s.net = n;
  return n;
}

void freeNetBlock() {
  State& s = state();
  NetBlock* n = s.net;
  if (!n) return;
  host::closeStream(n->socket);
  host::closeStream(n->rpcSocket);
  delete[] n->compression;
  delete[] n->packet;
  delete n;
  s.net = nullptr;
}

}  // namespace sync

int __VerifyNetGlb() { return sync::netBlock() != nullptr; }
