// The run-time's message tables: the error names, the three-language
// auxiliary messages and the three-language texts of the synchronisation
// client. The compiler builds these files too and writes the same lists into
// the Palm resource script, so the device reads what the run-time shows.
#ifndef ZELTA_CORE_MESSAGES_H
#define ZELTA_CORE_MESSAGES_H

namespace core {

// ORDER ERROR_CODES: one name per error code of zeltaobjs.h.
constexpr int kErrorNameCount = 19;
// The name of error `code`; "" outside the table.
const char* errorName(int code);

constexpr int kAuxMessageCount = 141;

// Row `row` in `language` (1 Portuguese, 2 English, 3 Spanish); "" outside.
const char* auxMessage(int language, int row);

constexpr int kSyncMessageCount = 118;

// Sync message `index` in `language` (as auxMessage); "" outside the table.
const char* syncMessage(int language, int index);

}  // namespace core

#endif
