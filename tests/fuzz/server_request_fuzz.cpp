// Fuzzes the server's reading of device requests: the input is the byte
// stream a device sends (frame headers, login request, commands, upload
// packets). Each input meets a fresh store holding one registered device
// and one table, so task lists, downloads and uploads are all reachable.
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

std::unique_ptr<server::Store> freshStore() {
  std::string error;
  std::unique_ptr<server::Store> store = server::Store::open(":memory:", false, error);
  server::TableDef def;
  bool changed = false;
  if (!store || !store->addDevice("joe", "dev1", error) ||
      !server::parseStructure("table ITEMS\nupload yes\nfield CODE C 4\nfield PRICE N 9 2\nfield DAY D\n"
                              "field OK L\nindex ITEMS1 CODE\n",
                              def, error) ||
      !store->defineTable(def, changed, error))
    abort();
  std::vector<wire::Row> rows;
  for (int i = 0; i < 20; ++i) {
    wire::Row r(4);
    r[0].text = "I" + std::to_string(i);
    r[1].number = i * 1.5;
    r[2].number = 46000 + i;
    r[3].logical = i % 2;
    rows.push_back(r);
  }
  server::LoadCounts counts;
  if (!store->loadRows(def, rows, counts, error)) abort();
  return store;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<server::Store> store = freshStore();
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
