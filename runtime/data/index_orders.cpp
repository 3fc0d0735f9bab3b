// Index orders of a work area: creating, dropping and rebuilding indexes,
// opening them with their table (an index that does not match its table,
// because its entry count differs or it was being changed when a process
// stopped, is rebuilt then), and choosing the area's active order.
#include <ctype.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core.h"
#include "index_layer.h"
#include "index_tree.h"
#include "zeltardd.h"

namespace data {

namespace {

std::string upper(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return out;
}

int indexNumber(const WorkArea& w, const std::string& name) {
  for (size_t i = 0; i < w.schema.indexes.size(); ++i)
    if (w.schema.indexes[i].name == name) return static_cast<int>(i);
  return -1;
}

// The key fields of a definition; false when one is not a field.
bool resolveFields(const TableDescriptor& schema, IndexDef& x) {
  x.keyFields.clear();
  for (const std::string& name : parseKeyExpression(x.expression)) {
    const int f = fieldIndex(schema, name.c_str(), name.size());
    if (f < 0) return false;
    x.keyFields.push_back(f);
  }
  return !x.keyFields.empty();
}

DmOpenRef openIndexDatabase(const std::string& name, bool create) {
  LocalID id = DmFindDatabase(0, name.c_str());
  if (!id && create && DmCreateDatabase(0, name.c_str(), kCreatorTables, kTypeIndex) == errNone)
    id = DmFindDatabase(0, name.c_str());
  uint32_t type = 0;
  if (!id || DmDatabaseInfo(0, id, nullptr, &type, nullptr) != errNone || type != kTypeIndex) return nullptr;
  return DmOpenDatabase(0, id, dmModeReadWrite);
}

bool matches(WorkArea& w, const IndexDef& x) {
  return tree::entrySize(x.db) == x.keyLength + 4 && tree::closedCleanly(x.db) &&
         tree::count(x.db) == DmNumRecords(w.schema.db);
}

void unlistAll(WorkArea& w) {
  for (size_t i = w.schema.indexes.size(); i-- > 0;) w.schema.indexes[i].listed = false;
  w.st.order = kNaturalOrder;
}

// The active order becomes index i; the pointer goes to the top.
void activate(WorkArea& w, int i) {
  IndexDef& x = w.schema.indexes[static_cast<size_t>(i)];
  x.listed = true;
  w.st.order = static_cast<uint16_t>(i);
  w.st.keySize = x.keyLength + 4;
  x.position = -1;
  goTop(w);
}

[[noreturn]] void invalidIndex(const std::string& name) {
  storeAlert("%s", name.c_str());
  storeAlert("INVALID_INDEX");
  __RuntimeError(INVALID_INDEX, 16);
}

WorkArea& areaOfSlot(int slot, int aux) {
  WorkArea* w = areaAt(slot);
  if (!w) __RuntimeError(RUNTIME_ERROR, aux);
  return *w;
}

std::string nameArgument(pObj_Node name) {
  return name && name->objType == T_CHARPTR && name->objData.mbuff ? upper(name->objData.mbuff) : std::string();
}

}  // namespace

IndexDef* activeIndex(WorkArea& w) {
  if (w.st.order == kNaturalOrder || w.st.order >= w.schema.indexes.size()) return nullptr;
  IndexDef& x = w.schema.indexes[w.st.order];
  return x.db ? &x : nullptr;
}

namespace {

// Keys this long or shorter are sorted a byte at a time; longer ones by
// comparison, where a radix pass over every byte would cost more.
constexpr uint32_t kRadixKeyMost = 32;

// Positions of `n` entries of `e` bytes (record index, then `keyLength` key
// bytes) in key order, equal keys in entry order.
std::vector<uint32_t> keyOrder(const char* base, uint32_t n, uint32_t e, uint32_t keyLength) {
  std::vector<uint32_t> order(n);
  for (uint32_t i = 0; i < n; ++i) order[i] = i;
  // Records often come in key order already (a table loaded or sent in
  // key order): one look over the keys then spares the sort.
  bool sorted = true;
  for (uint32_t i = 1; i < n && sorted; ++i)
    sorted = tree::compareKeys(base + size_t{i - 1} * e + 4, base + size_t{i} * e + 4, keyLength) <= 0;
  if (sorted) return order;
  if (keyLength > kRadixKeyMost) {
    std::stable_sort(order.begin(), order.end(), [base, e, keyLength](uint32_t a, uint32_t b) {
      return tree::compareKeys(base + size_t{a} * e + 4, base + size_t{b} * e + 4, keyLength) < 0;
    });
    return order;
  }
  // Least significant byte first; each pass is stable, so equal keys keep
  // the entries' order. A byte that is the same in every key needs no pass.
  std::vector<uint32_t> counts(size_t{keyLength} * 256, 0);
  for (uint32_t i = 0; i < n; ++i) {
    const unsigned char* key = reinterpret_cast<const unsigned char*>(base + size_t{i} * e + 4);
    for (uint32_t b = 0; b < keyLength; ++b) ++counts[size_t{b} * 256 + key[b]];
  }
  std::vector<uint32_t> spare(n);
  for (uint32_t b = keyLength; b-- > 0;) {
    uint32_t* count = counts.data() + size_t{b} * 256;
    const unsigned char first = static_cast<unsigned char>(base[4 + b]);
    if (count[first] == n) continue;
    uint32_t sum = 0;
    for (uint32_t v = 0; v < 256; ++v) {
      const uint32_t c = count[v];
      count[v] = sum;
      sum += c;
    }
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t at = order[i];
      spare[count[static_cast<unsigned char>(base[size_t{at} * e + 4 + b])]++] = at;
    }
    order.swap(spare);
  }
  return order;
}

// Rebuilds `targets` from `n` records in stored form, `record(i, &size)`
// giving record i (null: damaged), each record read and decoded once for
// all of them. False when an index's tree cannot be written.
template <typename Source>
bool rebuildFrom(WorkArea& w, const std::vector<IndexDef*>& targets, uint32_t n, const Source& record,
                 bool flushTable) {
  std::vector<std::vector<char>> entries;
  for (IndexDef* x : targets) {
    const uint32_t e = x->keyLength + 4;
    if (tree::entrySize(x->db) != e && !tree::setup(x->db, e)) return false;
    entries.emplace_back(size_t{n} * e);
  }
  // Only the fields up to the last key field are decoded.
  size_t fields = 0;
  for (IndexDef* x : targets)
    for (int f : x->keyFields) fields = std::max(fields, static_cast<size_t>(f) + 1);
  std::vector<char> buffer(w.schema.bufferSize);
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t size = 0;
    const char* p = record(i, &size);
    if (!p) {
      storeAlert("falhou ReadFile do arquivo %s registro %u danificado", w.schema.name.c_str(), i + 1);
      __RuntimeError(RUNTIME_ERROR, -1);
    }
    decodeFields(w.schema, p, size, buffer.data(), fields);
    for (size_t t = 0; t < targets.size(); ++t) {
      const uint32_t e = targets[t]->keyLength + 4;
      char* entry = entries[t].data() + size_t{i} * e;
      memcpy(entry, &i, 4);
      buildKey(w.schema, *targets[t], buffer.data(), entry + 4);
    }
    if (flushTable && (i + 1) % kFlushEvery == 0) DbFlush(w.schema.db);
  }
  bool built = true;
  for (size_t t = 0; t < targets.size(); ++t) {
    IndexDef& x = *targets[t];
    const uint32_t e = x.keyLength + 4;
    const std::vector<uint32_t> order = keyOrder(entries[t].data(), n, e, x.keyLength);
    if (!tree::build(x.db, entries[t].data(), order.data(), n)) built = false;
    DbFlush(x.db);
    x.position = -1;
    std::vector<char>().swap(entries[t]);
  }
  return built;
}

