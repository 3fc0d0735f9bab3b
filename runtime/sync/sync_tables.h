// The device's tables in a sync session: dirty records packed into upload
// files before going online, and download files applied to the tables after
// it, with the tables the catalog names created first.
#ifndef ZELTA_RUNTIME_SYNC_SYNC_TABLES_H
#define ZELTA_RUNTIME_SYNC_SYNC_TABLES_H

#include <string>
#include <vector>

namespace sync {

// Packs the live dirty records of `table` into its ".tHst" file, one
// compressed upload packet per record of the file. The rows packed (0: the
// file is deleted), -1 when the table or the file could not be had.
long packTable(const std::string& table);

// Clears the dirty flag of every record of `table`, from the last to the
// first; false when the table cannot be opened.
bool clearDirty(const std::string& table);

struct ApplyCounts {
  long inserted = 0;
  long updated = 0;
  long deleted = 0;
};

enum class ApplyResult {
  Applied,     // the table holds the download; its file is deleted
  Incomplete,  // the file is not complete yet: kept for the next session
  Refused,     // a total download met dirty records: kept, table unchanged
  Damaged,     // a packet or row is damaged: deleted, table unchanged
  Missing      // there is no download file (already applied)
};

// Applies the download file of `table`: a total one replaces the table's
// records, a partial one inserts, updates and deletes through the first
// index. The file is checked whole before the table is touched.
ApplyResult applyDownload(const std::string& table, ApplyCounts& counts, std::string& why);

// Keeps the inflated rows of the packet stored as `record` of the table's
// download file for the apply (within a bound on the memory they take);
// forgetInflated drops the table's, as when its file starts again.
void keepInflated(const std::string& table, uint32_t record, const uint8_t* packed, size_t packedSize,
                  const uint8_t* plain, size_t plainSize);
void forgetInflated(const std::string& table);

// Creates `table` from its rows in ZEL_TBL, ZEL_COLS and ZEL_IND when the
// device does not have it, or (before a total download) when its structure
// is no longer the catalog's; true when it exists afterwards.
bool createFromCatalog(const std::string& table, bool total);

// The tables ZEL_TBL marks for upload (TBLTOHOST starting with 'T'), in
// its order, each once; with a connection type, only the names ending in it.
std::vector<std::string> uploadTables(char connectionType);

// TOHOST: the tables whose upload files wait to be sent.
bool addToHost(const std::string& table);
std::vector<std::string> toHostTables();
void deleteToHost();

// The connection profile in CAD_USER; false when the table is missing or empty.
bool readProfile(std::string& host, std::string& user, std::string& deviceType, std::string& deviceId, int& port,
                 int& timeout);

// Writes the profile (host, user, device type, device id, port, time-out)
// into CAD_USER's one record, creating the table when missing.
bool writeProfile(const std::vector<std::string>& values);

// Closes the areas in which the session opened catalog tables, so that
// their downloads can replace them.
void closeAlias(const char* alias);

}  // namespace sync

#endif
