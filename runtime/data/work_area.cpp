// Work areas: the numbered slots that hold open tables, the alias look-up
// that turns an area argument into a slot, and opening and closing tables
// into areas. The area table grows in steps of 128 slots; a closed area's
// slot becomes null and is the first to be taken again.
#include <string.h>
#include <strings.h>

#include "core.h"
#include "index_layer.h"
#include "work_area.h"
#include "zeltardd.h"

namespace data {

namespace {

void checkDriver(pObj_Node driver) {
  if (!driver) return;
  if (driver->objType == T_DOUBLE && driver->objData.dValue != 0) __RuntimeError(RDD_NOT_IMPLEMENTED, 1);
  if (driver->objType == T_CHARPTR && upperText(driver) == "SQLITE") __RuntimeError(RDD_NOT_IMPLEMENTED, 1);
}

// A new slot at the end of the area table.
int growSlots() {
  State& s = state();
  const int count = s.TBL_amnt_open_dbs;
  if (count >= INT16_MAX) __RuntimeError(LOW_MEMORY, -1);
  if (count % kAreaStep == 0) s.areas.resize(static_cast<size_t>(((count + 1) / kAreaStep + 1) * kAreaStep), nullptr);
  s.TBL_amnt_open_dbs = static_cast<int16_t>(count + 1);
  return count;
}

// A slot for a new area: the first null one, else a new one at the end.
int newSlot() {
  State& s = state();
  for (int i = 0; i < s.TBL_amnt_open_dbs; ++i)
    if (!s.areas[static_cast<size_t>(i)]) return i;
  return growSlots();
}

// Makes `slot` exist in the table (an area selected by number before it was used).
void reachSlot(int slot) {
  State& s = state();
  while (s.TBL_amnt_open_dbs <= slot) growSlots();
}

bool sameText(const std::string& a, const char* b, size_t length) {
  return a.size() == length && strncasecmp(a.data(), b, length) == 0;
}

}  // namespace

bool isConstant(pObj_Node v) { return v && v->objKind == vConstant; }

WorkArea* areaAt(int slot) {
  State& s = state();
  if (slot < 0 || slot >= s.TBL_amnt_open_dbs) return nullptr;
  return s.areas[static_cast<size_t>(slot)];
}

int slotOf(const WorkArea& area) {
  State& s = state();
  for (int i = 0; i < s.TBL_amnt_open_dbs; ++i)
    if (s.areas[static_cast<size_t>(i)] == &area) return i;
  return -1;
}

int aliasSlot(pObj_Node a) {
  State& s = state();
  if (!a || a->objType == T_NIL || a->objType == T_NUL) return s.currentArea;
  if (a->objType == T_DOUBLE) {
    const double n = a->objData.dValue;
    return n >= 1 && n <= INT16_MAX ? static_cast<int>(n) - 1 : -1;
  }
  if (a->objType != T_CHARPTR) __RuntimeError(ALIAS_DOES_NOT_EXISTS, 11);
  if (isConstant(a)) {
    for (int slot : {static_cast<int>(s.currentArea), static_cast<int>(s.aliasCache)}) {
      WorkArea* w = areaAt(slot);
      if (w && w->aliasObject == a) return slot;
    }
    for (int i = 0; i < s.TBL_amnt_open_dbs; ++i) {
      WorkArea* w = s.areas[static_cast<size_t>(i)];
      if (w && w->aliasObject == a) return i;
    }
  }
  const char* text = a->objData.mbuff ? a->objData.mbuff : "";
  const size_t length = strlen(text);
  // Aliases and table names are upper case; a name in any case finds them.
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < s.TBL_amnt_open_dbs; ++i) {
      WorkArea* w = s.areas[static_cast<size_t>(i)];
      if (w && sameText(pass == 0 ? w->alias : w->schema.name, text, length)) {
        s.aliasCache = static_cast<int16_t>(i);
        return i;
      }
    }
  }
  return -1;
}

WorkArea& requireArea(pObj_Node area) {
  WorkArea* w = areaAt(aliasSlot(area));
  if (!w) __RuntimeError(ALIAS_DOES_NOT_EXISTS, 11);
  if (w->driverKind != 0) __RuntimeError(RDD_NOT_IMPLEMENTED, 1);
  return *w;
}

int openTable(const std::string& name, const std::string& alias, pObj_Node aliasObject, bool newArea) {
  State& s = state();
  const LocalID id = DmFindDatabase(0, name.c_str());
  if (!id) __RuntimeError(ALIAS_DOES_NOT_EXISTS, 53);
  DmOpenRef db = DmOpenDatabase(0, id, dmModeReadWrite);
  if (!db) __RuntimeError(RUNTIME_ERROR, 55);
  WorkArea* w = new WorkArea();
  w->schema.name = name;
  w->schema.db = db;
  if (!readStructure(db, w->schema)) {
    DmCloseDatabase(db);
    delete w;
    storeAlert("no appinfo");
    __RuntimeError(RUNTIME_ERROR, 55);
  }
  if (hasMemo(w->schema)) {
    // A memo database a pack left behind before it switched is dropped.
    const std::string& memo = w->schema.memoDatabase;
    if (LocalID stale = DmFindDatabase(0, alternateMemoName(name, memo).c_str())) DmDeleteDatabase(0, stale);
    LocalID memoId = DmFindDatabase(0, memo.c_str());
    if (!memoId && DmCreateDatabase(0, memo.c_str(), kCreatorTables, kTypeMemo) == errNone)
      memoId = DmFindDatabase(0, memo.c_str());
    w->st.memo = memoId ? DmOpenDatabase(0, memoId, dmModeReadWrite) : nullptr;
    if (!w->st.memo) {
      DmCloseDatabase(db);
      delete w;
      __RuntimeError(RUNTIME_ERROR, 55);
    }
  }
  w->alias = alias;
  w->aliasObject = isConstant(aliasObject) ? aliasObject : nullptr;
  w->st.buffer.assign(w->schema.bufferSize, 0);
  int slot;
  if (newArea) {
    slot = newSlot();
  } else {
    slot = s.currentArea;
    reachSlot(slot);
    if (areaAt(slot)) closeArea(slot, true);
  }
  s.areas[static_cast<size_t>(slot)] = w;
  s.currentArea = static_cast<int16_t>(slot);
  blankBuffer(*w);
  openIndexes(*w);
  return slot;
}