bool rebuildFromTable(WorkArea& w, const std::vector<IndexDef*>& targets) {
  DmOpenRef table = w.schema.db;
  return rebuildFrom(
      w, targets, DmNumRecords(table),
      [table](uint32_t i, uint32_t* size) { return recordBytes(table, i, size); }, true);
}

// Every index of the area, opened (created) when it is not; raises 135
// when one cannot be.
std::vector<IndexDef*> allIndexes(WorkArea& w) {
  std::vector<IndexDef*> targets;
  for (IndexDef& x : w.schema.indexes) {
    if (!x.db) x.db = openIndexDatabase(x.name, true);
    if (!x.db) __RuntimeError(INVALID_INDEX, 135);
    targets.push_back(&x);
  }
  return targets;
}

}  // namespace

bool rebuildIndex(WorkArea& w, IndexDef& x) {
  if (!x.db) return false;
  return rebuildFromTable(w, {&x});
}

void openIndexes(WorkArea& w) {
  for (IndexDef& x : w.schema.indexes) {
    if (!resolveFields(w.schema, x)) continue;
    x.keyLength = keyLengthOf(w.schema, x.keyFields);
    x.db = openIndexDatabase(x.name, true);
    if (x.db && !matches(w, x)) rebuildIndex(w, x);
  }
}

