// The library folder's place in the core's hooks record: arrays are released
// through __KillArray at the end of their context, and the folder's state is
// cleared at the end of the application.
#include "core.h"
#include "lib_state.h"
#include "zeltaarray.h"

namespace lib {

State stateRecord;

namespace {

// The core's last sweep comes after this and releases the remaining arrays
// through __KillArray; no alias writes to them any more.
void end() {
  stateRecord = State();
  core::resetElementAliases();
}

bool install() {
  core::hooks().releaseArray = __KillArray;
  return core::registerFolder(core::kFolderLib, {nullptr, end, nullptr, nullptr});
}

[[maybe_unused]] const bool registered = install();

}  // namespace

}  // namespace lib
