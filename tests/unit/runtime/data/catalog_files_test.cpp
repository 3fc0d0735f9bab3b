// The clean-up of the data files: the catalog and index tables go, the
// program's own files stay.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "catalog_files.h"
#include "core.h"

TEST(CatalogFilesTest, CleanUpRemovesOnlyTheCatalogAndIndexTables) {
  char pattern[] = "/tmp/zelta_catalog_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  setenv("ZELTA_APPDIR", dir.c_str(), 1);
  const struct {
    const char* name;
    bool present;  // a missing table is no failure
    bool kept;
  } files[] = {{"ZEL_TBL", true, false},     {"SYNC_IDX", true, false},    {"ZEL_IND", false, false},
               {"ZEL_IND_IDX", true, false}, {"CLIENTS.tPda", true, true}, {"zel_tbl", true, true}};
  for (const auto& f : files) {
    if (f.present) std::ofstream(dir + "/" + f.name) << "x";
  }
  data::removeCatalogFiles();
  for (const auto& f : files) {
    EXPECT_EQ(access((dir + "/" + f.name).c_str(), F_OK) == 0, f.kept) << f.name;
    unlink((dir + "/" + f.name).c_str());
  }
  rmdir(dir.c_str());
  unsetenv("ZELTA_APPDIR");
}

TEST(CatalogFilesTest, TheCleanUpIsTheDataFoldersHook) {
  EXPECT_EQ(core::hooks().removeDataFiles, data::removeCatalogFiles);
}
