// The store's catalog: the file "catalog.plm" that lists every database by
// name, the 5120 database slots (a database's identifier is its entry number
// + 1) and the opening and closing of databases by identifier. The catalog is
// opened on first use and copied whole to "catalog.bck" when it is closed;
// a damaged or missing catalog is taken back from that copy, and a database
// file that lies in the application directory without an entry is entered
// again when it is looked up, so the catalog never hides committed data.
//
// catalog.plm (integers little-endian):
//
//   0   header, 20 bytes
//         0  char[4]  "ZCAT"
//         4  u16      layout version, 1
//         6  u16      entry size, 88
//         8  u32      high-water mark: entries ever used
//         12 u32      capacity, 5120
//         16 u32      check of bytes 0..7 and 12..15 (FNV-1a)
//   20  entry 0, then entry 1 ... (88 bytes each); the file grows in 15360-byte steps
//
//   entry:
//     0   char[64]  name, zero-padded; a name of 65..127 bytes goes on in
//                   the name field of its continuation entry
//     64  u32       type (four letters, first letter in the high byte)
//     68  u32       creator
//     72  u16       flags: 1 in use, 2 has a continuation, 4 is a continuation
//     74  u16       name length
//     76  u32       continuation entry + 1, or 0
//     80  u32       0
//     84  u32       check of bytes 0..71 and 74..83 (FNV-1a)
//
// An entry is written whole with its flags zero and then marked in use with
// one 16-bit store, and unmarked first when it is erased; an entry torn by a
// killed process is therefore never in use. A continuation is written before
// the entry that names it.
#include <string.h>

#include <string>

#include "core.h"
#include "database.h"
#include "data_state.h"
#include "zeltamisc.h"

