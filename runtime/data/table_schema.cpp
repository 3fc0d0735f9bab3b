// Table structures: the structure block kept in a table's information block,
// the record buffer layout derived from it, table creation (__DBCREATE) and
// deletion, and the exports that describe fields.
//
// Structure block: zero-terminated texts, one after the other:
//
//   "ZTS1"  table name  field count  index count  memo database   (counts in decimal)
//   per field:  name  type letter  length  decimals
//   per index:  name  key expression  key length
//
// The hidden deletion field "D_E_L_E_T_" (C, 2) is the last field. Record
// buffer: each field in order gets 8 bytes (N, D), 1 (L), 4 (M) or length + 2
// (C and the others); 4 more bytes follow the last field.
#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include "core.h"
#include "work_area.h"
#include "zeltaarray.h"
#include "zeltardd.h"

namespace data {

namespace {

const char kLetters[] = "NDCLMIB";
constexpr uint32_t kMaxFields = 2048;
constexpr uint32_t kMaxFieldLength = kMaxRecordSize;

int typeOfLetter(char letter) {
  const char* at = strchr(kLetters, toupper(static_cast<unsigned char>(letter)));
  return letter && at ? static_cast<int>(at - kLetters) : -1;
}

uint32_t slotSize(const FieldDef& f) {
  switch (f.type) {
    case kTypeN:
    case kTypeD: return 8;
    case kTypeL: return 1;
    case kTypeM: return 4;
    default: return f.length + 2;
  }
}

// Reads the texts of a structure block one by one, never past its end.
struct BlockReader {
  const char* p;
  const char* end;
  bool ok = true;
  std::string next() {
    const char* zero = ok ? static_cast<const char*>(memchr(p, 0, static_cast<size_t>(end - p))) : nullptr;
    if (!zero) {
      ok = false;
      return std::string();
    }
    std::string text(p, zero);
    p = zero + 1;
    return text;
  }
  uint32_t number(uint32_t limit) {
    const std::string text = next();
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) ok = false;
    const uint32_t n = ok ? static_cast<uint32_t>(strtoul(text.c_str(), nullptr, 10)) : 0;
    if (n > limit) ok = false;
    return n;
  }
};

void putText(std::string& block, const std::string& text) {
  block += text;
  block += '\0';
}

pObj_Node itemOf(pObj_Node array, int i) { return __GET_ARRAY_EL(array, i); }

std::string checkedName(pObj_Node v) {
  if (!v || v->objType != T_CHARPTR) __RuntimeError(ARGUMENT_ERROR, -1);
  std::string name = upperText(v);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

uint32_t checkedSize(pObj_Node v) {
  if (!v || v->objType != T_DOUBLE) __RuntimeError(ARGUMENT_ERROR, -1);
  const double n = v->objData.dValue;
  if (!(n >= 0 && n <= kMaxFieldLength)) __RuntimeError(EG_ARG, 40);
  return static_cast<uint32_t>(n);
}

// The field definitions of a structure array, the hidden field last.
std::vector<FieldDef> fieldsOf(pObj_Node structure) {
  const int count = __Array_Get_Amnt_Itens(structure);
  if (count < 1) __RuntimeError(EG_ARG, 39);
  std::vector<FieldDef> fields;
  for (int i = 0; i < count; ++i) {
    pObj_Node row = itemOf(structure, i);
    if (!row || row->objKind != vArray || __Array_Get_Amnt_Itens(row) < 4) __RuntimeError(EG_ARG, 40);
    FieldDef f;
    f.name = checkedName(itemOf(row, 0));
    pObj_Node letter = itemOf(row, 1);
    if (!letter || letter->objType != T_CHARPTR) __RuntimeError(ARGUMENT_ERROR, -1);
    const int type = typeOfLetter(letter->objData.mbuff ? letter->objData.mbuff[0] : 0);
    f.length = checkedSize(itemOf(row, 2));
    f.decimals = checkedSize(itemOf(row, 3));
    if (type < 0 || f.name.empty() || f.name.size() > kMaxNameLength || f.name == kDeletionField)
      __RuntimeError(EG_ARG, 40);
    for (const FieldDef& earlier : fields)
      if (earlier.name == f.name) __RuntimeError(EG_ARG, 40);
    f.type = static_cast<uint8_t>(type);
    if (f.type == kTypeD) f.length = 8;
    if (f.type == kTypeM) f.length = 4;
    fields.push_back(f);
  }
  if (fields.size() >= kMaxFields) __RuntimeError(EG_ARG, 40);
  FieldDef hidden;
  hidden.name = kDeletionField;
  hidden.type = kTypeC;
  hidden.length = 2;
  fields.push_back(hidden);
  return fields;
}

const FieldDef* fieldArgument(WorkArea& w, pObj_Node field) {
  int i = -1;
  if (field && field->objType == T_CHARPTR) {
    const char* text = field->objData.mbuff ? field->objData.mbuff : "";
    i = fieldIndex(w.schema, text, strlen(text));
  } else if (field && field->objType == T_DOUBLE) {
    const double n = field->objData.dValue;
    if (n >= 1 && n <= static_cast<double>(w.schema.visibleFields())) i = static_cast<int>(n) - 1;
  } else {
    __RuntimeError(ARGUMENT_ERROR, -1);
  }
  return i < 0 ? nullptr : &w.schema.fields[static_cast<size_t>(i)];
}

}  // namespace

std::string upperText(pObj_Node v) {
  std::string text = v && v->objType == T_CHARPTR && v->objData.mbuff ? v->objData.mbuff : "";
  for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string memoName(const std::string& table) { return table + ".MEMO"; }

std::string alternateMemoName(const std::string& table, const std::string& current) {
  return current == memoName(table) ? memoName(table) + "2" : memoName(table);
}

bool hasMemo(const TableDescriptor& schema) {
  for (const FieldDef& f : schema.fields)
    if (f.type == kTypeM) return true;
  return false;
}

void layoutBuffer(TableDescriptor& schema) {
  uint32_t offset = 0;
  for (FieldDef& f : schema.fields) {
    f.offset = offset;
    offset += slotSize(f);
  }
  schema.bufferSize = offset + 4;
}

int fieldIndex(const TableDescriptor& schema, const char* name, size_t length) {
  while (length > 0 && name[length - 1] == ' ') --length;
  const size_t visible = schema.visibleFields();
  for (size_t i = 0; i < visible; ++i) {
    const std::string& n = schema.fields[i].name;
    if (n.size() == length && strncasecmp(n.data(), name, length) == 0) return static_cast<int>(i);
  }
  return -1;
}

int fieldOfName(WorkArea& w, pObj_Node name) {
  if (!name || name->objType != T_CHARPTR) __RuntimeError(ARGUMENT_ERROR, -1);
  const char* text = name->objData.mbuff ? name->objData.mbuff : "";
  if (!isConstant(name)) return fieldIndex(w.schema, text, strlen(text));
  NameCache& cache = w.names;
  const size_t slot = (reinterpret_cast<uintptr_t>(text) >> 3) % NameCache::kSlots;
  if (cache.names[slot] == text) return cache.fields[slot];
  const int field = fieldIndex(w.schema, text, strlen(text));
  cache.names[slot] = text;
  cache.fields[slot] = field;
  return field;
}

bool readStructure(DmOpenRef db, TableDescriptor& schema) {
  uint32_t size = 0;
  const char* block = DmAppInfo(db, &size);
  if (!block) return false;
  BlockReader in{block, block + size};
  if (in.next() != "ZTS1") return false;
  const std::string name = in.next();
  const uint32_t fieldCount = in.number(kMaxFields);
  const uint32_t indexCount = in.number(kMaxFields);
  schema.memoDatabase = in.next();
  if (!in.ok || fieldCount < 1) return false;
  schema.fields.clear();
  schema.indexes.clear();
  for (uint32_t i = 0; i < fieldCount && in.ok; ++i) {
    FieldDef f;
    f.name = in.next();
    const std::string letter = in.next();
    f.length = in.number(kMaxFieldLength);
    f.decimals = in.number(kMaxFieldLength);
    const int type = letter.size() == 1 ? typeOfLetter(letter[0]) : -1;
    if (type < 0 || f.name.empty()) return false;
    f.type = static_cast<uint8_t>(type);
    schema.fields.push_back(f);
  }
  for (uint32_t i = 0; i < indexCount && in.ok; ++i) {
    IndexDef x;
    x.name = in.next();
    x.expression = in.next();
    x.keyLength = in.number(kMaxRecordSize);
    schema.indexes.push_back(x);
  }
  if (!in.ok || schema.fields.back().name != kDeletionField) return false;
  schema.creator = kTypeData;
  layoutBuffer(schema);
  return true;
}

std::string structureBlock(const TableDescriptor& schema) {
  std::string block;
  putText(block, "ZTS1");
  putText(block, schema.name);
  putText(block, std::to_string(schema.fields.size()));
  putText(block, std::to_string(schema.indexes.size()));
  putText(block, schema.memoDatabase);
  for (const FieldDef& f : schema.fields) {
    putText(block, f.name);
    putText(block, std::string(1, kLetters[f.type]));
    putText(block, std::to_string(f.length));
    putText(block, std::to_string(f.decimals));
  }
  for (const IndexDef& x : schema.indexes) {
    putText(block, x.name);
    putText(block, x.expression);
    putText(block, std::to_string(x.keyLength));
  }
  return block;
}

bool writeStructure(const TableDescriptor& schema) {
  const std::string block = structureBlock(schema);
  return DmSetDatabaseInfo(schema.db, block.data(), static_cast<uint32_t>(block.size())) == errNone;
}

bool deleteTable(const std::string& name) {
  const LocalID id = DmFindDatabase(0, name.c_str());
  if (!id) return false;
  State& s = state();
  for (int i = s.TBL_amnt_open_dbs - 1; i >= 0; --i) {
    WorkArea* w = areaAt(i);
    if (w && w->schema.name == name) closeArea(i, false);
  }
  TableDescriptor schema;
  if (DmOpenRef db = DmOpenDatabase(0, id, dmModeReadWrite)) {
    readStructure(db, schema);
    DmCloseDatabase(db);
  }
  for (const IndexDef& x : schema.indexes)
    if (LocalID index = DmFindDatabase(0, x.name.c_str())) DmDeleteDatabase(0, index);
  for (const std::string& memo : {memoName(name), alternateMemoName(name, memoName(name))})
    if (LocalID m = DmFindDatabase(0, memo.c_str())) DmDeleteDatabase(0, m);
  DmDeleteDatabase(0, id);
  return true;
}

}  // namespace data

using namespace data;

pObj_Node __DBCREATE(pObj_Node name, pObj_Node structure, pObj_Node driver) {
  const auto missing = [](pObj_Node v) { return !v || v->objType == T_NIL || v->objType == T_NUL; };
  if (missing(name) || missing(structure)) __RuntimeError(RUNTIME_ERROR, 37);
  if (name->objType != T_CHARPTR) __RuntimeError(ARGUMENT_ERROR, -1);
  if (!name->objData.mbuff || !name->objData.mbuff[0]) __RuntimeError(EG_ARG, 38);
  if (structure->objKind != vArray) __RuntimeError(ARGUMENT_ERROR, -1);
  if (driver && driver->objType == T_DOUBLE && driver->objData.dValue != 0) __RuntimeError(RDD_NOT_IMPLEMENTED, 1);
  if (driver && driver->objType == T_CHARPTR && upperText(driver) == "SQLITE") __RuntimeError(RDD_NOT_IMPLEMENTED, 1);
  TableDescriptor schema;
  schema.name = upperText(name);
  schema.fields = fieldsOf(structure);
  layoutBuffer(schema);
  if (hasMemo(schema)) schema.memoDatabase = memoName(schema.name);
  deleteTable(schema.name);
  if (DmFindDatabase(0, schema.name.c_str())) return __INIT_BOOL(0);
  if (DmCreateDatabase(0, schema.name.c_str(), kCreatorTables, kTypeData) != errNone) __RuntimeError(RUNTIME_ERROR, 41);
  const LocalID id = DmFindDatabase(0, schema.name.c_str());
  schema.db = id ? DmOpenDatabase(0, id, dmModeReadWrite) : nullptr;
  if (!schema.db) __RuntimeError(RUNTIME_ERROR, 41);
  const bool written = writeStructure(schema);
  DmCloseDatabase(schema.db);
  if (!written) __RuntimeError(RUNTIME_ERROR, 34);
  if (hasMemo(schema) && DmCreateDatabase(0, schema.memoDatabase.c_str(), kCreatorTables, kTypeMemo) != errNone)
    __RuntimeError(RUNTIME_ERROR, 41);
  return __INIT_BOOL(1);
}

pObj_Node __TBL_DeleteDatabase(pObj_Node name) {
  if (!name || name->objType != T_CHARPTR) __RuntimeError(ARGUMENT_ERROR, -1);
  return __INIT_DOUBLE(deleteTable(upperText(name)) ? 1 : 0);
}

pObj_Node __TBL_Fcount(pObj_Node area) {
  return __INIT_DOUBLE(static_cast<double>(requireArea(area).schema.visibleFields()));
}

pObj_Node __TBL_RecSize() {
  WorkArea* w = areaAt(state().currentArea);
  if (!w) __RuntimeError(RUNTIME_ERROR, 7);
  // The most a stored record of this table can take.
  uint32_t size = 2;
  for (size_t i = 0; i < w->schema.visibleFields(); ++i) {
    const FieldDef& f = w->schema.fields[i];
    size += f.type == kTypeN || f.type == kTypeD ? 8 : f.type == kTypeL ? 1 : f.type == kTypeM ? 4 : f.length + 1;
  }
  return __INIT_DOUBLE(size);
}

pObj_Node __FieldLen(pObj_Node area, pObj_Node field) {
  const FieldDef* f = fieldArgument(requireArea(area), field);
  return __INIT_DOUBLE(f ? f->length : 0);
}

pObj_Node __FieldDecLen(pObj_Node area, pObj_Node field) {
  const FieldDef* f = fieldArgument(requireArea(area), field);
  return __INIT_DOUBLE(f ? f->decimals : 0);
}

pObj_Node __FieldType(pObj_Node area, pObj_Node field) {
  const FieldDef* f = fieldArgument(requireArea(area), field);
  const char letter[2] = {f ? kLetters[f->type] : 'U', 0};
  return __INIT_CHARPTR(letter);
}

pObj_Node __DBStruct(pObj_Node area) {
  WorkArea& w = requireArea(area);
  pObj_Node result = __fcpObj_CT(vArray);
  for (size_t i = 0; i < w.schema.visibleFields(); ++i) {
    const FieldDef& f = w.schema.fields[i];
    const char letter[2] = {kLetters[f.type], 0};
    pObj_Node row = __fcpObj_CT(vArray);
    __AAdd(row, __INIT_CHARPTR(f.name.c_str()));
    __AAdd(row, __INIT_CHARPTR(letter));
    __AAdd(row, __INIT_DOUBLE(f.length));
    __AAdd(row, __INIT_DOUBLE(f.decimals));
    __AAdd(result, row);
  }
  return result;
}
