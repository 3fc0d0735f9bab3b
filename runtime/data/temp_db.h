// Temporary databases (sync files, lists, the sync date, the message log,
// rescued arrays): store databases named after their kind, and the list of
// tables whose deletion waits for their changes to be sent. Other folders
// (the synchronisation) use these; they close what they open with
// DmCloseDatabase.
#ifndef ZELTA_DATA_TEMP_DB_H
#define ZELTA_DATA_TEMP_DB_H

#include <cstdint>
#include <string>

#include "store.h"

namespace data {

// The database name of a temporary database: the base name upper-cased and
// the kind's suffix (".tHst" 'H', ".tIns" 'I', ".tPda" 'P', ".tLog" any
// other kind), or the name as given for kind 'Z'.
std::string tmpDbName(const char* name, int kind);
// Appends a record; false when it cannot be stored.
bool appendTmpRecord(DmOpenRef db, const void* bytes, uint32_t length);
// Removes the enqueued tables that have nothing left to send (at start).
void deleteEnqueuedAtStart();

}  // namespace data

#endif
