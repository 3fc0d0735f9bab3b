// Reading and changing records through the record buffer of a work area:
// field values in and out, append, delete and recall, commit and abort, the
// dirty attributes the synchronisation reads, and zap and pack.
#include <string.h>

#include <string>
#include <vector>

#include "core.h"
#include "index_layer.h"
#include "work_area.h"
#include "zeltardd.h"

namespace data {

namespace {

bool given(pObj_Node v) { return v && v->objType != T_NIL && v->objType != T_NUL; }

double numberIn(const char* slot) {
  double d;
  memcpy(&d, slot, 8);
  return d;
}

uint32_t referenceIn(const char* slot) {
  uint32_t r;
  memcpy(&r, slot, 4);
  return r;
}

pObj_Node textValue(const char* text, size_t length, size_t width) {
  pObj_Node v = __ALLOC_CHARPTR(static_cast<int>(width));
  memcpy(v->objData.mbuff, text, length);
  memset(v->objData.mbuff + length, ' ', width - length);
  return v;
}

pObj_Node fieldValue(WorkArea& w, const FieldDef& f) {
  const char* slot = w.st.buffer.data() + f.offset;
  switch (f.type) {
    case kTypeN: return __INIT_DOUBLE(numberIn(slot));
    case kTypeD: return __INIT_DATE(numberIn(slot));
    case kTypeC: return textValue(slot, strnlen(slot, f.length), f.length);
    case kTypeL: return __INIT_BOOL(slot[0]);
    case kTypeM: {
      const std::string text = readMemo(w, referenceIn(slot));
      return textValue(text.data(), text.size(), text.size());
    }
    default: storeAlert("campo não identificado!"); return __INIT_NIL();
  }
}

// The 0-based field a 1-based position names, or -1.
int fieldAt(const WorkArea& w, pObj_Node position) {
  if (!position || position->objType != T_DOUBLE) __RuntimeError(ARGUMENT_ERROR, -1);
  const double n = position->objData.dValue;
  return n >= 1 && n <= static_cast<double>(w.schema.visibleFields()) ? static_cast<int>(n) - 1 : -1;
}

void requireType(pObj_Node value, uint32_t type) {
  if (value->objType != type) __RuntimeError(ARGUMENT_ERROR, -1);
}

const char* textOf(pObj_Node v, size_t& length) {
  const char* text = v->objData.mbuff ? v->objData.mbuff : "";
  length = strlen(text);
  return text;
}

// The record a record-number argument names (default: the current stored
// record), or -1.
int64_t recordArgument(const WorkArea& w, pObj_Node n) {
  if (!given(n)) return w.st.storedRecord;
  if (n->objType != T_DOUBLE) __RuntimeError(ARGUMENT_ERROR, -1);
  const double r = n->objData.dValue;
  return r >= 1 && r <= static_cast<double>(DmNumRecords(w.schema.db)) ? static_cast<int64_t>(r) - 1 : -1;
}

std::vector<WorkArea*> areasOnTable(const WorkArea& w) {
  std::vector<WorkArea*> out;
  State& s = state();
  for (int i = 0; i < s.TBL_amnt_open_dbs; ++i) {
    WorkArea* other = areaAt(i);
    if (other && other->schema.db == w.schema.db) out.push_back(other);
  }
  return out;
}

// Packs the table and compacts its memo database: the live records' memos,
// taken from the last record to the first, are numbered from 1 in a new memo
// database, and the table is rewritten with those numbers and a structure
// block naming the new memo database, in one step; the old one goes after.
void packWithMemos(WorkArea& w) {
  const TableDescriptor& schema = w.schema;
  const uint32_t count = DmNumRecords(schema.db);
  std::vector<uint32_t> liveRecords;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t size = 0;
    const char* p = recordBytes(schema.db, i, &size);
    if (!p) {
      storeAlert("falhou ReadFile do arquivo %s registro %u danificado", schema.name.c_str(), i + 1);
      __RuntimeError(RUNTIME_ERROR, -1);
    }
    if (!(size >= 2 && p[size - 2] == kDeleted)) liveRecords.push_back(i);
  }
  // New memo numbers per live record, by stored field order.
  std::vector<std::vector<uint32_t>> renumbered(count);
  std::vector<std::string> memos;
  for (size_t k = liveRecords.size(); k-- > 0;) {
    const uint32_t i = liveRecords[k];
    readRecord(w, i);
    for (size_t f = 0; f < schema.visibleFields(); ++f) {
      const FieldDef& field = schema.fields[f];
      if (field.type != kTypeM) continue;
      const uint32_t ref = referenceIn(w.st.buffer.data() + field.offset);
      if (ref == 0) {
        renumbered[i].push_back(0);
        continue;
      }
      memos.push_back(readMemo(w, ref));
      renumbered[i].push_back(static_cast<uint32_t>(memos.size()));
    }
  }
  const std::string next = alternateMemoName(schema.name, schema.memoDatabase);
  if (LocalID old = DmFindDatabase(0, next.c_str())) DmDeleteDatabase(0, old);
  if (DmCreateDatabase(0, next.c_str(), kCreatorTables, kTypeMemo) != errNone) __RuntimeError(RUNTIME_ERROR, 41);
  DmOpenRef memo = DmOpenDatabase(0, DmFindDatabase(0, next.c_str()), dmModeReadWrite);
  if (!memo) __RuntimeError(RUNTIME_ERROR, 55);
  for (const std::string& text : memos) {
    uint32_t at = kAfterLast;
    if (putRecord(memo, &at, text.c_str(), static_cast<uint32_t>(text.size() + 1), DirtyChange::keep) != errNone)
      __RuntimeError(LOW_MEMORY, -1);
  }
  DbFlush(memo);
  TableDescriptor changed = schema;
  changed.memoDatabase = next;
  const std::string block = structureBlock(changed);
  const RecordRewrite rewrite = [&](uint32_t i, const char* data, uint32_t size, std::string& out) {
    if (size >= 2 && data[size - 2] == kDeleted) return false;
    // Walk the stored fields to the memo references and put in the new numbers.
    out.assign(data, size);
    uint32_t at = 0;
    size_t m = 0;
    const uint32_t limit = size >= 2 ? size - 2 : 0;
    for (size_t f = 0; f < schema.visibleFields() && at <= limit; ++f) {
      const FieldDef& field = schema.fields[f];
      switch (field.type) {
        case kTypeN:
        case kTypeD: at += 8; break;
        case kTypeL: at += 1; break;
        case kTypeC: {
          const uint32_t room = limit - at, most = field.length < room ? field.length : room;
          const uint32_t n = static_cast<uint32_t>(strnlen(data + at, most));
          at += n < room ? n + 1 : n;
          break;
        }
        case kTypeM:
          if (at + 4 <= limit && m < renumbered[i].size()) {
            const uint32_t ref = renumbered[i][m++];
            for (int b = 0; b < 4; ++b) out[at + static_cast<uint32_t>(b)] = static_cast<char>(ref >> (24 - 8 * b));
          }
          at += 4;
          break;
        default: break;
      }
    }
    return true;
  };
  if (DbRewrite(schema.db, rewrite, &block) != errNone) {
    DmCloseDatabase(memo);
    __RuntimeError(RUNTIME_ERROR, -1);
  }
  const std::string previous = schema.memoDatabase;
  for (WorkArea* other : areasOnTable(w)) {
    DmCloseDatabase(other->st.memo);
    other->st.memo = other == &w ? memo : DmOpenDatabase(0, databaseId(memo), dmModeReadWrite);
    other->schema.memoDatabase = next;
  }
  if (LocalID old = DmFindDatabase(0, previous.c_str())) DmDeleteDatabase(0, old);
}

}  // namespace

}  // namespace data

