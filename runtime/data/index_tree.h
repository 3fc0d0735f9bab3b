// The entries of an index database (kind 'B'): fixed-size entries (a 4-byte
// record index, then the key) kept in order in a counted tree of pages inside
// the database's file, so that reading the entry at a position, searching a
// key, and inserting or removing at a position all take O(log n).
#ifndef ZELTA_DATA_INDEX_TREE_H
#define ZELTA_DATA_INDEX_TREE_H

#include <cstdint>
#include <string>

#include "database.h"

namespace data::tree {

// What a search looks for: the first `length` key bytes, and with `exact`
// the record index as well (entries with equal keys are kept in record order).
struct Probe {
  const char* key;
  uint32_t length;
  bool exact;
  uint32_t record;
};

// Unsigned byte order over n bytes (memcmp's), eight bytes at a step.
int compareKeys(const char* a, const char* b, uint32_t n);

// Makes an empty tree of entries of `entrySize` bytes (at least 5).
bool setup(Database* db, uint32_t entrySize);
uint32_t entrySize(Database* db);
// Checks the tree's header when the file is opened.
bool headerValid(Database* db, std::string& why);
uint32_t count(Database* db);
// The entry at `position` (< count); valid until the next change.
const char* entryAt(Database* db, uint32_t position);
// The first position whose entry is not below the probe (count when none).
uint32_t lowerBound(Database* db, const Probe& probe);
bool insertAt(Database* db, uint32_t position, const char* entry);
// Inserts `entry` where `probe` (its own key and record) belongs, in one walk;
// its position, or -1 when the file cannot grow.
int64_t insertSorted(Database* db, const Probe& probe, const char* entry);
// Adds `entry` (with a record index above every entry's) before the next
// read of the tree, which puts all such entries in at once, in key order:
// many appends then cost one sort and merge instead of one walk each.
void queueInsert(Database* db, const char* entry);
bool removeAt(Database* db, uint32_t position);
// Overwrites the entry at `position`; the caller keeps the order.
void replaceAt(Database* db, uint32_t position, const char* entry);
void clear(Database* db);
// Replaces every entry by `n` entries packed one after the other in
// `entries`, taken in the order `order` gives (null: as they are), which is
// the entries' key order.
bool build(Database* db, const char* entries, const uint32_t* order, uint32_t n);
// False when the tree was being changed when its file was last closed (or
// the process was killed): its entries may not match its table.
bool closedCleanly(Database* db);
void markClosed(Database* db);

}  // namespace data::tree

#endif
