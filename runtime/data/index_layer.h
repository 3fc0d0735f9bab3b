// Indexes of tables: what the index files share with each other and with the
// work areas. An index is an index database ("INDX") named by the index,
// holding one entry per table record (4-byte record index, then the key) in
// key order; its definition (name, key expression, key length) lives in the
// table's structure block. While a table is open every index it defines is
// open and kept up to date by every write; the area's active order (one of
// them, or none) is what moves and seeks follow.
#ifndef ZELTA_DATA_INDEX_LAYER_H
#define ZELTA_DATA_INDEX_LAYER_H

#include <string>
#include <vector>

#include "work_area.h"

namespace data {

// ---- index_keys.cpp
// The field names of a key expression, upper case; none for an empty text.
std::vector<std::string> parseKeyExpression(const std::string& expression);
uint32_t keyLengthOf(const TableDescriptor& schema, const std::vector<int>& fields);
bool keyableType(uint8_t type);
// The key bytes (keyLength of them) of the record in `buffer`; raises
// 3/20 for a key field of a type that cannot be in a key.
void buildKey(const TableDescriptor& schema, const IndexDef& index, const char* buffer, char* out);
// The search text of a seek in the form keys take (a number written as Str()
// writes it becomes the number's key).
std::string seekKey(const TableDescriptor& schema, const IndexDef& index, const std::string& text);

// ---- index_orders.cpp
// Opens every index the table defines, rebuilding those that do not match it.
void openIndexes(WorkArea& area);
void closeIndexes(WorkArea& area);
IndexDef* activeIndex(WorkArea& area);
// Rebuilds one index from the table's records; false when its database is missing.
bool rebuildIndex(WorkArea& area, IndexDef& index);
void reindexAll(WorkArea& area);
// The bytes of a record as they were put in the table.
struct StoredRecord {
  const char* bytes;
  uint32_t size;
};
// Rebuilds every index from `records`, which are the table's records in
// order, as reindexAll would from the table itself, without reading it.
void reindexStored(WorkArea& area, const std::vector<StoredRecord>& records);
void zapIndexes(WorkArea& area);

// ---- index_seek.cpp
// Keys of the stored record an existing-record write replaces, per index.
void keysBeforeWrite(WorkArea& area, uint32_t record, std::vector<std::string>& keys);
// Brings every open index up to date with the record just written.
void indexesAfterWrite(WorkArea& area, uint32_t record, bool isNew, const std::vector<std::string>& oldKeys);
// The entry of the current record in `index` (count when at the end).
int64_t locate(WorkArea& area, IndexDef& index);
// The record index of entry `position`.
uint32_t entryRecord(const IndexDef& index, uint32_t position);

}  // namespace data

#endif