namespace data {

namespace {

constexpr size_t kHeaderSize = 20;
constexpr size_t kEntrySize = 88;
constexpr size_t kNameField = 64;
constexpr size_t kGrowthStep = 15360;
constexpr uint16_t kInUse = 1, kHasContinuation = 2, kIsContinuation = 4;
const char* const kCatalogFile = "catalog.plm";
const char* const kBackupFile = "catalog.bck";

uint32_t fnv(const char* p, size_t n, uint32_t h = 2166136261u) {
  for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<uint8_t>(p[i])) * 16777619u;
  return h;
}

uint16_t get16(const char* p) {
  uint16_t v;
  memcpy(&v, p, 2);
  return v;
}
uint32_t get32(const char* p) {
  uint32_t v;
  memcpy(&v, p, 4);
  return v;
}
void put16(char* p, uint16_t v) { memcpy(p, &v, 2); }
void put32(char* p, uint32_t v) { memcpy(p, &v, 4); }

uint32_t headerCheck(const char* h) { return fnv(h + 12, 4, fnv(h, 8)); }
uint32_t entryCheck(const char* e) { return fnv(e + 74, 10, fnv(e, 72)); }

// A compiler barrier: the stores before it reach the mapping first, so a
// killed process leaves them in program order.
inline void ordered() { __atomic_signal_fence(__ATOMIC_SEQ_CST); }

CatalogState& cat() { return state().catalog; }
char* entryAt(uint32_t e) { return cat().file.base + kHeaderSize + size_t{e} * kEntrySize; }

// Checks an image of the catalog; fills the high-water mark.
bool validImage(const char* base, size_t size, uint32_t& highWater) {
  if (size < kHeaderSize || memcmp(base, "ZCAT", 4) != 0) return false;
  if (get16(base + 4) != 1 || get16(base + 6) != kEntrySize || get32(base + 12) != kDatabaseSlots) return false;
  if (get32(base + 16) != headerCheck(base)) return false;
  highWater = get32(base + 8);
  if (highWater > kDatabaseSlots || kHeaderSize + size_t{highWater} * kEntrySize > size) return false;
  for (uint32_t e = 0; e < highWater; ++e) {
    const char* entry = base + kHeaderSize + size_t{e} * kEntrySize;
    const uint16_t flags = get16(entry + 72);
    if (!(flags & kInUse)) continue;
    if (get32(entry + 84) != entryCheck(entry)) return false;
    if (get16(entry + 74) > kMaxNameLength) return false;
    const uint32_t next = get32(entry + 76);
    if ((flags & kHasContinuation) && (next == 0 || next > highWater)) return false;
  }
  return true;
}

std::string entryName(uint32_t e) {
  const char* entry = entryAt(e);
  const size_t length = get16(entry + 74);
  std::string name(entry, length < kNameField ? length : kNameField);
  if (get16(entry + 72) & kHasContinuation) {
    const char* more = entryAt(get32(entry + 76) - 1);
    name.append(more, length - kNameField);
  }
  return name;
}

void writeFreshHeader(char* base) {
  memset(base, 0, kHeaderSize);
  memcpy(base, "ZCAT", 4);
  put16(base + 4, 1);
  put16(base + 6, kEntrySize);
  put32(base + 12, kDatabaseSlots);
  put32(base + 16, headerCheck(base));
}

bool createFreshCatalog(const std::string& path, std::string& error) {
  std::string image(kGrowthStep, '\0');
  writeFreshHeader(&image[0]);
  if (!host::writeWholeFile(path, image.data(), image.size())) {
    error = host::lastErrorText();
    return false;
  }
  return host::openMapped(path, cat().file, error);
}

// Maps catalog.plm, taking it back from catalog.bck when it is missing or
// damaged, or starting an empty one when neither can be used.
bool mapCatalog(std::string& error) {
  const std::string path = appFile(kCatalogFile);
  const std::string backup = appFile(kBackupFile);
  uint32_t highWater = 0;
  if (host::fileExists(path)) {
    if (host::openMapped(path, cat().file, error)) {
      if (validImage(cat().file.base, cat().file.size, highWater)) {
        cat().highWater = highWater;
        return true;
      }
      host::closeMapped(cat().file);
    }
    host::replaceFile(path, path + ".damaged");
  }
  std::string image;
  if (host::readWholeFile(backup, image) && validImage(image.data(), image.size(), highWater) &&
      host::writeWholeFile(path, image.data(), image.size()) && host::openMapped(path, cat().file, error)) {
    cat().highWater = highWater;
    return true;
  }
  host::removeFile(path);
  cat().highWater = 0;
  return createFreshCatalog(path, error);
}

// Erases entries that no entry in use points at (continuations left by a
// killed process) and indexes the names.
void indexEntries() {
  std::vector<bool> claimed(cat().highWater, false);
  for (uint32_t e = 0; e < cat().highWater; ++e) {
    const char* entry = entryAt(e);
    const uint16_t flags = get16(entry + 72);
    if ((flags & kInUse) && !(flags & kIsContinuation) && (flags & kHasContinuation))
      claimed[get32(entry + 76) - 1] = true;
  }
  for (uint32_t e = 0; e < cat().highWater; ++e) {
    char* entry = entryAt(e);
    const uint16_t flags = get16(entry + 72);
    if (!(flags & kInUse)) continue;
    if (flags & kIsContinuation) {
      if (!claimed[e]) put16(entry + 72, 0);
      continue;
    }
    cat().byName[entryName(e)] = e;
  }
}

bool ensureCatalog() {
  if (cat().open) return true;
  if (state().appDir.empty()) state().appDir = core::appDirectory();
  host::makeDirectory(state().appDir);
  std::string error;
  if (!mapCatalog(error)) {
    storeAlert("falhou mapeamento %s %s", kCatalogFile, error.c_str());
    return false;
  }
  cat().databases.assign(kDatabaseSlots, nullptr);
  cat().byName.clear();
  indexEntries();
  cat().open = true;
  return true;
}

bool isFree(uint32_t e) { return e >= cat().highWater || !(get16(entryAt(e) + 72) & kInUse); }

// The first free entry at or after `from`, or kDatabaseSlots.
uint32_t freeEntry(uint32_t from) {
  for (uint32_t e = from; e < kDatabaseSlots; ++e)
    if (isFree(e)) return e;
  return kDatabaseSlots;
}

bool claimEntry(uint32_t e) {
  if (e < cat().highWater) return true;
  const size_t needed = kHeaderSize + (size_t{e} + 1) * kEntrySize;
  if (needed > cat().file.size) {
    std::string error;
    const size_t size = (needed + kGrowthStep - 1) / kGrowthStep * kGrowthStep;
    if (!host::growMapped(cat().file, size, error)) {
      storeAlert("Falha de increase %s size=%ld", kCatalogFile, static_cast<long>(size));
      return false;
    }
  }
  put32(cat().file.base + 8, e + 1);
  cat().highWater = e + 1;
  return true;
}

void fillEntry(char* entry, const std::string& part, uint32_t type, uint32_t creator, uint16_t length, uint32_t next) {
  memset(entry, 0, kEntrySize);
  memcpy(entry, part.data(), part.size() < kNameField ? part.size() : kNameField);
  put32(entry + 64, type);
  put32(entry + 68, creator);
  put16(entry + 74, length);
  put32(entry + 76, next);
  put32(entry + 84, entryCheck(entry));
}

void markEntry(uint32_t e, uint16_t flags) {
  ordered();
  put16(entryAt(e) + 72, flags);
}

// Enters a database; 0 when the catalog is full.
LocalID addEntry(const std::string& name, uint32_t type, uint32_t creator) {
  const uint32_t e = freeEntry(0);
  if (e >= kDatabaseSlots) return 0;
  const uint16_t length = static_cast<uint16_t>(name.size());
  uint32_t next = 0;
  if (name.size() > kNameField) {
    const uint32_t c = freeEntry(e + 1);
    if (c >= kDatabaseSlots || !claimEntry(c)) return 0;
    fillEntry(entryAt(c), name.substr(kNameField), 0, 0, 0, 0);
    markEntry(c, kInUse | kIsContinuation);
    next = c + 1;
  }
  if (!claimEntry(e)) return 0;
  fillEntry(entryAt(e), name, type, creator, length, next);
  markEntry(e, static_cast<uint16_t>(kInUse | (next ? kHasContinuation : 0)));
  cat().byName[name] = e;
  return e + 1;
}

void eraseEntry(uint32_t e) {
  char* entry = entryAt(e);
  const uint16_t flags = get16(entry + 72);
  cat().byName.erase(entryName(e));
  markEntry(e, 0);
  if (flags & kHasContinuation) {
    const uint32_t c = get32(entry + 76) - 1;
    markEntry(c, 0);
    memset(entryAt(c), 0, kEntrySize);
  }
  memset(entry, 0, kEntrySize);
}

// Names that cannot be a file of the application directory, or that the
// store keeps for itself.
bool unsafeName(const std::string& name) {
  return name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos || name == kCatalogFile ||
         name == kBackupFile;
}

void checkLength(const char* name) {
  if (strlen(name) > kMaxNameLength) {
    storeAlert("Nome muito extenso");
    __RuntimeError(LOW_MEMORY, -1);
  }
}

[[noreturn]] void creationFailure(const std::string& name, const char* why) {
  storeAlert("Falha de criação do arquivo %s%s", name.c_str(), why);
  __RuntimeError(CREATE_ERROR, -1);
}

bool validId(LocalID id) { return cat().open && id >= 1 && id <= kDatabaseSlots && !isFree(id - 1); }

}  // namespace

