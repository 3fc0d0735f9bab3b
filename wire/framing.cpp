// The two frame headers (the layout is drawn in framing.h).
#include "framing.h"

namespace wire {

void writeClientHeader(uint8_t out[kClientHeaderSize], uint16_t length, Order order) {
  out[0] = static_cast<uint8_t>(orderMarker(order));
  put16(out + 1, length, order);
}

HeaderStatus readClientHeader(const uint8_t in[kClientHeaderSize], uint16_t& length, Order& order) {
  if (in[0] == 'B')
    order = Order::Big;
  else if (in[0] == 'L')
    order = Order::Little;
  else
    return HeaderStatus::BadMarker;
  length = get16(in + 1, order);
  return length > kMaxPayload ? HeaderStatus::TooLong : HeaderStatus::Ok;
}

void writeServerLength(uint8_t out[kServerHeaderSize], uint16_t length, Order order) { put16(out, length, order); }

uint16_t readServerLength(const uint8_t in[kServerHeaderSize], Order order) { return get16(in, order); }

}  // namespace wire
