// Database files: the records of one database, its directory and its
// information block, in one memory-mapped file that grows in the store's
// steps. Nothing that is in use is ever overwritten: a changed record, a
// longer directory or a new information block is written to free space and
// then put in place by one aligned 32-bit store (a directory entry, the
// directory's count, or a descriptor word). A process killed at any instant
// therefore leaves every record either as it was or as it was last released.
//
// Database file (integers little-endian, blocks 8-byte aligned):
//
//   0   header, 20 bytes
//         0  u8   layout version, 1
//         1  u8   kind: 'V' DATA and MEMO, 'B' INDX, 'X' any other type
//         2  u16  1 when closed cleanly (the companion's free list is current)
//         4  u32  offset of the first record block (64)
//         8  u32  record count (a copy of the directory's)
//         12 u32  mapped size: the file's size, a multiple of 15360
//         16 u32  used size: blocks are handed out below it
//   20  descriptor, 44 bytes
//         20 char[4] "ZDB1"
//         24 u32  type          28 u32  creator
//         32 u32  generation, advanced each time the database is opened
//         36 u32  directory block, 0 while the database never had records
//         40 u32  information block, 0 when there is none
//         44 ..63 0
//   64  blocks
//
//   record body       u32 data size | u8 attributes | u8 0 | u16 check | data
//   directory block   u32 capacity | u32 count | u32 body offset x capacity
//   information block u32 size | u32 check | bytes
//
// The check of a body is a 16-bit fold of a multiply-mix hash over its size
// and data, eight bytes at a step; the attributes (0x40 dirty) are not part
// of it, so they change in place.
//
// Companion "<name>_OS" of a 'V' database, written when the database closes:
//
//   0  char[4] "ZOS1"   4 u32 generation of the database when written
//   8  u32 free blocks n   12 u32 check of the n pairs   16 n x {u32 offset, u32 length}
//
// The free list is taken back only when the database was closed cleanly and
// the generations agree; otherwise the space it names stays unused.
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <utility>

#include "core.h"
#include "database.h"
#include "index_tree.h"
#include "data_state.h"
#include "zeltautil.h"

namespace data {

namespace {

constexpr uint32_t kFirstBlock = 64;
constexpr uint32_t kBodyHeader = 8;
constexpr uint32_t kGrowthStep = 15360;
constexpr uint32_t kMinDirectory = 64;
constexpr uint32_t kQuerySlots = 16;
// Bytes copied by the first read of a record out of order; it learns the
// longest record met, up to kCopyMost. Copying more than a record costs: the
// bytes are rarely in the processor's cache.
constexpr uint32_t kCopyAtOnce = 64;
constexpr uint32_t kCopyMost = 1024;
constexpr size_t kCopyAbove = size_t{1} << 20;

inline uint32_t get32(const char* p) {
  uint32_t v;
  memcpy(&v, p, 4);
  return v;
}
inline uint16_t get16(const char* p) {
  uint16_t v;
  memcpy(&v, p, 2);
  return v;
}
inline void put32(char* p, uint32_t v) { memcpy(p, &v, 4); }
inline void put16(char* p, uint16_t v) { memcpy(p, &v, 2); }
inline void ordered() { __atomic_signal_fence(__ATOMIC_SEQ_CST); }
// The one store that makes a change part of the database.
inline void publish(char* p, uint32_t v) { __atomic_store_n(reinterpret_cast<uint32_t*>(p), v, __ATOMIC_RELEASE); }

inline uint32_t align8(uint32_t n) { return (n + 7) & ~7u; }
inline uint32_t blockLength(uint32_t dataSize) { return kBodyHeader + align8(dataSize); }
inline uint32_t directoryLength(uint32_t capacity) { return align8(8 + capacity * 4); }

uint32_t fnv(const char* p, size_t n, uint32_t h = 2166136261u) {
  for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<uint8_t>(p[i])) * 16777619u;
  return h;
}
// Eight bytes at a step: the check is taken on every read of a record.
uint16_t bodyCheck(const char* data, uint32_t size) {
  uint64_t h = 0x9E3779B97F4A7C15ull ^ size;
  uint32_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t w;
    memcpy(&w, data + i, 8);
    h = (h ^ w) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 29;
  }
  uint64_t tail = 0;
  memcpy(&tail, data + i, size - i);
  h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 32;
  return static_cast<uint16_t>(h ^ (h >> 16));
}

// Header and descriptor fields.
char* base(Database* db) { return db->file.base; }
uint32_t usedSize(Database* db) { return get32(base(db) + 16); }
uint32_t directory(Database* db) { return get32(base(db) + 36); }
uint32_t infoBlock(Database* db) { return get32(base(db) + 40); }

uint32_t countOf(Database* db) {
  const uint32_t dir = directory(db);
  return dir ? get32(base(db) + dir + 4) : 0;
}
uint32_t capacityOf(Database* db) {
  const uint32_t dir = directory(db);
  return dir ? get32(base(db) + dir) : 0;
}
char* entrySlot(Database* db, uint32_t i) { return base(db) + directory(db) + 8 + size_t{i} * 4; }
uint32_t bodyAt(Database* db, uint32_t i) { return get32(entrySlot(db, i)); }

void mirrorCount(Database* db) { put32(base(db) + 8, countOf(db)); }

