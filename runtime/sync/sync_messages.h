// The sync message table: 118 texts in Portuguese, English and Spanish,
// chosen by the run-time language.
#ifndef ZELTA_SYNC_SYNC_MESSAGES_H
#define ZELTA_SYNC_SYNC_MESSAGES_H

namespace sync {

constexpr int kSyncMessageCount = 118;

// Text n in the current language; "" outside 0 .. 117.
const char* syncMessage(int n);

}  // namespace sync

#endif