using namespace data;

pObj_Node __DBAPPEND(pObj_Node area, pObj_Node) {
  WorkArea& w = requireArea(area);
  if (w.st.changed) writeRecord(w);
  blankBuffer(w);
  w.st.appendPending = 1;
  w.st.changed = 1;
  w.st.storedRecord = -1;
  w.st.recordIndex = DmNumRecords(w.schema.db);
  w.st.eof = 0;
  w.st.bof = 0;
  return __INIT_NIL();
}

pObj_Node __SetField(pObj_Node area, pObj_Node position, pObj_Node value) {
  if (!position || !value) __RuntimeError(RUNTIME_ERROR, 23);
  WorkArea& w = requireArea(area);
  const int i = fieldAt(w, position);
  // Only a record being appended or a record in the buffer takes values.
  if (i < 0 || (!w.st.appendPending && w.st.storedRecord < 0)) return __INIT_NIL();
  const FieldDef& f = w.schema.fields[static_cast<size_t>(i)];
  char* slot = w.st.buffer.data() + f.offset;
  size_t length = 0;
  switch (f.type) {
    case kTypeN:
      requireType(value, T_DOUBLE);
      memcpy(slot, &value->objData.dValue, 8);
      break;
    case kTypeD:
      requireType(value, T_DATE);
      memcpy(slot, &value->objData.dValue, 8);
      break;
    case kTypeC: {
      requireType(value, T_CHARPTR);
      const char* text = textOf(value, length);
      const size_t n = length < f.length ? length : f.length;
      memmove(slot, text, n);
      memset(slot + n, ' ', f.length - n);
      slot[f.length] = 0;
      break;
    }
    case kTypeL:
      requireType(value, T_BOOL);
      slot[0] = value->objData.bValue ? 1 : 0;
      break;
    case kTypeM: {
      requireType(value, T_CHARPTR);
      const char* text = textOf(value, length);
      const uint32_t ref = length ? writeMemo(w, text, length) : 0;
      memcpy(slot, &ref, 4);
      break;
    }
    case kTypeB: return __INIT_NIL();
    default: __RuntimeError(RUNTIME_ERROR, 24);
  }
  w.st.changed = 1;
  if (f.type != kTypeM)
    for (IndexDef& x : w.schema.indexes)
      for (int k : x.keyFields) x.rekey = x.rekey || k == i;
  return __INIT_NIL();
}