// Grows the file so that `end` bytes fit: 15360 bytes for the first two
// growths of this opening, 61440 for the next two, 92160 after that, or the
// need plus 15360 when a step is not enough.
bool ensureRoom(Database* db, uint64_t end) { return growDatabase(db, end); }

}  // namespace

bool growDatabase(Database* db, uint64_t end) {
  if (end <= db->file.size) return true;
  const uint32_t step = db->growths < 2 ? kGrowthStep : db->growths < 4 ? 4 * kGrowthStep : 6 * kGrowthStep;
  uint64_t size = db->file.size + step;
  if (size < end) size = end + kGrowthStep;
  if (size > 0xFFFFFFF0u) {
    storeAlert("Falha de increase !mp");
    return false;
  }
  std::string error;
  if (!host::growMapped(db->file, size, error)) {
    storeAlert("Falha de increase %s size=%ld", db->name.c_str(), static_cast<long>(size));
    return false;
  }
  ++db->growths;
  put32(base(db) + 12, static_cast<uint32_t>(size));
  return true;
}

namespace {

// A block of `length` bytes (a multiple of 8) that nothing refers to; 0 when
// the file cannot grow. Free blocks are reused best fit first, the rest of a
// larger one going back to the free list.
uint32_t allocate(Database* db, uint32_t length) {
  auto fit = db->freeBlocks.lower_bound(length);
  if (fit != db->freeBlocks.end()) {
    const uint32_t offset = fit->second, spare = fit->first - length;
    db->freeBlocks.erase(fit);
    if (spare >= 8) db->freeBlocks.emplace(spare, offset + length);
    return offset;
  }
  const uint32_t used = usedSize(db);
  if (!ensureRoom(db, uint64_t{used} + length)) return 0;
  put32(base(db) + 16, used + length);
  return used;
}

void release(Database* db, uint32_t offset, uint32_t length) {
  if (offset >= kFirstBlock && length >= 8) db->freeBlocks.emplace(length, offset);
}

uint32_t bodyLengthAt(Database* db, uint32_t offset) { return blockLength(get32(base(db) + offset)); }

inline void touch(Database* db, uint64_t from, uint64_t to) {
  if (from < db->touchedLow) db->touchedLow = from;
  if (to > db->touchedHigh) db->touchedHigh = to;
}

// A body block that is whole: inside the used part, of a size the store
// allows, with its check right.
bool bodyValid(Database* db, uint32_t offset) {
  const uint32_t used = usedSize(db);
  if (offset < kFirstBlock || (offset & 7) || uint64_t{offset} + kBodyHeader > used) return false;
  const char* p = base(db) + offset;
  const uint32_t size = get32(p);
  if (size > kMaxRecordSize || uint64_t{offset} + kBodyHeader + size > used) return false;
  return get16(p + 6) == bodyCheck(p + kBodyHeader, size);
}

// The body at `offset` copied out of the file, checked as bodyValid checks
// it; null when it is not whole.
const char* copiedBody(Database* db, uint32_t offset, uint32_t* size) {
  const uint32_t used = usedSize(db);
  if (offset < kFirstBlock || (offset & 7) || uint64_t{offset} + kBodyHeader > used) return nullptr;
  if (db->copyLength < kCopyAtOnce) db->copyLength = kCopyAtOnce;
  uint32_t length = db->copyLength < used - offset ? db->copyLength : used - offset;
  if (db->copy.size() < kBodyHeader + kMaxRecordSize) db->copy.resize(kBodyHeader + kMaxRecordSize);
  char* p = db->copy.data();
  size_t got = host::readAt(db->file, offset, p, length);
  if (got < kBodyHeader) return nullptr;
  const uint32_t bytes = get32(p);
  if (bytes > kMaxRecordSize || uint64_t{offset} + kBodyHeader + bytes > used) return nullptr;
  if (kBodyHeader + bytes > got) {
    got += host::readAt(db->file, offset + got, p + got, kBodyHeader + bytes - got);
    if (kBodyHeader + bytes > got) return nullptr;
    if (kBodyHeader + bytes <= kCopyMost) db->copyLength = kBodyHeader + align8(bytes);
  }
  if (get16(p + 6) != bodyCheck(p + kBodyHeader, bytes)) return nullptr;
  if (size) *size = bytes;
  return p + kBodyHeader;
}

void sealBody(Database* db, uint32_t offset) {
  char* p = base(db) + offset;
  put16(p + 6, bodyCheck(p + kBodyHeader, get32(p)));
}

// A new body block of `size` zeroed data bytes; 0 when there is no room.
uint32_t newBody(Database* db, uint32_t size, uint8_t attributes) {
  const uint32_t length = blockLength(size);
  const uint32_t offset = allocate(db, length);
  if (!offset) return 0;
  touch(db, offset, uint64_t{offset} + length);
  char* p = base(db) + offset;
  memset(p, 0, length);
  put32(p, size);
  p[4] = static_cast<char>(attributes);
  return offset;
}

// Writes a directory of `capacity` entries holding the current entries with
// `insertAt` (kAfterLast: none) left free for `body`, or with `removeAt`
// dropped; returns its offset or 0.
uint32_t copyDirectory(Database* db, uint32_t capacity, uint32_t insertAt, uint32_t body, uint32_t removeAt) {
  const uint32_t count = countOf(db);
  const uint32_t newCount = insertAt != kAfterLast ? count + 1 : removeAt != kAfterLast ? count - 1 : count;
  if (capacity < newCount) capacity = newCount;
  const uint32_t offset = allocate(db, directoryLength(capacity));
  if (!offset) return 0;
  touch(db, offset, uint64_t{offset} + directoryLength(capacity));
  char* p = base(db) + offset;
  put32(p, capacity);
  put32(p + 4, newCount);
  char* out = p + 8;
  const char* in = directory(db) ? entrySlot(db, 0) : nullptr;
  for (uint32_t i = 0, o = 0; i <= count; ++i) {
    if (i == insertAt) {
      put32(out + size_t{o++} * 4, body);
    }
    if (i == count) break;
    if (i == removeAt) continue;
    memcpy(out + size_t{o++} * 4, in + size_t{i} * 4, 4);
  }
  return offset;
}

// Puts a new directory in place of the old one.
void switchDirectory(Database* db, uint32_t offset) {
  const uint32_t old = directory(db);
  const uint32_t oldLength = old ? directoryLength(capacityOf(db)) : 0;
  ordered();
  publish(base(db) + 36, offset);
  mirrorCount(db);
  if (old) release(db, old, oldLength);
}

// Adds `body` as record `index` (index == count appends).
bool insertBody(Database* db, uint32_t index, uint32_t body) {
  const uint32_t count = countOf(db);
  if (index == count && count < capacityOf(db)) {
    touch(db, directory(db), directory(db) + 8);
    touch(db, entrySlot(db, count) - base(db), entrySlot(db, count) - base(db) + 4);
    put32(entrySlot(db, count), body);
    ordered();
    publish(base(db) + directory(db) + 4, count + 1);
    mirrorCount(db);
    return true;
  }
  uint32_t capacity = capacityOf(db);
  if (count + 1 > capacity) capacity = capacity < kMinDirectory ? kMinDirectory : capacity * 2;
  const uint32_t dir = copyDirectory(db, capacity, index, body, kAfterLast);
  if (!dir) return false;
  switchDirectory(db, dir);
  return true;
}

bool removeBody(Database* db, uint32_t index) {
  const uint32_t body = bodyAt(db, index);
  const uint32_t length = bodyLengthAt(db, body);
  const uint32_t dir = copyDirectory(db, capacityOf(db), kAfterLast, 0, index);
  if (!dir) return false;
  switchDirectory(db, dir);
  release(db, body, length);
  return true;
}

// Puts `body` in place of record `index`'s body.
void replaceBody(Database* db, uint32_t index, uint32_t body) {
  const uint32_t old = bodyAt(db, index);
  const uint32_t oldLength = bodyLengthAt(db, old);
  ordered();
  publish(entrySlot(db, index), body);
  release(db, old, oldLength);
}

// ---- record handles

RecordHandle* handleOf(MemHandle h) {
  ensureRecordHandles();
  State& s = state();
  if (h == 0 || h > s.handles.size()) return nullptr;
  RecordHandle* r = &s.handles[h - 1];
  return (r->flags & kHandleUsed) ? r : nullptr;
}

MemHandle takeHandle(Database* db, uint32_t index, uint8_t flags) {
  ensureRecordHandles();
  State& s = state();
  if (!s.freeHandle) return 0;
  const MemHandle h = s.freeHandle;
  RecordHandle& r = s.handles[h - 1];
  s.freeHandle = r.nextFree;
  r = RecordHandle();
  r.db = db;
  r.index = index;
  r.flags = static_cast<uint8_t>(kHandleUsed | flags);
  // A record being added is found through pendingNew, not among the busy.
  if ((flags & kHandleBusy) && !(flags & kHandleNew)) db->busy.push_back(h);
  return h;
}

void dropHandle(MemHandle h) {
  State& s = state();
  RecordHandle& r = s.handles[h - 1];
  if (r.db) {
    auto& busy = r.db->busy;
    for (size_t i = 0; i < busy.size(); ++i)
      if (busy[i] == h) {
        busy.erase(busy.begin() + static_cast<long>(i));
        break;
      }
  }
  for (size_t i = 0; i < s.locked.size(); ++i)
    if (s.locked[i] == h) {
      s.locked.erase(s.locked.begin() + static_cast<long>(i));
      break;
    }
  r = RecordHandle();
  r.nextFree = s.freeHandle;
  s.freeHandle = h;
}

MemHandle busyHandle(Database* db, uint32_t index) {
  for (MemHandle h : db->busy)
    if (state().handles[h - 1].index == index) return h;
  return 0;
}

// Moves the indexes of busy records at or after `from` by `delta`.
void shiftBusy(Database* db, uint32_t from, int delta) {
  for (MemHandle h : db->busy) {
    RecordHandle& r = state().handles[h - 1];
    if (r.index >= from) r.index = static_cast<uint32_t>(static_cast<int64_t>(r.index) + delta);
  }
}

// The locked handle whose data holds the byte at `p`.
RecordHandle* lockedAt(const void* p) {
  for (MemHandle h : state().locked) {
    RecordHandle& r = state().handles[h - 1];
    if (!r.shadow) continue;
    const char* data = base(r.db) + r.shadow + kBodyHeader;
    if (p >= data && p <= data + r.size) return &r;
  }
  return nullptr;
}

// ---- files

std::string companionPath(const std::string& path) { return path + "_OS"; }

void writeFreshFile(char* p, char kind, uint32_t type, uint32_t creator, uint32_t size) {
  memset(p, 0, kFirstBlock);
  p[0] = 1;
  p[1] = kind;
  put32(p + 4, kFirstBlock);
  put32(p + 12, size);
  put32(p + 16, kFirstBlock);
  memcpy(p + 20, "ZDB1", 4);
  put32(p + 24, type);
  put32(p + 28, creator);
}

bool headValid(const char* p, size_t size) {
  return size >= kFirstBlock && p[0] == 1 && (p[1] == 'V' || p[1] == 'B' || p[1] == 'X') &&
         memcmp(p + 20, "ZDB1", 4) == 0 && get32(p + 4) == kFirstBlock;
}

// Checks what an opening relies on; `why` says what is wrong.
bool structureValid(Database* db, std::string& why) {
  const char* p = base(db);
  const uint64_t used = get32(p + 16);
  if (used < kFirstBlock || used > db->file.size || (used & 7)) {
    why = "tamanho usado inválido (arquivo truncado?)";
    return false;
  }
  const uint32_t dir = directory(db);
  if (dir) {
    if (dir < kFirstBlock || (dir & 7) || uint64_t{dir} + 8 > used) {
      why = "diretório fora do arquivo";
      return false;
    }
    const uint64_t capacity = get32(p + dir), count = get32(p + dir + 4);
    if (count > capacity || dir + 8 + capacity * 4 > used) {
      why = "diretório danificado";
      return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t body = get32(p + dir + 8 + size_t{i} * 4);
      if (body < kFirstBlock || (body & 7) || uint64_t{body} + kBodyHeader > used) {
        why = "registro " + std::to_string(i) + " fora do arquivo";
        return false;
      }
    }
  }
  const uint32_t info = infoBlock(db);
  if (info) {
    if (info < kFirstBlock || (info & 7) || uint64_t{info} + 8 > used || uint64_t{info} + 8 + get32(p + info) > used ||
        get32(p + info + 4) != fnv(p + info + 8, get32(p + info))) {
      why = "bloco de informação danificado";
      return false;
    }
  }
  return true;
}

void loadFreeList(Database* db, const std::string& path) {
  if (db->kind != 'V' || get16(base(db) + 2) != 1) return;
  std::string bytes;
  if (!host::readWholeFile(companionPath(path), bytes) || bytes.size() < 16) return;
  const char* p = bytes.data();
  const uint32_t n = get32(p + 8);
  if (memcmp(p, "ZOS1", 4) != 0 || get32(p + 4) != get32(base(db) + 32) || bytes.size() != 16 + size_t{n} * 8 ||
      get32(p + 12) != fnv(p + 16, size_t{n} * 8))
    return;
  const uint32_t used = usedSize(db);
  for (uint32_t i = 0; i < n; ++i) {
    const uint32_t offset = get32(p + 16 + i * 8), length = get32(p + 20 + i * 8);
    if (offset >= kFirstBlock && !(offset & 7) && length >= 8 && uint64_t{offset} + length <= used)
      db->freeBlocks.emplace(length, offset);
  }
}

void saveFreeList(Database* db) {
  if (db->kind != 'V') return;
  std::string bytes(16 + db->freeBlocks.size() * 8, '\0');
  char* p = &bytes[0];
  memcpy(p, "ZOS1", 4);
  put32(p + 4, get32(base(db) + 32));
  put32(p + 8, static_cast<uint32_t>(db->freeBlocks.size()));
  size_t i = 0;
  for (const auto& block : db->freeBlocks) {
    put32(p + 16 + i * 8, block.second);
    put32(p + 20 + i * 8, block.first);
    ++i;
  }
  put32(p + 12, fnv(p + 16, i * 8));
  if (host::writeWholeFile(companionPath(db->path), bytes.data(), bytes.size())) {
    ordered();
    put16(base(db) + 2, 1);
  }
}

// Writes the database again into "<name>_Temp" with the records `each`
// keeps (and the data it gives them), then puts that file in the
// database's place in one step.
Err rebuild(Database* db, const RecordRewrite& each, const std::string* newInfo) {
  if (!db->busy.empty() || db->pendingNew) return dmErrRecordBusy;
  const std::string temporary = db->path + "_Temp";
  host::removeFile(temporary);
  const uint32_t count = countOf(db);
  // Kept records: their body, and the place of their new data (-1: none).
  std::vector<uint32_t> keptBodies;
  std::vector<int32_t> keptData;
  std::vector<std::string> newData;
  uint64_t size = kFirstBlock;
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t body = bodyAt(db, i);
    if (!bodyValid(db, body)) return dmErrCorruptDatabase;
    const char* p = base(db) + body;
    std::string out;
    if (!each(i, p + kBodyHeader, get32(p), out)) continue;
    if (out.size() > kMaxRecordSize) return dmErrInvalidParam;
    keptBodies.push_back(body);
    if (out.empty()) {
      keptData.push_back(-1);
      size += bodyLengthAt(db, body);
    } else {
      keptData.push_back(static_cast<int32_t>(newData.size()));
      size += blockLength(static_cast<uint32_t>(out.size()));
      newData.push_back(std::move(out));
    }
  }
  const uint32_t info = infoBlock(db);
  std::string infoBytes;
  if (newInfo)
    infoBytes = *newInfo;
  else if (info)
    infoBytes.assign(base(db) + info + 8, get32(base(db) + info));
  const bool hasInfo = newInfo || info;
  const uint32_t infoLength = hasInfo ? align8(8 + static_cast<uint32_t>(infoBytes.size())) : 0;
  const uint32_t n = static_cast<uint32_t>(keptBodies.size());
  size += infoLength + directoryLength(n);
  if (size > 0xFFFFFFF0u) return dmErrMemError;
  const uint32_t fileSize = static_cast<uint32_t>((size + kGrowthStep - 1) / kGrowthStep * kGrowthStep);
  host::MappedFile out;
  bool exists = false;
  std::string error;
  if (!host::createMapped(temporary, fileSize, out, exists, error)) {
    storeAlert("Falha na criação do Mapeamento %s", temporary.c_str());
    return dmErrCantOpen;
  }
  char* o = out.base;
  memcpy(o, base(db), kFirstBlock);
  put16(o + 2, 0);
  put32(o + 12, fileSize);
  uint32_t at = kFirstBlock;
  put32(o + 40, 0);
  if (hasInfo) {
    put32(o + at, static_cast<uint32_t>(infoBytes.size()));
    memcpy(o + at + 8, infoBytes.data(), infoBytes.size());
    put32(o + at + 4, fnv(infoBytes.data(), infoBytes.size()));
    put32(o + 40, at);
    at += infoLength;
  }
  const uint32_t dir = at;
  put32(o + dir, n);
  put32(o + dir + 4, n);
  at += directoryLength(n);
  for (uint32_t i = 0; i < n; ++i) {
    const uint32_t body = keptBodies[i];
    uint32_t length;
    if (keptData[i] >= 0) {
      const std::string& data = newData[static_cast<size_t>(keptData[i])];
      const uint32_t dataSize = static_cast<uint32_t>(data.size());
      length = blockLength(dataSize);
      memset(o + at, 0, length);
      put32(o + at, dataSize);
      o[at + 4] = base(db)[body + 4];
      memcpy(o + at + kBodyHeader, data.data(), dataSize);
      put16(o + at + 6, bodyCheck(o + at + kBodyHeader, dataSize));
    } else {
      length = bodyLengthAt(db, body);
      memcpy(o + at, base(db) + body, length);
    }
    put32(o + dir + 8 + size_t{i} * 4, at);
    at += length;
  }
  put32(o + 36, dir);
  put32(o + 8, n);
  put32(o + 16, at);
  host::syncMapped(out);
  host::closeMapped(out);
  host::closeMapped(db->file);
  const bool replaced = host::replaceFile(temporary, db->path);
  if (!replaced) host::removeFile(temporary);
  if (!host::openMapped(db->path, db->file, error)) {
    storeAlert("falhou abertura do arquivo %s %s", db->path.c_str(), error.c_str());
    __RuntimeError(LOW_MEMORY, -1);
  }
  db->freeBlocks.clear();
  db->growths = 0;
  return replaced ? errNone : dmErrCantOpen;
}

}  // namespace

