// The administration commands of zeltasyncd, run against the store.
#ifndef ZELTA_SERVER_ADMIN_H
#define ZELTA_SERVER_ADMIN_H

#include <stdio.h>

#include <string>
#include <vector>

#include "store.h"

namespace server {

// Runs `words` (command, operands); writes results on `out`, complaints on
// `err`. Returns the exit status: 0 done, 1 refused or failed, 2 misused.
int runAdmin(Store& store, const std::vector<std::string>& words, FILE* out, FILE* err);

}  // namespace server

#endif
