// The bounded packet writers and readers of packet.h.
#include "packet.h"

#include <string.h>

namespace wire {

bool PacketWriter::room(size_t n) {
  if (ok_ && position_ <= capacity_ && n <= capacity_ - position_) return true;
  ok_ = false;
  return false;
}

bool PacketWriter::writeUInt(uint32_t v) {
  if (!room(4)) return false;
  put32(buffer_ + position_, v, order_);
  position_ += 4;
  return true;
}

bool PacketWriter::writeUShort(uint16_t v) {
  if (!room(2)) return false;
  put16(buffer_ + position_, v, order_);
  position_ += 2;
  return true;
}

bool PacketWriter::writeByte(uint8_t v) {
  if (!room(1)) return false;
  buffer_[position_++] = v;
  return true;
}

bool PacketWriter::writeBytes(const void* data, size_t n) {
  if (!room(n)) return false;
  if (n) memcpy(buffer_ + position_, data, n);
  position_ += n;
  return true;
}

bool PacketWriter::writeBuffer(const void* data, size_t n) {
  if (n == SIZE_MAX || !room(n + 1)) return false;
  writeBytes(data, n);
  return writeByte(0);
}

bool PacketWriter::writeString(std::string_view text) { return writeBuffer(text.data(), text.size()); }

bool PacketReader::have(size_t n) {
  if (position_ <= length_ && n <= length_ - position_) return true;
  ok_ = false;
  position_ = length_ > position_ ? length_ : position_;
  return false;
}

uint32_t PacketReader::readUInt() {
  if (!have(4)) return 0;
  const uint32_t v = get32(data_ + position_, order_);
  position_ += 4;
  return v;
}

uint16_t PacketReader::readUShort() {
  if (!have(2)) return 0;
  const uint16_t v = get16(data_ + position_, order_);
  position_ += 2;
  return v;
}

uint8_t PacketReader::readByte() {
  if (!have(1)) return 0;
  return data_[position_++];
}

std::string_view PacketReader::readString() {
  if (position_ >= length_) {
    ok_ = false;
    return {};
  }
  const char* start = reinterpret_cast<const char*>(data_ + position_);
  const size_t left = length_ - position_;
  const void* zero = memchr(start, 0, left);
  if (!zero) {
    ok_ = false;
    position_ = length_;
    return {start, left};
  }
  const size_t n = static_cast<size_t>(static_cast<const char*>(zero) - start);
  position_ += n + 1;
  return {start, n};
}

std::string_view PacketReader::readBytes(size_t n) {
  if (!have(n)) return {};
  const char* start = reinterpret_cast<const char*>(data_ + position_);
  position_ += n;
  return {start, n};
}

}  // namespace wire
