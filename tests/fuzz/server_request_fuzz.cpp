// Fuzzes the server's reading of device requests: the input is the byte
// stream a device sends (frame headers, login request, commands, upload
// packets). Each input meets the same store put back to one registered
// device and one table of 20 rows, so task lists, downloads and uploads are
// all reachable.
// The conversation must end with a result, never crash or read out of
// bounds, and every reply it builds must be a well-formed frame.
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
#include "table_def.h"

namespace {

std::unique_ptr<server::Store> store;
std::vector<wire::Row> rows;
server::TableDef def;

void makeStore() {
  std::string error;
  store = server::Store::open(":memory:", false, error);
  bool changed = false;
  if (!store || !store->addDevice("joe", "dev1", error) ||
      !server::parseStructure("table ITEMS\nupload yes\nfield CODE C 4\nfield PRICE N 9 2\nfield DAY D\n"
                              "field OK L\nindex ITEMS1 CODE\n",
                              def, error) ||
      !store->defineTable(def, changed, error))
    abort();
  for (int i = 0; i < 20; ++i) {
    wire::Row r(4);
    r[0].text = "I" + std::to_string(i);
    r[1].number = i * 1.5;
    r[2].number = 46000 + i;
    r[3].logical = i % 2;
    rows.push_back(r);
  }
}

// Puts the store back: what a session leaves (deliveries, staged uploads,
// queued tasks) goes, and the table holds its 20 rows again.
void resetStore() {
  std::string error;
  for (const char* sql : {"DELETE FROM zs_received", "DELETE FROM zs_staged", "DELETE FROM zs_queue"})
    if (!store->sql().exec(sql, {}, nullptr, error)) abort();
  server::LoadCounts counts;
  if (!store->loadRows(def, rows, counts, error)) abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  makeStore();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  resetStore();
  server::Settings settings;
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
