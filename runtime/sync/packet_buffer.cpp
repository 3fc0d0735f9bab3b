// The exported writers and readers of the packet buffer. They work at the
// block's position and move it on; writers stop at the largest payload and
// then mark the request as overflowed, so it is never sent cut short;
// readers stop at the end of the last packet read.
#include <string.h>

#include "connection.h"
#include "sync_state.h"
#include "zeltanet.h"

namespace {

sync::NetBlock& block() {
  sync::NetBlock* n = sync::netBlock();
  if (!n) __RuntimeError(LOW_MEMORY, -1);
  return *n;
}

template <typename Write>
int write(Write&& field) {
  sync::NetBlock& n = block();
  wire::PacketWriter w(n.packet, n.maxPacket, sync::byteOrder(), static_cast<size_t>(n.position));
  if (n.overflow || !field(w)) {
    n.overflow = true;
    return 0;
  }
  n.position = static_cast<int32_t>(w.position());
  return 1;
}

template <typename Read>
auto read(Read&& field) {
  sync::NetBlock& n = block();
  wire::PacketReader r = sync::replyReader(n);
  auto value = field(r);
  n.position = static_cast<int32_t>(r.position());
  return value;
}

}  // namespace

void Reset() {
  sync::NetBlock& n = block();
  n.position = 0;
  n.overflow = false;
}

void SetBuffer() { Reset(); }

int WriteInt(int32_t v) {
  return write([&](wire::PacketWriter& w) { return w.writeInt(v); });
}
int WriteUInt(uint32_t v) {
  return write([&](wire::PacketWriter& w) { return w.writeUInt(v); });
}
int WriteUShort(uint16_t v) {
  return write([&](wire::PacketWriter& w) { return w.writeUShort(v); });
}
int WriteByte(uint8_t v) {
  return write([&](wire::PacketWriter& w) { return w.writeByte(v); });
}

int WriteString(const char* text) {
  if (!text) __RuntimeError(ARGUMENT_ERROR, -1);
  return write([&](wire::PacketWriter& w) { return w.writeString(text); });
}

int WriteBuffer(const void* data, int n) {
  if (n < 0 || (n > 0 && !data)) __RuntimeError(ARGUMENT_ERROR, -1);
  return write([&](wire::PacketWriter& w) { return w.writeBuffer(data, static_cast<size_t>(n)); });
}

int32_t ReadInt() {
  return read([](wire::PacketReader& r) { return r.readInt(); });
}
int32_t ReadLong() { return ReadInt(); }
uint32_t ReadUInt() {
  return read([](wire::PacketReader& r) { return r.readUInt(); });
}
int16_t ReadShort() {
  return read([](wire::PacketReader& r) { return r.readShort(); });
}
uint8_t ReadByte() {
  return read([](wire::PacketReader& r) { return r.readByte(); });
}

const char* ReadString() {
  // The packet buffer holds a zero byte after the last packet, so the text
  // ends within the packet even when its own zero byte is missing.
  const char* text = read([](wire::PacketReader& r) { return r.readString().data(); });
  return text ? text : "";
}