std::string appFile(const std::string& name) {
  if (state().appDir.empty()) state().appDir = core::appDirectory();
  return state().appDir + "/" + name;
}

bool FileExists(const char* path) { return path && host::fileExists(path); }

LocalID DmFindDatabase(uint16_t, const char* cname) {
  if (!cname) return 0;
  checkLength(cname);
  const std::string name(cname);
  if (unsafeName(name) || !ensureCatalog()) return 0;
  auto found = cat().byName.find(name);
  if (found != cat().byName.end()) {
    const uint32_t e = found->second;
    if (cat().databases[e] || host::fileExists(appFile(name))) return e + 1;
    eraseEntry(e);
    return 0;
  }
  uint32_t type = 0, creator = 0;
  if (!isDatabaseFile(appFile(name), &type, &creator)) return 0;
  return addEntry(name, type, creator);
}

Err DmCreateDatabase(uint16_t card, const char* cname, uint32_t creator, uint32_t type) {
  if (!cname) return dmErrInvalidParam;
  checkLength(cname);
  const std::string name(cname);
  if (unsafeName(name)) creationFailure(name, "");
  if (!ensureCatalog()) creationFailure(name, "");
  if (DmFindDatabase(card, cname)) return dmErrAlreadyExists;
  const std::string path = appFile(name);
  bool exists = false;
  if (!createDatabaseFile(path, type, creator, exists)) {
    // A file of ours that no longer opens is replaced; anyone else's is kept.
    std::string head;
    if (!exists || !host::readFileHead(path, 24, head) || head.size() < 24 || memcmp(head.data() + 20, "ZDB1", 4) != 0)
      creationFailure(name, "");
    removeDatabaseFiles(path);
    if (!createDatabaseFile(path, type, creator, exists)) creationFailure(name, "");
  }
  if (!addEntry(name, type, creator)) {
    removeDatabaseFiles(path);
    creationFailure(name, " (catálogo cheio)");
  }
  return errNone;
}

