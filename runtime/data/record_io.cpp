// Records between the record buffer of a work area and their stored form:
// the read step, the write step and the memo values kept in the table's
// memo database.
//
// Stored record (the bytes of one record of the table database), the fields
// in order without the hidden one:
//
//   N, D   8 bytes: the double, most significant byte first
//   C      the text without its trailing blanks, at most `length` bytes, then 0
//   L      1 byte, 0 or 1
//   M      4 bytes: the memo reference, most significant byte first (0: none)
//   B      nothing
//   then   '!' 0 for a live record, '*' 0 for a deleted one
//
// so a record takes from 2 bytes up to its table's __TBL_RecSize. A memo
// reference n names record n - 1 of the memo database "<table>.MEMO", which
// holds the text and a zero byte; a memo is never changed in place, a new
// value takes a new memo record, so an edit that is not committed leaves the
// stored record's memo as it was.
#include <string.h>

#include "core.h"
#include "index_layer.h"
#include "work_area.h"

namespace data {

namespace {

void reversed8(char* to, const char* from) {
  uint64_t v;
  memcpy(&v, from, 8);
  v = __builtin_bswap64(v);
  memcpy(to, &v, 8);
}
void reversed4(char* to, const char* from) {
  uint32_t v;
  memcpy(&v, from, 4);
  v = __builtin_bswap32(v);
  memcpy(to, &v, 4);
}

[[noreturn]] void damaged(const WorkArea& area, uint32_t index) {
  storeAlert("falhou ReadFile do arquivo %s registro %u danificado", area.schema.name.c_str(), index + 1);
  __RuntimeError(RUNTIME_ERROR, -1);
}

void serialise(WorkArea& area, std::string& out) {
  out.clear();
  char* buffer = area.st.buffer.data();
  const TableDescriptor& schema = area.schema;
  char bytes[8];
  for (size_t i = 0; i < schema.visibleFields(); ++i) {
    const FieldDef& f = schema.fields[i];
    char* slot = buffer + f.offset;
    switch (f.type) {
      case kTypeN:
      case kTypeD:
        reversed8(bytes, slot);
        out.append(bytes, 8);
        break;
      case kTypeC: {
        size_t n = strnlen(slot, f.length);
        while (n > 0 && slot[n - 1] == ' ') --n;
        memset(slot + n, 0, f.length + 2 - n);
        out.append(slot, n);
        out += '\0';
        break;
      }
      case kTypeL: out += slot[0] ? '\1' : '\0'; break;
      case kTypeM:
        reversed4(bytes, slot);
        out.append(bytes, 4);
        break;
      case kTypeB: break;
      default: __RuntimeError(RUNTIME_ERROR, 9);
    }
  }
  out += deletedInBuffer(area) ? kDeleted : kLive;
  out += '\0';
}

// The table's and the memo's views. Index pages are left alone: entries go
// in at their keys' places all over an index, so its pages would be mapped
// again at once, each time dearer as the index grows.
void flushViews(WorkArea& area) {
  DbFlush(area.schema.db);
  if (area.st.memo) DbFlush(area.st.memo);
}

}  // namespace

void blankBuffer(WorkArea& area) {
  if (area.schema.fields.empty()) __RuntimeError(RUNTIME_ERROR, -1);
  memset(area.st.buffer.data(), 0, area.st.buffer.size());
  area.st.buffer[area.schema.deletionOffset()] = kLive;
}

bool deletedInBuffer(const WorkArea& area) { return area.st.buffer[area.schema.deletionOffset()] == kDeleted; }

// Every 2000 records read the views are flushed, which gives their pages
// back, but only after reads mostly in record order: reads all over the
// table (seeks) would map the same pages again at once.
void countRead(WorkArea& area, uint32_t index) {
  AreaState& st = area.st;
  if (index == st.lastRead + 1 || index + 1 == st.lastRead) ++st.sequentialReads;
  st.lastRead = index;
  if (++st.readCounter < kFlushEvery) return;
  if (st.sequentialReads > kFlushEvery / 2) flushViews(area);
  st.readCounter = 0;
  st.sequentialReads = 0;
}

void decodeRecord(const TableDescriptor& schema, const char* p, uint32_t size, char* buffer) {
  decodeFields(schema, p, size, buffer, schema.visibleFields());
  buffer[schema.deletionOffset()] = size >= 2 ? p[size - 2] : kLive;
}

void decodeFields(const TableDescriptor& schema, const char* p, uint32_t size, char* buffer, size_t fields) {
  memset(buffer, 0, schema.bufferSize);
  const uint32_t limit = size >= 2 ? size - 2 : 0;
  uint32_t at = 0;
  if (fields > schema.visibleFields()) fields = schema.visibleFields();
  for (size_t i = 0; i < fields; ++i) {
    const FieldDef& f = schema.fields[i];
    char* slot = buffer + f.offset;
    bool complete = true;
    switch (f.type) {
      case kTypeN:
      case kTypeD:
        complete = at + 8 <= limit;
        if (complete) reversed8(slot, p + at), at += 8;
        break;
      case kTypeC: {
        const uint32_t room = limit - at;
        const uint32_t most = f.length < room ? f.length : room;
        const uint32_t n = static_cast<uint32_t>(strnlen(p + at, most));
        memcpy(slot, p + at, n);
        at += n < room ? n + 1 : n;
        complete = at <= limit;
        break;
      }
      case kTypeL:
        complete = at + 1 <= limit;
        if (complete) slot[0] = p[at] ? 1 : 0, at += 1;
        break;
      case kTypeM:
        complete = at + 4 <= limit;
        if (complete) reversed4(slot, p + at), at += 4;
        break;
      case kTypeB: break;
      default: __RuntimeError(RUNTIME_ERROR, 8);
    }
    if (!complete) break;
  }
}

void readRecord(WorkArea& area, uint32_t index) {
  uint32_t size = 0;
  const char* p = recordBytes(area.schema.db, index, &size);
  if (!p) damaged(area, index);
  decodeRecord(area.schema, p, size, area.st.buffer.data());
  area.st.storedRecord = static_cast<int32_t>(index);
  area.st.recordIndex = index;
  if (size > area.st.storedSize) area.st.storedSize = size;
  countRead(area, index);
}

void writeRecord(WorkArea& area, DirtyChange dirty) {
  AreaState& st = area.st;
  DmOpenRef db = area.schema.db;
  const uint32_t count = DmNumRecords(db);
  const bool stored = st.storedRecord >= 0 && static_cast<uint32_t>(st.storedRecord) < count;
  st.changed = 0;
  if (!stored && !st.appendPending) {
    goTop(area);
    return;
  }
  uint32_t index = st.appendPending ? kAfterLast : static_cast<uint32_t>(st.storedRecord);
  if (stored && !st.appendPending && deletedInBuffer(area)) {
    uint32_t size = 0;
    const char* p = recordBytes(db, index, &size);
    if (!p) damaged(area, index);
    std::string bytes(p, size);
    if (size >= 2) bytes[size - 2] = kDeleted, bytes[size - 1] = '\0';
    if (putRecord(db, &index, bytes.data(), size, DirtyChange::clear) != errNone) __RuntimeError(LOW_MEMORY, -1);
    return;
  }
  serialise(area, area.scratch);
  const uint32_t size = static_cast<uint32_t>(area.scratch.size());
  if (size > kMaxRecordSize) {
    storeAlert("Registro de %u bytes excede 15360 na tabela %s", size, area.schema.name.c_str());
    __RuntimeError(RUNTIME_ERROR, -1);
  }
  const bool isNew = st.appendPending != 0;
  std::vector<std::string> oldKeys;
  if (!isNew && !area.schema.indexes.empty()) keysBeforeWrite(area, index, oldKeys);
  if (putRecord(db, &index, area.scratch.data(), size, dirty) != errNone) __RuntimeError(LOW_MEMORY, -1);
  if (!area.schema.indexes.empty()) indexesAfterWrite(area, index, isNew, oldKeys);
  st.appendPending = 0;
  st.eof = 0;
  st.bof = 0;
  st.storedRecord = static_cast<int32_t>(index);
  st.recordIndex = index;
  if (size > st.storedSize) st.storedSize = size;
  if (++st.writeCounter > kFlushEvery) {
    st.writeCounter = 0;
    flushViews(area);
  }
}

std::string readMemo(WorkArea& area, uint32_t reference) {
  if (reference == 0 || !area.st.memo || reference > DmNumRecords(area.st.memo)) return std::string();
  uint32_t size = 0;
  const char* p = recordBytes(area.st.memo, reference - 1, &size);
  if (!p) {
    storeAlert("falhou ReadFile do arquivo %s registro %u danificado", memoName(area.schema.name).c_str(), reference);
    __RuntimeError(RUNTIME_ERROR, -1);
  }
  return std::string(p, strnlen(p, size));
}

uint32_t writeMemo(WorkArea& area, const char* text, size_t length) {
  if (length + 1 > kMaxRecordSize) {
    storeAlert("Memo de %zu bytes excede 15360 na tabela %s", length + 1, area.schema.name.c_str());
    __RuntimeError(RUNTIME_ERROR, -1);
  }
  std::string bytes(text, length);
  bytes += '\0';
  uint32_t index = kAfterLast;
  if (!area.st.memo ||
      putRecord(area.st.memo, &index, bytes.data(), static_cast<uint32_t>(bytes.size()), DirtyChange::set) != errNone)
    __RuntimeError(LOW_MEMORY, -1);
  return index + 1;
}

}  // namespace data
