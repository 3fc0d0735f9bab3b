// Fuzzes the device's reading of server packets: the input is what a server
// sends, from the login reply on (lengths, kept bytes, login reply, task
// count, task descriptions). The device reads it from a socket pair and must
// end with a status, never crash, hang or read out of bounds.
//
//   build: CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZELTA_FUZZ=ON
//          cmake --build build-fuzz --target client_packet_fuzz
//   run:   build-fuzz/tests/fuzz/client_packet_fuzz -max_len=65536 tests/fuzz/seeds/client
#define sync unistd_sync
#include <unistd.h>
#undef sync

#include <stddef.h>
#include <stdint.h>
#include <sys/socket.h>

#include "connection.h"
#include "core.h"
#include "session.h"
#include "sync_state.h"
#include "zeltaobjs.h"

namespace {

int quietBox(const char*, const char*, int) { return 1; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  __BeginGlobal();
  core::hooks().messageBox = quietBox;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int pair[2];
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) return 0;
  int buffer = 1 << 20;
  setsockopt(pair[1], SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
  setsockopt(pair[0], SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
  size_t sent = 0;
  while (sent < size) {
    const ssize_t rc = write(pair[1], data + sent, size - sent);
    if (rc <= 0) break;
    sent += static_cast<size_t>(rc);
  }
  shutdown(pair[1], SHUT_WR);  // the server has said all it will say

  sync::Timing& t = sync::state().timing;
  t.sliceMs = 5;
  t.secondMs = 0;
  t.taskRetryMs = 0;
  sync::NetBlock& n = *sync::netBlock();
  n.socket = pair[0];
  sync::LoginArgs args{"fuzz", 0, "joe", "dev1", false, false};
  if (sync::loginConnected(n, args, n.socket)) sync::runTasks(n);
  n.socket = -1;
  sync::freeNetBlock();
  sync::state().recentLog.clear();
  close(pair[0]);
  close(pair[1]);
  return 0;
}
