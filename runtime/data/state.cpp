// The data folder's state record and its place in the application's life:
// made by __BeginGlobal (through the core's hooks), which also removes the
// tables whose deletion was queued by an earlier run, and cleared by
// __EndGlobal after every area and the catalog are closed.
#include "state.h"

#include "core.h"
#include "temp_db.h"
#include "zeltardd.h"

namespace data {

void resetRecordHandles(State& s);

State* currentState = nullptr;

namespace {

void deleteByName(const char* name) {
  if (!name) return;
  if (LocalID id = DmFindDatabase(0, name)) DmDeleteDatabase(0, id);
}

const bool hooked = [] {
  core::Hooks& h = core::hooks();
  h.dataBegin = begin;
  h.dataEnd = end;
  h.deleteDatabase = deleteByName;
  return true;
}();

}  // namespace

State& makeState() {
  if (!currentState) {
    currentState = new State();
    currentState->appDir = core::appDirectory();
    resetRecordHandles(*currentState);
  }
  return *currentState;
}

bool begun() { return currentState != nullptr; }

void begin() {
  if (currentState) end();
  makeState();
  deleteEnqueuedAtStart();
}

void end() {
  if (!currentState) return;
  __dbCloseAll();
  __CloseMsgLog();
  closeStoreCatalog();
  delete currentState;
  currentState = nullptr;
}

}  // namespace data

int CloseCatalog() {
  if (!data::begun()) return 1;
  __dbCloseAll();
  __CloseMsgLog();
  data::closeStoreCatalog();
  return 1;
}
