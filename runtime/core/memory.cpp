// The counted allocator. Every block the run-time hands out comes from here,
// so the live count that ShowFreeMem reports is exact.
#include "core.h"

#include <malloc.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

namespace {

long liveCount = 0;

// Heap records (variables, arrays, elements) are all one size and made and
// freed by the million, so they come from slabs through a free list: no
// per-record heap header, and freed records are reused while still in cache.
// Under AddressSanitizer they come from the heap, so misuse is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kRecordSlabs = false;
#else
constexpr bool kRecordSlabs = true;
#endif
constexpr size_t kRecordsPerSlab = 4096;

struct FreeRecord {
  FreeRecord* next;
};
FreeRecord* freeRecords = nullptr;
std::vector<void*> slabs;

void addSlab() {
  char* slab = static_cast<char*>(malloc(kRecordsPerSlab * sizeof(Obj_Node)));
  if (!slab) __RuntimeError(LOW_MEMORY, -1);
  slabs.push_back(slab);
  for (size_t i = kRecordsPerSlab; i-- > 0;) {
    FreeRecord* r = reinterpret_cast<FreeRecord*>(slab + i * sizeof(Obj_Node));
    r->next = freeRecords;
    freeRecords = r;
  }
}

}  // namespace

void* xmalloc(size_t size) {
  void* p = malloc(size ? size : 1);
  if (p) ++liveCount;
  return p;
}

void xfree(void* p) {
  if (!p) return;
  free(p);
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

size_t stringBufferBytes(int32_t size) {
  if (size < 0) __RuntimeError(LOW_MEMORY, -1);
  const size_t bytes = static_cast<size_t>(size) + (size & 1);
  return bytes < 2 ? 2 : bytes;
}

char* allocStringBuffer(int32_t size) {
  const size_t bytes = stringBufferBytes(size);
  char* p = static_cast<char*>(allocOrDie(bytes));
  memset(p, 0, bytes);
  return p;
}

pObj_Node allocRecord() {
  if (!kRecordSlabs) return static_cast<pObj_Node>(allocOrDie(sizeof(Obj_Node)));
  if (!freeRecords) addSlab();
  FreeRecord* r = freeRecords;
  freeRecords = r->next;
  ++liveCount;
  return reinterpret_cast<pObj_Node>(r);
}

void freeRecord(pObj_Node record) {
  if (!record) return;
  if (!kRecordSlabs) return xfree(record);
  FreeRecord* r = reinterpret_cast<FreeRecord*>(record);
  r->next = freeRecords;
  freeRecords = r;
  --liveCount;
}

void releaseRecordSlabs() {
  for (void* slab : slabs) free(slab);
  slabs.clear();
  freeRecords = nullptr;
}

long liveAllocations() { return liveCount; }

void resetAllocationCount() { liveCount = 0; }

}  // namespace core
