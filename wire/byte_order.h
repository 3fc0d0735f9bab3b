// Multi-byte fields in the order a peer announces. A device marks its packets
// 'B' when it exchanges 16- and 32-bit values most significant byte first and
// 'L' otherwise; every field of a session follows that one order.
#ifndef ZELTA_WIRE_BYTE_ORDER_H
#define ZELTA_WIRE_BYTE_ORDER_H

#include <stdint.h>

namespace wire {

enum class Order : uint8_t { Big, Little };

inline char orderMarker(Order o) { return o == Order::Big ? 'B' : 'L'; }

inline void put16(uint8_t* p, uint16_t v, Order o) {
  if (o == Order::Big) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
  } else {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
  }
}

inline uint16_t get16(const uint8_t* p, Order o) {
  return o == Order::Big ? static_cast<uint16_t>(p[0] << 8 | p[1]) : static_cast<uint16_t>(p[1] << 8 | p[0]);
}

inline void put32(uint8_t* p, uint32_t v, Order o) {
  if (o == Order::Big) {
    put16(p, static_cast<uint16_t>(v >> 16), o);
    put16(p + 2, static_cast<uint16_t>(v), o);
  } else {
    put16(p, static_cast<uint16_t>(v), o);
    put16(p + 2, static_cast<uint16_t>(v >> 16), o);
  }
}

inline uint32_t get32(const uint8_t* p, Order o) {
  if (o == Order::Big) return static_cast<uint32_t>(get16(p, o)) << 16 | get16(p + 2, o);
  return static_cast<uint32_t>(get16(p + 2, o)) << 16 | get16(p, o);
}

}  // namespace wire

#endif
