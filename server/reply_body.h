// A reply body under construction: the two bytes every reply starts with
// (the device skips them), then the fields.
#ifndef ZELTA_SERVER_REPLY_BODY_H
#define ZELTA_SERVER_REPLY_BODY_H

#include <cstdint>
#include <vector>

#include "framing.h"
#include "packet.h"

namespace server {

struct Body {
  explicit Body(wire::Order order) : bytes(wire::kMaxPayload), w(bytes.data(), bytes.size(), order) {
    w.writeUShort(1);
  }
  std::vector<uint8_t> done() {
    bytes.resize(w.position());
    return bytes;
  }
  std::vector<uint8_t> bytes;
  wire::PacketWriter w;
};

}  // namespace server

#endif
