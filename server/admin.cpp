// zeltasyncd admin: registering the users and devices the server accepts.
//
//   add-user NAME DEVICE      NAME may log in from DEVICE
//   list-users                one line per pair: user, device, sessions, last session, its result
//   remove-user NAME [DEVICE] NAME on DEVICE, or on every device
#include "admin.h"

namespace server {

namespace {

int addUser(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  if (w.size() != 3 || w[1].empty() || w[2].empty()) {
    fprintf(err, "usage: add-user NAME DEVICE\n");
    return 2;
  }
  std::string error;
  if (!store.addDevice(w[1], w[2], error)) {
    fprintf(err, "zeltasyncd: %s\n", error.c_str());
    return 1;
  }
  fprintf(out, "added %s on %s\n", w[1].c_str(), w[2].c_str());
  return 0;
}

int listUsers(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  if (w.size() != 1) {
    fprintf(err, "usage: list-users\n");
    return 2;
  }
  std::vector<DeviceRow> rows;
  std::string error;
  if (!store.listDevices(rows, error)) {
    fprintf(err, "zeltasyncd: %s\n", error.c_str());
    return 1;
  }
  for (const DeviceRow& r : rows)
    fprintf(out, "%s\t%s\t%ld\t%s\t%s\n", r.user.c_str(), r.device.c_str(), r.sessions,
            r.lastSession.empty() ? "-" : r.lastSession.c_str(), r.lastResult.empty() ? "-" : r.lastResult.c_str());
  return 0;
}

int removeUser(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  if (w.size() < 2 || w.size() > 3 || w[1].empty()) {
    fprintf(err, "usage: remove-user NAME [DEVICE]\n");
    return 2;
  }
  std::string error;
  const long removed = store.removeDevices(w[1], w.size() == 3 ? w[2] : "", error);
  if (removed < 0) {
    fprintf(err, "zeltasyncd: %s\n", error.c_str());
    return 1;
  }
  if (removed == 0) {
    fprintf(err, "zeltasyncd: no such user%s\n", w.size() == 3 ? " on that device" : "");
    return 1;
  }
  fprintf(out, "removed %ld\n", removed);
  return 0;
}

}  // namespace

int runAdmin(Store& store, const std::vector<std::string>& words, FILE* out, FILE* err) {
  const std::string& command = words.empty() ? std::string() : words[0];
  if (command == "add-user") return addUser(store, words, out, err);
  if (command == "list-users") return listUsers(store, words, out, err);
  if (command == "remove-user") return removeUser(store, words, out, err);
  fprintf(err, "zeltasyncd: unknown admin command %s\n", command.c_str());
  return 2;
}

}  // namespace server
