// What zeltasyncd keeps: the devices it serves (a user name and a device
// identifier each) and what their sessions did. SQLite holds it by default;
// every store answers the same calls.
#ifndef ZELTA_SERVER_STORE_H
#define ZELTA_SERVER_STORE_H

#include <memory>
#include <string>
#include <vector>

namespace server {

struct DeviceRow {
  std::string user;
  std::string device;
  std::string added;        // "YYYY-MM-DD HH:MM:SS", UTC
  std::string lastSession;  // empty before the first session
  std::string lastResult;
  long sessions = 0;
};

class Store {
 public:
  virtual ~Store() = default;

  // False, with the reason in `error`, when the store cannot be used.
  virtual bool deviceKnown(const std::string& user, const std::string& device, std::string& error) = 0;
  // False when the pair is already registered or the store failed.
  virtual bool addDevice(const std::string& user, const std::string& device, std::string& error) = 0;
  // Removes the user's devices (all of them when `device` is empty); the
  // number removed, or -1 on a failure.
  virtual long removeDevices(const std::string& user, const std::string& device, std::string& error) = 0;
  virtual bool listDevices(std::vector<DeviceRow>& rows, std::string& error) = 0;
  // Notes the end of a session of a registered device.
  virtual bool recordSession(const std::string& user, const std::string& device, const std::string& result,
                             std::string& error) = 0;
  // Tasks waiting for the device.
  virtual long taskCount(const std::string& user, const std::string& device, std::string& error) = 0;
};

// Opens (creating when missing) the SQLite database at `path`; null with the
// reason in `error` when it cannot be opened or set up. ":memory:" gives a
// private in-memory store.
std::unique_ptr<Store> openSqliteStore(const std::string& path, std::string& error);

}  // namespace server

#endif
