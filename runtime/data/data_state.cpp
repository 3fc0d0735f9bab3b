// The data folder's state record and its part in the application's life:
// begin removes the tables whose deletion an earlier run queued; end writes
// what the work areas hold, closes the message log and the catalog (which
// copies itself to catalog.bck), and puts the record back to its defaults.
#include "data_state.h"

#include "core.h"
#include "temp_db.h"
#include "zeltardd.h"

namespace data {

State stateRecord;

void resetRecordHandles(State& s);

void ensureRecordHandles() {
  if (stateRecord.handles.empty()) resetRecordHandles(stateRecord);
}

bool begun() { return stateRecord.active; }

void begin() {
  if (stateRecord.active) end();
  stateRecord = State();
  stateRecord.active = true;
  stateRecord.appDir = core::appDirectory();
  // The record handles (230 KB) come with the first record used, so that a
  // program without tables never touches them.
  deleteEnqueuedAtStart();
}

void end() {
  if (stateRecord.active) {
    __dbCloseAll();
    __CloseMsgLog();
  }
  closeStoreCatalog();
  stateRecord = State();
}

void fatal() {
  if (stateRecord.active) __dbCloseAll();
}

}  // namespace data

int CloseCatalog() {
  __dbCloseAll();
  __CloseMsgLog();
  data::closeStoreCatalog();
  return 1;
}
