// The store (the schema and the versioning are drawn in store.h). Every
// statement runs on both databases; where they differ, the dialect picks the
// text: column types, generated keys, row locks and snapshot transactions.
#include "store.h"

#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <map>
#include <set>

#include "framing.h"
#include "sync_packets.h"
#include "upload_rows.h"

namespace server {

namespace {

using Rows = std::vector<SqlRow>;

std::string now() {
  const time_t t = time(nullptr);
  struct tm parts;
  gmtime_r(&t, &parts);
  char text[32];
  strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  return text;
}

std::string schema(Dialect d) {
  const bool pg = d == Dialect::Postgres;
  const std::string serial = pg ? "BIGSERIAL PRIMARY KEY" : "INTEGER PRIMARY KEY";
  return "CREATE TABLE IF NOT EXISTS zs_meta (name TEXT PRIMARY KEY, value BIGINT NOT NULL);"
         "CREATE TABLE IF NOT EXISTS zs_devices (user_name TEXT NOT NULL, device TEXT NOT NULL,"
         " added TEXT NOT NULL, last_session TEXT NOT NULL DEFAULT '', last_result TEXT NOT NULL DEFAULT '',"
         " sessions BIGINT NOT NULL DEFAULT 0, PRIMARY KEY (user_name, device));"
         "CREATE TABLE IF NOT EXISTS zs_tables (table_id BIGINT PRIMARY KEY, name TEXT NOT NULL UNIQUE,"
         " structure TEXT NOT NULL, version BIGINT NOT NULL DEFAULT 0, generation BIGINT NOT NULL DEFAULT 1);"
         "CREATE TABLE IF NOT EXISTS zs_received (user_name TEXT NOT NULL, device TEXT NOT NULL,"
         " table_name TEXT NOT NULL, generation BIGINT NOT NULL, version BIGINT NOT NULL,"
         " PRIMARY KEY (user_name, device, table_name));"
         "CREATE TABLE IF NOT EXISTS zs_queue (id " +
         serial +
         ", user_name TEXT NOT NULL, device TEXT NOT NULL, kind TEXT NOT NULL,"
         " table_name TEXT NOT NULL, created TEXT NOT NULL);"
         "CREATE TABLE IF NOT EXISTS zs_staged (id " +
         serial +
         ", user_name TEXT NOT NULL, device TEXT NOT NULL, table_name TEXT NOT NULL,"
         " byte_order TEXT NOT NULL, packet TEXT NOT NULL, created TEXT NOT NULL);"
         "CREATE TABLE IF NOT EXISTS zs_files (id " +
         serial +
         ", kind TEXT NOT NULL, name TEXT NOT NULL, version TEXT NOT NULL,"
         " content TEXT NOT NULL, created TEXT NOT NULL);"
         "CREATE TABLE IF NOT EXISTS zs_downloads (table_name TEXT NOT NULL, byte_order TEXT NOT NULL,"
         " part BIGINT NOT NULL, generation BIGINT NOT NULL, version BIGINT NOT NULL, row_count BIGINT NOT NULL,"
         " frames TEXT NOT NULL, PRIMARY KEY (table_name, byte_order, part));"
         "INSERT INTO zs_meta (name, value) VALUES ('catalog_version', 1) ON CONFLICT (name) DO NOTHING;"
         "INSERT INTO zs_meta (name, value) VALUES ('next_table_id', 1) ON CONFLICT (name) DO NOTHING;";
}

std::string dataTable(const std::string& name) { return "\"zt_" + name + "\""; }
std::string column(const wire::FieldDef& f) { return "\"" + f.name + "\""; }

std::string columnType(const wire::FieldDef& f, Dialect d) {
  switch (f.type) {
    case 'N': return d == Dialect::Postgres ? "DOUBLE PRECISION NOT NULL DEFAULT 0" : "REAL NOT NULL DEFAULT 0";
    case 'D':
    case 'L': return "BIGINT NOT NULL DEFAULT 0";
    default: return "TEXT NOT NULL DEFAULT ''";
  }
}

std::string fieldList(const TableDef& def) {
  std::string list;
  for (const wire::FieldDef& f : def.fields) list += ", " + column(f);
  return list;
}

SqlValue param(const wire::FieldDef& f, const wire::Value& v) {
  switch (f.type) {
    case 'N': return SqlValue(v.number);
    case 'D': return SqlValue(static_cast<int64_t>(v.number));
    case 'L': return SqlValue(v.logical ? 1 : 0);
    default: return SqlValue(wire::valueText(f, v));
  }
}

wire::Row rowOf(const TableDef& def, const SqlRow& r, size_t first) {
  wire::Row row(def.fields.size());
  for (size_t i = 0; i < def.fields.size(); ++i) {
    const SqlValue& v = r[first + i];
    switch (def.fields[i].type) {
      case 'N': row[i].number = v.asReal(); break;
      case 'D': row[i].number = static_cast<double>(v.asInt()); break;
      case 'L': row[i].logical = v.asInt() != 0; break;
      default: row[i].text = v.asText();
    }
  }
  return row;
}

// The stored-record bytes of the columns from `first` on, as
// appendStoredRecord writes them from rowOf's row, without the row between.
void appendColumns(const std::vector<wire::FieldDef>& fields, const SqlRow& r, size_t first,
                   std::vector<uint8_t>& out) {
  for (size_t i = 0; i < fields.size(); ++i) {
    const SqlValue& v = r[first + i];
    switch (fields[i].type) {
      case 'N': wire::appendStoredNumber(v.asReal(), out); break;
      case 'D': wire::appendStoredNumber(static_cast<double>(v.asInt()), out); break;
      case 'L': out.push_back(v.asInt() != 0 ? 1 : 0); break;
      default:
        if (v.kind == SqlValue::Text) {
          wire::appendStoredText(fields[i], v.text.data(), v.text.size(), out);
        } else {
          const std::string text = v.asText();
          wire::appendStoredText(fields[i], text.data(), text.size(), out);
        }
    }
  }
}

bool sameRow(const TableDef& def, const wire::Row& a, const wire::Row& b) {
  for (size_t i = 0; i < def.fields.size(); ++i)
    if (wire::valueText(def.fields[i], a[i]) != wire::valueText(def.fields[i], b[i])) return false;
  return true;
}

std::string createDataTable(const TableDef& def, Dialect d, const std::string& name) {
  std::string sql = "CREATE TABLE " + name +
                    " (zs_key TEXT PRIMARY KEY, zs_version BIGINT NOT NULL, zs_deleted BIGINT NOT NULL DEFAULT 0,"
                    " zs_origin TEXT NOT NULL DEFAULT ''";
  for (const wire::FieldDef& f : def.fields) sql += ", " + column(f) + " " + columnType(f, d);
  return sql + ")";
}

// Who last wrote a row: "admin", or the device that uploaded it.
std::string originOf(const std::string& user, const std::string& device) { return user + "/" + device; }

// A download row: prefix, operation, record or key.
std::vector<uint8_t> downloadRow(uint8_t operation, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> row(wire::kRowPrefix + body.size());
  row[2] = operation;
  std::copy(body.begin(), body.end(), row.begin() + wire::kRowPrefix);
  wire::put16(row.data(), static_cast<uint16_t>(row.size()), wire::Order::Big);
  return row;
}

}  // namespace

std::unique_ptr<Store> Store::open(const std::string& address, bool postgres, std::string& error) {
  std::unique_ptr<SqlConnection> db =
      postgres ? openPostgresConnection(address, error) : openSqliteConnection(address, error);
  if (!db) return nullptr;
  auto store = std::make_unique<Store>(std::move(db));
  if (!store->setUp(error)) return nullptr;
  return store;
}

const char* Store::writeBegin() const {
  // SQLite takes the write lock at once, so two writers queue instead of one
  // failing when its read snapshot would have to become a write.
  return db_->dialect() == Dialect::Sqlite ? "BEGIN IMMEDIATE" : "BEGIN";
}

bool Store::setUp(std::string& error) {
  // Several servers may start on one database at once: the schema is made
  // under a lock, so none of them sees it half made.
  if (db_->dialect() == Dialect::Postgres)
    return inTransaction(*db_, error, "BEGIN", [&] {
      return db_->exec("SELECT pg_advisory_xact_lock(8025)", {}, nullptr, error) &&
             db_->script(schema(db_->dialect()), error);
    });
  return db_->script(schema(db_->dialect()), error);
}

// Devices.

bool Store::deviceKnown(const std::string& user, const std::string& device, bool& known, std::string& error) {
  Rows rows;
  if (!db_->exec("SELECT 1 FROM zs_devices WHERE user_name = $1 AND device = $2", {user, device}, &rows, error))
    return false;
  known = !rows.empty();
  return true;
}

bool Store::addDevice(const std::string& user, const std::string& device, std::string& error) {
  if (db_->exec("INSERT INTO zs_devices (user_name, device, added) VALUES ($1, $2, $3)", {user, device, now()}, nullptr,
                error))
    return true;
  if (db_->lastWasConflict()) error = "the user " + user + " is already registered on device " + device;
  return false;
}

long Store::removeDevices(const std::string& user, const std::string& device, std::string& error) {
  const bool one = !device.empty();
  long removed = -1;
  inTransaction(*db_, error, writeBegin(), [&] {
    const std::string where = one ? " WHERE user_name = $1 AND device = $2" : " WHERE user_name = $1";
    std::vector<SqlValue> params = {user};
    if (one) params.push_back(device);
    if (!db_->exec("DELETE FROM zs_devices" + where, params, nullptr, error)) return false;
    removed = static_cast<long>(db_->changes());
    for (const char* t : {"zs_received", "zs_queue", "zs_staged"})
      if (!db_->exec(std::string("DELETE FROM ") + t + where, params, nullptr, error)) return false;
    return true;
  });
  return error.empty() ? removed : -1;
}

bool Store::listDevices(std::vector<DeviceRow>& out, std::string& error) {
  Rows rows;
  if (!db_->exec("SELECT user_name, device, added, last_session, last_result, sessions FROM zs_devices"
                 " ORDER BY user_name, device",
                 {}, &rows, error))
    return false;
  for (const SqlRow& r : rows)
    out.push_back(
        {r[0].asText(), r[1].asText(), r[2].asText(), r[3].asText(), r[4].asText(), static_cast<long>(r[5].asInt())});
  return true;
}

bool Store::recordSession(const std::string& user, const std::string& device, const std::string& result,
                          std::string& error) {
  return db_->exec(
      "UPDATE zs_devices SET last_session = $3, last_result = $4, sessions = sessions + 1"
      " WHERE user_name = $1 AND device = $2",
      {user, device, now(), result}, nullptr, error);
}

// Tables.

bool Store::catalogVersion(long& version, std::string& error) {
  Rows rows;
  if (!db_->exec("SELECT value FROM zs_meta WHERE name = 'catalog_version'", {}, &rows, error)) return false;
  version = rows.empty() ? 1 : static_cast<long>(rows[0][0].asInt());
  return true;
}

bool Store::bumpCatalog(std::string& error) {
  return db_->exec("UPDATE zs_meta SET value = value + 1 WHERE name = 'catalog_version'", {}, nullptr, error);
}

bool Store::lockTable(const std::string& name, long& version, std::string& error) {
  Rows rows;
  const std::string lock = db_->dialect() == Dialect::Postgres ? " FOR UPDATE" : "";
  if (!db_->exec("SELECT version FROM zs_tables WHERE name = $1" + lock, {name}, &rows, error)) return false;
  if (rows.empty()) {
    error = "no table " + name;
    return false;
  }
  version = static_cast<long>(rows[0][0].asInt());
  return true;
}

bool Store::tables(std::vector<TableDef>& out, std::string& error) {
  Rows rows;
  if (!db_->exec("SELECT table_id, structure FROM zs_tables ORDER BY table_id", {}, &rows, error)) return false;
  for (const SqlRow& r : rows) {
    TableDef def;
    if (!parseStructure(r[1].asText(), def, error)) return false;
    def.id = static_cast<long>(r[0].asInt());
    out.push_back(def);
  }
  return true;
}

bool Store::table(const std::string& name, TableDef& out, bool& found, std::string& error) {
  Rows rows;
  if (!db_->exec("SELECT table_id, structure FROM zs_tables WHERE name = $1", {name}, &rows, error)) return false;
  found = !rows.empty();
  if (!found) return true;
  if (!parseStructure(rows[0][1].asText(), out, error)) return false;
  out.id = static_cast<long>(rows[0][0].asInt());
  return true;
}

bool Store::writeRows(const TableDef& def, const std::vector<const wire::Row*>& rows, long version,
                      const std::string& origin, std::string& error) {
  // Over the network one statement writes up to 200 rows, one round trip
  // instead of 200; SQLite, in the process, is fastest one row at a time. A
  // statement may not meet the same key twice, so a repeated key starts the
  // next statement.
  const size_t kBatch = db_->dialect() == Dialect::Postgres ? 200 : 1;
  std::string update =
      " ON CONFLICT (zs_key) DO UPDATE SET zs_version = excluded.zs_version, zs_deleted = 0,"
      " zs_origin = excluded.zs_origin";
  for (const wire::FieldDef& f : def.fields) update += ", " + column(f) + " = excluded." + column(f);
  const std::string head = "INSERT INTO " + dataTable(def.name) + " (zs_key, zs_version, zs_deleted, zs_origin" +
                           fieldList(def) + ") VALUES ";
  size_t at = 0;
  while (at < rows.size()) {
    std::string values;
    std::vector<SqlValue> params;
    std::set<std::string> keys;
    for (; at < rows.size() && keys.size() < kBatch; ++at) {
      std::string key = hexKey(def.rowKey(*rows[at]));
      if (!keys.insert(key).second) break;
      const size_t first = params.size() + 1;
      values += (values.empty() ? "($" : ", ($") + std::to_string(first) + ", $" + std::to_string(first + 1) +
                ", 0, $" + std::to_string(first + 2);
      params.push_back(std::move(key));
      params.push_back(SqlValue(version));
      params.push_back(origin);
      for (size_t i = 0; i < def.fields.size(); ++i) {
        values += ", $" + std::to_string(params.size() + 1);
        params.push_back(param(def.fields[i], (*rows[at])[i]));
      }
      values += ")";
    }
    if (!db_->exec(head + values + update, params, nullptr, error)) return false;
  }
  return true;
}

bool Store::defineTable(TableDef& def, bool& changed, std::string& error) {
  changed = false;
  const Dialect d = db_->dialect();
  return inTransaction(*db_, error, writeBegin(), [&] {
    Rows rows;
    const std::string lock = d == Dialect::Postgres ? " FOR UPDATE" : "";
    if (!db_->exec("SELECT table_id, structure FROM zs_tables WHERE name = $1" + lock, {def.name}, &rows, error))
      return false;
    if (rows.empty()) {
      Rows ids;
      if (!db_->exec("UPDATE zs_meta SET value = value + 1 WHERE name = 'next_table_id'", {}, nullptr, error) ||
          !db_->exec("SELECT value - 1 FROM zs_meta WHERE name = 'next_table_id'", {}, &ids, error))
        return false;
      def.id = static_cast<long>(ids[0][0].asInt());
      changed = true;
      return db_->exec("INSERT INTO zs_tables (table_id, name, structure) VALUES ($1, $2, $3)",
                       {SqlValue(def.id), def.name, def.structureText()}, nullptr, error) &&
             db_->exec(createDataTable(def, d, dataTable(def.name)), {}, nullptr, error) && bumpCatalog(error);
    }
    def.id = static_cast<long>(rows[0][0].asInt());
    if (rows[0][1].asText() == def.structureText()) return true;
    changed = true;
    TableDef old;
    if (!parseStructure(rows[0][1].asText(), old, error)) return false;
    // The rows move to the new structure by field name; their keys are
    // made anew, so every device receives the table in full.
    Rows data;
    if (!db_->exec("SELECT zs_key" + fieldList(old) + " FROM " + dataTable(old.name) + " WHERE zs_deleted = 0", {},
                   &data, error))
      return false;
    long version = 0;
    if (!lockTable(def.name, version, error)) return false;
    const std::string fresh = "\"zt_" + def.name + "_new\"";
    if (!db_->exec(createDataTable(def, d, fresh), {}, nullptr, error)) return false;
    TableDef target = def;
    target.name = def.name + "_new";
    std::vector<wire::Row> moved;
    for (const SqlRow& r : data) {
      const wire::Row before = rowOf(old, r, 1);
      wire::Row after(def.fields.size());
      for (size_t i = 0; i < def.fields.size(); ++i) {
        const int from = old.fieldIndex(def.fields[i].name);
        if (from >= 0 && old.fields[static_cast<size_t>(from)].type == def.fields[i].type)
          after[i] = before[static_cast<size_t>(from)];
      }
      moved.push_back(std::move(after));
    }
    std::vector<const wire::Row*> pointers;
    for (const wire::Row& r : moved) pointers.push_back(&r);
    if (!writeRows(target, pointers, version + 1, "admin", error)) return false;
    // CASCADE: the views device queries read are made again when missing.
    return db_->exec("DROP TABLE " + dataTable(def.name) + (d == Dialect::Postgres ? " CASCADE" : ""), {}, nullptr,
                     error) &&
           db_->exec("ALTER TABLE " + fresh + " RENAME TO \"zt_" + def.name + "\"", {}, nullptr, error) &&
           db_->exec(
               "UPDATE zs_tables SET structure = $2, version = version + 1, generation = generation + 1"
               " WHERE name = $1",
               {def.name, def.structureText()}, nullptr, error) &&
           bumpCatalog(error);
  });
}

bool Store::loadRows(const TableDef& def, const std::vector<wire::Row>& rows, LoadCounts& counts, std::string& error) {
  counts = LoadCounts();
  return inTransaction(*db_, error, writeBegin(), [&] {
    long version = 0;
    if (!lockTable(def.name, version, error)) return false;
    const long next = version + 1;
    Rows current;
    if (!db_->exec("SELECT zs_key, zs_deleted" + fieldList(def) + " FROM " + dataTable(def.name), {}, &current, error))
      return false;
    std::map<std::string, std::pair<bool, wire::Row>> before;  // key: live, row
    for (const SqlRow& r : current) before[r[0].asText()] = {r[1].asInt() == 0, rowOf(def, r, 2)};
    std::map<std::string, const wire::Row*> wanted;
    for (const wire::Row& row : rows) wanted[hexKey(def.rowKey(row))] = &row;  // a repeated key: the last wins
    std::vector<const wire::Row*> changed;
    for (const auto& [key, row] : wanted) {
      const auto found = before.find(key);
      if (found != before.end() && found->second.first && sameRow(def, found->second.second, *row)) {
        ++counts.unchanged;
        continue;
      }
      ++(found != before.end() && found->second.first ? counts.updated : counts.inserted);
      changed.push_back(row);
    }
    if (!writeRows(def, changed, next, "admin", error)) return false;
    for (const auto& [key, state] : before) {
      if (!state.first || wanted.count(key)) continue;
      ++counts.deleted;
      if (!db_->exec("UPDATE " + dataTable(def.name) +
                         " SET zs_deleted = 1, zs_version = $2, zs_origin = 'admin'"
                         " WHERE zs_key = $1",
                     {key, SqlValue(next)}, nullptr, error))
        return false;
    }
    if (counts.inserted + counts.updated + counts.deleted == 0) return true;
    return db_->exec("UPDATE zs_tables SET version = $2 WHERE name = $1", {def.name, SqlValue(next)}, nullptr, error);
  });
}

bool Store::exportRows(const TableDef& def, std::vector<wire::Row>& out, std::string& error) {
  Rows rows;
  if (!db_->exec(
          "SELECT zs_key" + fieldList(def) + " FROM " + dataTable(def.name) + " WHERE zs_deleted = 0 ORDER BY zs_key",
          {}, &rows, error))
    return false;
  for (const SqlRow& r : rows) out.push_back(rowOf(def, r, 1));
  return true;
}

bool Store::queueTask(const std::string& kind, const std::string& table, const std::string& user,
                      const std::string& device, long& added, std::string& error) {
  added = 0;
  std::vector<DeviceRow> devices;
  if (!listDevices(devices, error)) return false;
  return inTransaction(*db_, error, writeBegin(), [&] {
    for (const DeviceRow& d : devices) {
      if (!user.empty() && (d.user != user || (!device.empty() && d.device != device))) continue;
      if (!db_->exec("INSERT INTO zs_queue (user_name, device, kind, table_name, created) VALUES ($1, $2, $3, $4, $5)",
                     {d.user, d.device, kind, table, now()}, nullptr, error))
        return false;
      ++added;
    }
    return true;
  });
}

bool Store::pushFile(PushedFile& file, const std::string& user, const std::string& device, long& added,
                     std::string& error) {
  added = 0;
  std::vector<DeviceRow> devices;
  if (!listDevices(devices, error)) return false;
  return inTransaction(*db_, error, writeBegin(), [&] {
    Rows id;
    // RETURNING: another push may commit a higher id meanwhile.
    if (!db_->exec("INSERT INTO zs_files (kind, name, version, content, created) VALUES ($1, $2, $3, $4, $5)"
                   " RETURNING id",
                   {file.kind, file.name, file.version, hexKey(file.content), now()}, &id, error) ||
        id.empty())
      return false;
    file.id = static_cast<long>(id[0][0].asInt());
    for (const DeviceRow& d : devices) {
      if (!user.empty() && (d.user != user || (!device.empty() && d.device != device))) continue;
      if (!db_->exec("INSERT INTO zs_queue (user_name, device, kind, table_name, created) VALUES ($1, $2, $3, $4, $5)",
                     {d.user, d.device, file.kind, std::to_string(file.id), now()}, nullptr, error))
        return false;
      ++added;
    }
    return true;
  });
}

bool Store::pushedFile(long id, PushedFile& out, bool& found, std::string& error) {
  Rows rows;
  if (!db_->exec("SELECT id, kind, name, version, content FROM zs_files WHERE id = $1", {SqlValue(id)}, &rows, error))
    return false;
  found = !rows.empty();
  if (!found) return true;
  out.id = static_cast<long>(rows[0][0].asInt());
  out.kind = rows[0][1].asText();
  out.name = rows[0][2].asText();
  out.version = rows[0][3].asText();
  out.content = unhexKey(rows[0][4].asText());
  return true;
}

// Sessions.

bool Store::buildTasks(const std::string& user, const std::string& device, std::vector<Task>& tasks,
                       std::string& error) {
  tasks.clear();
  const std::string origin = originOf(user, device);
  std::vector<TableDef> defs;
  long catalog = 0;
  Rows held, queued, versions;
  if (!tables(defs, error) || !catalogVersion(catalog, error) ||
      !db_->exec("SELECT table_name, generation, version FROM zs_received WHERE user_name = $1 AND device = $2",
                 {user, device}, &held, error) ||
      !db_->exec("SELECT id, kind, table_name FROM zs_queue WHERE user_name = $1 AND device = $2 ORDER BY id",
                 {user, device}, &queued, error) ||
      !db_->exec("SELECT name, version, generation FROM zs_tables", {}, &versions, error))
    return false;
  std::map<std::string, std::pair<long, long>> holds;  // table: generation, version
  for (const SqlRow& r : held)
    holds[r[0].asText()] = {static_cast<long>(r[1].asInt()), static_cast<long>(r[2].asInt())};
  std::map<std::string, std::pair<long, long>> current;
  for (const SqlRow& r : versions)
    current[r[0].asText()] = {static_cast<long>(r[2].asInt()), static_cast<long>(r[1].asInt())};
  std::map<std::string, long> queuedDownload;
  std::vector<Task> pushed;  // installs and images go last: an install ends the session

  // Uploads come first: the device's changes are in before it receives
  // anything, so no download meets a record still waiting to be sent.
  for (const TableDef& def : defs)
    if (def.toHost) tasks.push_back({kTaskUpload, def.name});
  for (const SqlRow& r : queued) {
    const long id = static_cast<long>(r[0].asInt());
    if (r[1].asText() == "install" || r[1].asText() == "image") {
      Task t{r[1].asText() == "install" ? kTaskInstall : kTaskImage, ""};
      t.queueId = id;
      t.fileId = atol(r[2].asText().c_str());
      pushed.push_back(t);
    } else if (r[1].asText() == "delete") {
      tasks.push_back({kTaskDelete, r[2].asText(), 'T', 0, 0, id});
      queuedDownload[r[2].asText()] = 0;  // the table comes back in full
    } else if (!queuedDownload.count(r[2].asText()) || queuedDownload[r[2].asText()] == 0) {
      queuedDownload[r[2].asText()] = id;
    }
  }
  const auto heldCatalog = holds.find("ZEL_TBL");
  if (!defs.empty() && (heldCatalog == holds.end() || heldCatalog->second.second != catalog)) {
    const std::vector<std::vector<wire::Row>> rows = catalogRows(defs);
    for (size_t i = 0; i < catalogTables().size(); ++i)
      tasks.push_back({kTaskDownload, catalogTables()[i].name, 'T', static_cast<long>(rows[i].size())});
  }
  for (const TableDef& def : defs) {
    const auto [generation, version] = current[def.name];
    const auto h = holds.find(def.name);
    const bool queuedFull = queuedDownload.count(def.name) > 0;
    Rows n;
    if (queuedFull || h == holds.end() || h->second.first != generation) {
      // A total download kept for this version knows its rows.
      if (!db_->exec("SELECT row_count FROM zs_downloads WHERE table_name = $1 AND part = 0 AND generation = $2"
                     " AND version = $3 LIMIT 1",
                     {def.name, SqlValue(generation), SqlValue(version)}, &n, error))
        return false;
      if (n.empty() &&
          !db_->exec("SELECT COUNT(*) FROM " + dataTable(def.name) + " WHERE zs_deleted = 0", {}, &n, error))
        return false;
      tasks.push_back({kTaskDownload, def.name, 'T', static_cast<long>(n[0][0].asInt()), 0,
                       queuedFull ? queuedDownload[def.name] : 0});
    } else if (version > h->second.second) {
      if (!db_->exec("SELECT COUNT(*) FROM " + dataTable(def.name) + " WHERE zs_version > $1 AND zs_origin <> $2",
                     {SqlValue(h->second.second), origin}, &n, error))
        return false;
      tasks.push_back({kTaskDownload, def.name, 'P', static_cast<long>(n[0][0].asInt()), h->second.second});
    }
  }
  tasks.insert(tasks.end(), pushed.begin(), pushed.end());
  return true;
}

bool Store::download(const std::string& user, const std::string& device, const Task& task, Download& out,
                     std::string& error) {
  out = Download();
  out.delivery.table = task.table;
  out.delivery.queueId = task.queueId;
  const char* snapshot =
      db_->dialect() == Dialect::Postgres ? "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY" : "BEGIN";
  return inTransaction(*db_, error, snapshot, [&] {
    std::vector<TableDef> defs;
    if (!tables(defs, error)) return false;
    const std::vector<TableDef>& catalog = catalogTables();
    for (size_t i = 0; i < catalog.size(); ++i) {
      if (catalog[i].name != task.table) continue;
      out.delivery.generation = 1;
      if (!catalogVersion(out.delivery.version, error)) return false;
      const std::vector<std::vector<wire::Row>> rows = catalogRows(defs);
      for (const wire::Row& row : rows[i]) {
        std::vector<uint8_t> record;
        wire::appendStoredRecord(catalog[i].fields, row, record);
        out.rows.push_back(downloadRow(1, record));
      }
      return true;
    }
    const TableDef* def = nullptr;
    for (const TableDef& d : defs)
      if (d.name == task.table) def = &d;
    if (!def) {
      error = "no table " + task.table;
      return false;
    }
    Rows meta;
    if (!db_->exec("SELECT generation, version FROM zs_tables WHERE name = $1", {def->name}, &meta, error))
      return false;
    out.delivery.generation = static_cast<long>(meta[0][0].asInt());
    out.delivery.version = static_cast<long>(meta[0][1].asInt());
    const bool total = task.mode == 'T';
    const std::string where = total ? " WHERE zs_deleted = 0" : " WHERE zs_version > $1 AND zs_origin <> $2";
    std::vector<SqlValue> params;
    if (!total) params = {SqlValue(task.since), originOf(user, device)};
    // Rows are encoded as they are read, straight from the columns.
    std::vector<uint8_t> row;
    return db_->each(
        "SELECT zs_key, zs_deleted" + fieldList(*def) + " FROM " + dataTable(def->name) + where + " ORDER BY zs_key",
        params,
        [&](const SqlRow& r) {
          row.assign(wire::kRowPrefix, 0);
          if (r[1].asInt() != 0) {
            row[2] = 3;
            const std::string key = unhexKey(r[0].asText());
            row.insert(row.end(), key.begin(), key.end());
          } else {
            row[2] = total ? 1 : 2;
            appendColumns(def->fields, r, 2, row);
          }
          wire::put16(row.data(), static_cast<uint16_t>(row.size()), wire::Order::Big);
          out.rows.push_back(row);
          return true;
        },
        error);
  });
}

bool Store::tableVersion(const std::string& name, long& generation, long& version, bool& found, std::string& error) {
  Rows rows;
  if (!db_->exec("SELECT generation, version FROM zs_tables WHERE name = $1", {name}, &rows, error)) return false;
  found = !rows.empty();
  if (found) {
    generation = static_cast<long>(rows[0][0].asInt());
    version = static_cast<long>(rows[0][1].asInt());
  }
  return true;
}

bool Store::stageUpload(const std::string& user, const std::string& device, const std::string& table,
                        const uint8_t* packet, size_t n, wire::Order order, std::string& error) {
  const std::string bytes(reinterpret_cast<const char*>(packet), n);
  return db_->exec(
      "INSERT INTO zs_staged (user_name, device, table_name, byte_order, packet, created)"
      " VALUES ($1, $2, $3, $4, $5, $6)",
      {user, device, table, std::string(1, wire::orderMarker(order)), hexKey(bytes), now()}, nullptr, error);
}

bool Store::applyTableUploads(const std::string& user, const std::string& device, const std::string& table,
                              UploadCounts& counts, std::string& error) {
  return inTransaction(*db_, error, writeBegin(), [&] {
    Rows staged;
    if (!db_->exec("SELECT id, packet, byte_order FROM zs_staged WHERE user_name = $1 AND device = $2"
                   " AND table_name = $3"
                   " ORDER BY id",
                   {user, device, table}, &staged, error))
      return false;
    TableDef def;
    bool found = false;
    long version = 0;
    if (!this->table(table, def, found, error)) return false;
    if (found && !lockTable(table, version, error)) return false;
    long written = 0;
    for (const SqlRow& r : staged) {
      const std::string packet = unhexKey(r[1].asText());
      const wire::Order order = r[2].asText() == "L" ? wire::Order::Little : wire::Order::Big;
      std::vector<wire::Row> rows;
      std::string why;
      if (!found ||
          !readUploadPacket(def, reinterpret_cast<const uint8_t*>(packet.data()), packet.size(), order, rows, why)) {
        ++counts.refused;
        continue;
      }
      std::vector<const wire::Row*> pointers;
      for (const wire::Row& row : rows) pointers.push_back(&row);
      if (!writeRows(def, pointers, version + 1, originOf(user, device), error)) return false;
      written += static_cast<long>(rows.size());
    }
    counts.rows += written;
    ++counts.tables;
    if (!db_->exec("DELETE FROM zs_staged WHERE user_name = $1 AND device = $2 AND table_name = $3",
                   {user, device, table}, nullptr, error))
      return false;
    return written == 0 || db_->exec("UPDATE zs_tables SET version = $2 WHERE name = $1",
                                     {table, SqlValue(version + 1)}, nullptr, error);
  });
}

bool Store::applyStaged(const std::string& user, const std::string& device, UploadCounts& counts, std::string& error) {
  counts = UploadCounts();
  Rows names;
  if (!db_->exec("SELECT DISTINCT table_name FROM zs_staged WHERE user_name = $1 AND device = $2", {user, device},
                 &names, error))
    return false;
  for (const SqlRow& n : names)
    if (!applyTableUploads(user, device, n[0].asText(), counts, error)) return false;
  return true;
}

bool Store::markDelivered(const std::string& user, const std::string& device, const std::vector<Delivery>& deliveries,
                          std::string& error) {
  if (deliveries.empty()) return true;
  return inTransaction(*db_, error, writeBegin(), [&] {
    for (const Delivery& d : deliveries) {
      if (d.queueId && !db_->exec("DELETE FROM zs_queue WHERE id = $1", {SqlValue(d.queueId)}, nullptr, error))
        return false;
      if (d.queueOnly) continue;
      if (d.generation < 0) {  // the device deleted its copy
        if (!db_->exec("DELETE FROM zs_received WHERE user_name = $1 AND device = $2 AND table_name = $3",
                       {user, device, d.table}, nullptr, error))
          return false;
        continue;
      }
      if (!db_->exec("INSERT INTO zs_received (user_name, device, table_name, generation, version)"
                     " VALUES ($1, $2, $3, $4, $5) ON CONFLICT (user_name, device, table_name)"
                     " DO UPDATE SET generation = excluded.generation, version = excluded.version",
                     {user, device, d.table, SqlValue(d.generation), SqlValue(d.version)}, nullptr, error))
        return false;
    }
    return true;
  });
}

// Kept total downloads. The frames go in parts of about 64 kB, each the
// frames one after another (every frame opens with its length), as hex.

namespace {

constexpr size_t kPartBytes = 64u << 10;

std::string hexOf(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out(bytes.size() * 2, '0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    out[2 * i] = digits[bytes[i] >> 4];
    out[2 * i + 1] = digits[bytes[i] & 15];
  }
  return out;
}

// The value of each hex digit; 16 for anything else.
struct HexDigits {
  uint8_t value[256];
  HexDigits() {
    for (int c = 0; c < 256; ++c)
      value[c] = c >= '0' && c <= '9'   ? static_cast<uint8_t>(c - '0')
                 : c >= 'a' && c <= 'f' ? static_cast<uint8_t>(c - 'a' + 10)
                 : c >= 'A' && c <= 'F' ? static_cast<uint8_t>(c - 'A' + 10)
                                        : 16;
  }
};

// Splits a part back into its frames; false when it is not whole frames.
bool splitPart(const std::string& hex, wire::Order order, std::vector<std::vector<uint8_t>>& frames) {
  static const HexDigits digits;
  if (hex.size() % 2) return false;
  std::vector<uint8_t> bytes(hex.size() / 2);
  const unsigned char* in = reinterpret_cast<const unsigned char*>(hex.data());
  uint8_t bad = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint8_t high = digits.value[in[2 * i]], low = digits.value[in[2 * i + 1]];
    bad |= (high | low) & 16;
    bytes[i] = static_cast<uint8_t>(high << 4 | (low & 15));
  }
  if (bad) return false;
  for (size_t at = 0; at < bytes.size();) {
    if (bytes.size() - at < 2) return false;
    const size_t n = 2 + wire::readServerLength(&bytes[at], order);
    if (bytes.size() - at < n) return false;
    frames.emplace_back(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + n));
    at += n;
  }
  return true;
}

}  // namespace

