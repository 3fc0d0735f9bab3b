// The counted allocator. Every block the run-time hands out comes from here,
// so the live count that ShowFreeMem reports is exact. The allocator serves
// the process, not one application, so its counts and caches stay outside
// core::State: the live count must outlast __EndGlobal for a leak to show.
#include "core.h"

#include <malloc.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "zeltautil.h"

namespace {

long liveCount = 0;

// The record slabs and the small-block cache below keep memory from the
// heap; under AddressSanitizer every block goes to the heap and back, so
// misuse is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooling = false;
#else
constexpr bool kPooling = true;
#endif

// Heap records (variables, arrays, elements) are all one size and made and
// freed by the million, so they come from slabs through a free list: no
// per-record heap header, and freed records are reused while still in cache.
constexpr size_t kRecordsPerSlab = 4096;

using FreeRecord = SpareRecord;
FreeRecord* freeRecords = nullptr;
std::vector<void*> slabs;
char* slabNext = nullptr;  // the unused rest of the newest slab
char* slabEnd = nullptr;

// Small blocks that xfree gets are kept for the next small string buffers:
// temporaries make and drop those by the million, more than the C library's
// own per-size caches hold. Classes by usable size: 24, 40, 56, 72 bytes.
constexpr size_t kSmallClasses = 4;
constexpr size_t kSmallKept = 1024;  // blocks kept per class
struct SmallBlock {
  SmallBlock* next;
};
SmallBlock* smallBlocks[kSmallClasses] = {};
size_t smallCount[kSmallClasses] = {};

size_t classUsable(size_t c) { return 24 + 16 * c; }

bool keepSmall(void* p) {
  if (!kPooling) return false;
  const size_t usable = malloc_usable_size(p);
  if (usable < 24 || usable > classUsable(kSmallClasses - 1) || (usable - 24) % 16) return false;
  const size_t c = (usable - 24) / 16;
  if (smallCount[c] >= kSmallKept) return false;
  SmallBlock* b = static_cast<SmallBlock*>(p);
  b->next = smallBlocks[c];
  smallBlocks[c] = b;
  ++smallCount[c];
  return true;
}

// A kept block of at least `bytes`, or null.
void* takeSmall(size_t bytes) {
  if (!kPooling || bytes > classUsable(kSmallClasses - 1)) return nullptr;
  const size_t c = bytes <= 24 ? 0 : (bytes - 24 + 15) / 16;
  SmallBlock* b = smallBlocks[c];
  if (!b) return nullptr;
  smallBlocks[c] = b->next;
  --smallCount[c];
  return b;
}

// A record's fields then share one cache line.
constexpr size_t kLineSize = 64;

// Records are cut from the newest slab as they are needed, never threaded
// ahead: a slab's pages stay untouched (and not resident) until used.
void addSlab() {
  void* block = nullptr;
  if (posix_memalign(&block, kLineSize, kRecordsPerSlab * sizeof(Obj_Node)) != 0) __RuntimeError(LOW_MEMORY, -1);
  char* slab = static_cast<char*>(block);
  slabs.push_back(slab);
  slabNext = slab;
  slabEnd = slab + kRecordsPerSlab * sizeof(Obj_Node);
}

}  // namespace

void* xmalloc(size_t size) {
  void* p = malloc(size ? size : 1);
  if (p) ++liveCount;
  return p;
}

void xfree(void* p) {
  if (!p) return;
  if (!keepSmall(p)) free(p);
  --liveCount;
}

size_t MemPtrSize(void* block) {
  // Contract: `block` is null or a heap block (xmalloc or malloc).
  return block ? malloc_usable_size(block) : 0;
}

namespace core {

void* allocOrDie(size_t size) {
  void* p = xmalloc(size);
  if (!p) __RuntimeError(LOW_MEMORY, -1);
  return p;
}

void* allocLinesOrDie(size_t size) {
  void* p = nullptr;
  if (posix_memalign(&p, kLineSize, size ? size : 1) != 0) __RuntimeError(LOW_MEMORY, -1);
  ++liveCount;
  return p;
}

void* resizeBlock(void* block, size_t size) {
  void* p = realloc(block, size ? size : 1);
  if (!p) __RuntimeError(LOW_MEMORY, -1);
  if (!block) ++liveCount;
  return p;
}

size_t stringBufferBytes(int32_t size) {
  if (size < 0) __RuntimeError(LOW_MEMORY, -1);
  const size_t bytes = static_cast<size_t>(size) + (size & 1);
  return bytes < 2 ? 2 : bytes;
}

char* allocStringBytes(size_t bytes) {
  void* p = takeSmall(bytes);
  if (!p) return static_cast<char*>(allocOrDie(bytes));
  ++liveCount;
  return static_cast<char*>(p);
}

char* allocStringBuffer(int32_t size) {
  const size_t bytes = stringBufferBytes(size);
  char* p = allocStringBytes(bytes);
  memset(p, 0, bytes);
  return p;
}

pObj_Node allocRecord() {
  if (!kPooling) return static_cast<pObj_Node>(allocOrDie(sizeof(Obj_Node)));
  void* r = freeRecords;
  if (r) {
    freeRecords = freeRecords->next;
  } else {
    if (slabNext == slabEnd) addSlab();
    r = slabNext;
    slabNext += sizeof(Obj_Node);
  }
  ++liveCount;
  return static_cast<pObj_Node>(r);
}

void freeRecord(pObj_Node record) {
  if (!record) return;
  if (!kPooling) return xfree(record);
  FreeRecord* r = reinterpret_cast<FreeRecord*>(record);
  r->next = freeRecords;
  freeRecords = r;
  --liveCount;
}

void releaseSmallBlocks() {
  for (size_t c = 0; c < kSmallClasses; ++c) {
    while (smallBlocks[c]) {
      SmallBlock* next = smallBlocks[c]->next;
      free(smallBlocks[c]);
      smallBlocks[c] = next;
    }
    smallCount[c] = 0;
  }
}

void releaseRecordSlabs() {
  for (void* slab : slabs) free(slab);
  slabs.clear();
  freeRecords = nullptr;
  slabNext = slabEnd = nullptr;
}

long liveAllocations() { return liveCount; }

SpareRecord** spareRecordList() { return kPooling ? &freeRecords : nullptr; }

long* liveCounter() { return &liveCount; }

void resetAllocationCount() { liveCount = 0; }

}  // namespace core