void storeAlert(const char* format, ...) {
  char text[1025];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  Alert2(text);
}

char kindOfType(uint32_t type) {
  if (type == kTypeData || type == kTypeMemo) return 'V';
  if (type == kTypeIndex) return 'B';
  return 'X';
}

bool isDatabaseFile(const std::string& path, uint32_t* type, uint32_t* creator) {
  std::string head;
  if (!host::readFileHead(path, kFirstBlock, head) || !headValid(head.data(), head.size())) return false;
  if (type) *type = get32(head.data() + 24);
  if (creator) *creator = get32(head.data() + 28);
  return true;
}

bool createDatabaseFile(const std::string& path, uint32_t type, uint32_t creator, bool& exists) {
  // Written whole under a passing name first: the database's name never
  // belongs to a file without its header.
  std::string head(kFirstBlock, '\0');
  writeFreshFile(&head[0], kindOfType(type), type, creator, kGrowthStep);
  put16(&head[2], 1);
  head.resize(kGrowthStep, '\0');
  const std::string passing = path + ".new";
  exists = false;
  if (!host::writeWholeFile(passing, head.data(), head.size())) return false;
  if (!host::renameNew(passing, path, exists)) {
    host::removeFile(passing);
    return false;
  }
  host::removeFile(companionPath(path));
  return true;
}

