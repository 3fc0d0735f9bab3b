// The user-interface folder's place in the core's hooks record: message
// boxes go to the headless driver, and the folder's state is cleared at the
// end of the application.
#include "core.h"
#include "headless_script.h"
#include "ui_state.h"

namespace ui {

State stateRecord;

namespace {

void end() { stateRecord = State(); }

bool install() {
  core::hooks().messageBox = headlessMessageBox;
  return core::registerFolder(core::kFolderUi, {nullptr, end, nullptr, nullptr});
}

[[maybe_unused]] const bool registered = install();

}  // namespace

}  // namespace ui
