// The catalog and index tables as files: their names in the application
// directory, and their removal when the user confirms a clean-up (cleandbs).
#include "catalog_files.h"

#include <string>

#include "core.h"
#include "host.h"

namespace data {

namespace {

const char* const kCatalogFiles[] = {"ZEL_TBL", "SYNC_IDX", "ZEL_IND", "ZEL_IND_IDX"};

}  // namespace

void removeCatalogFiles() {
  const std::string dir = core::appDirectory();
  for (const char* name : kCatalogFiles) core::host::removeFile(dir + "/" + name);
}

}  // namespace data
