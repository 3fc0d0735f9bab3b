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

namespace {

State* current = nullptr;

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

State& state() {
  if (!current) {
    current = new State();
    current->appDir = core::appDirectory();
    resetRecordHandles(*current);
  }
  return *current;
}

bool begun() { return current != nullptr; }

void begin() {
  if (current) end();
  state();
  deleteEnqueuedAtStart();
}

void end() {
  if (!current) return;
  __dbCloseAll();
  __CloseMsgLog();
  closeStoreCatalog();
  delete current;
  current = nullptr;
}

}  // namespace data

int CloseCatalog() {
  if (!data::begun()) return 1;
  __dbCloseAll();
  __CloseMsgLog();
  data::closeStoreCatalog();
  return 1;
}
