// Device queries on PostgreSQL (rpc_query.h). A device statement runs on a
// connection of its own, logged in as the device role: a role that owns
// nothing and may only select, insert and update the views below. The
// server's own login keeps the views, and writes what a statement wrote.
//
//   schema  zs_rpc                       owned by the server's login
//   view    zs_rpc.<name>                SELECT <fields> FROM public."zt_NAME"
//                                        WHERE zs_deleted = 0 (names in lower
//                                        case, so unquoted names of any case
//                                        match); its comment is the structure
//   trigger zr_ins/zr_upd on each view   INSTEAD OF: security-definer functions
//                                        that note NEW (and OLD) in the journal
//   table   public.zs_rpc_journal(tx, seq, tbl, side 'O'|'N', field, value)
//
// A write runs in three steps:
//
//   device connection  BEGIN; <statement>; SELECT txid_current(); COMMIT
//   server login       DELETE FROM zs_rpc_journal WHERE tx = $1 RETURNING ...
//   server login       BEGIN; bump each table's version; per noted row: refuse
//                      a live key, leave a changed key deleted, write the row
//                      with its key, version and origin; COMMIT
//
// so keys come from the same code as every other write of the store. The
// journal is reached only through the triggers, and a transaction sees only
// its own entries. Selects run in a read-only transaction that is rolled
// back. Each statement is one statement (the extended protocol takes no
// more), must begin with the word its command asks for, and has a time-out.
#include <ctype.h>
#include <libpq-fe.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <set>

#include "rpc_packets.h"
#include "rpc_query.h"
#include "sql.h"

