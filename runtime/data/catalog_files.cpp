// The catalog and index tables as files: their removal when the user
// confirms a clean-up (cleandbs). A table the store knows goes with its
// catalog entry and companion; a file of that name the store does not know
// is removed as it is.
#include "catalog_files.h"

#include <string>

#include "data_state.h"
#include "store.h"
#include "store_host.h"

namespace data {

namespace {

const char* const kCatalogFiles[] = {"ZEL_TBL", "SYNC_IDX", "ZEL_IND", "ZEL_IND_IDX"};

}  // namespace

void removeCatalogFiles() {
  for (const char* name : kCatalogFiles) {
    const LocalID id = DmFindDatabase(0, name);
    if (!id || DmDeleteDatabase(0, id) != errNone) host::removeFile(appFile(name));
  }
}

}  // namespace data
