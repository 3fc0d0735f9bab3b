// Typed writers and readers over a packet buffer. Both are bounded: a writer
// refuses a field that would pass its buffer (and stays refused), a reader
// never reads past the bytes it was given and reports a field that was cut
// short. Numbers go in the session's byte order; a string ends with one zero
// byte.
#ifndef ZELTA_WIRE_PACKET_H
#define ZELTA_WIRE_PACKET_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>

#include "byte_order.h"

namespace wire {

class PacketWriter {
 public:
  PacketWriter(uint8_t* buffer, size_t capacity, Order order, size_t position = 0)
      : buffer_(buffer), capacity_(capacity), position_(position), order_(order) {}

  bool writeInt(int32_t v) { return writeUInt(static_cast<uint32_t>(v)); }
  bool writeUInt(uint32_t v);
  bool writeUShort(uint16_t v);
  bool writeByte(uint8_t v);
  bool writeString(std::string_view text);       // the text, then a zero byte
  bool writeBuffer(const void* data, size_t n);  // n bytes, then a zero byte
  bool writeBytes(const void* data, size_t n);   // n bytes as they are

  size_t position() const { return position_; }
  bool ok() const { return ok_; }
  uint8_t* data() const { return buffer_; }
  Order order() const { return order_; }

 private:
  bool room(size_t n);

  uint8_t* buffer_;
  size_t capacity_;
  size_t position_;
  Order order_;
  bool ok_ = true;
};

class PacketReader {
 public:
  PacketReader(const uint8_t* data, size_t length, Order order, size_t position = 0)
      : data_(data), length_(length), position_(position), order_(order) {}

  // Each read past the end yields 0 (or what was left of a string) and marks
  // the reader failed; the position stops at the end.
  int32_t readInt() { return static_cast<int32_t>(readUInt()); }
  uint32_t readUInt();
  int16_t readShort() { return static_cast<int16_t>(readUShort()); }
  uint16_t readUShort();
  uint8_t readByte();
  // The bytes up to the next zero byte, which is skipped.
  std::string_view readString();
  // n bytes as they are.
  std::string_view readBytes(size_t n);

  size_t position() const { return position_; }
  size_t remaining() const { return position_ < length_ ? length_ - position_ : 0; }
  bool ok() const { return ok_; }

 private:
  bool have(size_t n);

  const uint8_t* data_;
  size_t length_;
  size_t position_;
  Order order_;
  bool ok_ = true;
};

}  // namespace wire

#endif
