// The catalog tables that describe the tables the synchronisation manages:
// ZEL_TBL (the tables), ZEL_COLS (their columns) and ZEL_IND (their
// indexes). They are ordinary tables with indexes, made by the run-time when
// missing and then filled by the synchronisation like any downloaded table.
#include <stdio.h>

#include <string>
#include <vector>

#include "core.h"
#include "data_state.h"
#include "work_area.h"
#include "zeltaarray.h"
#include "zeltardd.h"

namespace data {

namespace {

struct Column {
  const char* name;
  const char* type;
  int length;
};

struct CatalogTable {
  const char* name;
  std::vector<Column> columns;
  std::vector<std::pair<const char*, const char*>> indexes;  // name, key
  int failureMessage;                                        // sync message logged when it cannot be made or opened
};

const CatalogTable& table(int which) {
  static const CatalogTable kTables[] = {
      {"ZEL_TBL",
       {{"TABLEID", "N", 4},
        {"TBLNAME", "C", 15},
        {"DESCR", "C", 15},
        {"TBLTOHOST", "C", 1},
        {"TBL_EMP", "C", 2},
        {"TBLTP", "C", 15},
        {"AUX_TBL1", "C", 15},
        {"AUX_TBL2", "C", 15},
        {"AUX_TBL3", "C", 15}},
       {{"SYNC_IDX", "TBL_EMP+TBLNAME"}},
       30},
      {"ZEL_IND",
       {{"TABLEID", "N", 4}, {"NOME_IDX", "C", 30}, {"EXPRE", "C", 250}, {"PK", "C", 1}},
       {{"ZEL_IND_IDX", "TABLEID+NOME_IDX"}},
       31},
      {"ZEL_COLS",
       {{"TABLEID", "N", 4},
        {"FLDPOS", "C", 3},
        {"FLDNAME", "C", 30},
        {"FLDTYPE", "C", 1},
        {"FLDLEN", "N", 20},
        {"FLDLENDEC", "N", 20}},
       {{"ZEL_COLS_IDX", "TABLEID+FLDPOS"}, {"ZEL_COLS_FLD", "FLDNAME+TABLEID+FLDPOS"}},
       31},
  };
  return kTables[which];
}

void logFailure(int message) {
  const char* text = state().syncMessage ? state().syncMessage(message) : nullptr;
  char fallback[64];
  if (!text) {
    snprintf(fallback, sizeof fallback, "Falhou Open em %s.", message == 30 ? "ZEL_TBL" : "ZEL_IND");
    text = fallback;
  }
  __WriteMsgLog(text);
}

// Creates the table with its structure, opens it under its name and creates
// its indexes in their order, leaving it open.
int createCatalogTable(int which) {
  const CatalogTable& t = table(which);
  __begin_context();
  pObj_Node structure = __fcpObj_CT(vArray);
  for (const Column& c : t.columns)
    __AAdd(structure, __CreateArray(__INIT_CHARPTR(c.name), __INIT_CHARPTR(c.type), __INIT_DOUBLE(c.length),
                                    __INIT_DOUBLE(0), __INIT_NUL()));
  const bool created = __GET_BOOL(__DBCREATE(__INIT_CHARPTR(t.name), structure, __INIT_CHARPTR("LOCAL")));
  if (created) {
    __DBUSEAREA(__INIT_BOOL(1), __INIT_CHARPTR("LOCAL"), __INIT_CHARPTR(t.name), __INIT_CHARPTR(t.name), __INIT_BOOL(1),
                __INIT_BOOL(0));
    for (const auto& index : t.indexes)
      __DBCREATEINDEX(__INIT_CHARPTR(t.name), __INIT_CHARPTR(index.first), __INIT_CHARPTR(index.second));
  }
  __end_context(nullptr);
  return created ? 1 : 0;
}

// The catalog table open in an area: made when missing, the open area used
// when there is one, else opened with its first index as the order.
int openCatalogTable(int which) {
  const CatalogTable& t = table(which);
  if (!DmFindDatabase(0, t.name)) {
    if (createCatalogTable(which)) return 1;
    logFailure(t.failureMessage);
    return 0;
  }
  __begin_context();
  pObj_Node alias = __INIT_CHARPTR(t.name);
  if (aliasSlot(alias) < 0 || !areaAt(aliasSlot(alias))) {
    __DBUSEAREA(__INIT_BOOL(1), __INIT_CHARPTR("LOCAL"), alias, alias, __INIT_BOOL(1), __INIT_BOOL(0));
    __UseIndex(alias, __INIT_CHARPTR(t.indexes.front().first));
  }
  __end_context(nullptr);
  return 1;
}

}  // namespace

}  // namespace data

using namespace data;

int OpenCatalogTables(int what) {
  if (what < 0 || what > 3) return 0;
  if (what != 3) return openCatalogTable(what);
  for (int which = 0; which < 3; ++which)
    if (!openCatalogTable(which)) return 0;
  return 1;
}

int CreateSysTables() { return createCatalogTable(0); }
int CreateSysIndex() { return createCatalogTable(1); }
int CreateSysCols() { return createCatalogTable(2); }

int __GetFlagTbl(void* handle) {
  uint32_t size = 0;
  const char* p = recordBytes(static_cast<DmOpenRef>(handle), 0, &size);
  return p && size > 0 ? static_cast<unsigned char>(p[0]) : 0;
}
