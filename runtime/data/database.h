// What the catalog and the database files share inside the store: the open
// database record, the record handles, and the file operations the catalog
// calls to create, open, check and close database files.
#ifndef ZELTA_DATA_DATABASE_H
#define ZELTA_DATA_DATABASE_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "store.h"
#include "store_host.h"

namespace data {

// Index entries waiting to go into a tree, in blocks of whole entries taken
// from the system and given back when the queue empties: one growing array
// would copy itself (holding every entry twice for a moment), and freed
// blocks kept by the allocator would stay in the process.
class EntryQueue {
 public:
  static constexpr size_t kBlock = size_t{1} << 18;
  EntryQueue() = default;
  EntryQueue(const EntryQueue&) = delete;
  EntryQueue& operator=(const EntryQueue&) = delete;
  ~EntryQueue() { clear(); }
  uint32_t size() const { return count_; }
  // False when the system gives no memory.
  bool push(const char* entry, uint32_t length);
  const char* at(uint32_t i) const { return blocks_[i / perBlock_] + size_t{i % perBlock_} * length_; }
  void clear();
  void swap(EntryQueue& other);

 private:
  std::vector<char*> blocks_;
  uint32_t count_ = 0, length_ = 0, perBlock_ = 0;
};

// One open database; every DmOpenDatabase of the same database shares it.
struct Database {
  LocalID id = 0;
  std::string name;
  std::string path;
  host::MappedFile file;
  char kind = 'X';  // 'V' DATA and MEMO (with a companion), 'B' INDX, 'X' other
  uint32_t type = 0;
  uint32_t creator = 0;
  int openCount = 0;
  int growths = 0;                               // growths of the file since it was opened
  uint32_t pendingNew = 0;                       // handle of a record being added, 0 = none
  std::multimap<uint32_t, uint32_t> freeBlocks;  // length -> offset
  std::vector<MemHandle> busy;                   // handles of records being changed
  // Bytes read or written since the views were last flushed: a flush gives
  // back only their pages, so it does not cost the whole file each time.
  uint64_t touchedLow = UINT64_MAX;
  uint64_t touchedHigh = 0;
  // Records read out of record order are copied here instead of being read
  // through the mapping (recordBytes): reads all over a large file would
  // otherwise keep every page of it resident in the process.
  std::vector<char> copy;
  uint32_t lastRead = UINT32_MAX;  // record read last
  uint32_t copyLength = 0;         // bytes copied at once: the longest record met so far
  // Index databases ('B', index_tree.cpp): changes so far, whether the tree
  // was changed since it was opened, and the leaf read last.
  uint32_t treeChanges = 0;
  bool treeDirty = false;
  uint32_t cursorPage = 0;
  uint32_t cursorStart = 0;
  uint32_t cursorChanges = ~0u;
  // Entries of new records not yet in the tree, in arrival order: they go in
  // together, in key order, before the tree is next read (index_tree.cpp).
  EntryQueue queued;
};

struct RecordHandle {
  Database* db = nullptr;
  uint32_t index = 0;
  uint32_t body = 0;    // committed body block; 0 for a new record
  uint32_t shadow = 0;  // block the changes go to, 0 until locked
  uint32_t size = 0;    // data size the record will have
  uint8_t flags = 0;
  uint32_t nextFree = 0;
};

enum HandleFlags : uint8_t { kHandleUsed = 1, kHandleBusy = 2, kHandleLocked = 4, kHandleNew = 8, kHandleQuery = 16 };

// Validates the head of a database file; fills type and creator when it is one.
bool isDatabaseFile(const std::string& path, uint32_t* type, uint32_t* creator);
// Creates the file of a new, empty database. False when it exists (`exists`)
// or cannot be created.
bool createDatabaseFile(const std::string& path, uint32_t type, uint32_t creator, bool& exists);
// Opens and checks the file; null with `why` when it is damaged or missing.
Database* openDatabaseFile(const std::string& path, std::string& why);
// Grows the file in the store's steps so that `end` bytes fit; false (after
// an "Alert" box) when it cannot.
bool growDatabase(Database* db, uint64_t end);
// Writes what is left (free list, clean mark) and unmaps; deletes `db`.
void closeDatabaseFile(Database* db);
// Removes a database's files (the companion included).
void removeDatabaseFiles(const std::string& path);
char kindOfType(uint32_t type);

// Shows a store message in an "Alert" box (formatted like printf).
void storeAlert(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace data

#endif
