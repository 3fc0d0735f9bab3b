// The rescue of registered arrays: a program registers arrays by name, a
// fatal error dumps each into a temporary database of its name (kind 'L'),
// and the program restores it after the restart.
//
// Dump (one record each, in order):
//
//   u32 count            element count of the top array (little-endian)
//   then, for each top-level element that is an array, a nested block:
//     u32 count          the nested array's element count
//     per element:       a nested block for an array, else one scalar record:
//                        the 40-byte value image, then for a string its
//                        objLength bytes of text
//
// Value image (40 bytes, little-endian): 0 next (0), 4 kind, 8 type,
// 12 objLength, 16 the 8 value bytes, 24 refCount (u16), 26 level (i16),
// 28 byRef, 32 refObj (0), 36 zero. An element that cannot be saved (a
// pointer, a handle, an array met again inside itself) is written as NIL,
// so every block keeps its count.
#include <string.h>

#include <string>
#include <vector>

#include "core.h"
#include "data_state.h"
#include "temp_db.h"
#include "zeltaarray.h"
#include "zeltardd.h"

namespace data {

namespace {

constexpr uint32_t kImageSize = 40;
constexpr int kDepthLimit = 64;
constexpr int32_t kMaxElements = 32767;

void put32(char* p, uint32_t v) { memcpy(p, &v, 4); }
uint32_t get32(const char* p) {
  uint32_t v;
  memcpy(&v, p, 4);
  return v;
}

bool scalar(uint32_t type) {
  return type == T_CHARPTR || type == T_DATE || type == T_DOUBLE || type == T_BOOL || type == T_NIL || type == T_NUL ||
         type == T_LONG;
}

std::string imageOf(pObj_Node v) {
  const uint32_t type = scalar(v->objType) ? v->objType : static_cast<uint32_t>(T_NIL);
  std::string record(kImageSize, '\0');
  char* p = &record[0];
  put32(p + 4, v->objKind);
  put32(p + 8, type);
  int32_t length = -1;
  if (type == T_CHARPTR) length = v->objData.mbuff && v->objLength > 0 ? v->objLength : 0;
  memcpy(p + 12, &length, 4);
  if (type == T_DATE || type == T_DOUBLE) memcpy(p + 16, &v->objData.dValue, 8);
  if (type == T_BOOL || type == T_LONG) memcpy(p + 16, &v->objData.lValue, 4);
  memcpy(p + 24, &v->refCount, 2);
  memcpy(p + 26, &v->level, 2);
  memcpy(p + 28, &v->byRef, 4);
  if (length > 0) {
    record.append(v->objData.mbuff, static_cast<size_t>(length));
    // A string's buffer ends with its zero even when objLength claims less.
    record.back() = '\0';
  }
  return record;
}

pObj_Node arrayIn(pObj_Node v) {
  if (v->objKind == vArray) return v;
  if (v->objType == T_ARRAY && v->objKind == vElArray) return v->objData.array;
  return nullptr;
}

bool dumpBlock(DmOpenRef db, pObj_Node array, std::vector<pObj_Node>& path) {
  const int count = __Array_Get_Amnt_Itens(array);
  char head[4];
  put32(head, static_cast<uint32_t>(count < 0 ? 0 : count));
  if (!appendTmpRecord(db, head, 4)) return false;
  path.push_back(array);
  for (int i = 0; i < count; ++i) {
    pObj_Node el = __GET_ARRAY_EL(array, i);
    pObj_Node nested = el ? arrayIn(el) : nullptr;
    bool cyclic = false;
    for (pObj_Node seen : path) cyclic = cyclic || seen == nested;
    if (nested && !cyclic && path.size() < kDepthLimit) {
      if (!dumpBlock(db, nested, path)) return false;
      continue;
    }
    Obj_Node nil;
    __InitObjNode(&nil, T_NIL);
    const std::string record = imageOf(nested || !el ? &nil : el);
    if (!appendTmpRecord(db, record.data(), static_cast<uint32_t>(record.size()))) return false;
  }
  path.pop_back();
  return true;
}

bool dump(const char* name, pObj_Node array) {
  if (!name || strlen(name) + 5 > kMaxNameLength) return false;
  if (!array || array->objKind != vArray || __Array_Get_Amnt_Itens(array) < 1) return false;
  DmOpenRef db = static_cast<DmOpenRef>(__OpenTmpDb(0, name, 1, 'L'));
  if (!db) return false;
  const int count = __Array_Get_Amnt_Itens(array);
  char head[4];
  put32(head, static_cast<uint32_t>(count));
  bool ok = appendTmpRecord(db, head, 4);
  std::vector<pObj_Node> path{array};
  for (int i = 0; i < count && ok; ++i) {
    pObj_Node el = __GET_ARRAY_EL(array, i);
    pObj_Node nested = el ? arrayIn(el) : nullptr;
    if (nested && nested != array) ok = dumpBlock(db, nested, path);
  }
  DbFlush(db);
  DmCloseDatabase(db);
  return ok;
}

struct Restorer {
  DmOpenRef db;
  uint32_t next = 0;
  uint32_t records;