void closeIndexes(WorkArea& w) {
  for (size_t i = w.schema.indexes.size(); i-- > 0;) {
    IndexDef& x = w.schema.indexes[i];
    if (x.db) DmCloseDatabase(x.db);
    x.db = nullptr;
    x.listed = false;
  }
  w.st.order = kNaturalOrder;
}

void reindexAll(WorkArea& w) {
  if (!rebuildFromTable(w, allIndexes(w))) __RuntimeError(INVALID_INDEX, 135);
}

void reindexStored(WorkArea& w, const std::vector<StoredRecord>& records) {
  const auto record = [&records](uint32_t i, uint32_t* size) {
    *size = records[i].size;
    return records[i].bytes;
  };
  if (!rebuildFrom(w, allIndexes(w), static_cast<uint32_t>(records.size()), record, false))
    __RuntimeError(INVALID_INDEX, 135);
}

void zapIndexes(WorkArea& w) {
  for (IndexDef& x : w.schema.indexes) {
    if (x.db) tree::clear(x.db);
    x.position = -1;
  }
}

}  // namespace data

using namespace data;

pObj_Node __DBCREATEINDEX(pObj_Node area, pObj_Node name, pObj_Node expression, pObj_Node) {
  WorkArea& w = requireArea(area);
  if (w.st.changed) writeRecord(w);
  if (!expression || expression->objType == T_NIL || expression->objType == T_NUL)
    __RuntimeError(INDEX_CREATE_ERROR, 45);
  if (expression->objType != T_CHARPTR) __RuntimeError(ARGUMENT_ERROR, -1);
  if (!name || name->objType == T_NIL || name->objType == T_NUL) __RuntimeError(RUNTIME_ERROR, 47);
  if (name->objType != T_CHARPTR) __RuntimeError(ARGUMENT_ERROR, -1);
  const std::string indexName = nameArgument(name);
  if (indexName.empty()) __RuntimeError(EG_ARG, 48);
  IndexDef made;
  made.name = indexName;
  made.expression = upper(expression->objData.mbuff ? expression->objData.mbuff : "");
  if (parseKeyExpression(made.expression).empty()) __RuntimeError(EG_ARG, 49);
  if (!resolveFields(w.schema, made)) __RuntimeError(INDEX_CREATE_ERROR, 51);
  for (int f : made.keyFields)
    if (!keyableType(w.schema.fields[static_cast<size_t>(f)].type)) __RuntimeError(RUNTIME_ERROR, 20);
  made.keyLength = keyLengthOf(w.schema, made.keyFields);
  if (made.keyLength + 4 > kMaxRecordSize) __RuntimeError(INDEX_CREATE_ERROR, 50);
  unlistAll(w);
  // An index of that name is replaced; a database of another kind is not.
  const int existing = indexNumber(w, indexName);
  if (existing >= 0 && w.schema.indexes[static_cast<size_t>(existing)].db) {
    DmCloseDatabase(w.schema.indexes[static_cast<size_t>(existing)].db);
    w.schema.indexes[static_cast<size_t>(existing)].db = nullptr;
  }
  if (const LocalID old = DmFindDatabase(0, indexName.c_str())) {
    uint32_t type = 0;
    DmDatabaseInfo(0, old, nullptr, &type, nullptr);
    if (type != kTypeIndex) __RuntimeError(INDEX_CREATE_ERROR, 50);
    DmDeleteDatabase(0, old);
  }
  made.db = openIndexDatabase(indexName, true);
  if (!made.db || !tree::setup(made.db, made.keyLength + 4)) __RuntimeError(INDEX_CREATE_ERROR, 50);
  int at = existing;
  if (at >= 0) {
    w.schema.indexes[static_cast<size_t>(at)] = made;
  } else {
    w.schema.indexes.push_back(made);
    at = static_cast<int>(w.schema.indexes.size()) - 1;
  }
  if (!writeStructure(w.schema)) __RuntimeError(RUNTIME_ERROR, 34);
  rebuildIndex(w, w.schema.indexes[static_cast<size_t>(at)]);
  activate(w, at);
  return __INIT_NIL();
}

