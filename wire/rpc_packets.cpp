// RPC packets (drawn in rpc_packets.h).
#include "rpc_packets.h"

#include <zlib.h>

namespace wire {

namespace {

bool validField(const FieldDef& f) {
  if (f.name.empty() || f.name.size() > 31) return false;
  switch (f.type) {
    case 'C': return f.length >= 1 && f.length <= 4096 && f.decimals == 0;
    case 'N': return f.length >= 1 && f.length <= 32 && f.decimals >= 0 && f.decimals < f.length;
    case 'D': return f.length == 8 && f.decimals == 0;
    case 'L': return f.length == 1 && f.decimals == 0;
    default: return false;
  }
}

}  // namespace

bool writeResultHead(PacketWriter& w, const std::vector<FieldDef>& fields, int32_t rows) {
  if (fields.empty() || fields.size() > static_cast<size_t>(kMaxResultFields)) return false;
  w.writeByte(kResultSet);
  w.writeUShort(static_cast<uint16_t>(fields.size()));
  for (const FieldDef& f : fields) {
    if (!validField(f)) return false;
    w.writeString(f.name);
    w.writeString(std::string(1, f.type));
    w.writeUShort(static_cast<uint16_t>(f.length));
    w.writeUShort(static_cast<uint16_t>(f.decimals));
  }
  w.writeInt(rows);
  return w.ok();
}

bool readResultHead(PacketReader& r, std::vector<FieldDef>& fields, int32_t& rows) {
  fields.clear();
  const uint16_t count = r.readUShort();
  if (!r.ok() || count == 0 || count > kMaxResultFields) return false;
  for (uint16_t i = 0; i < count; ++i) {
    FieldDef f;
    f.name = std::string(r.readString());
    const std::string type(r.readString());
    f.type = type.size() == 1 ? type[0] : '?';
    f.length = r.readUShort();
    f.decimals = r.readUShort();
    if (!r.ok() || !validField(f)) return false;
    fields.push_back(f);
  }
  rows = r.readInt();
  return r.ok() && rows >= 0;
}

std::vector<std::string> splitTexts(const uint8_t* data, size_t n) {
  std::vector<std::string> texts;
  size_t start = 0;
  for (size_t i = 0; i < n; ++i) {
    if (data[i] != 0) continue;
    texts.emplace_back(reinterpret_cast<const char*>(data) + start, i - start);
    start = i + 1;
  }
  if (start < n) texts.emplace_back(reinterpret_cast<const char*>(data) + start, n - start);
  return texts;
}

bool inflateFlushed(const uint8_t* data, size_t n, std::vector<uint8_t>& out, size_t limit) {
  out.assign(limit, 0);
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(n);
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(limit);
  const int rc = inflate(&z, Z_SYNC_FLUSH);
  const bool ok = (rc == Z_OK || rc == Z_STREAM_END || rc == Z_BUF_ERROR) && z.avail_in == 0 && z.total_out > 0;
  out.resize(z.total_out);
  inflateEnd(&z);
  return ok;
}

}  // namespace wire
