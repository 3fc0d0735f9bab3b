// The data folder's place in the core's hooks record: its begin, end and
// fatal calls, the value of alias->field for the evaluator, the rescue of
// registered arrays, and the clean-up of the catalog tables.
#include "catalog_files.h"
#include "core.h"
#include "data_state.h"
#include "zeltardd.h"

namespace data {

void dumpRegisteredArrays();

namespace {

bool install() {
  core::Hooks& h = core::hooks();
  h.fieldByName = __GetFieldByName;
  h.dumpRegisteredArrays = dumpRegisteredArrays;
  h.removeDataFiles = removeCatalogFiles;
  return core::registerFolder(core::kFolderData, {begin, end, nullptr, fatal});
}

[[maybe_unused]] const bool registered = install();

}  // namespace

}  // namespace data
