// Packing dirty records into upload files and applying download files to the
// tables (the packet and row layouts are drawn in wire/sync_packets.h).
//
//   ".tPda" record 0:  kind 'T'/'P' | 0 | '0' incomplete, '1' complete | 0
//                      | count as "%06ld" and a zero byte
//   ".tPda" records 1..: the download packets as received
//   ".tHst" records:   one upload packet each
//
// A download is checked whole (every packet inflates to its stated size,
// every row fits its packet and reads as a record of the table) before the
// table is touched, so a damaged file leaves the table as it was.
#include "sync_tables.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <vector>

#include "core.h"
#include "data_state.h"
#include "framing.h"
#include "index_layer.h"
#include "index_tree.h"
#include "report.h"
#include "sync_messages.h"
#include "sync_packets.h"
#include "sync_state.h"
#include "table_rows.h"
#include "temp_db.h"
#include "work_area.h"
#include "zeltaarray.h"
#include "zeltardd.h"
#include "zeltastring.h"

namespace sync {

using namespace data;

namespace {

constexpr const char* kSyncAlias = "ZSYNC_AREA";
constexpr size_t kUploadLimit = 65500;

// A table opened in an area of its own for the length of one step; the
// program's current area is left as it was.
class TableArea {
 public:
  explicit TableArea(const std::string& name) : previous_(data::state().currentArea) {
    if (!DmFindDatabase(0, name.c_str())) return;
    slot_ = data::openTable(name, kSyncAlias, nullptr, true);
    data::state().currentArea = previous_;
  }
  ~TableArea() {
    if (slot_ >= 0) data::closeArea(slot_, false);
    data::state().currentArea = previous_;
  }
  TableArea(const TableArea&) = delete;
  TableArea& operator=(const TableArea&) = delete;
  data::WorkArea* operator->() const { return data::areaAt(slot_); }
  data::WorkArea& area() const { return *data::areaAt(slot_); }
  bool open() const { return slot_ >= 0 && data::areaAt(slot_); }

