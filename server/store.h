// What zeltasyncd keeps, in SQLite or PostgreSQL: the devices it serves, the
// application tables with their rows, what each device holds of them, the
// queued tasks and the uploads waiting to be written back.
//
//   zs_meta(name, value)                    catalog version, table numbers
//   zs_devices(user_name, device, ...)      registered pairs, last session
//   zs_tables(table_id, name, structure, version, generation)
//   zs_received(user_name, device, table_name, generation, version)
//   zs_queue(id, user_name, device, kind, table_name, created)
//   zs_staged(id, user_name, device, table_name, packet, created)
//   zs_files(id, kind, name, version, content, created)  pushed files, hex
//   zs_downloads(table_name, byte_order, part, generation, version,
//                row_count, frames)         total downloads built, hex
//   zt_<NAME>(zs_key, zs_version, zs_deleted, zs_origin, <fields>)
//
// Versions. Each application table counts its changes: every transaction
// that writes rows locks the table's zs_tables row, bumps its version and
// stamps the rows it writes with it, so a reader's snapshot holds every row
// up to the version it reads. A device is noted as holding a table up to
// the version its last delivered download carried. `generation` changes
// with the table's structure: a device holding another generation receives
// the table in full. The catalog counts its own version in zs_meta.
#ifndef ZELTA_SERVER_STORE_H
#define ZELTA_SERVER_STORE_H

#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "byte_order.h"
#include "sql.h"
#include "table_def.h"

namespace server {

struct DeviceRow {
  std::string user;
  std::string device;
  std::string added;        // "YYYY-MM-DD HH:MM:SS", UTC
  std::string lastSession;  // empty before the first session
  std::string lastResult;
  long sessions = 0;
};

enum TaskType { kTaskDownload = 1, kTaskUpload = 2, kTaskDelete = 3, kTaskInstall = 10, kTaskImage = 40 };

struct Task {
  int type = kTaskDownload;
  std::string table;
  char mode = 'T';  // downloads: 'T' total, 'P' the changes since `since`
  long count = 0;   // rows of a download
  long since = 0;
  long queueId = 0;  // a queued task, removed from the queue once delivered
  long fileId = 0;   // installs and images: the pushed file
};

// A file pushed for devices: a component to install or an image.
struct PushedFile {
  long id = 0;
  std::string kind;  // "install" or "image"
  std::string name;  // a plain file name
  std::string version;
  std::string content;
};

// What a delivered download leaves the device holding.
struct Delivery {
  std::string table;
  long generation = 0;
  long version = 0;
  long queueId = 0;
  bool queueOnly = false;  // an install or an image: only the queue entry goes
};

struct Download {
  std::vector<std::vector<uint8_t>> rows;  // download rows, prefix included
  Delivery delivery;
};

struct LoadCounts {
  long inserted = 0, updated = 0, deleted = 0, unchanged = 0;
};

struct UploadCounts {
  long tables = 0, rows = 0, refused = 0;
};

class Store {
 public:
  // A SQLite file (created when missing), or with `postgres` a libpq
  // connection string. Null with the reason in `error`.
  static std::unique_ptr<Store> open(const std::string& address, bool postgres, std::string& error);
  explicit Store(std::unique_ptr<SqlConnection> db) : db_(std::move(db)) {}

  // Devices.
  bool deviceKnown(const std::string& user, const std::string& device, bool& known, std::string& error);
  bool addDevice(const std::string& user, const std::string& device, std::string& error);
  long removeDevices(const std::string& user, const std::string& device, std::string& error);
  bool listDevices(std::vector<DeviceRow>& rows, std::string& error);
  bool recordSession(const std::string& user, const std::string& device, const std::string& result, std::string& error);

  // Tables. defineTable creates a table or gives it a new structure (its
  // rows keep the fields both structures share); `def.id` is set.
  bool defineTable(TableDef& def, bool& changed, std::string& error);
  bool tables(std::vector<TableDef>& out, std::string& error);
  bool table(const std::string& name, TableDef& out, bool& found, std::string& error);
  // The table's rows become `rows`: new keys inserted, changed rows
  // updated, missing keys deleted; one transaction.
  bool loadRows(const TableDef& def, const std::vector<wire::Row>& rows, LoadCounts& counts, std::string& error);
  // The live rows in key order.
  bool exportRows(const TableDef& def, std::vector<wire::Row>& rows, std::string& error);

  // Queues a total download or a delete of a table for one device, or for
  // every registered device when `user` is empty; `added` counts them.
  bool queueTask(const std::string& kind, const std::string& table, const std::string& user, const std::string& device,
                 long& added, std::string& error);

  // Keeps `file` (kind, name, version, content) and queues it for one
  // device, a user's or every device, as queueTask does.
  bool pushFile(PushedFile& file, const std::string& user, const std::string& device, long& added,
                std::string& error);
  bool pushedFile(long id, PushedFile& out, bool& found, std::string& error);

  // Sessions.
  bool buildTasks(const std::string& user, const std::string& device, std::vector<Task>& tasks, std::string& error);
  bool download(const std::string& user, const std::string& device, const Task& task, Download& out,
                std::string& error);
  // The structure generation and version of an application table.
  bool tableVersion(const std::string& name, long& generation, long& version, bool& found, std::string& error);
  bool stageUpload(const std::string& user, const std::string& device, const std::string& table, const uint8_t* packet,
                   size_t n, wire::Order order, std::string& error);
  // Writes the device's staged uploads back, one transaction per table.
  bool applyStaged(const std::string& user, const std::string& device, UploadCounts& counts, std::string& error);
  bool markDelivered(const std::string& user, const std::string& device, const std::vector<Delivery>& deliveries,
                     std::string& error);

  // Total downloads built ahead (stored_download.h). The reply frames of
  // the table's total download kept for exactly this generation, version
  // and byte order; `found` false when there are none.
  bool storedDownload(const std::string& table, long generation, long version, wire::Order order,
                      std::vector<std::vector<uint8_t>>& frames, bool& found, std::string& error);
  // Keeps `frames`, built from the table as `built` names it, in place of
  // the table's others in `order`; only while the table still stands at
  // that generation and version (`kept` says whether it did).
  bool keepDownload(const Delivery& built, wire::Order order, const std::vector<std::vector<uint8_t>>& frames,
                    bool& kept, std::string& error);
  // The application tables whose total download in `order` is not kept at
  // their current generation and version.
  bool downloadsToBuild(wire::Order order, std::vector<std::string>& tables, std::string& error);

  SqlConnection& sql() { return *db_; }

 private:
  bool setUp(std::string& error);
  const char* writeBegin() const;
  bool catalogVersion(long& version, std::string& error);
  bool bumpCatalog(std::string& error);
  bool lockTable(const std::string& name, long& version, std::string& error);
  bool writeRows(const TableDef& def, const std::vector<const wire::Row*>& rows, long version,
                 const std::string& origin, std::string& error);
  bool applyTableUploads(const std::string& user, const std::string& device, const std::string& table,
                         UploadCounts& counts, std::string& error);

  std::unique_ptr<SqlConnection> db_;
};

}  // namespace server

#endif
