// The counted tree of an index database. Every page of the file after the
// first is a leaf holding entries in order, an inner page holding one child
// record per child, or a free page. An inner child record carries the number
// of entries below the child and the child's first entry, so a position is
// found by adding counts and a key by comparing first entries, each in one
// walk from the root. Entries with equal keys are kept in record order, so
// an entry is also found by its key and record index together.
//
// Index database file (integers little-endian), page size P, entry size E:
//
//   page 0   the database header (20 bytes) and descriptor (44), then
//              64 u32 P   68 u32 E   72 u32 entries   76 u32 root page
//              80 u32 pages in use   84 u32 first free page (0: none)
//              88 u32 height (1: the root is a leaf)
//   page n   at n * P:
//     leaf   u8 1 | u8 0 | u16 entries k | u32 0 | k entries of E bytes
//     inner  u8 2 | u8 0 | u16 children k | u32 0 | k x {u32 page, u32 entries below, first entry (E)}
//     free   u8 0 | u8 0 | u16 0 | u32 next free page
//
// The header word at byte 2 is 1 only while the file is closed after a clean
// close; a tree found otherwise may be behind its table and is rebuilt by the
// index layer. Pages are not written crash-safely for that reason: a killed
// process leaves a tree that is rebuilt, never one that is trusted.
#include "index_tree.h"

#include <string.h>

#include <vector>