Database* openDatabaseFile(const std::string& path, std::string& why) {
  Database* db = new Database();
  db->path = path;
  std::string error;
  if (!host::openMapped(path, db->file, error)) {
    why = error;
    delete db;
    return nullptr;
  }
  const bool index = db->file.size >= kFirstBlock && db->file.base[1] == 'B';
  if (!headValid(db->file.base, db->file.size) || !(index ? tree::headerValid(db, why) : structureValid(db, why))) {
    if (why.empty()) why = "cabeçalho inválido";
    host::closeMapped(db->file);
    delete db;
    return nullptr;
  }
  const size_t size = db->file.size;
  const size_t rounded = size < kGrowthStep ? kGrowthStep : (size + kGrowthStep - 1) / kGrowthStep * kGrowthStep;
  if (rounded != size && !host::growMapped(db->file, rounded, error)) {
    storeAlert("falhou MapViewOfFile do arquivo %s sz=%ld %s", path.c_str(), static_cast<long>(rounded), error.c_str());
    host::closeMapped(db->file);
    delete db;
    __RuntimeError(LOW_MEMORY, -1);
  }
  char* p = db->file.base;
  db->kind = p[1];
  db->type = get32(p + 24);
  db->creator = get32(p + 28);
  loadFreeList(db, path);
  put32(p + 32, get32(p + 32) + 1);
  ordered();
  // An index keeps its clean mark until its first change.
  if (db->kind != 'B') put16(p + 2, 0);
  put32(p + 12, static_cast<uint32_t>(db->file.size));
  mirrorCount(db);
  return db;
}