bool Store::storedDownload(const std::string& table, long generation, long version, wire::Order order,
                           std::vector<std::vector<uint8_t>>& frames, bool& found, std::string& error) {
  frames.clear();
  found = false;
  bool whole = true;
  int64_t expected = 0;
  if (!db_->each("SELECT part, frames FROM zs_downloads WHERE table_name = $1 AND byte_order = $2"
                 " AND generation = $3 AND version = $4 ORDER BY part",
                 {table, std::string(1, wire::orderMarker(order)), SqlValue(generation), SqlValue(version)},
                 [&](const SqlRow& r) {
                   whole = r[0].asInt() == expected++ && splitPart(r[1].text, order, frames);
                   return whole;
                 },
                 error))
    return false;
  // The stream ends with its end frame (11 | 0); anything else is not used.
  static const uint8_t kEnd[] = {0, 1, 11, 0};
  found = whole && !frames.empty() && frames.back().size() == 2 + sizeof kEnd &&
          std::equal(kEnd, kEnd + sizeof kEnd, frames.back().begin() + 2);
  if (!found) frames.clear();
  return true;
}

bool Store::keepDownload(const Delivery& built, wire::Order order, const std::vector<std::vector<uint8_t>>& frames,
                         bool& kept, std::string& error) {
  kept = false;
  const std::string marker(1, wire::orderMarker(order));
  return inTransaction(*db_, error, writeBegin(), [&] {
    // The table's row is held until the commit, so no write to the table
    // lands between this look and the frames going in.
    Rows now, have;
    const std::string lock = db_->dialect() == Dialect::Postgres ? " FOR UPDATE" : "";
    if (!db_->exec("SELECT generation, version FROM zs_tables WHERE name = $1" + lock, {built.table}, &now, error))
      return false;
    if (now.empty() || now[0][0].asInt() != built.generation || now[0][1].asInt() != built.version) return true;
    if (!db_->exec("SELECT 1 FROM zs_downloads WHERE table_name = $1 AND byte_order = $2 AND part = 0"
                   " AND generation = $3 AND version = $4",
                   {built.table, marker, SqlValue(built.generation), SqlValue(built.version)}, &have, error))
      return false;
    kept = true;
    if (!have.empty()) return true;  // another server kept it first
    if (!db_->exec("DELETE FROM zs_downloads WHERE table_name = $1 AND byte_order = $2", {built.table, marker},
                   nullptr, error))
      return false;
    // The rows the data packets announce: a device's task list tells the
    // count without counting the table.
    int64_t rows = 0;
    for (const std::vector<uint8_t>& f : frames)
      if (f.size() >= wire::kServerHeaderSize + wire::kDownloadHeader && f[wire::kServerHeaderSize + 2] == 12)
        rows += wire::readDownloadHeader(f.data() + wire::kServerHeaderSize, order).rows;
    std::vector<uint8_t> part;
    int64_t number = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
      part.insert(part.end(), frames[i].begin(), frames[i].end());
      if (part.size() < kPartBytes && i + 1 < frames.size()) continue;
      if (!db_->exec("INSERT INTO zs_downloads (table_name, byte_order, part, generation, version, row_count, frames)"
                     " VALUES ($1, $2, $3, $4, $5, $6, $7)",
                     {built.table, marker, SqlValue(number++), SqlValue(built.generation), SqlValue(built.version),
                      SqlValue(rows), hexOf(part)},
                     nullptr, error))
        return false;
      part.clear();
    }
    return true;
  });
}

bool Store::downloadsToBuild(wire::Order order, std::vector<std::string>& tables, std::string& error) {
  tables.clear();
  Rows rows;
  if (!db_->exec("SELECT name FROM zs_tables t WHERE NOT EXISTS (SELECT 1 FROM zs_downloads d"
                 " WHERE d.table_name = t.name AND d.byte_order = $1 AND d.part = 0"
                 " AND d.generation = t.generation AND d.version = t.version) ORDER BY table_id",
                 {std::string(1, wire::orderMarker(order))}, &rows, error))
    return false;
  for (const SqlRow& r : rows) tables.push_back(r[0].asText());
  return true;
}

}  // namespace server
