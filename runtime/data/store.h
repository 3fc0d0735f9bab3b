// The record database store: named databases of numbered variable-size
// records, each record with an attribute byte, each database with an
// application-information block, all listed in the catalog. The operations
// keep the handheld data manager's names. Tables, indexes, memo data,
// temporary sync files and the message log are all databases of this store.
//
// Contracts shared by every operation:
// - Record indexes are 0-based; kAfterLast asks for the place after the last
//   record when adding, and is the answer of a failed search.
// - A pointer into a record (MemHandleLock, recordBytes) stays valid until the
//   next call that changes the same database.
// - A change becomes part of the database in one step (a record released,
//   a record removed, a block set): a process killed at any instant leaves
//   each database as it was before or after each such step (database.cpp).
// - Failures the caller can act on come back as an Err; the few the store
//   reports itself (a name too long, a file that cannot be created or mapped)
//   raise their run-time error.
#ifndef ZELTA_DATA_STORE_H
#define ZELTA_DATA_STORE_H

#include <cstdint>
#include <functional>
#include <string>

namespace data {

using Err = uint16_t;
using LocalID = uint32_t;    // database slot + 1; 0 = none
using MemHandle = uint32_t;  // record handle; 0 = none
struct Database;
using DmOpenRef = Database*;

constexpr Err errNone = 0;
constexpr Err dmErrMemError = 0x0201;
constexpr Err dmErrIndexOutOfRange = 0x0202;
constexpr Err dmErrInvalidParam = 0x0203;
constexpr Err dmErrCantOpen = 0x0206;
constexpr Err dmErrCantFind = 0x0207;
constexpr Err dmErrCorruptDatabase = 0x0209;
constexpr Err dmErrRecordBusy = 0x020F;
constexpr Err dmErrWriteOutOfBounds = 0x0214;
constexpr Err dmErrAlreadyExists = 0x0219;
constexpr Err dmErrCatalogFull = 0x021A;

constexpr uint32_t kAfterLast = 0x0FFFFFFE;
constexpr uint8_t kAttrDirty = 0x40;
constexpr uint32_t kMaxRecordSize = 15360;
constexpr size_t kMaxNameLength = 127;
constexpr int kDatabaseSlots = 5120;
constexpr int kRecordHandleSlots = 7168;
constexpr uint16_t dmModeReadWrite = 3;

// Four letters as the store keeps a type or creator: 'DATA' and so on.
constexpr uint32_t fourCC(const char (&s)[5]) {
  return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 | uint32_t(uint8_t(s[2])) << 8 |
         uint32_t(uint8_t(s[3]));
}
constexpr uint32_t kTypeData = fourCC("DATA");
constexpr uint32_t kTypeMemo = fourCC("MEMO");
constexpr uint32_t kTypeIndex = fourCC("INDX");
constexpr uint32_t kCreatorTables = fourCC("PVDA");

// ---- catalog (catalog.cpp)
LocalID DmFindDatabase(uint16_t card, const char* name);
// 0x0219 when the name exists; raises for a name of 128 characters or more
// (error 5) and for a file that cannot be created (error 11).
Err DmCreateDatabase(uint16_t card, const char* name, uint32_t creator, uint32_t type);
Err DmDeleteDatabase(uint16_t card, LocalID id);
Err DmDatabaseInfo(uint16_t card, LocalID id, std::string* name, uint32_t* type, uint32_t* creator);
// Flushes the catalog, copies it whole to "catalog.bck" and forgets it; the
// next store call opens it again.
void closeStoreCatalog();
// The path of a file of the application directory.
std::string appFile(const std::string& name);
bool FileExists(const char* path);

// ---- databases and records (database.cpp)
// Null, after an "Alert" box, when the file cannot be opened or is damaged.
DmOpenRef DmOpenDatabase(uint16_t card, LocalID id, uint16_t mode);
Err DmCloseDatabase(DmOpenRef db);
void DbCacheFree(DmOpenRef db);
uint32_t DmNumRecords(DmOpenRef db);
// A handle for reading record `index` (no release needed), or 0.
MemHandle DmQueryRecord(DmOpenRef db, uint32_t index);
// A handle for changing record `index`, which stays busy until released.
MemHandle DmGetRecord(DmOpenRef db, uint32_t index);
void* MemHandleLock(MemHandle h);
Err MemHandleUnlock(MemHandle h);
uint32_t MemHandleSize(MemHandle h);
// A zeroed record that joins the database at `*index` when it is released.
MemHandle DmNewRecord(DmOpenRef db, uint32_t* index, uint32_t size);
MemHandle DmResizeRecord(DmOpenRef db, uint32_t index, uint32_t size);
Err DmRemoveRecord(DmOpenRef db, uint32_t index);
Err DmReleaseRecord(DmOpenRef db, uint32_t index, bool dirty);
Err DmRecordInfo(DmOpenRef db, uint32_t index, uint8_t* attributes);
Err DmSetRecordInfo(DmOpenRef db, uint32_t index, uint8_t attributes);
Err DmWrite(void* record, uint32_t offset, const void* bytes, uint32_t length);
Err DmSet(void* record, uint32_t offset, uint32_t length, uint8_t value);
// Flushes the views of the database (and of its companion).
void DbFlush(DmOpenRef db);
// Removes every record.
void CleanTbl(DmOpenRef db);
// Drops every record whose last-but-one byte is '*', keeping the others in
// order, by writing them to "%s_Temp" and putting that file in its place.
Err DbPack(DmOpenRef db);
// Writes the database again the same way with every record passed through
// `each`, which returns false to drop the record and may put new data in
// `out` (left empty, the record stays as it is); `info`, when given, becomes
// the information block. The new file replaces the old one in one step.
using RecordRewrite = std::function<bool(uint32_t index, const char* data, uint32_t size, std::string& out)>;
Err DbRewrite(DmOpenRef db, const RecordRewrite& each, const std::string* info);
// The application-information block: null and size 0 when there is none.
const char* DmAppInfo(DmOpenRef db, uint32_t* size);
Err DmSetDatabaseInfo(DmOpenRef db, const void* block, uint32_t size);

// Faster paths for the table layer: a record's bytes, and a whole record
// written in one step (index kAfterLast appends; `*index` gets the place).
const char* recordBytes(DmOpenRef db, uint32_t index, uint32_t* size);
enum class DirtyChange { keep, set, clear };
Err putRecord(DmOpenRef db, uint32_t* index, const void* bytes, uint32_t size, DirtyChange dirty);
LocalID databaseId(DmOpenRef db);
const std::string& databaseName(DmOpenRef db);
uint32_t databaseType(DmOpenRef db);
}  // namespace data

#endif
