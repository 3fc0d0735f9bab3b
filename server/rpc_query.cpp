// Device queries on SQLite (rpc_query.h). Each connection has its own
// database handle with, in its TEMP schema, per application table:
//
//   view     NAME                 SELECT <fields> FROM main.zt_NAME WHERE zs_deleted = 0
//   trigger  zr_ins_NAME          INSTEAD OF INSERT: refuses a live key, bumps the
//                                 table's version, writes the row with its key
//   trigger  zr_upd_NAME          INSTEAD OF UPDATE: as insert; a changed key leaves
//                                 the old row deleted, so devices drop it
//
// zs_key (the row's key as the sync stores it), zs_origin (who wrote it)
// and zs_row (counts the rows written) serve the triggers only.
//
// The authorizer allows, at the top level of a statement, only SELECT, reads
// of those views, INSERT and UPDATE on them and a list of plain functions;
// what the views and triggers do inside is ours and allowed. A statement
// must be one statement. Values are converted to the field's type as the
// sync stores it (C cut to its length, N real, D day number, L 0/1).
#include "rpc_query.h"

#include <ctype.h>
#include <sqlite3.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <set>

#include "rpc_packets.h"

namespace server {

std::string resultFieldName(const char* column, std::set<std::string>& taken) {
  std::string name;
  for (const char* p = column; p && *p && name.size() < 10; ++p)
    name += isalnum(static_cast<unsigned char>(*p)) ? static_cast<char>(toupper(static_cast<unsigned char>(*p))) : '_';
  if (name.empty() || isdigit(static_cast<unsigned char>(name[0]))) name = "F" + name.substr(0, 9);
  const std::string base = name;
  for (int k = 2; taken.count(name); ++k) {
    const std::string suffix = std::to_string(k);
    name = base.substr(0, 10 - suffix.size()) + suffix;
  }
  taken.insert(name);
  return name;
}

namespace {

constexpr size_t kMaxResultBytes = 64u << 20;

const std::set<std::string> kFunctions = {
    "abs",    "avg",       "coalesce", "count",   "date",   "datetime", "group_concat", "ifnull", "iif",
    "instr",  "julianday", "length",   "like",    "glob",   "lower",    "ltrim",        "max",    "min",
    "nullif", "printf",    "format",   "replace", "round",  "rtrim",    "strftime",     "substr", "substring",
    "sum",    "time",      "total",    "trim",    "typeof", "upper"};

std::string quoted(const std::string& name) { return "\"" + name + "\""; }
std::string literal(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

// NEW.<field> as the field's stored type.
std::string converted(const wire::FieldDef& f, const char* row) {
  const std::string v = std::string(row) + "." + quoted(f.name);
  switch (f.type) {
    case 'N': return "CAST(coalesce(" + v + ", 0) AS REAL)";
    case 'D': return "CAST(coalesce(" + v + ", 0) AS INTEGER)";
    case 'L': return "(CASE WHEN coalesce(" + v + ", 0) THEN 1 ELSE 0 END)";
    default: return "substr(coalesce(" + v + ", ''), 1, " + std::to_string(f.length) + ")";
  }
}

class SqliteQueries : public QueryDatabase {
 public:
  explicit SqliteQueries(sqlite3* db) : db_(db) {}
  ~SqliteQueries() override { sqlite3_close(db_); }

  bool setUp(std::string& error) {
    sqlite3_busy_timeout(db_, 10000);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_limit(db_, SQLITE_LIMIT_SQL_LENGTH, 12000);
    sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
    const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS;
    if (sqlite3_create_function(db_, "zs_key", -1, flags | SQLITE_DETERMINISTIC, this, keyFunction, nullptr, nullptr) !=
            SQLITE_OK ||
        sqlite3_create_function(db_, "zs_origin", 0, flags, this, originFunction, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_create_function(db_, "zs_row", 0, flags, this, rowFunction, nullptr, nullptr) != SQLITE_OK) {
      error = sqlite3_errmsg(db_);
      return false;
    }
    return true;
  }

  QueryResult run(const std::string& statement, bool select, const std::vector<TableDef>& tables,
                  const std::string& origin) override {
    QueryResult out;
    origin_ = origin;
    if (!prepareViews(tables, out.error)) return out;
    sqlite3_set_authorizer(db_, authorize, this);
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db_, statement.c_str(), static_cast<int>(statement.size()), &stmt, &tail);
    if (rc != SQLITE_OK || !stmt) {
      out.error = rc == SQLITE_AUTH ? "statement not allowed: " + std::string(sqlite3_errmsg(db_))
                                    : std::string(sqlite3_errmsg(db_));
      if (!stmt) out.error = out.error.empty() ? "no statement" : out.error;
      sqlite3_finalize(stmt);
      sqlite3_set_authorizer(db_, nullptr, nullptr);
      return out;
    }
    for (; tail && *tail; ++tail) {
      if (!isspace(static_cast<unsigned char>(*tail)) && *tail != ';') {
        out.error = "one statement at a time";
        sqlite3_finalize(stmt);
        sqlite3_set_authorizer(db_, nullptr, nullptr);
        return out;
      }
    }
    const bool readOnly = sqlite3_stmt_readonly(stmt) != 0;
    if (select != (readOnly && sqlite3_column_count(stmt) > 0)) {
      out.error = select ? "not a select" : "not an insert or update";
    } else if (select) {
      collect(stmt, tables, out);
    } else {
      written_ = 0;
      int step;
      while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {}
      if (step == SQLITE_DONE) {
        out.ok = true;
        out.changed = written_;
      } else {
        out.error = sqlite3_errmsg(db_);
      }
    }
    sqlite3_finalize(stmt);
    sqlite3_set_authorizer(db_, nullptr, nullptr);
    return out;
  }

 private:
  static int authorize(void* self, int action, const char* a, const char* b, const char* database, const char* inner) {
    const SqliteQueries& q = *static_cast<SqliteQueries*>(self);
    const bool ownView = a && database && strcmp(database, "temp") == 0 && q.views_.count(a);
    // Inside a view or trigger, what ours use; a device's WHERE of an update
    // on a view is checked here too, so it cannot read the server's tables.
    if (inner) {
      const bool ours = a && database && strcmp(database, "main") == 0 &&
                        (strcmp(a, "zs_tables") == 0 || (strncmp(a, "zt_", 3) == 0 && q.views_.count(a + 3)));
      switch (action) {
        case SQLITE_READ:
        case SQLITE_INSERT:
        case SQLITE_UPDATE: return ours || ownView ? SQLITE_OK : SQLITE_DENY;
        case SQLITE_FUNCTION: {
          std::string name = b ? b : "";
          for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
          return kFunctions.count(name) || name == "zs_key" || name == "zs_origin" || name == "zs_row" ? SQLITE_OK
                                                                                                       : SQLITE_DENY;
        }
        case SQLITE_SELECT: return SQLITE_OK;
        default: return SQLITE_DENY;
      }
    }
    switch (action) {
      case SQLITE_SELECT: return SQLITE_OK;
      case SQLITE_READ:
      case SQLITE_INSERT:
      case SQLITE_UPDATE: return ownView ? SQLITE_OK : SQLITE_DENY;
      case SQLITE_FUNCTION: {
        std::string name = b ? b : "";
        for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        return kFunctions.count(name) ? SQLITE_OK : SQLITE_DENY;
      }
      default: return SQLITE_DENY;
    }
  }

  static void keyFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    const SqliteQueries& q = *static_cast<SqliteQueries*>(sqlite3_user_data(context));
    const char* name = argc > 0 ? reinterpret_cast<const char*>(sqlite3_value_text(argv[0])) : nullptr;
    auto def = name ? q.defs_.find(name) : q.defs_.end();
    if (def == q.defs_.end() || static_cast<size_t>(argc - 1) != def->second.fields.size()) {
      sqlite3_result_error(context, "zs_key: not a table of this server", -1);
      return;
    }
    wire::Row row(def->second.fields.size());
    for (size_t i = 0; i < row.size(); ++i) {
      sqlite3_value* v = argv[i + 1];
      switch (def->second.fields[i].type) {
        case 'N': row[i].number = sqlite3_value_double(v); break;
        case 'D': row[i].number = static_cast<double>(sqlite3_value_int64(v)); break;
        case 'L': row[i].logical = sqlite3_value_int64(v) != 0; break;
        default: {
          const unsigned char* t = sqlite3_value_text(v);
          row[i].text = t ? reinterpret_cast<const char*>(t) : "";
        }
      }
    }
    const std::string key = hexKey(def->second.rowKey(row));
    sqlite3_result_text(context, key.c_str(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
  }

  // Counts the rows a trigger writes: SQLite counts none for a view.
  static void rowFunction(sqlite3_context* context, int, sqlite3_value**) {
    ++static_cast<SqliteQueries*>(sqlite3_user_data(context))->written_;
    sqlite3_result_null(context);
  }

  static void originFunction(sqlite3_context* context, int, sqlite3_value**) {
    const SqliteQueries& q = *static_cast<SqliteQueries*>(sqlite3_user_data(context));
    sqlite3_result_text(context, q.origin_.c_str(), static_cast<int>(q.origin_.size()), SQLITE_TRANSIENT);
  }

  bool exec(const std::string& sql, std::string& error) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    error = message ? message : "the query database failed";
    sqlite3_free(message);
    return false;
  }

  // The views and triggers of the tables, made again when a table changed.
  bool prepareViews(const std::vector<TableDef>& tables, std::string& error) {
    std::string signature;
    for (const TableDef& t : tables) signature += t.structureText() + "\n";
    if (signature == signature_) return true;
    std::string sql;
    for (const std::string& v : views_) sql += "DROP VIEW IF EXISTS temp." + quoted(v) + ";";
    views_.clear();
    defs_.clear();
    for (const TableDef& t : tables) {
      if (!t.keyed() || t.fields.empty()) continue;
      // Inside a trigger the tables written are named without their schema.
      const std::string name = t.name, data = quoted("zt_" + t.name), source = "main." + data;
      std::string list, fresh, keyArgs = literal(name), oldKey = literal(name), set;
      for (const wire::FieldDef& f : t.fields) {
        list += (list.empty() ? "" : ", ") + quoted(f.name);
        fresh += ", " + converted(f, "NEW");
        keyArgs += ", " + converted(f, "NEW");
        oldKey += ", OLD." + quoted(f.name);
        set += ", " + quoted(f.name) + " = excluded." + quoted(f.name);
      }
      const std::string newKey = "zs_key(" + keyArgs + ")", previousKey = "zs_key(" + oldKey + ")";
      const std::string version = "(SELECT version FROM main.zs_tables WHERE name = " + literal(name) + ")";
      const std::string bump = "UPDATE zs_tables SET version = version + 1 WHERE name = " + literal(name) + ";";
      const std::string write = "INSERT INTO " + data + " (zs_key, zs_version, zs_deleted, zs_origin, " + list +
                                ") VALUES (" + newKey + ", " + version + ", 0, zs_origin()" + fresh +
                                ") ON CONFLICT (zs_key) DO UPDATE SET zs_version = excluded.zs_version,"
                                " zs_deleted = 0, zs_origin = excluded.zs_origin" +
                                set + ";";
      const std::string live = "EXISTS (SELECT 1 FROM " + data + " WHERE zs_key = " + newKey + " AND zs_deleted = 0)";
      sql += "CREATE TEMP VIEW " + quoted(name) + " AS SELECT " + list + " FROM " + source + " WHERE zs_deleted = 0;";
      sql += "CREATE TEMP TRIGGER " + quoted("zr_ins_" + name) + " INSTEAD OF INSERT ON " + quoted(name) +
             " BEGIN SELECT RAISE(ABORT, 'a row with this key exists') WHERE " + live + ";" + bump + write +
             " SELECT zs_row(); END;";
      sql += "CREATE TEMP TRIGGER " + quoted("zr_upd_" + name) + " INSTEAD OF UPDATE ON " + quoted(name) +
             " BEGIN SELECT RAISE(ABORT, 'a row with this key exists') WHERE " + previousKey + " <> " + newKey +
             " AND " + live + ";" + bump + "UPDATE " + data + " SET zs_deleted = 1, zs_version = " + version +
             ", zs_origin = zs_origin() WHERE zs_key = " + previousKey + " AND zs_key <> " + newKey + ";" + write +
             " SELECT zs_row(); END;";
      views_.insert(name);
      defs_[name] = t;
    }
    if (!exec(sql, error)) {
      signature_.clear();
      return false;
    }
    signature_ = signature;
    return true;
  }

  // The rows of a select, with a field for each column: the table field it
  // comes from, else one that holds what the column gave.
  void collect(sqlite3_stmt* stmt, const std::vector<TableDef>& tables, QueryResult& out) {
    (void)tables;
    const int columns = sqlite3_column_count(stmt);
    if (columns > wire::kMaxResultFields) {
      out.error = "a result set holds at most 500 fields";
      return;
    }
    std::vector<std::vector<sqlite3_value*>> values;
    size_t bytes = 0;
    int step;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
      std::vector<sqlite3_value*> row;
      for (int c = 0; c < columns; ++c) {
        row.push_back(sqlite3_value_dup(sqlite3_column_value(stmt, c)));
        bytes += static_cast<size_t>(sqlite3_column_bytes(stmt, c)) + 8;
      }
      values.push_back(std::move(row));
      if (bytes > kMaxResultBytes) break;
    }
    auto release = [&values] {
      for (auto& row : values)
        for (sqlite3_value* v : row) sqlite3_value_free(v);
    };
    if (bytes > kMaxResultBytes) {
      out.error = "the result set is too large";
      return release();
    }
    if (step != SQLITE_DONE) {
      out.error = sqlite3_errmsg(db_);
      return release();
    }
    std::set<std::string> names;
    for (int c = 0; c < columns; ++c) out.fields.push_back(fieldOf(stmt, c, values, names));
    for (const auto& source : values) {
      wire::Row row(static_cast<size_t>(columns));
      for (int c = 0; c < columns; ++c) {
        const wire::FieldDef& f = out.fields[static_cast<size_t>(c)];
        sqlite3_value* v = source[static_cast<size_t>(c)];
        wire::Value& value = row[static_cast<size_t>(c)];
        switch (f.type) {
          case 'N': value.number = sqlite3_value_double(v); break;
          case 'D': value.number = static_cast<double>(sqlite3_value_int64(v)); break;
          case 'L': value.logical = sqlite3_value_int64(v) != 0; break;
          default: {
            const unsigned char* t = sqlite3_value_text(v);
            value.text = t ? reinterpret_cast<const char*>(t) : "";
            if (value.text.size() > static_cast<size_t>(f.length)) value.text.resize(static_cast<size_t>(f.length));
          }
        }
      }
      out.rows.push_back(std::move(row));
    }
    release();
    out.ok = true;
  }

  wire::FieldDef fieldOf(sqlite3_stmt* stmt, int c, const std::vector<std::vector<sqlite3_value*>>& values,
                         std::set<std::string>& names) {
    wire::FieldDef f;
    const char* table = sqlite3_column_table_name(stmt, c);
    const char* origin = sqlite3_column_origin_name(stmt, c);
    bool known = false;
    if (table && origin) {
      std::string t = table;
      if (t.rfind("zt_", 0) == 0) t = t.substr(3);
      auto def = defs_.find(t);
      if (def != defs_.end()) {
        const int i = def->second.fieldIndex(origin);
        if (i >= 0) {
          f = def->second.fields[static_cast<size_t>(i)];
          known = true;
        }
      }
    }
    if (!known) {
      bool numbers = true, any = false, whole = true;
      size_t longest = 1;
      for (const auto& row : values) {
        sqlite3_value* v = row[static_cast<size_t>(c)];
        const int type = sqlite3_value_type(v);
        if (type == SQLITE_NULL) continue;
        any = true;
        if (type == SQLITE_FLOAT) whole = false;
        if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) numbers = false;
        longest = std::max(longest, static_cast<size_t>(sqlite3_value_bytes(v)));
      }
      if (any && numbers) {
        f.type = 'N';
        f.length = 18;
        f.decimals = whole ? 0 : 4;
      } else {
        f.type = 'C';
        f.length = static_cast<int>(std::min<size_t>(longest, 254));
      }
    }
    f.name = resultFieldName(sqlite3_column_name(stmt, c), names);
    return f;
  }

  sqlite3* db_;
  std::string origin_;
  long written_ = 0;
  std::string signature_;
  std::set<std::string> views_;
  std::map<std::string, TableDef> defs_;
};

}  // namespace

std::unique_ptr<QueryDatabase> QueryDatabase::open(const std::string& path, std::string& error) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    error = db ? sqlite3_errmsg(db) : "cannot open the database";
    sqlite3_close(db);
    return nullptr;
  }
  auto q = std::make_unique<SqliteQueries>(db);
  if (!q->setUp(error)) return nullptr;
  return q;
}

}  // namespace server
