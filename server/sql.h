// The SQL the server's store speaks, over SQLite or PostgreSQL. Statements
// name their parameters $1, $2 ... in both; values go in and come out as
// SqlValue (PostgreSQL hands every column back as text, which the
// accessors read).
#ifndef ZELTA_SERVER_SQL_H
#define ZELTA_SERVER_SQL_H

#include <stdint.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace server {

struct SqlValue {
  enum Kind { Null, Int, Real, Text } kind = Null;
  int64_t integer = 0;
  double real = 0;
  std::string text;

  SqlValue() = default;
  SqlValue(int64_t i) : kind(Int), integer(i) {}
  SqlValue(int i) : kind(Int), integer(i) {}
  SqlValue(double r) : kind(Real), real(r) {}
  SqlValue(std::string t) : kind(Text), text(std::move(t)) {}
  SqlValue(const char* t) : kind(Text), text(t) {}

  int64_t asInt() const;
  double asReal() const;
  std::string asText() const;
  bool isNull() const { return kind == Null; }
};

using SqlRow = std::vector<SqlValue>;

enum class Dialect { Sqlite, Postgres };

class SqlConnection {
 public:
  virtual ~SqlConnection() = default;
  // Runs one statement; rows (when asked for) receive its result. False with
  // the database's message in `error` on a failure.
  virtual bool exec(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
                    std::string& error) = 0;
  // The same, handing each row to `sink` as it is read (one row object,
  // reused), so a large result is never held whole; a sink that returns
  // false stops the reading, which is no failure.
  using RowSink = std::function<bool(const SqlRow&)>;
  virtual bool each(const std::string& sql, const std::vector<SqlValue>& params, const RowSink& sink,
                    std::string& error) = 0;
  // Runs statements separated by ';' without parameters.
  virtual bool script(const std::string& sql, std::string& error) = 0;
  // Rows changed by the last statement.
  virtual int64_t changes() = 0;
  virtual Dialect dialect() const = 0;
  // True when the last failure was a unique-key violation.
  virtual bool lastWasConflict() const = 0;
};

// ":memory:" gives a private in-memory database.
std::unique_ptr<SqlConnection> openSqliteConnection(const std::string& path, std::string& error);
// A libpq connection string ("postgresql://..." or "host=... dbname=...").
std::unique_ptr<SqlConnection> openPostgresConnection(const std::string& address, std::string& error);

// Runs `body` inside the transaction `begin` opens; commits when it returns
// true, rolls back otherwise (and on a commit that fails).
template <typename Body>
bool inTransaction(SqlConnection& db, std::string& error, const char* begin, Body&& body) {
  if (!db.exec(begin, {}, nullptr, error)) return false;
  if (body() && db.exec("COMMIT", {}, nullptr, error)) return true;
  std::string ignored;
  db.exec("ROLLBACK", {}, nullptr, ignored);
  return false;
}

}  // namespace server

#endif