namespace data::tree {

namespace {

constexpr uint32_t kPageHeader = 8;
constexpr uint8_t kLeaf = 1, kInner = 2;
constexpr uint32_t kBasePage = 5120;  // 15360, 61440 and 92160 are multiples
constexpr uint32_t kMaxHeight = 32;

uint32_t get32(const char* p) {
  uint32_t v;
  memcpy(&v, p, 4);
  return v;
}
void put32(char* p, uint32_t v) { memcpy(p, &v, 4); }
uint16_t get16(const char* p) {
  uint16_t v;
  memcpy(&v, p, 2);
  return v;
}
void put16(char* p, uint16_t v) { memcpy(p, &v, 2); }

char* head(Database* db) { return db->file.base; }
uint32_t pageSize(Database* db) { return get32(head(db) + 64); }
uint32_t esize(Database* db) { return get32(head(db) + 68); }
uint32_t root(Database* db) { return get32(head(db) + 76); }
uint32_t height(Database* db) { return get32(head(db) + 88); }
void setField(Database* db, uint32_t offset, uint32_t v) { put32(head(db) + offset, v); }

char* page(Database* db, uint32_t n) { return db->file.base + size_t{n} * pageSize(db); }
uint8_t typeOf(const char* p) { return static_cast<uint8_t>(p[0]); }
uint32_t items(const char* p) { return get16(p + 2); }
void setItems(char* p, uint32_t n) { put16(p + 2, static_cast<uint16_t>(n)); }
uint32_t childSize(Database* db) { return 8 + esize(db); }
uint32_t leafCapacity(Database* db) { return (pageSize(db) - kPageHeader) / esize(db); }
uint32_t innerCapacity(Database* db) { return (pageSize(db) - kPageHeader) / childSize(db); }
char* leafEntry(Database* db, char* p, uint32_t i) { return p + kPageHeader + size_t{i} * esize(db); }
char* child(Database* db, char* p, uint32_t i) { return p + kPageHeader + size_t{i} * childSize(db); }

void changed(Database* db) {
  ++db->treeChanges;
  if (!db->treeDirty) {
    db->treeDirty = true;
    put16(head(db) + 2, 0);
  }
}

// A new page: from the free list, else at the end of the file. 0 when the
// file cannot grow. Pointers into the file are stale afterwards.
uint32_t newPage(Database* db, uint8_t type) {
  uint32_t n = get32(head(db) + 84);
  if (n) {
    setField(db, 84, get32(page(db, n) + 4));
  } else {
    n = get32(head(db) + 80);
    if (!growDatabase(db, (uint64_t{n} + 1) * pageSize(db))) return 0;
    setField(db, 80, n + 1);
    setField(db, 16, (n + 1) * pageSize(db));
  }
  char* p = page(db, n);
  memset(p, 0, kPageHeader);
  p[0] = static_cast<char>(type);
  return n;
}

void freePage(Database* db, uint32_t n) {
  char* p = page(db, n);
  memset(p, 0, kPageHeader);
  put32(p + 4, get32(head(db) + 84));
  setField(db, 84, n);
}

uint32_t entriesBelow(Database* db, uint32_t n) {
  char* p = page(db, n);
  if (typeOf(p) == kLeaf) return items(p);
  uint32_t sum = 0;
  for (uint32_t i = 0; i < items(p); ++i) sum += get32(child(db, p, i) + 4);
  return sum;
}

const char* firstEntry(Database* db, uint32_t n) {
  char* p = page(db, n);
  return typeOf(p) == kLeaf ? leafEntry(db, p, 0) : child(db, p, 0) + 8;
}

// Writes the child record i of inner page `parent` for page `n`.
void describe(Database* db, uint32_t parent, uint32_t i, uint32_t n) {
  const uint32_t below = entriesBelow(db, n);
  char* record = child(db, page(db, parent), i);
  put32(record, n);
  put32(record + 4, below);
  if (below) memcpy(record + 8, firstEntry(db, n), esize(db));
}

// Puts `item` (an entry or a child record of `size` bytes) at slot `at` of
// page n, which holds `capacity`; a full page is split and the new right
// page returned (0: no split). A failed allocation leaves the page as it was
// and sets `failed`.
uint32_t placeItem(Database* db, uint32_t n, uint32_t at, const char* item, uint32_t size, uint32_t capacity,
                   bool& failed) {
  char* p = page(db, n);
  const uint32_t k = items(p);
  if (k < capacity) {
    char* base = p + kPageHeader;
    memmove(base + size_t{at + 1} * size, base + size_t{at} * size, size_t{k - at} * size);
    memcpy(base + size_t{at} * size, item, size);
    setItems(p, k + 1);
    return 0;
  }
  const uint8_t type = typeOf(p);
  const uint32_t right = newPage(db, type);
  if (!right) {
    failed = true;
    return 0;
  }
  p = page(db, n);
  std::vector<char> all(size_t{k + 1} * size);
  const char* base = p + kPageHeader;
  memcpy(all.data(), base, size_t{at} * size);
  memcpy(all.data() + size_t{at} * size, item, size);
  memcpy(all.data() + size_t{at + 1} * size, base + size_t{at} * size, size_t{k - at} * size);
  const uint32_t left = (k + 1) / 2;
  memcpy(p + kPageHeader, all.data(), size_t{left} * size);
  setItems(p, left);
  char* r = page(db, right);
  memcpy(r + kPageHeader, all.data() + size_t{left} * size, size_t{k + 1 - left} * size);
  setItems(r, k + 1 - left);
  return right;
}

// Inserts into the subtree of page n at its position `pos`; returns the
// right page when n split.
uint32_t insertInto(Database* db, uint32_t n, uint32_t pos, const char* entry, bool& failed) {
  char* p = page(db, n);
  if (typeOf(p) == kLeaf) return placeItem(db, n, pos, entry, esize(db), leafCapacity(db), failed);
  const uint32_t k = items(p);
  uint32_t i = 0, before = 0;
  for (; i + 1 < k; ++i) {
    const uint32_t below = get32(child(db, p, i) + 4);
    if (pos <= before + below) break;
    before += below;
  }
  const uint32_t c = get32(child(db, p, i));
  const uint32_t split = insertInto(db, c, pos - before, entry, failed);
  if (failed) return 0;
  describe(db, n, i, c);
  if (!split) return 0;
  std::vector<char> record(childSize(db));
  put32(record.data(), split);
  put32(record.data() + 4, entriesBelow(db, split));
  memcpy(record.data() + 8, firstEntry(db, split), esize(db));
  return placeItem(db, n, i + 1, record.data(), childSize(db), innerCapacity(db), failed);
}

// Removes the entry at `pos` of the subtree of page n; true when n is empty.
bool removeFrom(Database* db, uint32_t n, uint32_t pos) {
  char* p = page(db, n);
  const uint32_t k = items(p);
  if (typeOf(p) == kLeaf) {
    char* at = leafEntry(db, p, pos);
    memmove(at, at + esize(db), size_t{k - pos - 1} * esize(db));
    setItems(p, k - 1);
    return k == 1;
  }
  uint32_t i = 0, before = 0;
  for (; i + 1 < k; ++i) {
    const uint32_t below = get32(child(db, p, i) + 4);
    if (pos < before + below) break;
    before += below;
  }
  const uint32_t c = get32(child(db, p, i));
  if (removeFrom(db, c, pos - before)) {
    freePage(db, c);
    p = page(db, n);
    char* at = child(db, p, i);
    memmove(at, at + childSize(db), size_t{k - i - 1} * childSize(db));
    setItems(p, k - 1);
    return k == 1;
  }
  describe(db, n, i, c);
  return false;
}

int compare(const char* entry, const Probe& probe) {
  const int c = compareKeys(entry + 4, probe.key, probe.length);
  if (c || !probe.exact) return c;
  const uint32_t r = get32(entry);
  return r < probe.record ? -1 : r > probe.record ? 1 : 0;
}

void resetPages(Database* db) {
  setField(db, 80, 2);
  setField(db, 84, 0);
  setField(db, 72, 0);
  setField(db, 76, 1);
  setField(db, 88, 1);
  setField(db, 16, 2 * pageSize(db));
  char* p = page(db, 1);
  memset(p, 0, kPageHeader);
  p[0] = static_cast<char>(kLeaf);
}

}  // namespace

int compareKeys(const char* a, const char* b, uint32_t n) {
  uint32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t x, y;
    memcpy(&x, a + i, 8);
    memcpy(&y, b + i, 8);
    if (x != y) return __builtin_bswap64(x) < __builtin_bswap64(y) ? -1 : 1;
  }
  for (; i < n; ++i)
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
  return 0;
}

