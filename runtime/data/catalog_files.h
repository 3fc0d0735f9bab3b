// The files of the catalog and index tables in the application directory.
#ifndef ZELTA_DATA_CATALOG_FILES_H
#define ZELTA_DATA_CATALOG_FILES_H

namespace data {

// Removes the catalog and index tables ("ZEL_TBL", "SYNC_IDX", "ZEL_IND",
// "ZEL_IND_IDX") where they exist; the program's own tables stay.
void removeCatalogFiles();

}  // namespace data

#endif