 private:
  int16_t previous_;
  int slot_ = -1;
};

double numberAt(const char* slot) {
  double x;
  memcpy(&x, slot, 8);
  return x;
}

std::string textAt(const char* slot, uint32_t length) {
  size_t n = strnlen(slot, length);
  while (n > 0 && slot[n - 1] == ' ') --n;
  return std::string(slot, n);
}

// The upload row of the record in the area's buffer, prefix included.
void appendRow(const data::WorkArea& w, std::vector<uint8_t>& out) {
  const size_t start = out.size();
  out.insert(out.end(), {0, 0, 1});
  const char* buffer = w.st.buffer.data();
  for (size_t i = 0; i < w.schema.visibleFields(); ++i) {
    const data::FieldDef& f = w.schema.fields[i];
    const char* slot = buffer + f.offset;
    std::string text;
    switch (f.type) {
      case data::kTypeC: text = textAt(slot, f.length); break;
      case data::kTypeD: {
        const double day = numberAt(slot);
        if (day != 0) text = wire::dateDigits(static_cast<long>(day));
        break;
      }
      case data::kTypeN: {
        char digits[400];
        printDouble(digits, sizeof digits, numberAt(slot), static_cast<int>(f.decimals));
        text = digits;
        const size_t first = text.find_first_not_of(' ');
        text = first == std::string::npos ? std::string() : text.substr(first);
        break;
      }
      case data::kTypeL: text = slot[0] ? "T" : "F"; break;
      default: __RuntimeError(RUNTIME_ERROR, 4);
    }
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
  }
  wire::put16(&out[start], static_cast<uint16_t>(out.size() - start), byteOrder());
}

// Compresses the rows into one upload packet appended to the file.
bool compressAndWrite(DmOpenRef file, const std::vector<uint8_t>& rows, uint16_t count) {
  std::vector<uint8_t> packet(wire::kBufferSize + 64);
  const wire::Deflated d =
      wire::buildUploadPacket(rows.data(), rows.size(), count, packet.data(), packet.size(), byteOrder());
  if (d.status != wire::DeflateStatus::Ok || d.size < 12 || d.size - 12 >= kUploadLimit) return false;
  return data::appendTmpRecord(file, packet.data(), static_cast<uint32_t>(d.size));
}

std::vector<wire::FieldDef> wireFields(const data::TableDescriptor& schema, bool& supported) {
  std::vector<wire::FieldDef> fields;
  supported = true;
  static const char kLetters[] = {'N', 'D', 'C', 'L'};
  for (size_t i = 0; i < schema.visibleFields(); ++i) {
    const data::FieldDef& f = schema.fields[i];
    if (f.type > data::kTypeL) supported = false;
    wire::FieldDef w;
    w.name = f.name;
    w.type = f.type <= data::kTypeL ? kLetters[f.type] : 'C';
    w.length = static_cast<int>(f.length);
    w.decimals = static_cast<int>(f.decimals);
    fields.push_back(w);
  }
  return fields;
}

// The rows of a download file: each a slice of one buffer, so a table of
// many records costs two allocations, not one a record.
struct Row {
  uint8_t operation;
  uint32_t at;      // in DownloadRows::bytes
  uint32_t length;  // the record (with its live trailer) or the key
};

struct DownloadRows {
  std::vector<char> bytes;
  std::vector<Row> rows;
  // Every record already in the form the table stores (texts without
  // trailing blanks, logicals 0 or 1, nothing after the last field).
  bool stored = true;
  const char* data(const Row& r) const { return bytes.data() + r.at; }
  std::string key(const Row& r) const { return std::string(data(r), r.length); }
};

// True when `data` reads as a stored record of `fields` (the test
// wire::readStoredRecord makes, without building the values); `stored`
// turns false unless the bytes are also those the table would store.
bool storedRecord(const std::vector<wire::FieldDef>& fields, const uint8_t* data, size_t n, bool& stored) {
  size_t at = 0;
  for (const wire::FieldDef& f : fields) {
    switch (f.type) {
      case 'N':
      case 'D':
        if (at > n || n - at < 8) return false;
        at += 8;
        break;
      case 'L':
        if (at >= n) return false;
        if (data[at] > 1) stored = false;
        ++at;
        break;
      default: {
        const size_t limit = std::min(n - at, static_cast<size_t>(f.length) + 1);
        const void* zero = memchr(data + at, 0, limit);
        if (!zero) return false;
        const size_t end = static_cast<size_t>(static_cast<const uint8_t*>(zero) - data);
        if (end > at && data[end - 1] == ' ') stored = false;
        at = end + 1;
      }
    }
  }
  if (at != n) stored = false;
  return true;
}

// Reads every packet of the download file into rows; false with `why` when
// one is damaged. Packets that arrived in this run come inflated from
// `kept` when their bytes are still the file's.
bool readDownload(DmOpenRef file, const data::TableDescriptor& schema, std::map<uint32_t, InflatedPacket> kept,
                  DownloadRows& out, std::string& why) {
  bool supported = true;
  const std::vector<wire::FieldDef> fields = wireFields(schema, supported);
  const uint32_t packets = DmNumRecords(file);
  std::vector<uint8_t> inflated(wire::kBufferSize);
  for (uint32_t i = 1; i < packets; ++i) {
    uint32_t size = 0;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(data::recordBytes(file, i, &size));
    char where[64];
    snprintf(where, sizeof where, "packet %u", i);
    if (!p || size < wire::kDownloadHeader || p[2] != 12 || p[3] != 14 || size > wire::kMaxPayload) {
      why = std::string(where) + " is not a download packet";
      return false;
    }
    const wire::DownloadHeader h = wire::readDownloadHeader(p, byteOrder());
    if (h.uncompressed > wire::kBufferSize) {
      why = std::string(where) + " claims more bytes than a packet holds";
      return false;
    }
    const uint8_t* plain = inflated.data();
    const auto k = kept.find(i);
    if (k != kept.end() && k->second.packed.size() == size && k->second.plain.size() == h.uncompressed &&
        memcmp(k->second.packed.data(), p, size) == 0) {
      plain = k->second.plain.data();
    } else {
      const wire::Inflated in =
          wire::inflateLimited(p + wire::kDownloadHeader, size - wire::kDownloadHeader, inflated.data(), h.uncompressed);
      if (in.status != wire::InflateStatus::Complete || in.size != h.uncompressed) {
        why = std::string(where) + " has a damaged stream";
        return false;
      }
    }
    const size_t total = h.uncompressed;
    // Room for the packet's rows at once, growing as a vector grows.
    const size_t need = out.bytes.size() + total + 2 * size_t{h.rows};
    if (need > out.bytes.capacity()) out.bytes.reserve(std::max(need, 2 * out.bytes.capacity()));
    size_t at = 0;
    uint16_t count = 0;
    while (at < total) {
      if (total - at < wire::kRowPrefix) {
        why = std::string(where) + " ends inside a row";
        return false;
      }
      const size_t length = wire::get16(plain + at, byteOrder());
      if (length < wire::kRowPrefix || at + length > total) {
        why = std::string(where) + " has a row longer than its packet";
        return false;
      }
      const uint8_t* body = plain + at + wire::kRowPrefix;
      const size_t n = length - wire::kRowPrefix;
      Row row{plain[at + 2], static_cast<uint32_t>(out.bytes.size()), static_cast<uint32_t>(n)};
      if (row.operation == 1 || row.operation == 2) {
        if (!supported || !storedRecord(fields, body, n, out.stored)) {
          why = std::string(where) + " has a row that is not a record of " + schema.name;
          return false;
        }
        row.length += 2;
      } else if (row.operation != 3) {
        why = std::string(where) + " has a row of an unknown operation";
        return false;
      }
      const size_t end = out.bytes.size();
      out.bytes.resize(end + n + (row.operation != 3 ? 2 : 0));
      memcpy(out.bytes.data() + end, body, n);
      if (row.operation != 3) out.bytes[end + n] = data::kLive, out.bytes[end + n + 1] = '\0';
      out.rows.push_back(row);
      at += length;
      ++count;
    }
    if (count != h.rows) {
      why = std::string(where) + " holds another number of rows than it says";
      return false;
    }
  }
  return true;
}

bool hasDirty(DmOpenRef db) {
  const uint32_t n = DmNumRecords(db);
  for (uint32_t i = 0; i < n; ++i) {
    uint8_t attributes = 0;
    if (DmRecordInfo(db, i, &attributes) != errNone || !(attributes & kAttrDirty)) continue;
    uint32_t size = 0;
    const char* p = data::recordBytes(db, i, &size);
    if (p && size >= 2 && p[size - 2] != data::kDeleted) return true;
  }
  return false;
}

bool liveRecord(DmOpenRef db, uint32_t record) {
  uint32_t size = 0;
  const char* p = data::recordBytes(db, record, &size);
  return p && size >= 2 && p[size - 2] != data::kDeleted;
}

void loadRow(data::WorkArea& w, const DownloadRows& all, const Row& row) {
  data::blankBuffer(w);
  data::decodeRecord(w.schema, all.data(row), row.length, w.st.buffer.data());
  w.st.changed = 1;
}

// The live records whose first-index key is `key`, in index order.
std::vector<uint32_t> recordsOfKey(data::WorkArea& w, const std::string& key) {
  data::IndexDef& index = w.schema.indexes.front();
  std::string probe(4, '\0');
  probe += key;
  probe.resize(4 + index.keyLength, ' ');
  std::vector<uint32_t> records;
  uint32_t position = 0;
  if (!FindKeyInIndexFile(index.db, probe.data(), static_cast<int>(index.keyLength), &position)) return records;
  const uint32_t count = data::tree::count(index.db);
  for (; position < count; ++position) {
    const char* entry = data::tree::entryAt(index.db, position);
    if (memcmp(entry + 4, probe.data() + 4, index.keyLength) != 0) break;
    const uint32_t record = data::entryRecord(index, position);
    if (liveRecord(w.schema.db, record)) records.push_back(record);
  }
  return records;
}

// The table bar, moved record by record. It is told only when its
// percentage changes: a large table costs a hundred calls, not one a record.
class TableBar {
 public:
  explicit TableBar(size_t total) : total_(total) {}
  void at(size_t done) {
    if (!state().ui.tableProgress || total_ == 0) return;
    const int percent = static_cast<int>(std::min<size_t>(100, done * 100 / total_));
    if (percent == shown_) return;
    shown_ = percent;
    state().ui.tableProgress(percent);
  }