bool setup(Database* db, uint32_t entry) {
  if (entry < 5 || entry > kMaxRecordSize + 4) return false;
  uint32_t size = kBasePage;
  while (size < kPageHeader + 4 * (8 + entry)) size += kBasePage;
  setField(db, 64, size);
  setField(db, 68, entry);
  if (!growDatabase(db, uint64_t{size} * 2)) return false;
  changed(db);
  resetPages(db);
  return true;
}

uint32_t entrySize(Database* db) { return esize(db); }

bool headerValid(Database* db, std::string& why) {
  const uint32_t size = pageSize(db), entry = esize(db);
  if (size == 0 && entry == 0) return true;  // not set up yet
  const uint32_t used = get32(head(db) + 80);
  if (size < kBasePage || size % kBasePage || entry < 5 || kPageHeader + 4 * (8 + entry) > size) {
    why = "índice com páginas inválidas";
    return false;
  }
  if (used < 2 || uint64_t{used} * size > db->file.size || root(db) < 1 || root(db) >= used ||
      get32(head(db) + 84) >= used || height(db) < 1 || height(db) > kMaxHeight) {
    why = "índice danificado";
    return false;
  }
  return true;
}

uint32_t count(Database* db) { return pageSize(db) ? get32(head(db) + 72) : 0; }

const char* entryAt(Database* db, uint32_t position) {
  if (position >= count(db)) return nullptr;
  if (db->cursorChanges == db->treeChanges && position >= db->cursorStart) {
    char* p = page(db, db->cursorPage);
    if (position < db->cursorStart + items(p)) return leafEntry(db, p, position - db->cursorStart);
  }
  uint32_t n = root(db), start = 0, pos = position;
  for (uint32_t level = 0; level < kMaxHeight; ++level) {
    char* p = page(db, n);
    if (typeOf(p) == kLeaf) {
      db->cursorPage = n;
      db->cursorStart = start;
      db->cursorChanges = db->treeChanges;
      return pos < items(p) ? leafEntry(db, p, pos) : nullptr;
    }
    const uint32_t k = items(p);
    uint32_t i = 0;
    for (; i + 1 < k; ++i) {
      const uint32_t below = get32(child(db, p, i) + 4);
      if (pos < below) break;
      pos -= below;
      start += below;
    }
    n = get32(child(db, p, i));
  }
  return nullptr;
}

uint32_t lowerBound(Database* db, const Probe& probe) {
  if (count(db) == 0) return 0;
  uint32_t n = root(db), position = 0;
  for (uint32_t level = 0; level < kMaxHeight; ++level) {
    char* p = page(db, n);
    const uint32_t k = items(p);
    if (typeOf(p) == kLeaf) {
      uint32_t lo = 0, hi = k;
      while (lo < hi) {
        const uint32_t mid = (lo + hi) / 2;
        if (compare(leafEntry(db, p, mid), probe) < 0)
          lo = mid + 1;
        else
          hi = mid;
      }
      return position + lo;
    }
    // The last child whose first entry is below the probe holds the answer
    // (or it is the first entry of the child after it).
    uint32_t lo = 1, hi = k;
    while (lo < hi) {
      const uint32_t mid = (lo + hi) / 2;
      if (compare(child(db, p, mid) + 8, probe) < 0)
        lo = mid + 1;
      else
        hi = mid;
    }
    const uint32_t chosen = lo - 1;
    for (uint32_t i = 0; i < chosen; ++i) position += get32(child(db, p, i) + 4);
    n = get32(child(db, p, chosen));
  }
  return position;
}