void closeArea(int slot, bool) {
  State& s = state();
  if (slot < 0 || slot >= s.TBL_amnt_open_dbs) __RuntimeError(RUNTIME_ERROR, 56);
  WorkArea* w = s.areas[static_cast<size_t>(slot)];
  if (!w) return;
  if (w->st.changed) writeRecord(*w);
  // From here on nothing raises: the area goes whatever happened above.
  s.areas[static_cast<size_t>(slot)] = nullptr;
  closeIndexes(*w);
  if (w->st.memo) DmCloseDatabase(w->st.memo);
  DmCloseDatabase(w->schema.db);
  if (s.selectedAlias && w->aliasObject == s.selectedAlias) s.selectedAlias = nullptr;
  delete w;
}

}  // namespace data

using namespace data;

pObj_Node __DBUSEAREA(pObj_Node newArea, pObj_Node driver, pObj_Node name, pObj_Node alias, pObj_Node, pObj_Node) {
  State& s = state();
  s.areaOpened = false;
  checkDriver(driver);
  if (!name || name->objType != T_CHARPTR || !name->objData.mbuff || !name->objData.mbuff[0])
    __RuntimeError(RUNTIME_ERROR, 54);
  const std::string table = upperText(name);
  const bool aliasGiven = alias && alias->objType == T_CHARPTR && alias->objData.mbuff && alias->objData.mbuff[0];
  if (alias && !aliasGiven && alias->objType != T_NIL && alias->objType != T_NUL && alias->objType != T_CHARPTR)
    __RuntimeError(ARGUMENT_ERROR, -1);
  const std::string aliasName = aliasGiven ? upperText(alias) : table;
  for (int i = 0; i < s.TBL_amnt_open_dbs; ++i) {
    WorkArea* w = s.areas[static_cast<size_t>(i)];
    if (w && ((aliasGiven && w->aliasObject == alias) || w->alias == aliasName)) closeArea(i, false);
  }
  const bool inNewArea = newArea && newArea->objType == T_BOOL && __GET_BOOL(newArea);
  const int slot = openTable(table, aliasName, aliasGiven ? alias : nullptr, inNewArea);
  WorkArea& w = *areaAt(slot);
  s.selectedAlias = w.aliasObject;
  // The record pointer starts on the first record, as every xBase program expects.
  goTop(w);
  w.st.found = 0;
  s.areaOpened = true;
  return __INIT_BOOL(1);
}

pObj_Node __dbCloseAll() {
  if (!begun()) return __INIT_NIL();
  State& s = state();
  for (int i = s.TBL_amnt_open_dbs - 1; i >= 0; --i) closeArea(i, false);
  s.areas.clear();
  s.TBL_amnt_open_dbs = 0;
  s.currentArea = 0;
  s.aliasCache = 0;
  s.selectedAlias = nullptr;
  return __INIT_NIL();
}

pObj_Node __DB_CloseArea(pObj_Node area) {
  const int slot = aliasSlot(area);
  if (area && area->objType == T_CHARPTR && slot < 0) __RuntimeError(ALIAS_DOES_NOT_EXISTS, 11);
  // Closing an area that holds no table does nothing.
  if (areaAt(slot)) closeArea(slot, false);
  return __INIT_NIL();
}

void __CloseTBL(int slot, int keepSlot) { closeArea(slot, keepSlot != 0); }

pObj_Node __Select(pObj_Node area) {
  State& s = state();
  const int slot = aliasSlot(area);
  if (slot < 0) return __INIT_DOUBLE(0);
  reachSlot(slot);
  s.currentArea = static_cast<int16_t>(slot);
  WorkArea* w = areaAt(slot);
  s.selectedAlias = w ? w->aliasObject : nullptr;
  return __INIT_DOUBLE(slot + 1);
}

pObj_Node __TBL_Select(pObj_Node area) { return __Select(area); }

pObj_Node __Alias(pObj_Node area) {
  WorkArea* w = areaAt(aliasSlot(area));
  return __INIT_CHARPTR(w ? w->alias.c_str() : "");
}

pObj_Node __Used() {
  State& s = state();
  return __INIT_BOOL(s.areaOpened && areaAt(s.currentArea) != nullptr);
}

int __GetAliasID(pObj_Node area) { return aliasSlot(area); }

int __GetRddKind(pObj_Node area, int* slot) {
  const int found = aliasSlot(area);
  if (slot) *slot = found;
  if (found < 0) return 6;
  WorkArea* w = areaAt(found);
  return w ? w->driverKind : 0;
}

pObj_Node __CommitAll() {
  State& s = state();
  for (int i = 0; i < s.TBL_amnt_open_dbs; ++i) {
    WorkArea* w = s.areas[static_cast<size_t>(i)];
    if (!w) continue;
    if (w->st.changed) writeRecord(*w);
    DbFlush(w->schema.db);
  }
  return __INIT_NIL();
}
