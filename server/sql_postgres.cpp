// The store's SQL over PostgreSQL (libpq). Parameters travel as text, and
// every column comes back as text for SqlValue's accessors to read; a NULL
// stays null. Statements are prepared once per connection and kept by their
// text, except those that change the schema.
#include <libpq-fe.h>
#include <stdlib.h>
#include <string.h>

#include <unordered_map>

#include "sql.h"

namespace server {

namespace {

class PostgresConnection : public SqlConnection {
 public:
  explicit PostgresConnection(PGconn* db) : db_(db) {}
  ~PostgresConnection() override { PQfinish(db_); }

  bool exec(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
            std::string& error) override {
    if (!rows) return finish(run(sql, params), nullptr, error);
    return finish(
        run(sql, params),
        [rows](const SqlRow& row) {
          rows->push_back(row);
          return true;
        },
        error);
  }

  bool each(const std::string& sql, const std::vector<SqlValue>& params, const RowSink& sink,
            std::string& error) override {
    return finish(run(sql, params), sink, error);
  }

  bool script(const std::string& sql, std::string& error) override {
    return finish(PQexec(db_, sql.c_str()), nullptr, error);
  }

  int64_t changes() override { return changes_; }
  Dialect dialect() const override { return Dialect::Postgres; }
  bool lastWasConflict() const override { return conflict_; }

 private:
  PGresult* run(const std::string& sql, const std::vector<SqlValue>& params) {
    std::vector<std::string> texts(params.size());
    std::vector<const char*> values(params.size());
    for (size_t i = 0; i < params.size(); ++i) {
      if (params[i].isNull()) {
        values[i] = nullptr;
        continue;
      }
      texts[i] = params[i].asText();
      values[i] = texts[i].c_str();
    }
    return PQexecParams(db_, sql.c_str(), static_cast<int>(params.size()), nullptr, values.data(), nullptr, nullptr, 0);
  }

  // The name of the statement prepared for `sql`, or "" to run it directly.
  std::string prepared(const std::string& sql) {
    const auto found = names_.find(sql);
    if (found != names_.end()) return found->second;
    const bool keepable = sql.compare(0, 6, "CREATE") != 0 && sql.compare(0, 4, "DROP") != 0 &&
                          sql.compare(0, 5, "ALTER") != 0 && sql.compare(0, 5, "BEGIN") != 0 && sql != "COMMIT" &&
                          sql != "ROLLBACK";
    if (!keepable || names_.size() >= 256) return "";
    const std::string name = "zs" + std::to_string(names_.size() + 1);
    PGresult* r = PQprepare(db_, name.c_str(), sql.c_str(), 0, nullptr);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    PQclear(r);
    if (!ok) return "";
    names_.emplace(sql, name);
    return name;
  }

  bool finish(PGresult* r, const RowSink& sink, std::string& error) {
    conflict_ = false;
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
      conflict_ = state && strcmp(state, "23505") == 0;
      error = PQerrorMessage(db_);
      while (!error.empty() && (error.back() == '\n' || error.back() == ' ')) error.pop_back();
      PQclear(r);
      return false;
    }
    changes_ = atoll(PQcmdTuples(r));
    if (sink && status == PGRES_TUPLES_OK) {
      const int n = PQntuples(r), columns = PQnfields(r);
      SqlRow row(static_cast<size_t>(columns));
      for (int i = 0; i < n; ++i) {
        for (int c = 0; c < columns; ++c) {
          SqlValue& v = row[static_cast<size_t>(c)];
          if (PQgetisnull(r, i, c)) {
            v.kind = SqlValue::Null;
            continue;
          }
          v.kind = SqlValue::Text;
          v.text.assign(PQgetvalue(r, i, c), static_cast<size_t>(PQgetlength(r, i, c)));
        }
        if (!sink(row)) break;
      }
    }
    PQclear(r);
    return true;
  }

  PGconn* db_;
  std::unordered_map<std::string, std::string> names_;
  int64_t changes_ = 0;
  bool conflict_ = false;
};

}  // namespace

std::unique_ptr<SqlConnection> openPostgresConnection(const std::string& address, std::string& error) {
  PGconn* db = PQconnectdb(address.c_str());
  if (!db || PQstatus(db) != CONNECTION_OK) {
    error = db ? PQerrorMessage(db) : "out of memory";
    while (!error.empty() && (error.back() == '\n' || error.back() == ' ')) error.pop_back();
    PQfinish(db);
    return nullptr;
  }
  auto connection = std::make_unique<PostgresConnection>(db);
  // Notices (a table that already exists) are not the log's business.
  PQsetNoticeProcessor(
      db, [](void*, const char*) {}, nullptr);
  return connection;
}

}  // namespace server