  // The next entry added to `into`: a nested array, a scalar, or nothing.
  void entry(pObj_Node into, int depth) {
    if (next >= records) return;
    uint32_t size = 0;
    const char* p = recordBytes(db, next++, &size);
    if (!p || size < 4) return;
    if (size < kImageSize) {
      pObj_Node nested = __fcpObj_CT(vArray);
      const uint32_t count = get32(p);
      for (uint32_t i = 0; i < count && next < records && depth < kDepthLimit; ++i) entry(nested, depth + 1);
      if (__Array_Get_Amnt_Itens(into) < kMaxElements) __AAdd(into, nested);
      return;
    }
    Obj_Node v;
    __InitObjNode(&v, T_NIL);
    v.objKind = vConstant;
    uint32_t type = get32(p + 8);
    int32_t length;
    memcpy(&length, p + 12, 4);
    std::string text;
    if (type == T_CHARPTR) {
      const size_t available = size - kImageSize;
      const size_t n = length > 0 && static_cast<size_t>(length) < available ? static_cast<size_t>(length) : available;
      text.assign(p + kImageSize, n);
      text = std::string(text.c_str());
      v.objData.mbuff = &text[0];
      v.objLength = static_cast<int32_t>(text.size() + 1);
    } else if (type == T_DATE || type == T_DOUBLE) {
      memcpy(&v.objData.dValue, p + 16, 8);
    } else if (type == T_BOOL || type == T_LONG) {
      memcpy(&v.objData.lValue, p + 16, 4);
    } else if (type != T_NUL) {
      type = T_NIL;
    }
    v.objType = type;
    if (__Array_Get_Amnt_Itens(into) < kMaxElements) __AAdd(into, &v);
  }
};

}  // namespace

void dumpRegisteredArrays() {
  if (!begun()) return;
  pObj_Node list = state().registeredArrays;
  if (!list) return;
  const int count = __Array_Get_Amnt_Itens(list);
  for (int i = 0; i < count; ++i) {
    pObj_Node pair = arrayIn(__GET_ARRAY_EL(list, i));
    if (!pair || __Array_Get_Amnt_Itens(pair) < 2) continue;
    pObj_Node name = __GET_ARRAY_EL(pair, 0);
    pObj_Node array = __GET_ARRAY_EL(pair, 1);
    if (name->objType == T_CHARPTR && name->objData.mbuff) dump(name->objData.mbuff, array);
  }
}

}  // namespace data

using namespace data;

pObj_Node __RegisterArray(pObj_Node name, pObj_Node array) {
  if (!name || !array) return __INIT_BOOL(0);
  if (name->objType != T_CHARPTR) __RuntimeError(ARGUMENT_ERROR, -1);
  if (array->objKind != vArray) return __INIT_BOOL(0);
  State& s = state();
  const char* text = name->objData.mbuff ? name->objData.mbuff : "";
  if (!s.registeredArrays) {
    s.registeredArrays = __fcpObj_CT(vArray);
    s.registeredArrays->level = -1;  // kept for the whole run
  }
  const int count = __Array_Get_Amnt_Itens(s.registeredArrays);
  for (int i = 0; i < count; ++i) {
    pObj_Node pair = __GET_ARRAY_EL(s.registeredArrays, i);
    pObj_Node registered = __GET_ARRAY_EL(pair, 0);
    if (registered->objData.mbuff && strcmp(registered->objData.mbuff, text) == 0) return __INIT_BOOL(0);
  }
  pObj_Node pair = __fcpObj_CT(vArray);
  __AAdd(pair, name);
  __AAdd(pair, array);
  __AAdd(s.registeredArrays, pair);
  return __INIT_BOOL(1);
}

pObj_Node ExecDumpArray(pObj_Node name, pObj_Node array) {
  if (!name || name->objType != T_CHARPTR || !name->objData.mbuff) return __INIT_BOOL(0);
  return __INIT_BOOL(dump(name->objData.mbuff, array));
}

pObj_Node __RestoreArray(pObj_Node name) {
  if (!name || name->objType != T_CHARPTR || !name->objData.mbuff) return __INIT_NIL();
  const std::string n = tmpDbName(name->objData.mbuff, 'L');
  if (n.size() > kMaxNameLength) return __INIT_NIL();
  const LocalID id = DmFindDatabase(0, n.c_str());
  DmOpenRef db = id ? DmOpenDatabase(0, id, dmModeReadWrite) : nullptr;
  if (!db) return __INIT_NIL();
  Restorer r{db, 0, DmNumRecords(db)};
  pObj_Node result = nullptr;
  uint32_t size = 0;
  const char* head = recordBytes(db, 0, &size);
  if (head && size >= 4) {
    r.next = 1;
    result = __fcpObj_CT(vArray);
    const uint32_t count = get32(head);
    for (uint32_t i = 0; i < count && r.next < r.records; ++i) r.entry(result, 0);
  }
  DmCloseDatabase(db);
  DmDeleteDatabase(0, id);
  if (!result || __Array_Get_Amnt_Itens(result) == 0) return __INIT_NIL();
  return result;
}