Err DmDeleteDatabase(uint16_t, LocalID id) {
  if (!validId(id)) return dmErrCantFind;
  const uint32_t e = id - 1;
  if (cat().databases[e]) return 0x0205;  // open
  const std::string path = appFile(entryName(e));
  eraseEntry(e);
  removeDatabaseFiles(path);
  return errNone;
}

Err DmDatabaseInfo(uint16_t, LocalID id, std::string* name, uint32_t* type, uint32_t* creator) {
  if (!validId(id)) return dmErrCantFind;
  const char* entry = entryAt(id - 1);
  if (name) *name = entryName(id - 1);
  if (type) *type = get32(entry + 64);
  if (creator) *creator = get32(entry + 68);
  return errNone;
}

DmOpenRef DmOpenDatabase(uint16_t, LocalID id, uint16_t) {
  if (!validId(id)) return nullptr;
  Database*& slot = cat().databases[id - 1];
  if (slot) {
    ++slot->openCount;
    return slot;
  }
  const std::string name = entryName(id - 1);
  std::string why;
  Database* db = openDatabaseFile(appFile(name), why);
  if (!db) {
    storeAlert("Falhou Abertura de %s%s%s", name.c_str(), why.empty() ? "" : ": ", why.c_str());
    return nullptr;
  }
  db->id = id;
  db->name = name;
  db->openCount = 1;
  slot = db;
  return db;
}

Err DmCloseDatabase(DmOpenRef db) {
  if (!db || !validId(db->id) || cat().databases[db->id - 1] != db) return dmErrInvalidParam;
  if (--db->openCount > 0) return errNone;
  DbCacheFree(db);
  cat().databases[db->id - 1] = nullptr;
  closeDatabaseFile(db);
  return errNone;
}

void DbCacheFree(DmOpenRef) {}

void closeStoreCatalog() {
  CatalogState& c = cat();
  if (!c.open) return;
  for (Database*& db : c.databases) {
    if (!db) continue;
    closeDatabaseFile(db);
    db = nullptr;
  }
  host::flushMapped(c.file);
  host::closeMapped(c.file);
  host::copyFile(appFile(kCatalogFile), appFile(kBackupFile));
  c.byName.clear();
  c.databases.clear();
  c.highWater = 0;
  c.open = false;
}

}  // namespace data
