// The counted allocator. Every block the run-time hands out comes from here,
// so the live count that ShowFreeMem reports is exact.
#include "core.h"

#include <malloc.h>
#include <stdlib.h>
#include <string.h>

namespace {

long liveCount = 0;

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

long liveAllocations() { return liveCount; }

void resetAllocationCount() { liveCount = 0; }

}  // namespace core
