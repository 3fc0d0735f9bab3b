// The synchronisation folder's place in the core's hooks record: at the end
// of the application (and on a fatal error) its sockets and serial ports are
// closed, and its state goes back to its defaults.
#include "core.h"
#include "serial_posix.h"
#include "sync_state.h"

namespace sync {

namespace {

void closeEverything() {
  freeNetBlock();
  for (SerialPort& port : state().ports) host::closeSerial(port.fd);
  state().ports.clear();
}

void end() {
  closeEverything();
  stateRecord = State();
}

bool install() { return core::registerFolder(core::kFolderSync, {nullptr, end, nullptr, closeEverything}); }

[[maybe_unused]] const bool registered = install();

}  // namespace

}  // namespace sync
