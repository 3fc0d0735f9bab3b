// The SQLite store: one database file, created with its tables on first
// start. It runs in WAL mode, so the administration command can read and
// write while a server serves sessions from the same file.
//
//   zs_devices(user, device, added, last_session, last_result, sessions)
//     primary key (user, device)
#include <sqlite3.h>

#include "store.h"

namespace server {

namespace {

const char* const kSchema =
    "PRAGMA journal_mode=WAL;"
    "CREATE TABLE IF NOT EXISTS zs_devices ("
    " user TEXT NOT NULL,"
    " device TEXT NOT NULL,"
    " added TEXT NOT NULL DEFAULT (datetime('now')),"
    " last_session TEXT NOT NULL DEFAULT '',"
    " last_result TEXT NOT NULL DEFAULT '',"
    " sessions INTEGER NOT NULL DEFAULT 0,"
    " PRIMARY KEY (user, device));";

// One prepared statement, finalised when it goes out of scope.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  Statement& bind(int i, const std::string& text) {
    sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
  }
  int step() { return sqlite3_step(stmt_); }
  std::string text(int column) const {
    const unsigned char* t = sqlite3_column_text(stmt_, column);
    return t ? reinterpret_cast<const char*>(t) : "";
  }
  long number(int column) const { return static_cast<long>(sqlite3_column_int64(stmt_, column)); }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

class SqliteStore : public Store {
 public:
  explicit SqliteStore(sqlite3* db) : db_(db) {}
  ~SqliteStore() override { sqlite3_close(db_); }

  bool deviceKnown(const std::string& user, const std::string& device, std::string& error) override {
    Statement s(db_, "SELECT 1 FROM zs_devices WHERE user = ?1 AND device = ?2");
    if (!s.ok()) return fail(error);
    const int rc = s.bind(1, user).bind(2, device).step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return fail(error);
    return rc == SQLITE_ROW;
  }

  bool addDevice(const std::string& user, const std::string& device, std::string& error) override {
    Statement s(db_, "INSERT INTO zs_devices (user, device) VALUES (?1, ?2)");
    if (!s.ok()) return fail(error);
    const int rc = s.bind(1, user).bind(2, device).step();
    if (rc == SQLITE_CONSTRAINT) {
      error = "the user " + user + " is already registered on device " + device;
      return false;
    }
    return rc == SQLITE_DONE || fail(error);
  }

  long removeDevices(const std::string& user, const std::string& device, std::string& error) override {
    Statement s(db_, device.empty() ? "DELETE FROM zs_devices WHERE user = ?1"
                                    : "DELETE FROM zs_devices WHERE user = ?1 AND device = ?2");
    if (s.ok()) {
      s.bind(1, user);
      if (!device.empty()) s.bind(2, device);
      if (s.step() == SQLITE_DONE) return sqlite3_changes(db_);
    }
    fail(error);
    return -1;
  }

  bool listDevices(std::vector<DeviceRow>& rows, std::string& error) override {
    Statement s(db_,
                "SELECT user, device, added, last_session, last_result, sessions FROM zs_devices "
                "ORDER BY user, device");
    if (!s.ok()) return fail(error);
    int rc;
    while ((rc = s.step()) == SQLITE_ROW)
      rows.push_back({s.text(0), s.text(1), s.text(2), s.text(3), s.text(4), s.number(5)});
    return rc == SQLITE_DONE || fail(error);
  }

  bool recordSession(const std::string& user, const std::string& device, const std::string& result,
                     std::string& error) override {
    Statement s(db_,
                "UPDATE zs_devices SET last_session = datetime('now'), last_result = ?3, sessions = sessions + 1 "
                "WHERE user = ?1 AND device = ?2");
    if (!s.ok()) return fail(error);
    return s.bind(1, user).bind(2, device).bind(3, result).step() == SQLITE_DONE || fail(error);
  }

  long taskCount(const std::string&, const std::string&, std::string&) override { return 0; }

 private:
  bool fail(std::string& error) {
    error = sqlite3_errmsg(db_);
    return false;
  }

  sqlite3* db_;
};

}  // namespace

std::unique_ptr<Store> openSqliteStore(const std::string& path, std::string& error) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) !=
      SQLITE_OK) {
    error = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 5000);
  char* message = nullptr;
  if (sqlite3_exec(db, kSchema, nullptr, nullptr, &message) != SQLITE_OK) {
    error = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    sqlite3_close(db);
    return nullptr;
  }
  return std::make_unique<SqliteStore>(db);
}

}  // namespace server