pObj_Node __DBDROPINDEX(pObj_Node area, pObj_Node name) {
  WorkArea& w = requireArea(area);
  if (!name || name->objType == T_NIL || name->objType == T_NUL) __RuntimeError(RUNTIME_ERROR, 43);
  const std::string indexName = nameArgument(name);
  if (indexName.empty()) __RuntimeError(RUNTIME_ERROR, 44);
  if (w.st.changed) writeRecord(w);
  unlistAll(w);
  const int i = indexNumber(w, indexName);
  if (i >= 0) {
    IndexDef& x = w.schema.indexes[static_cast<size_t>(i)];
    if (x.db) DmCloseDatabase(x.db);
    w.schema.indexes.erase(w.schema.indexes.begin() + i);
    writeStructure(w.schema);
  }
  if (const LocalID id = DmFindDatabase(0, indexName.c_str())) {
    uint32_t type = 0;
    DmDatabaseInfo(0, id, nullptr, &type, nullptr);
    if (type == kTypeIndex) DmDeleteDatabase(0, id);
  }
  return __INIT_NIL();
}

pObj_Node __UseIndex(pObj_Node area, pObj_Node name) {
  WorkArea& w = requireArea(area);
  if (!name || name->objType != T_CHARPTR) __RuntimeError(INVALID_INDEX, 16);
  const std::string indexName = nameArgument(name);
  const int i = indexNumber(w, indexName);
  if (i < 0 || !w.schema.indexes[static_cast<size_t>(i)].db) invalidIndex(indexName);
  activate(w, i);
  return __INIT_NIL();
}

pObj_Node __ClearIndex(pObj_Node area) {
  WorkArea& w = requireArea(area);
  if (w.st.changed) writeRecord(w);
  unlistAll(w);
  return __INIT_NIL();
}

void __CloseAllIdx(int slot) {
  WorkArea& w = areaOfSlot(slot, 14);
  if (w.st.changed) writeRecord(w);
  unlistAll(w);
}

int __OpenIDX(int slot, int, int, const char* name, int makeActive) {
  WorkArea& w = areaOfSlot(slot, 14);
  const std::string indexName = upper(name ? name : "");
  const int i = indexNumber(w, indexName);
  if (i < 0) invalidIndex(indexName);
  IndexDef& x = w.schema.indexes[static_cast<size_t>(i)];
  if (!x.db) x.db = openIndexDatabase(indexName, true);
  if (!x.db) invalidIndex(indexName);
  x.listed = true;
  if (makeActive) {
    if (!matches(w, x)) rebuildIndex(w, x);
    activate(w, i);
  }
  return 1;
}

