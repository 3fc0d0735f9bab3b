// The store's SQL over SQLite. Parameters are bound by name ("$1" ...), so
// one statement text serves both databases. Prepared statements are kept by
// their text and reused. The database runs in WAL mode, so the
// administration command can work on the file while a server runs.
#include <sqlite3.h>
#include <stdlib.h>

#include <unordered_map>

#include "sql.h"

namespace server {

int64_t SqlValue::asInt() const {
  switch (kind) {
    case Int: return integer;
    case Real: return static_cast<int64_t>(real);
    case Text: return strtoll(text.c_str(), nullptr, 10);
    default: return 0;
  }
}

double SqlValue::asReal() const {
  switch (kind) {
    case Int: return static_cast<double>(integer);
    case Real: return real;
    case Text: return strtod(text.c_str(), nullptr);
    default: return 0;
  }
}

std::string SqlValue::asText() const {
  switch (kind) {
    case Int: return std::to_string(integer);
    case Real: {
      char buffer[64];
      snprintf(buffer, sizeof buffer, "%.17g", real);
      return buffer;
    }
    case Text: return text;
    default: return "";
  }
}

namespace {

class SqliteConnection : public SqlConnection {
 public:
  explicit SqliteConnection(sqlite3* db) : db_(db) {}
  ~SqliteConnection() override {
    for (auto& [text, stmt] : prepared_) sqlite3_finalize(stmt);
    sqlite3_close(db_);
  }

  bool exec(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
            std::string& error) override {
    if (!rows) return each(sql, params, nullptr, error);
    return each(
        sql, params,
        [rows](const SqlRow& row) {
          rows->push_back(row);
          return true;
        },
        error);
  }

  bool each(const std::string& sql, const std::vector<SqlValue>& params, const RowSink& sink,
            std::string& error) override {
    conflict_ = false;
    sqlite3_stmt* stmt = statement(sql);
    if (!stmt) return fail(error, nullptr);
    // Each of the statement's parameters by its place: "$k" takes params[k - 1].
    const int count = sqlite3_bind_parameter_count(stmt);
    for (int at = 1; at <= count; ++at) {
      const char* name = sqlite3_bind_parameter_name(stmt, at);
      const long k = name && name[0] == '$' ? strtol(name + 1, nullptr, 10) : 0;
      if (k < 1 || static_cast<size_t>(k) > params.size()) continue;
      const SqlValue& v = params[static_cast<size_t>(k - 1)];
      switch (v.kind) {
        case SqlValue::Int: sqlite3_bind_int64(stmt, at, v.integer); break;
        case SqlValue::Real: sqlite3_bind_double(stmt, at, v.real); break;
        case SqlValue::Text:
          sqlite3_bind_text(stmt, at, v.text.data(), static_cast<int>(v.text.size()), SQLITE_TRANSIENT);
          break;
        default: sqlite3_bind_null(stmt, at);
      }
    }
    SqlRow row;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      if (!sink) continue;
      row.resize(static_cast<size_t>(sqlite3_column_count(stmt)));
      for (size_t c = 0; c < row.size(); ++c) column(stmt, static_cast<int>(c), row[c]);
      if (!sink(row)) {
        rc = SQLITE_DONE;
        break;
      }
    }
    if (rc != SQLITE_DONE) return fail(error, stmt);
    release(sql, stmt);
    return true;
  }

  bool script(const std::string& sql, std::string& error) override {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    error = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    return false;
  }

  int64_t changes() override { return sqlite3_changes(db_); }
  Dialect dialect() const override { return Dialect::Sqlite; }
  bool lastWasConflict() const override { return conflict_; }

 private:
  // Reads a column into `v`, keeping its text's room from row to row.
  static void column(sqlite3_stmt* stmt, int c, SqlValue& v) {
    switch (sqlite3_column_type(stmt, c)) {
      case SQLITE_INTEGER:
        v.kind = SqlValue::Int;
        v.integer = sqlite3_column_int64(stmt, c);
        break;
      case SQLITE_FLOAT:
        v.kind = SqlValue::Real;
        v.real = sqlite3_column_double(stmt, c);
        break;
      case SQLITE_NULL: v.kind = SqlValue::Null; break;
      default: {
        const unsigned char* t = sqlite3_column_text(stmt, c);
        v.kind = SqlValue::Text;
        v.text.assign(reinterpret_cast<const char*>(t), static_cast<size_t>(sqlite3_column_bytes(stmt, c)));
      }
    }
  }

  // Statements that change the schema are made afresh each time.
  static bool keepable(const std::string& sql) {
    return sql.compare(0, 6, "CREATE") != 0 && sql.compare(0, 4, "DROP") != 0 && sql.compare(0, 5, "ALTER") != 0;
  }

  sqlite3_stmt* statement(const std::string& sql) {
    const auto found = prepared_.find(sql);
    if (found != prepared_.end()) return found->second;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK) {
      sqlite3_finalize(stmt);
      return nullptr;
    }
    if (keepable(sql) && prepared_.size() < 256) prepared_.emplace(sql, stmt);
    return stmt;
  }

  void release(const std::string& sql, sqlite3_stmt* stmt) {
    if (prepared_.count(sql)) {
      sqlite3_reset(stmt);
      sqlite3_clear_bindings(stmt);
    } else {
      sqlite3_finalize(stmt);
    }
  }

  bool fail(std::string& error, sqlite3_stmt* stmt) {
    conflict_ = (sqlite3_extended_errcode(db_) & 0xff) == SQLITE_CONSTRAINT;
    error = sqlite3_errmsg(db_);
    if (stmt) {
      const char* text = sqlite3_sql(stmt);
      release(text ? text : "", stmt);
    }
    return false;
  }

  sqlite3* db_;
  std::unordered_map<std::string, sqlite3_stmt*> prepared_;
  bool conflict_ = false;
};

}  // namespace

std::unique_ptr<SqlConnection> openSqliteConnection(const std::string& path, std::string& error) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) !=
      SQLITE_OK) {
    error = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 10000);
  auto connection = std::make_unique<SqliteConnection>(db);
  if (!connection->script("PRAGMA journal_mode=WAL; PRAGMA foreign_keys=ON;", error)) return nullptr;
  return connection;
}

}  // namespace server