void closeDatabaseFile(Database* db) {
  while (!db->busy.empty()) dropHandle(db->busy.back());
  if (db->pendingNew) dropHandle(db->pendingNew);
  if (db->kind == 'B')
    tree::markClosed(db);
  else
    saveFreeList(db);
  host::flushMapped(db->file);
  host::closeMapped(db->file);
  delete db;
}

void removeDatabaseFiles(const std::string& path) {
  host::removeFile(path);
  host::removeFile(companionPath(path));
}

uint32_t DmNumRecords(DmOpenRef db) {
  if (!db) return 0;
  return db->kind == 'B' ? tree::count(db) : countOf(db);
}

const char* recordBytes(DmOpenRef db, uint32_t index, uint32_t* size) {
  if (db && db->kind == 'B') {
    if (size) *size = tree::entrySize(db);
    return tree::entryAt(db, index);
  }
  if (!db || index >= countOf(db)) return nullptr;
  const uint32_t body = bodyAt(db, index);
  touch(db, directory(db) + 8 + uint64_t{index} * 4, directory(db) + 12 + uint64_t{index} * 4);
  // Reads next to the one before go through the mapping, whose pages the
  // flushes give back behind a scan; in a large file any other read is
  // copied (a small file costs no more than its size when it stays mapped).
  const bool nextToLast = index == db->lastRead + 1 || index + 1 == db->lastRead;
  db->lastRead = index;
  if (!nextToLast && db->file.size > kCopyAbove) return copiedBody(db, body, size);
  if (!bodyValid(db, body)) return nullptr;
  const uint32_t bytes = get32(base(db) + body);
  touch(db, body, uint64_t{body} + kBodyHeader + bytes);
  if (size) *size = bytes;
  return base(db) + body + kBodyHeader;
}

