// DumpQuery: the reply of a query read into a local table. A result set
// (drawn in wire/rpc_packets.h) names its fields; the table of the alias is
// deleted, made anew with them (driver "LOCAL") and opened, and each row of
// the download packets that follow becomes one record.
#include <string.h>

#include <string>
#include <vector>

#include "compression.h"
#include "connection.h"
#include "core.h"
#include "data_state.h"
#include "framing.h"
#include "report.h"
#include "rpc_link.h"
#include "protocol.h"
#include "rpc_packets.h"
#include "status.h"
#include "sync_packets.h"
#include "sync_tables.h"
#include "work_area.h"
#include "zeltaarray.h"
#include "zeltardd.h"
#include "zeltarpc.h"

namespace sync {

namespace {

constexpr int kOk = 0, kTransmission = 12, kEmptyRow = 34;
constexpr long kMaxPackets = 1000000;

enum class Packet { Rows, End, ServerError, Bad };

Packet kindOf(const NetBlock& n) {
  if (n.received < 4) return Packet::Bad;
  const uint8_t* p = n.packet;
  if (p[2] == wire::kStreamError) return Packet::ServerError;
  if (p[2] == wire::kStreamEnd || p[3] == 17) return Packet::End;
  if (p[2] == 12 && p[3] == 14 && n.received >= static_cast<int>(wire::kDownloadHeader)) return Packet::Rows;
  return Packet::Bad;
}

// The rest of a stream the device will not keep, so the connection stays in
// step for the next call.
void drain(NetBlock& n, int socket) {
  for (long i = 0; i < kMaxPackets && readPacket(n, socket); ++i) {
    const Packet k = kindOf(n);
    if (k == Packet::End || k == Packet::ServerError) return;
  }
}

bool makeTable(const std::string& alias, const std::vector<wire::FieldDef>& fields) {
  closeAlias(alias.c_str());
  if (data::DmFindDatabase(0, alias.c_str())) data::deleteTable(alias);
  __begin_context();
  pObj_Node structure = __fcpObj_CT(vArray);
  for (const wire::FieldDef& f : fields)
    __AAdd(structure, __CreateArray(__INIT_CHARPTR(f.name.c_str()), __INIT_CHARPTR(std::string(1, f.type).c_str()),
                                    __INIT_DOUBLE(f.length), __INIT_DOUBLE(f.decimals), __INIT_NUL()));
  bool made = __GET_BOOL(__DBCREATE(__INIT_CHARPTR(alias.c_str()), structure, __INIT_CHARPTR("LOCAL")));
  if (made)
    __DBUSEAREA(__INIT_BOOL(1), __INIT_CHARPTR("LOCAL"), __INIT_CHARPTR(alias.c_str()), __INIT_CHARPTR(alias.c_str()),
                __INIT_BOOL(0), __INIT_BOOL(0));
  __end_context(nullptr);
  return made;
}

data::WorkArea* areaOf(const std::string& alias) {
  __begin_context();
  const int slot = data::aliasSlot(__INIT_CHARPTR(alias.c_str()));
  __end_context(nullptr);
  return slot >= 0 ? data::areaAt(slot) : nullptr;
}

// The rows of one download packet appended to the table; kOk, or why not.
int appendRows(NetBlock& n, data::WorkArea& w, const std::vector<wire::FieldDef>& fields, long& rows) {
  const wire::DownloadHeader h = wire::readDownloadHeader(n.packet, byteOrder());
  const wire::Inflated in = inflateToBuffer(n, n.packet + wire::kDownloadHeader,
                                            static_cast<size_t>(n.received) - wire::kDownloadHeader, h.uncompressed);
  if (in.status != wire::InflateStatus::Complete || in.size != h.uncompressed) return kTransmission;
  const uint8_t* plain = n.compression;
  size_t at = 0;
  uint16_t count = 0;
  std::string record;
  while (at < in.size) {
    if (in.size - at < wire::kRowPrefix) return kTransmission;
    const size_t length = wire::get16(plain + at, byteOrder());
    if (length <= wire::kRowPrefix) return kEmptyRow;
    if (at + length > in.size) return kTransmission;
    const uint8_t* body = plain + at + wire::kRowPrefix;
    const size_t size = length - wire::kRowPrefix;
    wire::Row values;
    if (!wire::readStoredRecord(fields, body, size, values)) return kTransmission;
    record.assign(reinterpret_cast<const char*>(body), size);
    record += data::kLive;
    record += '\0';
    data::blankBuffer(w);
    data::decodeRecord(w.schema, record.data(), static_cast<uint32_t>(record.size()), w.st.buffer.data());
    w.st.changed = 1;
    w.st.appendPending = 1;
    data::writeRecord(w, data::DirtyChange::clear);
    at += length;
    ++count;
    ++rows;
  }
  return count == h.rows ? kOk : kTransmission;
}

}  // namespace

}  // namespace sync

using namespace sync;

int DumpQuery(int socket, const char* alias) {
  NetBlock* block = state().net;
  if (!block || socket < 0) return kTransmission;
  NetBlock& n = *block;
  RpcBusy busy(n);
  const std::string table = alias && *alias ? alias : kDefaultAlias;
  if (!readPacket(n, socket)) return kTransmission;
  wire::PacketReader r = replyReader(n);
  const uint8_t status = r.readByte();
  if (status == wire::kReplyOk) return kOk;
  if (status != wire::kResultSet) {
    logf("RPC: %s", std::string(r.readString()).c_str());
    return kTransmission;
  }
  std::vector<wire::FieldDef> fields;
  int32_t announced = 0;
  if (!wire::readResultHead(r, fields, announced)) {
    logf("RPC: result set refused (more than %d fields, or a field that is not one).", wire::kMaxResultFields);
    drain(n, socket);
    return kTransmission;
  }
  if (!makeTable(table, fields)) {
    drain(n, socket);
    return kTransmission;
  }
  data::WorkArea* w = areaOf(table);
  if (!w) {
    drain(n, socket);
    return kTransmission;
  }
  long rows = 0;
  for (long i = 0; i < kMaxPackets; ++i) {
    if (!readPacket(n, socket)) return kTransmission;
    switch (kindOf(n)) {
      case Packet::End:
        data::DbFlush(w->schema.db);
        data::goTop(*w);
        return rows == announced ? kOk : kTransmission;
      case Packet::ServerError: {
        wire::PacketReader e = replyReader(n);
        e.readByte();
        e.readByte();
        logf("Erro de transmissão\\n%s", std::string(e.readString()).c_str());
        n.status = kStatusTransmission;
        return kStatusTransmission;
      }
      case Packet::Bad: drain(n, socket); return kTransmission;
      case Packet::Rows: {
        const int rc = appendRows(n, *w, fields, rows);
        if (rc != kOk) {
          drain(n, socket);
          return rc;
        }
        break;
      }
    }
  }
  return kTransmission;
}
