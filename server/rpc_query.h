// Queries from devices on the application's tables. A device is a client of
// the database, never its administrator: each table is seen as a view of its
// live rows with its own fields, writes go through triggers that keep the
// sync's keys and versions, and a statement may do nothing but select,
// insert and update on those views: SQLite's authorizer checks it, and on
// PostgreSQL the grants of a role that owns nothing.
#ifndef ZELTA_SERVER_RPC_QUERY_H
#define ZELTA_SERVER_RPC_QUERY_H

#include <stdint.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "table_def.h"

namespace server {

struct QueryResult {
  bool ok = false;
  std::string error;  // why it was refused or failed
  std::vector<wire::FieldDef> fields;
  std::vector<wire::Row> rows;
  long changed = 0;  // rows written by an insert or update
};

// A result column's name as a device field name: at most 10 letters, digits
// and '_', upper case, not starting with a digit, and unlike those `taken`.
std::string resultFieldName(const char* column, std::set<std::string>& taken);

class QueryDatabase {
 public:
  // Opens the SQLite file for a connection's queries; null with `error`.
  static std::unique_ptr<QueryDatabase> open(const std::string& path, std::string& error);
  // Opens a PostgreSQL database for them: the server's login keeps the views
  // and writes, statements run logged in as `role`, a role made when missing
  // and refused when it could do more than the views allow.
  static std::unique_ptr<QueryDatabase> openPostgres(const std::string& address, const std::string& role,
                                                     std::string& error);
  virtual ~QueryDatabase() = default;
  // Runs one statement: a select when `select`, else an insert or update,
  // on the `tables` the server keeps; `origin` marks the rows it writes.
  virtual QueryResult run(const std::string& statement, bool select, const std::vector<TableDef>& tables,
                          const std::string& origin) = 0;
};

}  // namespace server

#endif