Err putRecord(DmOpenRef db, uint32_t* index, const void* bytes, uint32_t size, DirtyChange dirty) {
  if (!db || size > kMaxRecordSize) return dmErrInvalidParam;
  if (db->kind == 'B') {
    // Index entries: replaced in place or added at the end, never reordered.
    if (size != tree::entrySize(db)) return dmErrInvalidParam;
    const char* entry = static_cast<const char*>(bytes);
    if (*index < tree::count(db)) {
      tree::replaceAt(db, *index, entry);
      return errNone;
    }
    *index = tree::count(db);
    return tree::insertAt(db, *index, entry) ? errNone : dmErrMemError;
  }
  const uint32_t count = countOf(db);
  uint32_t at = *index >= count ? count : *index;
  const bool append = *index >= count;
  if (!append && busyHandle(db, at)) return dmErrRecordBusy;
  uint8_t attributes = append ? 0 : static_cast<uint8_t>(base(db)[bodyAt(db, at) + 4]);
  if (dirty == DirtyChange::set) attributes |= kAttrDirty;
  if (dirty == DirtyChange::clear) attributes &= static_cast<uint8_t>(~kAttrDirty);
  const uint32_t body = newBody(db, size, attributes);
  if (!body) return dmErrMemError;
  memcpy(base(db) + body + kBodyHeader, bytes, size);
  sealBody(db, body);
  if (append) {
    if (!insertBody(db, at, body)) return dmErrMemError;
  } else {
    replaceBody(db, at, body);
  }
  *index = at;
  return errNone;
}

MemHandle DmQueryRecord(DmOpenRef db, uint32_t index) {
  if (!db || db->kind == 'B' || index >= countOf(db)) return 0;
  ensureRecordHandles();
  State& s = state();
  const MemHandle h = static_cast<MemHandle>(kRecordHandleSlots + 1 + s.queryCursor);
  s.queryCursor = (s.queryCursor + 1) % kQuerySlots;
  if (!bodyValid(db, bodyAt(db, index))) return 0;
  RecordHandle& r = s.handles[h - 1];
  r = RecordHandle();
  r.db = db;
  r.index = index;
  r.body = bodyAt(db, index);
  r.size = get32(base(db) + r.body);
  r.flags = kHandleUsed | kHandleQuery;
  return h;
}

MemHandle DmGetRecord(DmOpenRef db, uint32_t index) {
  if (!db || db->kind == 'B' || index >= countOf(db) || busyHandle(db, index) || !bodyValid(db, bodyAt(db, index)))
    return 0;
  const MemHandle h = takeHandle(db, index, kHandleBusy);
  if (!h) return 0;
  RecordHandle& r = state().handles[h - 1];
  r.body = bodyAt(db, index);
  r.size = get32(base(db) + r.body);
  return h;
}

