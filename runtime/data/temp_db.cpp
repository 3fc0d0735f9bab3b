// Temporary databases and the delete queue. A temporary database is named by
// its kind (upload ".tHst", install ".tIns", download ".tPda", list ".tLog")
// and holds plain records; the delete queue is the list "EnqueueDelete" of
// tables that were to be deleted while they still had records marked for
// sending, retried at every start and every sync session.
#include <ctype.h>
#include <string.h>

#include <string>

#include "core.h"
#include "temp_db.h"
#include "work_area.h"
#include "zeltardd.h"

namespace data {

namespace {

constexpr size_t kQueuedNameBytes = 32;

uint32_t typeOfKind(int kind) {
  switch (kind) {
    case 'H': return fourCC("tHst");
    case 'I': return fourCC("tIns");
    case 'P': return fourCC("tPda");
    case 'Z': return fourCC("tTmp");
    default: return fourCC("tLog");
  }
}

DmOpenRef asDb(void* handle) { return static_cast<DmOpenRef>(handle); }

// True when some record of the table is marked for sending.
bool hasDirtyRecords(const std::string& name) {
  const LocalID id = DmFindDatabase(0, name.c_str());
  DmOpenRef db = id ? DmOpenDatabase(0, id, dmModeReadWrite) : nullptr;
  if (!db) return false;
  bool dirty = false;
  uint32_t read = 0;
  for (uint32_t i = DmNumRecords(db); i-- > 0;) {
    uint8_t attributes = 0;
    if (DmRecordInfo(db, i, &attributes) == errNone && (attributes & kAttrDirty)) {
      dirty = true;
      break;
    }
    if (++read % kFlushEvery == 0) DbFlush(db);
  }
  DmCloseDatabase(db);
  return dirty;
}

std::string queuedName(DmOpenRef list, uint32_t i) {
  uint32_t size = 0;
  const char* p = recordBytes(list, i, &size);
  return p ? std::string(p, strnlen(p, size)) : std::string();
}

}  // namespace

std::string tmpDbName(const char* name, int kind) {
  std::string n = name ? name : "";
  if (kind == 'Z') return n;
  for (char& c : n) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  switch (kind) {
    case 'H': return n + ".tHst";
    case 'I': return n + ".tIns";
    case 'P': return n + ".tPda";
    default: return n + ".tLog";
  }
}

bool appendTmpRecord(DmOpenRef db, const void* bytes, uint32_t length) {
  uint32_t index = kAfterLast;
  return db && putRecord(db, &index, bytes, length, DirtyChange::keep) == errNone;
}

void deleteEnqueuedAtStart() {
  if (host::fileExists(appFile(tmpDbName("EnqueueDelete", 'L')))) DeleteEnqueued();
}

}  // namespace data

using namespace data;

void* __OpenTmpDb(int card, const char* name, int empty, int kind) {
  if (!name || !*name) return nullptr;
  const std::string n = tmpDbName(name, kind);
  if (n.size() > kMaxNameLength) return nullptr;
  LocalID id = DmFindDatabase(static_cast<uint16_t>(card), n.c_str());
  if (id && empty && DmDeleteDatabase(static_cast<uint16_t>(card), id) == errNone) id = 0;
  if (!id) {
    if (DmCreateDatabase(static_cast<uint16_t>(card), n.c_str(), kTypeData, typeOfKind(kind)) != errNone)
      return nullptr;
    id = DmFindDatabase(static_cast<uint16_t>(card), n.c_str());
  }
  DmOpenRef db = id ? DmOpenDatabase(static_cast<uint16_t>(card), id, dmModeReadWrite) : nullptr;
  // Still open elsewhere, so it could not be deleted: emptied instead.
  if (db && empty && DmNumRecords(db) > 0) CleanTbl(db);
  return db;
}

int __DeleteTmpDb(int card, const char* name, int kind) {
  if (!name || !*name) return 0;
  const std::string n = tmpDbName(name, kind);
  if (n.size() > kMaxNameLength) return 0;
  const LocalID id = DmFindDatabase(static_cast<uint16_t>(card), n.c_str());
  return id && DmDeleteDatabase(static_cast<uint16_t>(card), id) == errNone ? 1 : 0;
}

int __ReadTmpDb(void* handle, int index, char* buffer, int limit) {
  if (!handle || index < 0) return 0;
  uint32_t size = 0;
  const char* p = recordBytes(asDb(handle), static_cast<uint32_t>(index), &size);
  if (!p) return 0;
  State& s = state();
  uint32_t length = limit > 0 && static_cast<uint32_t>(limit) < size ? static_cast<uint32_t>(limit) : size;
  if (!buffer) {
    if (!s.packetBuffer) return 0;
    if (length > static_cast<uint32_t>(s.packetCapacity)) length = static_cast<uint32_t>(s.packetCapacity);
    memcpy(s.packetBuffer, p, length);
    if (s.packetLength) *s.packetLength = static_cast<int32_t>(length);
    return static_cast<int>(length);
  }
  memcpy(buffer, p, length);
  return static_cast<int>(length);
}

int GetTmpDbQtdRecs(void* handle) { return handle ? static_cast<int>(DmNumRecords(asDb(handle))) : 0; }

int EnqueueDelete(const char* name) {
  if (!name) return 0;
  DmOpenRef list = asDb(__OpenTmpDb(0, "EnqueueDelete", 0, 'L'));
  if (!list) return 0;
  const uint32_t count = DmNumRecords(list);
  bool listed = false;
  for (uint32_t i = 0; i < count && !listed; ++i)
    listed = strncmp(queuedName(list, i).c_str(), name, kQueuedNameBytes) == 0;
  if (!listed) appendTmpRecord(list, name, static_cast<uint32_t>(strlen(name) + 1));
  DmCloseDatabase(list);
  return 1;
}

int DeleteEnqueued() {
  DmOpenRef list = asDb(__OpenTmpDb(0, "EnqueueDelete", 0, 'L'));
  if (!list) return 0;
  for (uint32_t i = DmNumRecords(list); i-- > 0;) {
    const std::string name = queuedName(list, i);
    if (!name.empty() && Op_DeleteTbl(name.c_str())) DmRemoveRecord(list, i);
  }
  DmCloseDatabase(list);
  return 1;
}

int Op_DeleteTbl(const char* name) {
  if (!name || !*name) return 0;
  std::string table = name;
  for (char& c : table) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  if (!DmFindDatabase(0, table.c_str())) return 0;
  if (hasDirtyRecords(table)) {
    EnqueueDelete(table.c_str());
    return 0;
  }
  if (!deleteTable(table)) return 0;
  State& s = state();
  if (s.catalogTableDeleted) s.catalogTableDeleted(table.c_str());
  return 1;
}
