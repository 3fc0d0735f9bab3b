// The data folder's place in the core's hooks record.
#include "catalog_files.h"
#include "core.h"

namespace data {

namespace {

bool install() {
  core::hooks().removeDataFiles = removeCatalogFiles;
  return true;
}

[[maybe_unused]] const bool registered = install();

}  // namespace

}  // namespace data