void* MemHandleLock(MemHandle h) {
  RecordHandle* r = handleOf(h);
  if (!r) return nullptr;
  Database* db = r->db;
  if (r->flags & kHandleQuery) {
    if (!bodyValid(db, r->body)) return nullptr;
    return base(db) + r->body + kBodyHeader;
  }
  if (r->flags & kHandleLocked) {
    storeAlert("already locked");
    return r->shadow ? base(db) + r->shadow + kBodyHeader : nullptr;
  }
  if (!r->shadow) {
    const uint8_t attributes = r->body ? static_cast<uint8_t>(base(db)[r->body + 4]) : 0;
    const uint32_t shadow = newBody(db, r->size, attributes);
    if (!shadow) return nullptr;
    if (r->body) {
      const uint32_t old = get32(base(db) + r->body);
      memcpy(base(db) + shadow + kBodyHeader, base(db) + r->body + kBodyHeader, old < r->size ? old : r->size);
    }
    r->shadow = shadow;
  }
  r->flags |= kHandleLocked;
  state().locked.push_back(h);
  return base(db) + r->shadow + kBodyHeader;
}

Err MemHandleUnlock(MemHandle h) {
  RecordHandle* r = handleOf(h);
  if (!r) return dmErrInvalidParam;
  if (r->flags & kHandleLocked) {
    r->flags &= static_cast<uint8_t>(~kHandleLocked);
    auto& locked = state().locked;
    for (size_t i = 0; i < locked.size(); ++i)
      if (locked[i] == h) {
        locked.erase(locked.begin() + static_cast<long>(i));
        break;
      }
  }
  return errNone;
}

uint32_t MemHandleSize(MemHandle h) {
  RecordHandle* r = handleOf(h);
  return r ? r->size : 0;
}

MemHandle DmNewRecord(DmOpenRef db, uint32_t* index, uint32_t size) {
  if (!db || db->kind == 'B' || !index || size > kMaxRecordSize || db->pendingNew) return 0;
  const uint32_t count = countOf(db);
  const uint32_t at = *index >= count ? count : *index;
  const MemHandle h = takeHandle(db, at, kHandleBusy | kHandleNew);
  if (!h) return 0;
  state().handles[h - 1].size = size;
  db->pendingNew = h;
  *index = at;
  return h;
}

MemHandle DmResizeRecord(DmOpenRef db, uint32_t index, uint32_t size) {
  if (!db || db->kind == 'B' || size > kMaxRecordSize) return 0;
  MemHandle h = busyHandle(db, index);
  if (!h && db->pendingNew && state().handles[db->pendingNew - 1].index == index) h = db->pendingNew;
  if (!h) h = DmGetRecord(db, index);
  RecordHandle* r = handleOf(h);
  if (!r) return 0;
  if (r->shadow) {
    // Blocks are exact: the changes move to one of the new size.
    const uint32_t moved = newBody(db, size, static_cast<uint8_t>(base(db)[r->shadow + 4]));
    if (!moved) return 0;
    memcpy(base(db) + moved + kBodyHeader, base(db) + r->shadow + kBodyHeader, r->size < size ? r->size : size);
    release(db, r->shadow, blockLength(r->size));
    r->shadow = moved;
  }
  r->size = size;
  return h;
}

Err DmReleaseRecord(DmOpenRef db, uint32_t index, bool dirty) {
  if (!db) return dmErrInvalidParam;
  MemHandle h =
      db->pendingNew && state().handles[db->pendingNew - 1].index == index ? db->pendingNew : busyHandle(db, index);
  RecordHandle* r = handleOf(h);
  if (!r) return dmErrInvalidParam;
  const bool isNew = r->flags & kHandleNew;
  if (isNew) db->pendingNew = 0;
  if (isNew && !r->shadow) r->shadow = newBody(db, r->size, 0);
  if (r->shadow) {
    char* p = base(db) + r->shadow;
    put32(p, r->size);
    if (dirty) p[4] = static_cast<char>(p[4] | kAttrDirty);
    sealBody(db, r->shadow);
    if (isNew) {
      if (!insertBody(db, r->index, r->shadow)) {
        dropHandle(h);
        return dmErrMemError;
      }
      shiftBusy(db, r->index, 1);
    } else {
      replaceBody(db, r->index, r->shadow);
    }
  } else if (dirty && r->body) {
    base(db)[r->body + 4] = static_cast<char>(base(db)[r->body + 4] | kAttrDirty);
  }
  dropHandle(h);
  return errNone;
}

Err DmRemoveRecord(DmOpenRef db, uint32_t index) {
  if (db && db->kind == 'B') return tree::removeAt(db, index) ? errNone : dmErrIndexOutOfRange;
  if (!db || index >= countOf(db)) return dmErrIndexOutOfRange;
  if (busyHandle(db, index)) return dmErrRecordBusy;
  if (!removeBody(db, index)) return dmErrMemError;
  shiftBusy(db, index + 1, -1);
  return errNone;
}

Err DmRecordInfo(DmOpenRef db, uint32_t index, uint8_t* attributes) {
  if (!db || db->kind == 'B' || index >= countOf(db)) return dmErrIndexOutOfRange;
  if (attributes) *attributes = static_cast<uint8_t>(base(db)[bodyAt(db, index) + 4]);
  return errNone;
}

