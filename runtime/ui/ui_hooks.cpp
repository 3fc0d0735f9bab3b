// The user-interface folder's place in the core's hooks record: message
// boxes and the fatal window go to the driver, windows die with the context
// that made them, the terminal is given back first thing in a fatal error,
// and the folder's state is cleared at the end of the application.
#include "core.h"
#include "dialog.h"
#include "timers.h"
#include "ui_builtin.h"
#include "ui_state.h"
#include "zeltaui.h"

namespace ui {

State stateRecord;

namespace {

void end() {
  State& s = stateRecord;
  s.loops.clear();
  killAllWindows();
  closePrinter();
  if (s.driver) s.driver->restore();
  stateRecord = State();
}

void contextEnd() {
  if (!stateRecord.windows.empty()) __KillWin();
}

void fatal() {
  if (stateRecord.driver) stateRecord.driver->restore();
}

bool install() {
  core::hooks().messageBox = showMessageBox;
  core::hooks().fatalWindow = showFatalWindow;
  return core::registerFolder(core::kFolderUi, {nullptr, end, contextEnd, fatal});
}

[[maybe_unused]] const bool registered = install();

}  // namespace

}  // namespace ui
