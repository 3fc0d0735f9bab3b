// Seeking a key in the active order, finding a record's entry again, and
// keeping every open index in step with each record written: a new record
// gets an entry at its key's place, a changed key moves the record's entry.
// Entries with equal keys are kept in record order, so a record's entry is
// found by its key and record index in one search.
#include <string.h>

#include <string>
#include <vector>

#include "core.h"
#include "index_layer.h"
#include "index_tree.h"
#include "zeltardd.h"

namespace data {

namespace {

tree::Probe exactProbe(const std::string& key, uint32_t record) {
  return tree::Probe{key.data(), static_cast<uint32_t>(key.size()), true, record};
}

std::string keyOf(const TableDescriptor& schema, const IndexDef& x, const char* buffer) {
  std::string key(x.keyLength, ' ');
  buildKey(schema, x, buffer, &key[0]);
  return key;
}

bool entryIs(const IndexDef& x, uint32_t position, uint32_t record, const std::string* key) {
  const char* e = tree::entryAt(x.db, position);
  if (!e) return false;
  uint32_t r;
  memcpy(&r, e, 4);
  return r == record && (!key || memcmp(e + 4, key->data(), key->size()) == 0);
}

// The entry of `record` whose key is `key`: found by the key, else by a scan.
int64_t findEntry(const IndexDef& x, uint32_t record, const std::string& key) {
  const uint32_t at = tree::lowerBound(x.db, exactProbe(key, record));
  if (entryIs(x, at, record, &key)) return at;
  uint32_t found = 0;
  return FindRecnoInIndexFile(x.db, record, &found) ? static_cast<int64_t>(found) : -1;
}

bool hideAt(WorkArea& w, const IndexDef& x, uint32_t position) {
  readRecord(w, entryRecord(x, position));
  return hideDeleted() && deletedInBuffer(w);
}

}  // namespace

uint32_t entryRecord(const IndexDef& x, uint32_t position) {
  uint32_t r = 0;
  if (const char* e = tree::entryAt(x.db, position)) memcpy(&r, e, 4);
  return r;
}

void keysBeforeWrite(WorkArea& w, uint32_t record, std::vector<std::string>& keys) {
  uint32_t size = 0;
  const char* p = recordBytes(w.schema.db, record, &size);
  if (!p) return;
  std::vector<char> buffer(w.schema.bufferSize);
  decodeRecord(w.schema, p, size, buffer.data());
  keys.clear();
  for (const IndexDef& x : w.schema.indexes) keys.push_back(x.db ? keyOf(w.schema, x, buffer.data()) : std::string());
}

void indexesAfterWrite(WorkArea& w, uint32_t record, bool isNew, const std::vector<std::string>& oldKeys) {
  std::vector<char> entry;
  for (size_t i = 0; i < w.schema.indexes.size(); ++i) {
    IndexDef& x = w.schema.indexes[i];
    x.rekey = false;
    if (!x.db) continue;
    const std::string key = keyOf(w.schema, x, w.st.buffer.data());
    entry.resize(x.keyLength + 4);
    memcpy(entry.data(), &record, 4);
    memcpy(entry.data() + 4, key.data(), key.size());
    int64_t at = -1;
    if (!isNew && i < oldKeys.size()) {
      at = findEntry(x, record, oldKeys[i]);
      if (at >= 0 && oldKeys[i] != key) {
        tree::removeAt(x.db, static_cast<uint32_t>(at));
        at = -1;
      }
    }
    if (isNew) {
      // A new record's entry joins with the others before the next read.
      tree::queueInsert(x.db, entry.data());
      x.position = -1;
      continue;
    }
    if (at < 0) {
      at = tree::insertSorted(x.db, exactProbe(key, record), entry.data());
      if (at < 0) __RuntimeError(LOW_MEMORY, -1);
    }
    x.position = at;
  }
}

int64_t locate(WorkArea& w, IndexDef& x) {
  const uint32_t count = tree::count(x.db);
  if (w.st.storedRecord < 0) return count;
  const uint32_t record = static_cast<uint32_t>(w.st.storedRecord);
  if (x.position >= 0 && x.position < count && entryIs(x, static_cast<uint32_t>(x.position), record, nullptr))
    return x.position;
  uint32_t size = 0;
  const char* p = recordBytes(w.schema.db, record, &size);
  if (!p) return count;
  std::vector<char> buffer(w.schema.bufferSize);
  decodeRecord(w.schema, p, size, buffer.data());
  const int64_t at = findEntry(x, record, keyOf(w.schema, x, buffer.data()));
  x.position = at < 0 ? count : at;
  return x.position;
}

}  // namespace data

