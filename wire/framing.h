// The framing of the synchronisation protocol, both ways, over one TCP
// connection:
//
//   device -> server                      server -> device
//   +--------+-----------+---------+      +-----------+-------+-----------+
//   | marker | length    | payload |      | length    | kept  | body      |
//   | 'B'/'L'| 16 bits   |         |      | 16 bits   | 2     |           |
//   +--------+-----------+---------+      +-----------+-------+-----------+
//     1 byte   2 bytes     length           2 bytes     <----- length ---->
//
// Both lengths are in the order the marker names ('B': most significant byte
// first). A device reads a server payload from offset 2: the first two bytes
// are the server's own and the device never interprets them. No payload is
// longer than kMaxPayload in either direction. Every request payload begins
// with the 16-bit value 1 and a command byte (protocol.h).
#ifndef ZELTA_WIRE_FRAMING_H
#define ZELTA_WIRE_FRAMING_H

#include <stddef.h>
#include <stdint.h>

#include "byte_order.h"

namespace wire {

constexpr int kMaxPayload = 12000;
// Packet and compression buffers: a payload plus room for the zero byte a
// reader puts after it and for rows that end past the payload.
constexpr int kBufferSize = 12288;
constexpr int kClientHeaderSize = 3;
constexpr int kServerHeaderSize = 2;
constexpr int kKeptBytes = 2;

void writeClientHeader(uint8_t out[kClientHeaderSize], uint16_t length, Order order);

enum class HeaderStatus { Ok, BadMarker, TooLong };
// Reads a device's header; `order` is the marker's order.
HeaderStatus readClientHeader(const uint8_t in[kClientHeaderSize], uint16_t& length, Order& order);

void writeServerLength(uint8_t out[kServerHeaderSize], uint16_t length, Order order);
uint16_t readServerLength(const uint8_t in[kServerHeaderSize], Order order);

}  // namespace wire

#endif