pObj_Node __GetFieldByID(pObj_Node area, pObj_Node position) {
  WorkArea& w = requireArea(area);
  const int i = fieldAt(w, position);
  if (i < 0) __RuntimeError(INVALID_FIELD, 26);
  return fieldValue(w, w.schema.fields[static_cast<size_t>(i)]);
}

pObj_Node __GetField(pObj_Node area, pObj_Node position) { return __GetFieldByID(area, position); }

pObj_Node __GetFieldByName(pObj_Node area, pObj_Node name) {
  WorkArea& w = requireArea(area);
  const int i = fieldOfName(w, name);
  if (i < 0) __RuntimeError(INVALID_FIELD, 27);
  return fieldValue(w, w.schema.fields[static_cast<size_t>(i)]);
}

pObj_Node __GetFieldName(pObj_Node area, pObj_Node position) {
  WorkArea& w = requireArea(area);
  const int i = fieldAt(w, position);
  return __INIT_CHARPTR(i < 0 ? "" : w.schema.fields[static_cast<size_t>(i)].name.c_str());
}

pObj_Node __GetFieldPos(pObj_Node area, pObj_Node name) {
  if (!name) __RuntimeError(RUNTIME_ERROR, 28);
  WorkArea& w = requireArea(area);
  return __INIT_DOUBLE(fieldOfName(w, name) + 1);
}

pObj_Node __TBL_Delete(pObj_Node area) {
  WorkArea& w = requireArea(area);
  w.st.buffer[w.schema.deletionOffset()] = kDeleted;
  w.st.changed = 1;
  return __INIT_BOOL(1);
}

pObj_Node __TBL_Recall(pObj_Node area) {
  WorkArea& w = requireArea(area);
  w.st.buffer[w.schema.deletionOffset()] = kLive;
  w.st.changed = 1;
  return __INIT_BOOL(1);
}

pObj_Node __TBL_Deleted(pObj_Node area) { return __INIT_BOOL(deletedInBuffer(requireArea(area))); }

pObj_Node __Commit(pObj_Node area) {
  WorkArea& w = requireArea(area);
  if (w.st.changed) writeRecord(w);
  return __INIT_NIL();
}

pObj_Node __AbortEdit(pObj_Node area) {
  WorkArea& w = requireArea(area);
  w.st.changed = 0;
  w.st.appendPending = 0;
  blankBuffer(w);
  goBottom(w);
  return __INIT_NIL();
}

pObj_Node SETDIRTY(pObj_Node area, pObj_Node record, pObj_Node flag) {
  WorkArea& w = requireArea(area);
  if (!flag || flag->objType != T_BOOL) __RuntimeError(ARGUMENT_ERROR, -1);
  const int64_t r = recordArgument(w, record);
  uint8_t attributes = 0;
  if (r < 0 || DmRecordInfo(w.schema.db, static_cast<uint32_t>(r), &attributes) != errNone) return __INIT_BOOL(0);
  attributes = flag->objData.bValue ? attributes | kAttrDirty : attributes & static_cast<uint8_t>(~kAttrDirty);
  return __INIT_BOOL(DmSetRecordInfo(w.schema.db, static_cast<uint32_t>(r), attributes) == errNone);
}

pObj_Node __IsDirty(pObj_Node area, pObj_Node record) {
  WorkArea& w = requireArea(area);
  const int64_t r = recordArgument(w, record);
  uint8_t attributes = 0;
  if (r < 0 || DmRecordInfo(w.schema.db, static_cast<uint32_t>(r), &attributes) != errNone) return __INIT_BOOL(0);
  return __INIT_BOOL(attributes & kAttrDirty);
}

pObj_Node __dbZap(pObj_Node area) {
  WorkArea& w = requireArea(area);
  w.st.changed = 0;
  w.st.appendPending = 0;
  CleanTbl(w.schema.db);
  if (w.st.memo) CleanTbl(w.st.memo);
  zapIndexes(w);
  for (WorkArea* other : areasOnTable(w)) {
    other->st.changed = 0;
    other->st.appendPending = 0;
    goTop(*other);
  }
  return __INIT_NIL();
}

pObj_Node __dbPack(pObj_Node area) {
  WorkArea& w = requireArea(area);
  for (WorkArea* other : areasOnTable(w))
    if (other->st.changed) writeRecord(*other);
  if (hasMemo(w.schema) && w.st.memo) {
    packWithMemos(w);
  } else if (DbPack(w.schema.db) != errNone) {
    storeAlert("falhou ReadFile do arquivo %s", w.schema.name.c_str());
    __RuntimeError(RUNTIME_ERROR, -1);
  }
  reindexAll(w);
  for (WorkArea* other : areasOnTable(w)) goTop(*other);
  return __INIT_NIL();
}