using namespace data;

pObj_Node __Seek(pObj_Node area, pObj_Node key, pObj_Node soft) {
  WorkArea& w = requireArea(area);
  if (!key || key->objType == T_NIL || key->objType == T_NUL) __RuntimeError(RUNTIME_ERROR, 3);
  if (w.st.order == kNaturalOrder) __RuntimeError(IDX_NOT_EXISTS, 5);
  if (key->objType != T_CHARPTR) __RuntimeError(RUNTIME_ERROR, 4);
  IndexDef* x = activeIndex(w);
  if (!x) __RuntimeError(RUNTIME_ERROR, 6);
  if (w.st.changed) writeRecord(w);
  AreaState& st = w.st;
  const uint32_t count = tree::count(x->db);
  if (count == 0 || DmNumRecords(w.schema.db) == 0) {
    offTheEnd(w);
    st.bof = 1;
    x->position = count;
    return __INIT_BOOL(0);
  }
  const std::string text = seekKey(w.schema, *x, key->objData.mbuff ? key->objData.mbuff : "");
  const uint32_t length = text.size() < x->keyLength ? static_cast<uint32_t>(text.size()) : x->keyLength;
  uint32_t at = tree::lowerBound(x->db, tree::Probe{text.data(), length, false, 0});
  // The first matching entry whose record is not hidden.
  for (; at < count; ++at) {
    const char* e = tree::entryAt(x->db, at);
    if (tree::compareKeys(e + 4, text.data(), length) != 0) break;
    if (hideAt(w, *x, at)) continue;
    x->position = at;
    st.found = 1;
    st.eof = 0;
    st.bof = 0;
    return __INIT_BOOL(1);
  }
  if (soft && soft->objType == T_BOOL && soft->objData.bValue) {
    for (; at < count; ++at) {
      if (hideAt(w, *x, at)) continue;
      x->position = at;
      st.found = 0;
      st.eof = 0;
      st.bof = 0;
      return __INIT_BOOL(0);
    }
  }
  offTheEnd(w);
  x->position = count;
  return __INIT_BOOL(0);
}

int FindKeyInIndexFile(void* handle, const char* keyBuffer, int keyLength, uint32_t* position) {
  DmOpenRef db = static_cast<DmOpenRef>(handle);
  if (!db || db->kind != 'B' || !keyBuffer || keyLength < 0) return 0;
  const uint32_t e = tree::entrySize(db);
  const uint32_t length = static_cast<uint32_t>(keyLength) < e - 4 ? static_cast<uint32_t>(keyLength) : e - 4;
  const uint32_t at = tree::lowerBound(db, tree::Probe{keyBuffer + 4, length, false, 0});
  if (position) *position = at;
  const char* entry = tree::entryAt(db, at);
  return entry && memcmp(entry + 4, keyBuffer + 4, length) == 0 ? 1 : 0;
}

int FindRecnoInIndexFile(void* handle, uint32_t record, uint32_t* position) {
  DmOpenRef db = static_cast<DmOpenRef>(handle);
  if (!db || db->kind != 'B') return 0;
  const uint32_t count = tree::count(db);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t r;
    memcpy(&r, tree::entryAt(db, i), 4);
    if (r == record) {
      if (position) *position = i;
      return 1;
    }
    if ((i + 1) % kFlushEvery == 0) DbFlush(db);
  }
  return 0;
}
