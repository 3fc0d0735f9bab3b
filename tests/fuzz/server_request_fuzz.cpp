// Fuzzes the server's reading of device requests: the input is the byte
// stream a device sends (frame headers, login request, commands). The
// conversation must end with a result, never crash or read out of bounds,
// and every reply it builds must be a well-formed frame.
//
//   build: CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZELTA_FUZZ=ON
//          cmake --build build-fuzz --target server_request_fuzz
//   run:   build-fuzz/tests/fuzz/server_request_fuzz -max_len=65536 tests/fuzz/seeds/server
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <memory>

#include "conversation.h"
#include "framing.h"
#include "store.h"

namespace {

std::unique_ptr<server::Store> store;
server::Settings settings;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string error;
  store = server::openSqliteStore(":memory:", error);
  if (!store || !store->addDevice("joe", "dev1", error)) abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  server::Conversation c(*store, settings);
  const std::vector<uint8_t> out = server::runStream(c, data, size);
  if (!c.ended()) abort();
  // The replies split exactly into frames of at most the largest payload
  // (their order is the device's, which a stream may change; both are tried).
  for (wire::Order order : {wire::Order::Big, wire::Order::Little}) {
    size_t at = 0;
    bool whole = true;
    while (at < out.size()) {
      if (out.size() - at < 2) {
        whole = false;
        break;
      }
      const uint16_t n = wire::readServerLength(out.data() + at, order);
      if (n > wire::kMaxPayload || out.size() - at - 2 < n) {
        whole = false;
        break;
      }
      at += 2 + n;
    }
    if (whole) return 0;
  }
  abort();
}
