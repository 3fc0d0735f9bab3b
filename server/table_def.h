// The application tables the server keeps: their definitions, read from the
// structure files the administrator loads, and the three catalog tables
// (ZEL_TBL, ZEL_COLS, ZEL_IND) that describe them to the devices.
//
// Structure file, one statement a line ('#' starts a comment):
//
//   table CLIENTS [DESCRIPTION...]     name up to 15 characters
//   upload yes|no                      the devices send their changes back
//   field NAME TYPE [LENGTH [DECIMALS]]   TYPE C, N, D or L
//   index NAME KEY+EXPRESSION          the first index identifies a row
#ifndef ZELTA_SERVER_TABLE_DEF_H
#define ZELTA_SERVER_TABLE_DEF_H

#include <string>
#include <vector>

#include "table_rows.h"

namespace server {

struct IndexDef {
  std::string name;
  std::string expression;
  std::vector<int> fields;  // 0-based key fields
};

struct TableDef {
  long id = 0;  // TABLEID
  std::string name;
  std::string description;
  bool toHost = false;
  std::vector<wire::FieldDef> fields;
  std::vector<IndexDef> indexes;

  // The canonical structure text, as parseStructure reads it.
  std::string structureText() const;
  // The key that identifies a row: its first index's, or none.
  bool keyed() const { return !indexes.empty(); }
  std::string rowKey(const wire::Row& row) const;
  int fieldIndex(const std::string& name) const;  // -1 when absent
};

// False, with "line N: ..." in `error`, when the text is not a structure.
bool parseStructure(const std::string& text, TableDef& def, std::string& error);
// The field positions of a key expression ("CODE+DTOS(SINCE)"), read as the
// devices read it; false when a name is not a field.
bool parseKeyExpression(const std::string& expression, const std::vector<wire::FieldDef>& fields,
                        std::vector<int>& keyFields, std::string& error);

// The catalog tables, in the order the devices receive them.
const std::vector<TableDef>& catalogTables();
bool isCatalogTable(const std::string& name);
// The catalog's rows describing `tables`: one list per catalog table.
std::vector<std::vector<wire::Row>> catalogRows(const std::vector<TableDef>& tables);

// Hex text of a key, for the store's key column.
std::string hexKey(const std::string& key);
std::string unhexKey(const std::string& hex);

}  // namespace server

#endif