int __CloseIDX(int slot, const char* name) {
  WorkArea& w = areaOfSlot(slot, 14);
  const int i = indexNumber(w, upper(name ? name : ""));
  if (i < 0) __RuntimeError(INVALID_INDEX, 10);
  w.schema.indexes[static_cast<size_t>(i)].listed = false;
  if (w.st.order == i) {
    w.st.order = kNaturalOrder;
    for (size_t j = 0; j < w.schema.indexes.size(); ++j)
      if (w.schema.indexes[j].listed) {
        w.st.order = static_cast<uint16_t>(j);
        break;
      }
  }
  return 1;
}

int __GetIdxInd(int slot, const char* name) {
  WorkArea* w = areaAt(slot);
  return w ? indexNumber(*w, upper(name ? name : "")) : -1;
}

int __GetFirstOpenIDX(int slot) {
  WorkArea& w = areaOfSlot(slot, 14);
  for (size_t i = 0; i < w.schema.indexes.size(); ++i)
    if (w.schema.indexes[i].listed) return static_cast<int>(i);
  return -1;
}

pObj_Node __TBL_SetOrder(pObj_Node area, pObj_Node n) {
  WorkArea& w = requireArea(area);
  if (!n || n->objType != T_DOUBLE) __RuntimeError(ARGUMENT_ERROR, -1);
  const double order = n->objData.dValue;
  if (order == 0) {
    // Order 0 is the natural order, as SET ORDER TO asks for it.
    if (w.st.changed) writeRecord(w);
    w.st.order = kNaturalOrder;
    return __INIT_NIL();
  }
  if (!(order >= 1 && order <= static_cast<double>(w.schema.indexes.size()))) __RuntimeError(INVALID_INDEX, 32);
  const int i = static_cast<int>(order) - 1;
  if (w.st.order == i) return __INIT_NIL();
  if (!w.schema.indexes[static_cast<size_t>(i)].db) __RuntimeError(INVALID_INDEX, 135);
  activate(w, i);
  return __INIT_NIL();
}

pObj_Node __IndexOrd(pObj_Node area) {
  WorkArea& w = requireArea(area);
  return __INIT_DOUBLE(w.st.order == kNaturalOrder ? 0 : w.st.order + 1);
}

pObj_Node __IndexKey(pObj_Node area, pObj_Node n) {
  WorkArea& w = requireArea(area);
  int i = w.st.order == kNaturalOrder ? -1 : w.st.order;
  if (n && n->objType == T_DOUBLE) i = n->objData.dValue >= 1 ? static_cast<int>(n->objData.dValue) - 1 : -1;
  if (i < 0 || i >= static_cast<int>(w.schema.indexes.size())) return __INIT_CHARPTR("");
  std::string key;
  for (int f : w.schema.indexes[static_cast<size_t>(i)].keyFields)
    key += (key.empty() ? "" : "+") + w.schema.fields[static_cast<size_t>(f)].name;
  return __INIT_CHARPTR(key.c_str());
}

pObj_Node __Reindex(pObj_Node area) {
  WorkArea& w = requireArea(area);
  if (w.st.changed) writeRecord(w);
  reindexAll(w);
  return __INIT_NIL();
}

int OrdenarIndice(void* handle) {
  DmOpenRef db = static_cast<DmOpenRef>(handle);
  if (!db || db->kind != 'B') return 0;
  DbFlush(db);
  const uint32_t n = tree::count(db), e = tree::entrySize(db);
  std::vector<char> entries(size_t{n} * e);
  for (uint32_t i = 0; i < n; ++i) memcpy(entries.data() + size_t{i} * e, tree::entryAt(db, i), e);
  std::vector<uint32_t> order(n);
  for (uint32_t i = 0; i < n; ++i) order[i] = i;
  const char* base = entries.data();
  std::sort(order.begin(), order.end(), [base, e](uint32_t a, uint32_t b) {
    const int c = tree::compareKeys(base + size_t{a} * e + 4, base + size_t{b} * e + 4, e - 4);
    if (c) return c < 0;
    uint32_t ra, rb;
    memcpy(&ra, base + size_t{a} * e, 4);
    memcpy(&rb, base + size_t{b} * e, 4);
    return ra < rb;
  });
  const bool built = tree::build(db, entries.data(), order.data(), n);
  DbFlush(db);
  return built ? 1 : 0;
}