bool insertAt(Database* db, uint32_t position, const char* entry) {
  if (!pageSize(db) || position > count(db)) return false;
  changed(db);
  bool failed = false;
  const uint32_t oldRoot = root(db);
  const uint32_t split = insertInto(db, oldRoot, position, entry, failed);
  if (failed) return false;
  if (split) {
    const uint32_t top = newPage(db, kInner);
    if (!top) return false;
    setItems(page(db, top), 2);
    describe(db, top, 0, oldRoot);
    describe(db, top, 1, split);
    setField(db, 76, top);
    setField(db, 88, height(db) + 1);
  }
  setField(db, 72, count(db) + 1);
  return true;
}

bool removeAt(Database* db, uint32_t position) {
  if (position >= count(db)) return false;
  changed(db);
  const uint32_t top = root(db);
  if (removeFrom(db, top, position) && typeOf(page(db, top)) == kInner) {
    // The tree is empty: a leaf root again.
    freePage(db, top);
    const uint32_t leaf = newPage(db, kLeaf);
    setField(db, 76, leaf);
    setField(db, 88, 1);
  }
  // A root with one child gives way to the child.
  while (typeOf(page(db, root(db))) == kInner && items(page(db, root(db))) == 1) {
    const uint32_t only = get32(child(db, page(db, root(db)), 0));
    freePage(db, root(db));
    setField(db, 76, only);
    setField(db, 88, height(db) - 1);
  }
  setField(db, 72, count(db) - 1);
  return true;
}

void replaceAt(Database* db, uint32_t position, const char* entry) {
  char* at = const_cast<char*>(entryAt(db, position));
  if (!at) return;
  changed(db);
  memcpy(at, entry, esize(db));
  // A new first entry of a leaf is the first entry its ancestors keep.
  uint32_t n = root(db), pos = position;
  for (uint32_t level = 0; level < kMaxHeight; ++level) {
    char* p = page(db, n);
    if (typeOf(p) == kLeaf) return;
    const uint32_t k = items(p);
    uint32_t i = 0;
    for (; i + 1 < k; ++i) {
      const uint32_t below = get32(child(db, p, i) + 4);
      if (pos < below) break;
      pos -= below;
    }
    if (pos == 0) memcpy(child(db, p, i) + 8, entry, esize(db));
    n = get32(child(db, p, i));
  }
}

void clear(Database* db) {
  if (!pageSize(db)) return;
  changed(db);
  resetPages(db);
}

bool build(Database* db, const char* entries, const uint32_t* order, uint32_t n) {
  if (!pageSize(db)) return false;
  changed(db);
  resetPages(db);
  if (n == 0) return true;
  const uint32_t e = esize(db), leafCap = leafCapacity(db), innerCap = innerCapacity(db);
  std::vector<uint32_t> level;
  for (uint32_t done = 0; done < n;) {
    const uint32_t take = n - done < leafCap ? n - done : leafCap;
    const uint32_t leaf = done == 0 ? 1 : newPage(db, kLeaf);
    if (!leaf) return false;
    char* p = page(db, leaf);
    if (order) {
      for (uint32_t i = 0; i < take; ++i)
        memcpy(p + kPageHeader + size_t{i} * e, entries + size_t{order[done + i]} * e, e);
    } else {
      memcpy(p + kPageHeader, entries + size_t{done} * e, size_t{take} * e);
    }
    setItems(p, take);
    level.push_back(leaf);
    done += take;
    // Pages written stay in the page cache, not in the process.
    if (level.size() % 256 == 0) DbFlush(db);
  }
  uint32_t levels = 1;
  while (level.size() > 1) {
    std::vector<uint32_t> up;
    for (size_t done = 0; done < level.size();) {
      const size_t take = level.size() - done < innerCap ? level.size() - done : innerCap;
      const uint32_t inner = newPage(db, kInner);
      if (!inner) return false;
      setItems(page(db, inner), static_cast<uint32_t>(take));
      for (size_t i = 0; i < take; ++i) describe(db, inner, static_cast<uint32_t>(i), level[done + i]);
      up.push_back(inner);
      done += take;
    }
    level.swap(up);
    ++levels;
  }
  setField(db, 76, level[0]);
  setField(db, 88, levels);
  setField(db, 72, n);
  return true;
}

bool closedCleanly(Database* db) { return get16(head(db) + 2) == 1; }

void markClosed(Database* db) {
  if (pageSize(db)) put16(head(db) + 2, 1);
  db->treeDirty = false;
}

}  // namespace data::tree
