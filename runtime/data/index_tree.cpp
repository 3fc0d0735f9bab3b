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
//     inner  u8 2 | u8 0 | u16 children k | u32 0 | then, for C = (P - 8) / (8 + E) children:
//            u32 page x C | u32 entries below x C | first entry (E bytes) x C
//            (three arrays, so a walk adds up counts and searches first
//            entries over contiguous bytes)
//     free   u8 0 | u8 0 | u16 0 | u32 next free page
//
// The header word at byte 2 is 1 only while the file is closed after a clean
// close; a tree found otherwise may be behind its table and is rebuilt by the
// index layer. Pages are not written crash-safely for that reason: a killed
// process leaves a tree that is rebuilt, never one that is trusted.
#include "index_tree.h"

#include <string.h>

#include <algorithm>
#include <vector>

#include "core.h"

namespace data::tree {

namespace {

constexpr uint32_t kPageHeader = 8;
constexpr uint8_t kLeaf = 1, kInner = 2;
constexpr uint32_t kBasePage = 5120;  // 15360, 61440 and 92160 are multiples
constexpr uint32_t kMaxHeight = 32;
// Leaves written by a build between two flushes of the index's pages.
constexpr uint32_t kBuildFlushPages = 64;

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
uint32_t leafCapacity(Database* db) { return (pageSize(db) - kPageHeader) / esize(db); }
uint32_t innerCapacity(Database* db) { return (pageSize(db) - kPageHeader) / (8 + esize(db)); }
char* leafEntry(Database* db, char* p, uint32_t i) { return p + kPageHeader + size_t{i} * esize(db); }
char* pagesOf(char* p) { return p + kPageHeader; }
char* countsOf(Database* db, char* p) { return p + kPageHeader + size_t{4} * innerCapacity(db); }
char* firstsOf(Database* db, char* p) { return p + kPageHeader + size_t{8} * innerCapacity(db); }
uint32_t childPage(char* p, uint32_t i) { return get32(pagesOf(p) + size_t{i} * 4); }
uint32_t childCount(Database* db, char* p, uint32_t i) { return get32(countsOf(db, p) + size_t{i} * 4); }
char* childFirst(Database* db, char* p, uint32_t i) { return firstsOf(db, p) + size_t{i} * esize(db); }

// Moves children [from, from + n) of inner page p to slot `to` of page q.
void moveChildren(Database* db, char* p, uint32_t from, char* q, uint32_t to, uint32_t n) {
  const uint32_t e = esize(db);
  memmove(pagesOf(q) + size_t{to} * 4, pagesOf(p) + size_t{from} * 4, size_t{n} * 4);
  memmove(countsOf(db, q) + size_t{to} * 4, countsOf(db, p) + size_t{from} * 4, size_t{n} * 4);
  memmove(firstsOf(db, q) + size_t{to} * e, firstsOf(db, p) + size_t{from} * e, size_t{n} * e);
}

// The child to take in inner page p for a position: the first whose entries
// reach past it (`atEnd`: an insert at a boundary takes the left child);
// `pos` becomes the position within that child.
uint32_t childForPosition(Database* db, char* p, uint32_t& pos, bool atEnd) {
  const uint32_t k = items(p);
  const char* counts = countsOf(db, p);
  uint32_t i = 0;
  for (; i + 1 < k; ++i) {
    const uint32_t below = get32(counts + size_t{i} * 4);
    if (atEnd ? pos <= below : pos < below) break;
    pos -= below;
  }
  return i;
}

// The child of inner page p that holds the probe's place: the last whose
// first entry is below it; `position` gains the entries before that child.
uint32_t childForProbe(Database* db, char* p, const Probe& probe, uint32_t& position);

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
  for (uint32_t i = 0; i < items(p); ++i) sum += childCount(db, p, i);
  return sum;
}

const char* firstEntry(Database* db, uint32_t n) {
  char* p = page(db, n);
  return typeOf(p) == kLeaf ? leafEntry(db, p, 0) : childFirst(db, p, 0);
}

// Writes child i of inner page `parent` for page `n`.
void describe(Database* db, uint32_t parent, uint32_t i, uint32_t n) {
  const uint32_t below = entriesBelow(db, n);
  char* p = page(db, parent);
  put32(pagesOf(p) + size_t{i} * 4, n);
  put32(countsOf(db, p) + size_t{i} * 4, below);
  if (below) memcpy(childFirst(db, p, i), firstEntry(db, n), esize(db));
}

int compare(const char* entry, const Probe& probe) {
  const int c = compareKeys(entry + 4, probe.key, probe.length);
  if (c || !probe.exact) return c;
  const uint32_t r = get32(entry);
  return r < probe.record ? -1 : r > probe.record ? 1 : 0;
}

// Puts `entry` at slot `at` of leaf n; a full leaf is split and the new
// right leaf returned (0: no split). A failed allocation leaves the page as
// it was and sets `failed`.
uint32_t placeEntry(Database* db, uint32_t n, uint32_t at, const char* entry, bool& failed) {
  const uint32_t e = esize(db);
  char* p = page(db, n);
  const uint32_t k = items(p);
  if (k < leafCapacity(db)) {
    char* base = p + kPageHeader;
    memmove(base + size_t{at + 1} * e, base + size_t{at} * e, size_t{k - at} * e);
    memcpy(base + size_t{at} * e, entry, e);
    setItems(p, k + 1);
    return 0;
  }
  const uint32_t right = newPage(db, kLeaf);
  if (!right) {
    failed = true;
    return 0;
  }
  p = page(db, n);
  std::vector<char> all(size_t{k + 1} * e);
  const char* base = p + kPageHeader;
  memcpy(all.data(), base, size_t{at} * e);
  memcpy(all.data() + size_t{at} * e, entry, e);
  memcpy(all.data() + size_t{at + 1} * e, base + size_t{at} * e, size_t{k - at} * e);
  const uint32_t left = (k + 1) / 2;
  memcpy(p + kPageHeader, all.data(), size_t{left} * e);
  setItems(p, left);
  char* r = page(db, right);
  memcpy(r + kPageHeader, all.data() + size_t{left} * e, size_t{k + 1 - left} * e);
  setItems(r, k + 1 - left);
  return right;
}

// Puts child page c at slot `at` of inner page n, as placeEntry does.
uint32_t placeChild(Database* db, uint32_t n, uint32_t at, uint32_t c, bool& failed) {
  char* p = page(db, n);
  const uint32_t k = items(p);
  uint32_t target = n, slot = at, right = 0;
  if (k == innerCapacity(db)) {
    right = newPage(db, kInner);
    if (!right) {
      failed = true;
      return 0;
    }
    p = page(db, n);
    char* r = page(db, right);
    const uint32_t left = (k + 1) / 2;
    // Children from `left` on (counting the new one) go to the right page.
    if (at < left) {
      moveChildren(db, p, left - 1, r, 0, k - (left - 1));
      setItems(r, k - (left - 1));
      setItems(p, left - 1);
    } else {
      moveChildren(db, p, left, r, 0, k - left);
      setItems(r, k - left);
      setItems(p, left);
      target = right;
      slot = at - left;
    }
  }
  char* t = page(db, target);
  const uint32_t kt = items(t);
  moveChildren(db, t, slot, t, slot + 1, kt - slot);
  setItems(t, kt + 1);
  describe(db, target, slot, c);
  return right;
}

// Inserts into the subtree of page n at its position `pos`; returns the
// right page when n split.
uint32_t insertInto(Database* db, uint32_t n, uint32_t pos, const char* entry, bool& failed) {
  char* p = page(db, n);
  if (typeOf(p) == kLeaf) return placeEntry(db, n, pos, entry, failed);
  const uint32_t i = childForPosition(db, p, pos, true);
  const uint32_t c = childPage(p, i);
  const uint32_t split = insertInto(db, c, pos, entry, failed);
  if (failed) return 0;
  describe(db, n, i, c);
  return split ? placeChild(db, n, i + 1, split, failed) : 0;
}

// Inserts `entry` at the probe's place in the subtree of page n; adds the
// entry's position within the subtree to `position`; returns the right page
// when n split.
uint32_t insertByKey(Database* db, uint32_t n, const Probe& probe, const char* entry, uint32_t& position,
                     bool& failed) {
  char* p = page(db, n);
  if (typeOf(p) == kLeaf) {
    uint32_t lo = 0, hi = items(p);
    while (lo < hi) {
      const uint32_t mid = (lo + hi) / 2;
      if (compare(leafEntry(db, p, mid), probe) < 0)
        lo = mid + 1;
      else
        hi = mid;
    }
    position += lo;
    return placeEntry(db, n, lo, entry, failed);
  }
  const uint32_t i = childForProbe(db, p, probe, position);
  const uint32_t c = childPage(p, i);
  const uint32_t split = insertByKey(db, c, probe, entry, position, failed);
  if (failed) return 0;
  if (split) {
    describe(db, n, i, c);
    return placeChild(db, n, i + 1, split, failed);
  }
  // One more entry below child i; its first entry changes only when the
  // entry went first.
  p = page(db, n);
  char* count = countsOf(db, p) + size_t{i} * 4;
  put32(count, get32(count) + 1);
  const char* first = firstEntry(db, c);
  char* kept = childFirst(db, p, i);
  if (memcmp(kept, first, esize(db)) != 0) memcpy(kept, first, esize(db));
  return 0;
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
  const uint32_t i = childForPosition(db, p, pos, false);
  const uint32_t c = childPage(p, i);
  if (removeFrom(db, c, pos)) {
    freePage(db, c);
    p = page(db, n);
    moveChildren(db, p, i + 1, p, i, k - i - 1);
    setItems(p, k - 1);
    return k == 1;
  }
  describe(db, n, i, c);
  return false;
}

uint32_t childForProbe(Database* db, char* p, const Probe& probe, uint32_t& position) {
  const uint32_t k = items(p);
  uint32_t lo = 1, hi = k;
  while (lo < hi) {
    const uint32_t mid = (lo + hi) / 2;
    if (compare(childFirst(db, p, mid), probe) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  const uint32_t chosen = lo - 1;
  const char* counts = countsOf(db, p);
  for (uint32_t i = 0; i < chosen; ++i) position += get32(counts + size_t{i} * 4);
  return chosen;
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

namespace {

bool entryBefore(const char* a, const char* b, uint32_t e) {
  const int c = compareKeys(a + 4, b + 4, e - 4);
  if (c) return c < 0;
  return get32(a) < get32(b);
}

// Writes the tree from `n` entries in order, `entry(i)` giving the i-th.
template <typename Entry>
bool buildFrom(Database* db, uint32_t n, const Entry& entry);

// Puts the queued entries in: one by one in key order when they are few,
// else by building the tree again from its entries merged with them.
void settle(Database* db) {
  if (db->queued.size() == 0) return;
  EntryQueue queued;
  queued.swap(db->queued);
  const uint32_t n = queued.size();
  const uint32_t e = esize(db);
  const auto at = [&queued](uint32_t i) { return queued.at(i); };
  std::vector<uint32_t> order(n);
  for (uint32_t i = 0; i < n; ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&at, e](uint32_t a, uint32_t b) { return entryBefore(at(a), at(b), e); });
  const uint32_t existing = get32(head(db) + 72);
  // An empty tree is built from the queue itself, without a merged copy.
  if (existing == 0 && n >= 64) {
    buildFrom(db, n, [&](uint32_t i) { return at(order[i]); });
    return;
  }
  if (n < existing / 4 + 64) {
    for (uint32_t i : order) {
      const char* entry = at(i);
      uint32_t record;
      memcpy(&record, entry, 4);
      insertSorted(db, Probe{entry + 4, e - 4, true, record}, entry);
    }
    return;
  }
  std::vector<char> all(size_t{existing + n} * e);
  char* out = all.data();
  uint32_t t = 0, k = 0;
  while (t < existing || k < n) {
    const char* from = t < existing ? entryAt(db, t) : nullptr;
    const char* next = k < n ? at(order[k]) : nullptr;
    if (from && (!next || !entryBefore(next, from, e))) {
      memcpy(out, from, e);
      ++t;
    } else {
      memcpy(out, next, e);
      ++k;
    }
    out += e;
  }
  build(db, all.data(), nullptr, existing + n);
}

}  // namespace

void queueInsert(Database* db, const char* entry) {
  if (!pageSize(db)) return;
  changed(db);
  // Without memory for the queue the entry goes in at once.
  if (!db->queued.push(entry, esize(db))) {
    uint32_t record;
    memcpy(&record, entry, 4);
    if (insertSorted(db, Probe{entry + 4, esize(db) - 4, true, record}, entry) < 0) __RuntimeError(LOW_MEMORY, -1);
  }
}

uint32_t count(Database* db) {
  if (!pageSize(db)) return 0;
  settle(db);
  return get32(head(db) + 72);
}

const char* entryAt(Database* db, uint32_t position) {
  settle(db);
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
    const uint32_t before = pos;
    const uint32_t i = childForPosition(db, p, pos, false);
    start += before - pos;
    n = childPage(p, i);
  }
  return nullptr;
}

uint32_t lowerBound(Database* db, const Probe& probe) {
  settle(db);
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
    n = childPage(p, childForProbe(db, p, probe, position));
  }
  return position;
}

bool insertAt(Database* db, uint32_t position, const char* entry) {
  settle(db);
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

int64_t insertSorted(Database* db, const Probe& probe, const char* entry) {
  if (!pageSize(db)) return -1;
  settle(db);
  changed(db);
  bool failed = false;
  uint32_t position = 0;
  const uint32_t oldRoot = root(db);
  const uint32_t split = insertByKey(db, oldRoot, probe, entry, position, failed);
  if (failed) return -1;
  if (split) {
    const uint32_t top = newPage(db, kInner);
    if (!top) return -1;
    setItems(page(db, top), 2);
    describe(db, top, 0, oldRoot);
    describe(db, top, 1, split);
    setField(db, 76, top);
    setField(db, 88, height(db) + 1);
  }
  setField(db, 72, count(db) + 1);
  return position;
}

bool removeAt(Database* db, uint32_t position) {
  settle(db);
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
    const uint32_t only = childPage(page(db, root(db)), 0);
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
    const uint32_t i = childForPosition(db, p, pos, false);
    if (pos == 0) memcpy(childFirst(db, p, i), entry, esize(db));
    n = childPage(p, i);
  }
}

void clear(Database* db) {
  db->queued.clear();
  if (!pageSize(db)) return;
  changed(db);
  resetPages(db);
}

bool build(Database* db, const char* entries, const uint32_t* order, uint32_t n) {
  const uint32_t e = esize(db);
  return buildFrom(db, n, [=](uint32_t i) { return entries + size_t{order ? order[i] : i} * e; });
}

namespace {

template <typename Entry>
bool buildFrom(Database* db, uint32_t n, const Entry& entry) {
  db->queued.clear();
  if (!pageSize(db)) return false;
  changed(db);
  resetPages(db);
  if (n == 0) return true;
  const uint32_t e = esize(db), leafCap = leafCapacity(db), innerCap = innerCapacity(db);
  // Each page of the level being built with its entry count and first entry,
  // so the level above is written without reading these pages again.
  std::vector<uint32_t> level, below;
  std::vector<char> firsts;
  for (uint32_t done = 0; done < n;) {
    const uint32_t take = n - done < leafCap ? n - done : leafCap;
    const uint32_t leaf = done == 0 ? 1 : newPage(db, kLeaf);
    if (!leaf) return false;
    char* p = page(db, leaf);
    for (uint32_t i = 0; i < take; ++i) memcpy(p + kPageHeader + size_t{i} * e, entry(done + i), e);
    setItems(p, take);
    level.push_back(leaf);
    below.push_back(take);
    firsts.insert(firsts.end(), entry(done), entry(done) + e);
    done += take;
    // Pages written stay in the page cache, not in the process.
    if (level.size() % kBuildFlushPages == 0) DbFlush(db);
  }
  uint32_t levels = 1;
  while (level.size() > 1) {
    std::vector<uint32_t> up, upBelow;
    std::vector<char> upFirsts;
    for (size_t done = 0; done < level.size();) {
      const size_t take = level.size() - done < innerCap ? level.size() - done : innerCap;
      const uint32_t inner = newPage(db, kInner);
      if (!inner) return false;
      char* p = page(db, inner);
      setItems(p, static_cast<uint32_t>(take));
      uint32_t sum = 0;
      for (size_t i = 0; i < take; ++i) {
        put32(pagesOf(p) + i * 4, level[done + i]);
        put32(countsOf(db, p) + i * 4, below[done + i]);
        memcpy(childFirst(db, p, static_cast<uint32_t>(i)), firsts.data() + (done + i) * e, e);
        sum += below[done + i];
      }
      up.push_back(inner);
      upBelow.push_back(sum);
      upFirsts.insert(upFirsts.end(), firsts.data() + done * e, firsts.data() + (done + 1) * e);
      done += take;
    }
    level.swap(up);
    below.swap(upBelow);
    firsts.swap(upFirsts);
    ++levels;
  }
  setField(db, 76, level[0]);
  setField(db, 88, levels);
  setField(db, 72, n);
  return true;
}

}  // namespace

bool closedCleanly(Database* db) { return get16(head(db) + 2) == 1; }

void markClosed(Database* db) {
  if (pageSize(db)) {
    settle(db);
    put16(head(db) + 2, 1);
  }
  db->treeDirty = false;
}

}  // namespace data::tree
