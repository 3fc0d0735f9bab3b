// zeltasyncd admin: the users and devices the server accepts, the tables it
// keeps, and the tasks waiting for the devices.
//
//   add-user NAME DEVICE              NAME may log in from DEVICE
//   list-users                        user, device, sessions, last session, its result
//   remove-user NAME [DEVICE]         NAME on DEVICE, or on every device
//   load-table STRUCTURE [CSV]        define a table (or change it); with CSV its rows become the file's
//   export-table TABLE [CSV]          the live rows, to the file or standard output
//   list-tables                       name, number, rows, version, upload
//   queue download|delete TABLE [NAME [DEVICE]]   for one device, a user's or every device
//   push-file FILE VERSION [NAME [DEVICE]]        a component to install, under FILE's base name
//   push-image FILE [NAME [DEVICE]]               an image for the devices
//   status                            devices, last session, and the downloads and deletes waiting
#include "admin.h"

#include <ctype.h>

#include <fstream>
#include <sstream>

#include "csv.h"
#include "framing.h"
#include "rpc_functions.h"
#include "stored_download.h"

namespace server {

namespace {

bool readFile(const std::string& path, std::string& text, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::stringstream s;
  s << in.rdbuf();
  text = s.str();
  return true;
}

int complain(FILE* err, const std::string& text, int status = 1) {
  fprintf(err, "zeltasyncd: %s\n", text.c_str());
  return status;
}

int usage(FILE* err, const char* text) {
  fprintf(err, "usage: %s\n", text);
  return 2;
}

int addUser(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  if (w.size() != 3 || w[1].empty() || w[2].empty()) return usage(err, "add-user NAME DEVICE");
  std::string error;
  if (!store.addDevice(w[1], w[2], error)) return complain(err, error);
  fprintf(out, "added %s on %s\n", w[1].c_str(), w[2].c_str());
  return 0;
}

int listUsers(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  if (w.size() != 1) return usage(err, "list-users");
  std::vector<DeviceRow> rows;
  std::string error;
  if (!store.listDevices(rows, error)) return complain(err, error);
  for (const DeviceRow& r : rows)
    fprintf(out, "%s\t%s\t%ld\t%s\t%s\n", r.user.c_str(), r.device.c_str(), r.sessions,
            r.lastSession.empty() ? "-" : r.lastSession.c_str(), r.lastResult.empty() ? "-" : r.lastResult.c_str());
  return 0;
}

int removeUser(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  if (w.size() < 2 || w.size() > 3 || w[1].empty()) return usage(err, "remove-user NAME [DEVICE]");
  std::string error;
  const long removed = store.removeDevices(w[1], w.size() == 3 ? w[2] : "", error);
  if (removed < 0) return complain(err, error);
  if (removed == 0) return complain(err, std::string("no such user") + (w.size() == 3 ? " on that device" : ""));
  fprintf(out, "removed %ld\n", removed);
  return 0;
}

// After a change to the tables or the queue, the total downloads the
// devices will ask for are built at once; the change stands either way.
void buildDownloads(Store& store, FILE* err) {
  std::string error;
  if (!buildStaleDownloads(store, wire::Order::Big, nullptr, error))
    fprintf(err, "zeltasyncd: building total downloads: %s\n", error.c_str());
}

int loadTable(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  if (w.size() < 2 || w.size() > 3) return usage(err, "load-table STRUCTURE [CSV]");
  std::string text, error;
  TableDef def;
  if (!readFile(w[1], text, error)) return complain(err, error);
  if (!parseStructure(text, def, error)) return complain(err, w[1] + ": " + error);
  std::vector<wire::Row> rows;
  if (w.size() == 3) {
    std::string csv;
    if (!readFile(w[2], csv, error)) return complain(err, error);
    if (!csvRows(def, csv, rows, error)) return complain(err, w[2] + ": " + error);
  }
  bool changed = false;
  if (!store.defineTable(def, changed, error)) return complain(err, error);
  fprintf(out, "table %s (%ld) %s\n", def.name.c_str(), def.id, changed ? "defined" : "unchanged");
  if (w.size() == 3) {
    LoadCounts c;
    if (!store.loadRows(def, rows, c, error)) return complain(err, error);
    fprintf(out, "rows: %ld inserted, %ld updated, %ld deleted, %ld unchanged\n", c.inserted, c.updated, c.deleted,
            c.unchanged);
  }
  buildDownloads(store, err);
  return 0;
}

int exportTable(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  if (w.size() < 2 || w.size() > 3) return usage(err, "export-table TABLE [CSV]");
  std::string error;
  TableDef def;
  bool found = false;
  std::string name = w[1];
  for (char& c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  if (!store.table(name, def, found, error)) return complain(err, error);
  if (!found) return complain(err, "no table " + name);
  std::vector<wire::Row> rows;
  if (!store.exportRows(def, rows, error)) return complain(err, error);
  const std::string csv = rowsCsv(def, rows);
  if (w.size() == 2) {
    fputs(csv.c_str(), out);
    return 0;
  }
  std::ofstream file(w[2], std::ios::binary);
  if (!(file << csv)) return complain(err, "cannot write " + w[2]);
  fprintf(out, "exported %zu rows of %s\n", rows.size(), name.c_str());
  return 0;
}

int listTables(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  if (w.size() != 1) return usage(err, "list-tables");
  std::vector<TableDef> defs;
  std::string error;
  if (!store.tables(defs, error)) return complain(err, error);
  for (const TableDef& d : defs) {
    std::vector<wire::Row> rows;
    if (!store.exportRows(d, rows, error)) return complain(err, error);
    fprintf(out, "%s\t%ld\t%zu rows\tupload %s\n", d.name.c_str(), d.id, rows.size(), d.toHost ? "yes" : "no");
  }
  return 0;
}

int queue(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  const char* form = "queue download|delete TABLE [NAME [DEVICE]]";
  if (w.size() < 3 || w.size() > 5 || (w[1] != "download" && w[1] != "delete")) return usage(err, form);
  std::string name = w[2];
  for (char& c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  std::string error;
  TableDef def;
  bool found = false;
  if (!store.table(name, def, found, error)) return complain(err, error);
  if (!found && w[1] == "download") return complain(err, "no table " + name);
  long added = 0;
  if (!store.queueTask(w[1], name, w.size() > 3 ? w[3] : "", w.size() > 4 ? w[4] : "", added, error))
    return complain(err, error);
  if (added == 0) return complain(err, "no such device");
  fprintf(out, "queued a %s of %s for %ld device%s\n", w[1].c_str(), name.c_str(), added, added == 1 ? "" : "s");
  if (found) buildDownloads(store, err);
  return 0;
}

// A pushed file travels under its base name, which must stay a plain name
// on the device.
std::string baseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int push(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  const bool install = w[0] == "push-file";
  const char* form = install ? "push-file FILE VERSION [NAME [DEVICE]]" : "push-image FILE [NAME [DEVICE]]";
  const size_t args = install ? 3 : 2;
  if (w.size() < args || w.size() > args + 2) return usage(err, form);
  PushedFile file;
  file.kind = install ? "install" : "image";
  file.name = baseName(w[1]);
  file.version = install ? w[2] : "";
  if (file.name.empty() || file.name == "." || file.name == ".." || file.name.size() > 200)
    return complain(err, "no plain file name in " + w[1]);
  if (install && (file.version.empty() || file.version.find_first_not_of("0123456789") != std::string::npos))
    return complain(err, "the version must be a whole number: " + file.version);
  std::string error;
  if (!readFile(w[1], file.content, error)) return complain(err, error);
  // An image goes in one packet, after its two lead bytes, the status bytes,
  // its name and its 16-bit size.
  const size_t imageRoom = wire::kMaxPayload - 6 - (file.name.size() + 1);
  if (!install && file.content.size() > imageRoom)
    return complain(err, "the image is larger than " + std::to_string(imageRoom) + " bytes");
  long added = 0;
  if (!store.pushFile(file, w.size() > args ? w[args] : "", w.size() > args + 1 ? w[args + 1] : "", added, error))
    return complain(err, error);
  if (added == 0) return complain(err, "no such device");
  fprintf(out, "queued %s %s (%zu bytes) for %ld device%s\n", install ? "the install of" : "the image",
          file.name.c_str(), file.content.size(), added, added == 1 ? "" : "s");
  return 0;
}

int status(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  if (w.size() != 1) return usage(err, "status");
  std::vector<DeviceRow> devices;
  std::string error;
  if (!store.listDevices(devices, error)) return complain(err, error);
  for (const DeviceRow& d : devices) {
    std::vector<Task> tasks;
    if (!store.buildTasks(d.user, d.device, tasks, error)) return complain(err, error);
    std::string waiting;
    for (const Task& t : tasks) {
      if (t.type == kTaskUpload) continue;
      if (t.type == kTaskInstall || t.type == kTaskImage) {
        waiting += (waiting.empty() ? "" : " ") + std::string(t.type == kTaskInstall ? "install:#" : "image:#") +
                   std::to_string(t.fileId);
        continue;
      }
      waiting += (waiting.empty() ? "" : " ") +
                 std::string(t.type == kTaskDelete ? "delete:"
                             : t.mode == 'T'       ? "total:"
                                                   : "partial:") +
                 t.table;
    }
    fprintf(out, "%s\t%s\t%ld sessions\tlast %s %s\twaiting %s\n", d.user.c_str(), d.device.c_str(), d.sessions,
            d.lastSession.empty() ? "-" : d.lastSession.c_str(), d.lastResult.empty() ? "-" : d.lastResult.c_str(),
            waiting.empty() ? "nothing" : waiting.c_str());
  }
  return 0;
}

}  // namespace

int runAdmin(Store& store, const std::vector<std::string>& words, FILE* out, FILE* err) {
  const std::string& command = words.empty() ? std::string() : words[0];
  if (command == "add-user") return addUser(store, words, out, err);
  if (command == "list-users") return listUsers(store, words, out, err);
  if (command == "remove-user") return removeUser(store, words, out, err);
  if (command == "load-table") return loadTable(store, words, out, err);
  if (command == "export-table") return exportTable(store, words, out, err);
  if (command == "list-tables") return listTables(store, words, out, err);
  if (command == "queue") return queue(store, words, out, err);
  if (command == "push-file" || command == "push-image") return push(store, words, out, err);
  if (command == "status") return status(store, words, out, err);
  const int rpc = runFunctionAdmin(store, words, out, err);
  if (rpc >= 0) return rpc;
  fprintf(err, "zeltasyncd: unknown admin command %s\n", command.c_str());
  return 2;
}

}  // namespace server