Err DmSetRecordInfo(DmOpenRef db, uint32_t index, uint8_t attributes) {
  if (!db || db->kind == 'B' || index >= countOf(db)) return dmErrIndexOutOfRange;
  base(db)[bodyAt(db, index) + 4] = static_cast<char>(attributes);
  return errNone;
}

Err DmWrite(void* record, uint32_t offset, const void* bytes, uint32_t length) {
  RecordHandle* r = lockedAt(record);
  if (!r) return dmErrInvalidParam;
  const char* data = base(r->db) + r->shadow + kBodyHeader;
  const uint64_t at = static_cast<uint64_t>(static_cast<const char*>(record) - data) + offset;
  if (at + length > r->size) return dmErrWriteOutOfBounds;
  memmove(base(r->db) + r->shadow + kBodyHeader + at, bytes, length);
  return errNone;
}

Err DmSet(void* record, uint32_t offset, uint32_t length, uint8_t value) {
  RecordHandle* r = lockedAt(record);
  if (!r) return dmErrInvalidParam;
  const char* data = base(r->db) + r->shadow + kBodyHeader;
  const uint64_t at = static_cast<uint64_t>(static_cast<const char*>(record) - data) + offset;
  if (at + length > r->size) return dmErrWriteOutOfBounds;
  memset(base(r->db) + r->shadow + kBodyHeader + at, value, length);
  return errNone;
}

void DbFlush(DmOpenRef db) {
  if (!db) return;
  if (db->kind == 'B') {
    host::flushMapped(db->file);
  } else if (db->touchedLow < db->touchedHigh) {
    host::flushMappedRange(db->file, db->touchedLow, db->touchedHigh);
    // The header and the directory's live end are touched by every change.
    host::flushMappedRange(db->file, 0, kFirstBlock);
  }
  db->touchedLow = UINT64_MAX;
  db->touchedHigh = 0;
}

void CleanTbl(DmOpenRef db) {
  if (db && db->kind == 'B') return tree::clear(db);
  if (db)
    rebuild(
        db, [](uint32_t, const char*, uint32_t, std::string&) { return false; }, nullptr);
}

Err DbPack(DmOpenRef db) {
  if (!db || db->kind == 'B') return dmErrInvalidParam;
  return rebuild(
      db, [](uint32_t, const char* data, uint32_t size, std::string&) { return !(size >= 2 && data[size - 2] == '*'); },
      nullptr);
}

Err DbRewrite(DmOpenRef db, const RecordRewrite& each, const std::string* info) {
  return db && db->kind != 'B' ? rebuild(db, each, info) : dmErrInvalidParam;
}

const char* DmAppInfo(DmOpenRef db, uint32_t* size) {
  const uint32_t info = db && db->kind != 'B' ? infoBlock(db) : 0;
  if (!info) {
    if (size) *size = 0;
    return nullptr;
  }
  if (size) *size = get32(base(db) + info);
  return base(db) + info + 8;
}

Err DmSetDatabaseInfo(DmOpenRef db, const void* block, uint32_t size) {
  if (!db || db->kind == 'B') return dmErrInvalidParam;
  const uint32_t offset = allocate(db, align8(8 + size));
  if (!offset) return dmErrMemError;
  char* p = base(db) + offset;
  put32(p, size);
  memcpy(p + 8, block, size);
  put32(p + 4, fnv(p + 8, size));
  const uint32_t old = infoBlock(db);
  const uint32_t oldLength = old ? align8(8 + get32(base(db) + old)) : 0;
  ordered();
  publish(base(db) + 40, offset);
  if (old) release(db, old, oldLength);
  return errNone;
}

bool EntryQueue::push(const char* entry, uint32_t length) {
  if (count_ == 0) {
    clear();
    length_ = length;
    perBlock_ = static_cast<uint32_t>(kBlock / length > 0 ? kBlock / length : 1);
  }
  if (count_ % perBlock_ == 0) {
    char* block = static_cast<char*>(host::allocatePages(size_t{perBlock_} * length_));
    if (!block) return false;
    blocks_.push_back(block);
  }
  memcpy(blocks_.back() + size_t{count_ % perBlock_} * length_, entry, length_);
  ++count_;
  return true;
}

void EntryQueue::clear() {
  for (char* block : blocks_) host::freePages(block, size_t{perBlock_} * length_);
  blocks_.clear();
  count_ = 0;
}

void EntryQueue::swap(EntryQueue& other) {
  blocks_.swap(other.blocks_);
  std::swap(count_, other.count_);
  std::swap(length_, other.length_);
  std::swap(perBlock_, other.perBlock_);
}

LocalID databaseId(DmOpenRef db) { return db ? db->id : 0; }
const std::string& databaseName(DmOpenRef db) { return db->name; }
uint32_t databaseType(DmOpenRef db) { return db ? db->type : 0; }

// Record handles are set up with the state.
void resetRecordHandles(State& s) {
  s.handles.assign(kRecordHandleSlots + kQuerySlots, RecordHandle());
  for (uint32_t i = 0; i < kRecordHandleSlots; ++i) s.handles[i].nextFree = i + 2 <= kRecordHandleSlots ? i + 2 : 0;
  s.freeHandle = 1;
  s.queryCursor = 0;
  s.locked.clear();
}

}  // namespace data