 private:
  size_t total_;
  int shown_ = -1;
};

void applyPartial(data::WorkArea& w, const DownloadRows& all, ApplyCounts& counts) {
  const std::vector<Row>& rows = all.rows;
  TableBar bar(rows.size());
  data::IndexDef& index = w.schema.indexes.front();
  std::string key(index.keyLength, ' ');
  int operations = 0;
  for (const Row& row : rows) {
    if (row.operation == 3) {
      for (uint32_t record : recordsOfKey(w, all.key(row))) {
        data::readRecord(w, record);
        w.st.buffer[w.schema.deletionOffset()] = data::kDeleted;
        w.st.changed = 1;
        data::writeRecord(w, DirtyChange::clear);
        ++counts.deleted;
      }
    } else {
      loadRow(w, all, row);
      data::buildKey(w.schema, index, w.st.buffer.data(), key.data());
      const std::vector<uint32_t> found = recordsOfKey(w, key);
      if (found.empty()) {
        w.st.appendPending = 1;
        ++counts.inserted;
      } else {
        w.st.storedRecord = static_cast<int32_t>(found.front());
        w.st.recordIndex = found.front();
        ++counts.updated;
      }
      data::writeRecord(w, DirtyChange::clear);
    }
    if (++operations % data::kFlushEvery == 0) DbFlush(w.schema.db);
    bar.at(static_cast<size_t>(operations));
  }
}

void applyTotal(data::WorkArea& w, const DownloadRows& all, ApplyCounts& counts) {
  const std::vector<Row>& rows = all.rows;
  CleanTbl(w.schema.db);
  data::zapIndexes(w);
  int operations = 0;
  TableBar bar(rows.size());
  size_t done = 0;
  // Records in the table's own form go in as they came, and the indexes
  // are built once at the end, sorted in one pass, instead of record by
  // record through the buffer.
  const bool direct = all.stored;
  // What was put is what the indexes are built from: the table is not read back.
  std::vector<data::StoredRecord> put;
  if (direct) put.reserve(rows.size());
  for (const Row& row : rows) {
    bar.at(++done);
    if (row.operation != 1) continue;
    if (direct) {
      uint32_t at = data::kAfterLast;
      if (data::putRecord(w.schema.db, &at, all.data(row), row.length, DirtyChange::clear) != errNone)
        __RuntimeError(LOW_MEMORY, -1);
      put.push_back({all.data(row), row.length});
    } else {
      loadRow(w, all, row);
      w.st.appendPending = 1;
      data::writeRecord(w, DirtyChange::clear);
    }
    ++counts.inserted;
    if (++operations % data::kFlushEvery == 0) DbFlush(w.schema.db);
  }
  if (direct) data::reindexStored(w, put);
}

// A field of the record in the buffer, by name: its text or number.
std::string fieldText(const data::WorkArea& w, const char* name) {
  const int i = data::fieldIndex(w.schema, name, strlen(name));
  if (i < 0) return std::string();
  const data::FieldDef& f = w.schema.fields[static_cast<size_t>(i)];
  const char* slot = w.st.buffer.data() + f.offset;
  if (f.type == data::kTypeN) {
    char text[64];
    snprintf(text, sizeof text, "%.0f", numberAt(slot));
    return text;
  }
  std::string text = textAt(slot, f.length);
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

// Calls `each` with every live record of `table` loaded in the buffer.
template <typename Each>
bool forEachRecord(const char* table, Each each) {
  TableArea t(table);
  if (!t.open()) return false;
  data::WorkArea& w = t.area();
  const uint32_t n = DmNumRecords(w.schema.db);
  for (uint32_t i = 0; i < n; ++i) {
    if (!liveRecord(w.schema.db, i)) continue;
    data::readRecord(w, i);
    each(w);
  }
  return true;
}

std::string upperText(std::string s) {
  for (char& c : s) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::vector<std::string> uploadTables(char connectionType) {
  std::vector<std::string> tables;
  std::string previous;
  forEachRecord("ZEL_TBL", [&](data::WorkArea& w) {
    const std::string flag = fieldText(w, "TBLTOHOST");
    const std::string name = upperText(fieldText(w, "TBLNAME"));
    if (flag.empty() || toupper(static_cast<unsigned char>(flag[0])) != 'T' || name.empty() || name == previous) return;
    previous = name;
    if (connectionType && toupper(static_cast<unsigned char>(name.back())) != toupper(connectionType)) return;
    if (std::find(tables.begin(), tables.end(), name) == tables.end()) tables.push_back(name);
  });
  return tables;
}

namespace {

constexpr const char* kToHost = "TOHOST";

bool ensureToHost() {
  if (DmFindDatabase(0, kToHost)) return true;
  __begin_context();
  pObj_Node structure = __fcpObj_CT(vArray);
  __AAdd(structure, __CreateArray(__INIT_CHARPTR("TBL_HOST"), __INIT_CHARPTR("C"), __INIT_DOUBLE(35), __INIT_DOUBLE(0),
                                  __INIT_NUL()));
  const bool created = __GET_BOOL(__DBCREATE(__INIT_CHARPTR(kToHost), structure, __INIT_CHARPTR("LOCAL")));
  __end_context(nullptr);
  return created;
}

}  // namespace

std::vector<std::string> toHostTables() {
  std::vector<std::string> tables;
  forEachRecord(kToHost, [&](data::WorkArea& w) { tables.push_back(upperText(fieldText(w, "TBL_HOST"))); });
  return tables;
}

bool addToHost(const std::string& table) {
  const std::vector<std::string> listed = toHostTables();
  if (std::find(listed.begin(), listed.end(), table) != listed.end()) return true;
  if (!ensureToHost()) return false;
  TableArea t(kToHost);
  if (!t.open()) return false;
  data::WorkArea& w = t.area();
  const int field = data::fieldIndex(w.schema, "TBL_HOST", 8);
  if (field < 0) return false;
  data::blankBuffer(w);
  const data::FieldDef& f = w.schema.fields[static_cast<size_t>(field)];
  memcpy(w.st.buffer.data() + f.offset, table.c_str(), std::min<size_t>(table.size(), f.length));
  w.st.appendPending = 1;
  w.st.changed = 1;
  data::writeRecord(w, DirtyChange::clear);
  return true;
}

void deleteToHost() {
  closeAlias("TBL_TOHOST");
  data::deleteTable(kToHost);
}

bool readProfile(std::string& host, std::string& user, std::string& deviceType, std::string& deviceId, int& port,
                 int& timeout) {
  bool found = false;
  const bool opened = forEachRecord("CAD_USER", [&](data::WorkArea& w) {
    if (found) return;
    found = true;
    host = fieldText(w, "HOST");
    user = fieldText(w, "US_NAME");
    deviceType = fieldText(w, "DEV_TYPE");
    deviceId = fieldText(w, "DEV_ID");
    port = atoi(fieldText(w, "PORT").c_str());
    timeout = atoi(fieldText(w, "TOUT").c_str());
  });
  return opened && found;
}

bool writeProfile(const std::vector<std::string>& values) {
  static const char* const kNames[] = {"HOST", "US_NAME", "DEV_TYPE", "DEV_ID", "PORT", "TOUT"};
  static const int kLengths[] = {20, 20, 30, 25, 15, 3};
  if (values.size() != 6) return false;
  if (!DmFindDatabase(0, "CAD_USER")) {
    __begin_context();
    pObj_Node structure = __fcpObj_CT(vArray);
    for (int i = 0; i < 6; ++i)
      __AAdd(structure, __CreateArray(__INIT_CHARPTR(kNames[i]), __INIT_CHARPTR("C"), __INIT_DOUBLE(kLengths[i]),
                                      __INIT_DOUBLE(0), __INIT_NUL()));
    const bool created = __GET_BOOL(__DBCREATE(__INIT_CHARPTR("CAD_USER"), structure, __INIT_CHARPTR("LOCAL")));
    __end_context(nullptr);
    if (!created) return false;
  }
  TableArea t("CAD_USER");
  if (!t.open()) return false;
  data::WorkArea& w = t.area();
  const bool update = DmNumRecords(w.schema.db) > 0;
  if (update)
    data::readRecord(w, 0);
  else
    data::blankBuffer(w);
  for (int i = 0; i < 6; ++i) {
    const int field = data::fieldIndex(w.schema, kNames[i], strlen(kNames[i]));
    if (field < 0) return false;
    const data::FieldDef& f = w.schema.fields[static_cast<size_t>(field)];
    std::string value = values[static_cast<size_t>(i)];
    const size_t first = value.find_first_not_of(' ');
    value = first == std::string::npos ? std::string() : value.substr(first);
    value.resize(f.length, ' ');
    memcpy(w.st.buffer.data() + f.offset, value.data(), f.length);
  }
  w.st.appendPending = update ? 0 : 1;
  w.st.changed = 1;
  data::writeRecord(w, DirtyChange::clear);
  return true;
}

void closeAlias(const char* alias) {
  __begin_context();
  const int slot = data::aliasSlot(__INIT_CHARPTR(alias));
  __end_context(nullptr);
  if (slot >= 0 && data::areaAt(slot)) data::closeArea(slot, false);
}

long packTable(const std::string& table) {
  TableArea t(table);
  if (!t.open()) return -1;
  DmOpenRef file = static_cast<DmOpenRef>(__OpenTmpDb(0, table.c_str(), 1, 'H'));
  if (!file) return -1;
  data::WorkArea& w = t.area();
  const uint32_t n = DmNumRecords(w.schema.db);
  std::vector<uint8_t> rows;
  uint16_t count = 0;
  long packed = 0;
  bool ok = true;
  const size_t limit = static_cast<size_t>(wire::kMaxPayload - 1024);
  TableBar bar(n);
  for (uint32_t i = 0; i < n && ok; ++i) {
    bar.at(i + 1);
    uint8_t attributes = 0;
    if (DmRecordInfo(w.schema.db, i, &attributes) != errNone || !(attributes & kAttrDirty)) continue;
    if (!liveRecord(w.schema.db, i)) continue;
    data::readRecord(w, i);
    appendRow(w, rows);
    ++count;
    ++packed;
    if (rows.size() > limit) {
      ok = compressAndWrite(file, rows, count);
      rows.clear();
      count = 0;
    }
  }
  if (ok && count) ok = compressAndWrite(file, rows, count);
  DmCloseDatabase(file);
  logf("%s%s", syncMessage(70), table.c_str());
  logf(syncMessage(71), table.c_str(), static_cast<unsigned>(packed));
  char line[160];
  snprintf(line, sizeof line, syncMessage(72), table.c_str(), static_cast<unsigned>(packed));
  state().lastUploads.push_back(line);
  if (!ok) {
    logf(syncMessage(69), static_cast<long>(rows.size()));
    return -1;
  }
  if (packed == 0) __DeleteTmpDb(0, table.c_str(), 'H');
  return packed;
}

bool clearDirty(const std::string& table) {
  TableArea t(table);
  if (!t.open()) return false;
  DmOpenRef db = t->schema.db;
  const uint32_t n = DmNumRecords(db);
  for (uint32_t i = n; i-- > 0;) {
    uint8_t attributes = 0;
    if (DmRecordInfo(db, i, &attributes) == errNone && (attributes & kAttrDirty))
      DmSetRecordInfo(db, i, static_cast<uint8_t>(attributes & ~kAttrDirty));
    if ((n - i) % data::kFlushEvery == 0) DbFlush(db);
  }
  DbFlush(db);
  return true;
}

namespace {

// Room for the rows kept between arrival and apply: beyond it, the apply
// inflates the packets again.
constexpr size_t kInflatedLimit = 64u << 20;

std::map<uint32_t, InflatedPacket> takeInflated(const std::string& table) {
  std::map<uint32_t, InflatedPacket> kept;
  const auto found = state().inflated.find(table);
  if (found == state().inflated.end()) return kept;
  kept.swap(found->second);
  state().inflated.erase(found);
  for (const auto& [record, packet] : kept) state().inflatedBytes -= packet.packed.size() + packet.plain.size();
  return kept;
}

}  // namespace

void keepInflated(const std::string& table, uint32_t record, const uint8_t* packed, size_t packedSize,
                  const uint8_t* plain, size_t plainSize) {
  if (state().inflatedBytes + packedSize + plainSize > kInflatedLimit) return;
  InflatedPacket& k = state().inflated[table][record];
  state().inflatedBytes -= k.packed.size() + k.plain.size();
  k.packed.assign(packed, packed + packedSize);
  k.plain.assign(plain, plain + plainSize);
  state().inflatedBytes += packedSize + plainSize;
}

void forgetInflated(const std::string& table) { takeInflated(table); }

ApplyResult applyDownload(const std::string& table, ApplyCounts& counts, std::string& why) {
  // Listed but gone: a session was cut after it applied the file and before
  // it could take the table off the list.
  if (!DmFindDatabase(0, data::tmpDbName(table.c_str(), 'P').c_str())) return ApplyResult::Missing;
  DmOpenRef file = static_cast<DmOpenRef>(__OpenTmpDb(0, table.c_str(), 0, 'P'));
  if (!file) {
    why = "download file not opened";
    return ApplyResult::Incomplete;
  }
  uint32_t size = 0;
  const char* header = DmNumRecords(file) ? data::recordBytes(file, 0, &size) : nullptr;
  if (!header || size < 4 || header[2] != '1') {
    DmCloseDatabase(file);
    return ApplyResult::Incomplete;
  }
  const char kind = header[0];
  if (!createFromCatalog(table, kind == 'T')) {
    DmCloseDatabase(file);
    why = "table " + table + " is neither on the device nor in the catalog";
    __DeleteTmpDb(0, table.c_str(), 'P');
    return ApplyResult::Damaged;
  }
  TableArea t(table);
  if (!t.open()) {
    DmCloseDatabase(file);
    why = "table " + table + " not opened";
    return ApplyResult::Incomplete;
  }
  data::WorkArea& w = t.area();
  DownloadRows all;
  if (!readDownload(file, w.schema, takeInflated(table), all, why)) {
    DmCloseDatabase(file);
    __DeleteTmpDb(0, table.c_str(), 'P');
    return ApplyResult::Damaged;
  }
  DmCloseDatabase(file);
  if (kind == 'T') {
    if (hasDirty(w.schema.db)) {
      logf(syncMessage(114), table.c_str());
      return ApplyResult::Refused;
    }
    // A partial download stored after a total one that was waiting (its
    // table held records to send) follows it in the same file: then every
    // row goes by key, so its updates and deletes are not lost.
    const bool mixed = std::any_of(all.rows.begin(), all.rows.end(), [](const Row& r) { return r.operation != 1; });
    if (mixed && !w.schema.indexes.empty()) {
      CleanTbl(w.schema.db);
      data::zapIndexes(w);
      applyPartial(w, all, counts);
      if (counts.deleted && DbPack(w.schema.db) == errNone) data::reindexAll(w);
    } else {
      applyTotal(w, all, counts);
    }
    showState("Aguarde, Criando índices");
    logLine("Aguarde, Criando índices");
    logf("Inserido(s) %ld reg(s) na tabela %s ", counts.inserted, table.c_str());
  } else {
    if (w.schema.indexes.empty()) {
      logLine(syncMessage(75));
      why = "table " + table + " has no index";
      __DeleteTmpDb(0, table.c_str(), 'P');
      return ApplyResult::Damaged;
    }
    applyPartial(w, all, counts);
    logf("Inserido( s ):  %ld \\n Atualizado(s):  %ld\\nExcluídos(s):  %ld  ", counts.inserted, counts.updated,
         counts.deleted);
    if (counts.deleted) {
      logf("Aguarde, Recriando índices da tabela %s!", table.c_str());
      showInfo("Aguarde, Recriando índices");
      if (DbPack(w.schema.db) == errNone) data::reindexAll(w);
      logf("Índices Recriados %s!", table.c_str());
    }
  }
  DbFlush(w.schema.db);
  __DeleteTmpDb(0, table.c_str(), 'P');
  return ApplyResult::Applied;
}

bool createFromCatalog(const std::string& table, bool total) {
  const bool exists = DmFindDatabase(0, table.c_str()) != 0;
  if (exists && !total) return true;
  std::string id;
  forEachRecord("ZEL_TBL", [&](data::WorkArea& w) {
    if (id.empty() && upperText(fieldText(w, "TBLNAME")) == table) id = fieldText(w, "TABLEID");
  });
  if (id.empty()) {
    if (!exists) logf(syncMessage(50), table.c_str());
    return exists;
  }
  struct Column {
    int position;
    std::string name, type;
    double length, decimals;
  };
  std::vector<Column> columns;
  forEachRecord("ZEL_COLS", [&](data::WorkArea& w) {
    if (fieldText(w, "TABLEID") != id) return;
    const int at = data::fieldIndex(w.schema, "FLDLEN", 6), dec = data::fieldIndex(w.schema, "FLDLENDEC", 9);
    if (at < 0 || dec < 0) return;
    const char* buffer = w.st.buffer.data();
    columns.push_back({atoi(fieldText(w, "FLDPOS").c_str()), upperText(fieldText(w, "FLDNAME")),
                       upperText(fieldText(w, "FLDTYPE")),
                       numberAt(buffer + w.schema.fields[static_cast<size_t>(at)].offset),
                       numberAt(buffer + w.schema.fields[static_cast<size_t>(dec)].offset)});
  });
  std::vector<std::pair<std::string, std::string>> indexes;
  forEachRecord("ZEL_IND", [&](data::WorkArea& w) {
    if (fieldText(w, "TABLEID") == id) indexes.emplace_back(fieldText(w, "NOME_IDX"), fieldText(w, "EXPRE"));
  });
  if (columns.empty()) {
    if (!exists) logf(syncMessage(39), table.c_str());
    return exists;
  }
  std::stable_sort(columns.begin(), columns.end(),
                   [](const Column& a, const Column& b) { return a.position < b.position; });
  if (exists) {
    // A total download after the server changed the table's structure: the
    // table is made again from the catalog (the download replaces its rows).
    bool same = true;
    {
      TableArea t(table);
      if (!t.open()) return false;
      const data::TableDescriptor& schema = t->schema;
      static const char kLetters[] = "NDCLMIB";
      same = schema.visibleFields() == columns.size() && schema.indexes.size() == indexes.size();
      for (size_t i = 0; same && i < columns.size(); ++i) {
        const data::FieldDef& f = schema.fields[i];
        same = f.name == columns[i].name && columns[i].type.size() == 1 && kLetters[f.type] == columns[i].type[0] &&
               f.length == static_cast<uint32_t>(columns[i].length) &&
               f.decimals == static_cast<uint32_t>(columns[i].decimals);
      }
      for (size_t i = 0; same && i < indexes.size(); ++i) same = schema.indexes[i].name == upperText(indexes[i].first);
      if (!same && hasDirty(schema.db)) return true;  // the apply refuses it and keeps the file
    }
    if (same) return true;
    logf(syncMessage(35), table.c_str());
    logf(syncMessage(36), table.c_str());
    if (!data::deleteTable(table)) return false;
  }
  logf(syncMessage(32), table.c_str());
  const int16_t previous = data::state().currentArea;
  __begin_context();
  pObj_Node structure = __fcpObj_CT(vArray);
  for (const Column& c : columns)
    __AAdd(structure, __CreateArray(__INIT_CHARPTR(c.name.c_str()), __INIT_CHARPTR(c.type.c_str()),
                                    __INIT_DOUBLE(c.length), __INIT_DOUBLE(c.decimals), __INIT_NUL()));
  const bool created = __GET_BOOL(__DBCREATE(__INIT_CHARPTR(table.c_str()), structure, __INIT_CHARPTR("LOCAL")));
  if (created && !indexes.empty()) {
    pObj_Node alias = __INIT_CHARPTR(kSyncAlias);
    __DBUSEAREA(__INIT_BOOL(1), __INIT_CHARPTR("LOCAL"), __INIT_CHARPTR(table.c_str()), alias, __INIT_BOOL(1),
                __INIT_BOOL(0));
    for (const auto& index : indexes) {
      logf(syncMessage(40), index.first.c_str());
      __DBCREATEINDEX(alias, __INIT_CHARPTR(index.first.c_str()), __INIT_CHARPTR(index.second.c_str()));
    }
    closeAlias(kSyncAlias);
  }
  __end_context(nullptr);
  data::state().currentArea = previous;
  logf(syncMessage(created ? 33 : 34), table.c_str());
  return created;
}

}  // namespace sync