namespace server {

namespace {

constexpr size_t kMaxResultBytes = 64u << 20;
constexpr const char* kStatementTimeout = "30000";

// PostgreSQL type numbers of the columns a result set types by itself.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701, kNumeric = 1700;

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}
std::string quoted(const std::string& name) { return "\"" + name + "\""; }
std::string literal(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

// The first word of a statement, past blanks and comments, in lower case.
std::string firstWord(const std::string& sql) {
  size_t i = 0;
  while (i < sql.size()) {
    if (isspace(static_cast<unsigned char>(sql[i]))) {
      ++i;
    } else if (sql.compare(i, 2, "--") == 0) {
      i = sql.find('\n', i);
      if (i == std::string::npos) return "";
    } else if (sql.compare(i, 2, "/*") == 0) {
      i = sql.find("*/", i + 2);
      if (i == std::string::npos) return "";
      i += 2;
    } else {
      break;
    }
  }
  std::string word;
  while (i < sql.size() && isalpha(static_cast<unsigned char>(sql[i]))) word += sql[i++];
  return lower(word);
}

// A text the database gave as the field's stored value.
wire::Value storedValue(const wire::FieldDef& f, const char* text, bool isNull) {
  wire::Value v;
  if (isNull) return v;
  switch (f.type) {
    case 'N': v.number = strtod(text, nullptr); break;
    case 'D': v.number = static_cast<double>(strtoll(text, nullptr, 10)); break;
    case 'L': v.logical = strcmp(text, "t") == 0 || strcmp(text, "true") == 0 || strtoll(text, nullptr, 10) != 0; break;
    default:
      v.text = text;
      if (v.text.size() > static_cast<size_t>(f.length)) v.text.resize(static_cast<size_t>(f.length));
  }
  return v;
}

SqlValue param(const wire::FieldDef& f, const wire::Value& v) {
  switch (f.type) {
    case 'N': return SqlValue(v.number);
    case 'D': return SqlValue(static_cast<int64_t>(v.number));
    case 'L': return SqlValue(v.logical ? 1 : 0);
    default: return SqlValue(wire::valueText(f, v));
  }
}

class Result {
 public:
  explicit Result(PGresult* r) : r_(r) {}
  ~Result() { PQclear(r_); }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  PGresult* get() const { return r_; }
  bool ok() const {
    const ExecStatusType s = PQresultStatus(r_);
    return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
  }

 private:
  PGresult* r_;
};

class PostgresQueries : public QueryDatabase {
 public:
  PostgresQueries(std::unique_ptr<SqlConnection> owner, PGconn* device, std::string role)
      : owner_(std::move(owner)), device_(device), role_(std::move(role)) {}
  ~PostgresQueries() override { PQfinish(device_); }

  QueryResult run(const std::string& statement, bool select, const std::vector<TableDef>& tables,
                  const std::string& origin) override {
    QueryResult out;
    const std::string word = firstWord(statement);
    if (select ? word != "select" : word != "insert" && word != "update") {
      out.error = select ? "not a select" : "not an insert or update";
      return out;
    }
    if (statement.size() > 12000) {
      out.error = "the statement is too long";
      return out;
    }
    if (!prepareViews(tables, out.error)) return out;
    if (select) {
      runSelect(statement, out);
    } else {
      long long tx = 0;
      if (runWrite(statement, tx, out.error)) out.ok = apply(tx, origin, out.changed, out.error);
    }
    // A session lock taken by a statement would outlive it and could hold
    // the server's own set-up back.
    PQclear(PQexec(device_, "SELECT pg_advisory_unlock_all()"));
    return out;
  }

  // The server's login makes the role when it is missing; an existing role
  // must be one that can do nothing but what the views allow.
  static bool checkRole(SqlConnection& owner, const std::string& role, std::string& error) {
    const std::string query =
        "SELECT r.rolsuper OR r.rolcreaterole OR r.rolcreatedb OR r.rolreplication OR r.rolbypassrls,"
        " EXISTS (SELECT 1 FROM pg_auth_members m WHERE m.member = r.oid),"
        " EXISTS (SELECT 1 FROM pg_class WHERE relowner = r.oid)"
        "  OR EXISTS (SELECT 1 FROM pg_namespace WHERE nspowner = r.oid)"
        "  OR EXISTS (SELECT 1 FROM pg_proc WHERE proowner = r.oid)"
        "  OR EXISTS (SELECT 1 FROM pg_database WHERE datdba = r.oid),"
        " EXISTS (SELECT 1 FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace"
        "  WHERE n.nspname NOT IN ('pg_catalog', 'information_schema', 'zs_rpc')"
        "  AND c.relkind IN ('r', 'v', 'm', 'p', 'f', 'S')"
        "  AND (has_table_privilege(r.oid, c.oid, 'INSERT, UPDATE, DELETE, TRUNCATE, REFERENCES, TRIGGER')"
        "   OR (c.relkind <> 'S' AND has_table_privilege(r.oid, c.oid, 'SELECT'))"
        "   OR (c.relkind = 'S' AND has_sequence_privilege(r.oid, c.oid, 'USAGE, SELECT, UPDATE'))))"
        " FROM pg_roles r WHERE r.rolname = $1";
    std::vector<SqlRow> rows;
    if (!owner.exec(query, {role}, &rows, error)) return false;
    if (rows.empty()) {
      // Another server may make it at the same time: what counts is the
      // role that is there afterwards.
      std::string why;
      owner.script("CREATE ROLE " + quoted(role) +
                       " LOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE NOINHERIT NOREPLICATION NOBYPASSRLS",
                   why);
      if (!owner.exec(query, {role}, &rows, error)) return false;
      if (rows.empty()) {
        error = "the device role " + role + " is missing and the server cannot make it: " + why;
        return false;
      }
    }
    const auto yes = [](const SqlValue& v) { return v.asText() == "t"; };
    if (yes(rows[0][0]) || yes(rows[0][1]) || yes(rows[0][2]) || yes(rows[0][3])) {
      error = "the device role " + role + " may do more than query the application's tables";
      return false;
    }
    return true;
  }

 private:
  bool deviceExec(const char* sql, std::string& error) {
    Result r(PQexec(device_, sql));
    if (r.ok()) return true;
    error = message();
    return false;
  }

  std::string message() const {
    std::string m = PQerrorMessage(device_);
    while (!m.empty() && (m.back() == '\n' || m.back() == ' ')) m.pop_back();
    if (m.rfind("ERROR:  ", 0) == 0) m = m.substr(8);
    return m.empty() ? "the query failed" : m;
  }

  // Only the views are found by their bare names, and only for so long.
  bool begin(bool readOnly, std::string& error) {
    const std::string sql = std::string(readOnly ? "BEGIN READ ONLY" : "BEGIN") +
                            "; SET LOCAL statement_timeout = " + kStatementTimeout +
                            "; SET LOCAL search_path = zs_rpc, pg_catalog";
    return deviceExec(sql.c_str(), error);
  }

  void runSelect(const std::string& statement, QueryResult& out) {
    if (!begin(true, out.error)) return;
    Result r(PQexecParams(device_, statement.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0));
    const bool rows = PQresultStatus(r.get()) == PGRES_TUPLES_OK;
    if (!rows) out.error = r.ok() ? std::string("not a select") : message();
    std::string ignored;
    deviceExec("ROLLBACK", ignored);
    if (rows) collect(r.get(), out);
  }

  bool runWrite(const std::string& statement, long long& tx, std::string& error) {
    if (!begin(false, error)) return false;
    bool ok = false;
    {
      Result r(PQexecParams(device_, statement.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0));
      const std::string status = PQcmdStatus(r.get());
      if (!r.ok()) {
        error = message();
      } else if (status.rfind("INSERT ", 0) != 0 && status.rfind("UPDATE ", 0) != 0) {
        error = "not an insert or update";
      } else {
        Result id(PQexec(device_, "SELECT txid_current()"));
        ok = PQresultStatus(id.get()) == PGRES_TUPLES_OK && PQntuples(id.get()) == 1;
        if (ok) tx = strtoll(PQgetvalue(id.get(), 0, 0), nullptr, 10);
        if (!ok) error = message();
      }
    }
    if (ok) return deviceExec("COMMIT", error);
    std::string ignored;
    deviceExec("ROLLBACK", ignored);
    return false;
  }

  // The rows a write noted, written as the store writes rows.
  bool apply(long long tx, const std::string& origin, long& changed, std::string& error) {
    std::vector<SqlRow> noted;
    if (!owner_->exec("DELETE FROM zs_rpc_journal WHERE tx = $1 RETURNING seq, tbl, side, field, value",
                      {SqlValue(static_cast<int64_t>(tx))}, &noted, error))
      return false;
    struct Entry {
      std::string table;
      std::map<int, SqlValue> before, after;
    };
    std::map<int64_t, Entry> entries;
    for (const SqlRow& r : noted) {
      Entry& e = entries[r[0].asInt()];
      e.table = r[1].asText();
      (r[2].asText() == "O" ? e.before : e.after)[static_cast<int>(r[3].asInt())] = r[4];
    }
    const auto rowOf = [](const TableDef& def, const std::map<int, SqlValue>& values) {
      wire::Row row(def.fields.size());
      for (size_t i = 0; i < def.fields.size(); ++i) {
        const auto v = values.find(static_cast<int>(i) + 1);
        const bool none = v == values.end() || v->second.isNull();
        row[i] = storedValue(def.fields[i], none ? "" : v->second.asText().c_str(), none);
      }
      return row;
    };
    changed = 0;
    return inTransaction(*owner_, error, "BEGIN", [&] {
      std::map<std::string, int64_t> versions;
      for (const auto& [seq, e] : entries) {
        (void)seq;
        const auto def = defs_.find(e.table);
        if (def == defs_.end()) {
          error = "the table " + e.table + " changed meanwhile";
          return false;
        }
        const TableDef& t = def->second;
        const std::string data = quoted("zt_" + t.name);
        if (!versions.count(t.name)) {
          std::vector<SqlRow> v;
          if (!owner_->exec("UPDATE zs_tables SET version = version + 1 WHERE name = $1 RETURNING version", {t.name},
                            &v, error))
            return false;
          if (v.empty()) {
            error = "the table " + t.name + " is gone";
            return false;
          }
          versions[t.name] = v[0][0].asInt();
        }
        const SqlValue version(versions[t.name]);
        const wire::Row fresh = rowOf(t, e.after);
        const std::string key = hexKey(t.rowKey(fresh));
        const std::string previous = e.before.empty() ? std::string() : hexKey(t.rowKey(rowOf(t, e.before)));
        if (e.before.empty() || previous != key) {
          std::vector<SqlRow> live;
          if (!owner_->exec("SELECT 1 FROM " + data + " WHERE zs_key = $1 AND zs_deleted = 0", {key}, &live, error))
            return false;
          if (!live.empty()) {
            error = "a row with this key exists";
            return false;
          }
        }
        if (!e.before.empty() && previous != key &&
            !owner_->exec("UPDATE " + data + " SET zs_deleted = 1, zs_version = $2, zs_origin = $3 WHERE zs_key = $1",
                          {previous, version, origin}, nullptr, error))
          return false;
        std::string columns, values, set;
        std::vector<SqlValue> params = {key, version, origin};
        for (size_t i = 0; i < t.fields.size(); ++i) {
          const std::string c = quoted(t.fields[i].name);
          columns += ", " + c;
          params.push_back(param(t.fields[i], fresh[i]));
          values += ", $" + std::to_string(params.size());
          set += ", " + c + " = excluded." + c;
        }
        if (!owner_->exec("INSERT INTO " + data + " (zs_key, zs_version, zs_deleted, zs_origin" + columns +
                              ") VALUES ($1, $2, 0, $3" + values +
                              ") ON CONFLICT (zs_key) DO UPDATE SET zs_version = excluded.zs_version,"
                              " zs_deleted = 0, zs_origin = excluded.zs_origin" +
                              set,
                          params, nullptr, error))
          return false;
        ++changed;
      }
      return true;
    });
  }

  // The views as the tables stand; made anew, under a lock no device can
  // take, when a table's structure differs from its view's comment.
  bool prepareViews(const std::vector<TableDef>& tables, std::string& error) {
    std::map<std::string, std::string> wanted;
    for (const TableDef& t : tables)
      if (t.keyed() && !t.fields.empty()) wanted[lower(t.name)] = t.structureText();
    if (wanted == made_ && !made_.empty()) return true;
    const char* seen =
        "SELECT c.relname, coalesce(obj_description(c.oid, 'pg_class'), ''), c.oid FROM pg_class c"
        " JOIN pg_namespace n ON n.oid = c.relnamespace WHERE n.nspname = 'zs_rpc' AND c.relkind = 'v'";
    std::vector<SqlRow> rows;
    if (!owner_->exec(seen, {}, &rows, error)) return false;
    if (!sameViews(rows, wanted)) {
      const bool rebuilt = inTransaction(*owner_, error, "BEGIN", [&] {
        rows.clear();
        if (!owner_->script("LOCK TABLE zs_rpc_journal IN EXCLUSIVE MODE", error) ||
            !owner_->exec(seen, {}, &rows, error))
          return false;
        if (sameViews(rows, wanted)) return true;
        rows.clear();
        return owner_->script(viewsScript(tables), error) && owner_->exec(seen, {}, &rows, error);
      });
      if (!rebuilt) return false;
    }
    // Views made anew, here or by another server, carry no grants yet.
    if (!owner_->script("GRANT USAGE ON SCHEMA zs_rpc TO " + quoted(role_) +
                            "; GRANT SELECT, INSERT, UPDATE ON ALL TABLES IN SCHEMA zs_rpc TO " + quoted(role_),
                        error))
      return false;
    defs_.clear();
    byOid_.clear();
    for (const TableDef& t : tables) {
      if (!wanted.count(lower(t.name))) continue;
      defs_[t.name] = t;
      for (const SqlRow& r : rows)
        if (r[0].asText() == lower(t.name)) byOid_[static_cast<Oid>(r[2].asInt())] = t.name;
    }
    made_ = wanted;
    return true;
  }

  static bool sameViews(const std::vector<SqlRow>& rows, const std::map<std::string, std::string>& wanted) {
    std::map<std::string, std::string> have;
    for (const SqlRow& r : rows) have[r[0].asText()] = r[1].asText();
    return have == wanted;
  }

  std::string viewsScript(const std::vector<TableDef>& tables) const {
    std::string sql = "DROP SCHEMA IF EXISTS zs_rpc CASCADE; CREATE SCHEMA zs_rpc;";
    for (const TableDef& t : tables) {
      if (!t.keyed() || t.fields.empty()) continue;
      const std::string view = "zs_rpc." + quoted(lower(t.name));
      std::string list, fresh, old;
      for (const wire::FieldDef& f : t.fields) {
        list += std::string(list.empty() ? "" : ", ") + quoted(f.name) + " AS " + quoted(lower(f.name));
        fresh += std::string(fresh.empty() ? "" : ", ") + "NEW." + quoted(lower(f.name)) + "::text";
        old += std::string(old.empty() ? "" : ", ") + "OLD." + quoted(lower(f.name)) + "::text";
      }
      sql += "CREATE VIEW " + view + " AS SELECT " + list + " FROM public." + quoted("zt_" + t.name) +
             " WHERE zs_deleted = 0;";
      sql += "COMMENT ON VIEW " + view + " IS " + literal(t.structureText()) + ";";
      const auto note = [&](const std::string& side, const std::string& values) {
        return "INSERT INTO public.zs_rpc_journal (tx, seq, tbl, side, field, value) SELECT txid_current(), s, " +
               literal(t.name) + ", '" + side + "', u.i, u.v FROM unnest(ARRAY[" + values +
               "]) WITH ORDINALITY AS u(v, i);";
      };
      const auto function = [&](const std::string& name, const std::string& body) {
        return "CREATE FUNCTION zs_rpc." + quoted(name) +
               "() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER"
               " SET search_path = pg_catalog, public SET extra_float_digits = 1 AS $zr$"
               " DECLARE s bigint := nextval('public.zs_rpc_journal_seq'); BEGIN " +
               body + " RETURN NEW; END $zr$;";
      };
      sql += function("zr_ins_" + t.name, note("N", fresh));
      sql += function("zr_upd_" + t.name, note("O", old) + note("N", fresh));
      sql += "CREATE TRIGGER zr_ins INSTEAD OF INSERT ON " + view + " FOR EACH ROW EXECUTE FUNCTION zs_rpc." +
             quoted("zr_ins_" + t.name) + "();";
      sql += "CREATE TRIGGER zr_upd INSTEAD OF UPDATE ON " + view + " FOR EACH ROW EXECUTE FUNCTION zs_rpc." +
             quoted("zr_upd_" + t.name) + "();";
    }
    return sql + "REVOKE ALL ON ALL FUNCTIONS IN SCHEMA zs_rpc FROM PUBLIC;";
  }

  void collect(PGresult* r, QueryResult& out) {
    const int columns = PQnfields(r), n = PQntuples(r);
    if (columns > wire::kMaxResultFields) {
      out.error = "a result set holds at most 500 fields";
      return;
    }
    size_t bytes = 0;
    for (int i = 0; i < n; ++i)
      for (int c = 0; c < columns; ++c) bytes += static_cast<size_t>(PQgetlength(r, i, c)) + 8;
    if (bytes > kMaxResultBytes) {
      out.error = "the result set is too large";
      return;
    }
    std::set<std::string> names;
    for (int c = 0; c < columns; ++c) out.fields.push_back(fieldOf(r, c, names));
    for (int i = 0; i < n; ++i) {
      wire::Row row(static_cast<size_t>(columns));
      for (int c = 0; c < columns; ++c)
        row[static_cast<size_t>(c)] =
            storedValue(out.fields[static_cast<size_t>(c)], PQgetvalue(r, i, c), PQgetisnull(r, i, c) != 0);
      out.rows.push_back(std::move(row));
    }
    out.ok = true;
  }

  wire::FieldDef fieldOf(PGresult* r, int c, std::set<std::string>& names) {
    wire::FieldDef f;
    bool known = false;
    const auto table = byOid_.find(PQftable(r, c));
    const int column = PQftablecol(r, c);
    if (table != byOid_.end() && column > 0) {
      const TableDef& def = defs_[table->second];
      if (static_cast<size_t>(column) <= def.fields.size()) {
        f = def.fields[static_cast<size_t>(column) - 1];
        known = true;
      }
    }
    if (!known) {
      const Oid type = PQftype(r, c);
      if (type == kBool) {
        f.type = 'L';
        f.length = 1;
      } else if (type == kInt2 || type == kInt4 || type == kInt8 || type == kFloat4 || type == kFloat8 ||
                 type == kNumeric) {
        f.type = 'N';
        f.length = 18;
        f.decimals = type == kInt2 || type == kInt4 || type == kInt8 ? 0 : 4;
      } else {
        size_t longest = 1;
        for (int i = 0; i < PQntuples(r); ++i) longest = std::max(longest, static_cast<size_t>(PQgetlength(r, i, c)));
        f.type = 'C';
        f.length = static_cast<int>(std::min<size_t>(longest, 254));
      }
    }
    f.name = resultFieldName(PQfname(r, c), names);
    return f;
  }

  std::unique_ptr<SqlConnection> owner_;
  PGconn* device_;
  std::string role_;
  std::map<std::string, std::string> made_;  // view name -> structure text
  std::map<std::string, TableDef> defs_;     // by table name
  std::map<Oid, std::string> byOid_;         // view -> table name
};

}  // namespace

std::unique_ptr<QueryDatabase> QueryDatabase::openPostgres(const std::string& address, const std::string& role,
                                                           std::string& error) {
  std::unique_ptr<SqlConnection> owner = openPostgresConnection(address, error);
  if (!owner) return nullptr;
  if (!owner->script("CREATE TABLE IF NOT EXISTS zs_rpc_journal (tx BIGINT NOT NULL, seq BIGINT NOT NULL,"
                     " tbl TEXT NOT NULL, side TEXT NOT NULL, field INTEGER NOT NULL, value TEXT);"
                     "CREATE INDEX IF NOT EXISTS zs_rpc_journal_tx ON zs_rpc_journal (tx);"
                     "CREATE SEQUENCE IF NOT EXISTS zs_rpc_journal_seq",
                     error) ||
      !PostgresQueries::checkRole(*owner, role, error))
    return nullptr;
  // The device's login: the server's address with the role as its user.
  char* why = nullptr;
  PQconninfoOption* options = PQconninfoParse(address.c_str(), &why);
  if (!options) {
    error = why ? why : "not a connection string";
    PQfreemem(why);
    return nullptr;
  }
  std::vector<const char*> keys, values;
  for (PQconninfoOption* o = options; o->keyword; ++o) {
    if (strcmp(o->keyword, "user") == 0 || strcmp(o->keyword, "password") == 0 ||
        strcmp(o->keyword, "application_name") == 0 || !o->val)
      continue;
    keys.push_back(o->keyword);
    values.push_back(o->val);
  }
  keys.push_back("user");
  values.push_back(role.c_str());
  keys.push_back("application_name");
  values.push_back("zeltasyncd device queries");
  keys.push_back(nullptr);
  values.push_back(nullptr);
  PGconn* device = PQconnectdbParams(keys.data(), values.data(), 0);
  PQconninfoFree(options);
  if (!device || PQstatus(device) != CONNECTION_OK) {
    error = "the device role " + role + " cannot log in: " + (device ? PQerrorMessage(device) : "out of memory");
    while (!error.empty() && (error.back() == '\n' || error.back() == ' ')) error.pop_back();
    PQfinish(device);
    return nullptr;
  }
  PQsetNoticeProcessor(
      device, [](void*, const char*) {}, nullptr);
  return std::make_unique<PostgresQueries>(std::move(owner), device, role);
}

}  // namespace server
