// Element storage: an array of up to one chunk keeps its cells in one block
// (in the header's own block when its size was known at its creation, as
// for a literal), grown by doubling; a longer one keeps a table of chunks
// of kChunkCells cells each.
#include "array_index.h"

#include <string.h>

#include "arguments.h"

namespace lib {

namespace {

int32_t chunkCount(const ArrayHeader* h) { return (h->capacity + kChunkCells - 1) >> kChunkShift; }

bool chunked(const ArrayHeader* h) { return h->chunks != &h->direct; }

// Moves the single block to one of `room` cells.
void resizeDirect(ArrayHeader* h, int32_t room) {
  ArrayCell* cells = static_cast<ArrayCell*>(core::allocOrDie(sizeof(ArrayCell) * static_cast<size_t>(room)));
  if (h->count) memcpy(cells, h->direct, sizeof(ArrayCell) * static_cast<size_t>(h->count));
  if (h->direct && !core::inlineCells(h)) xfree(h->direct);
  h->direct = cells;
  h->capacity = room;
}

void reserve(ArrayHeader* h, int64_t n) {
  if (n <= h->capacity) return;
  if (n > INT32_MAX - kChunkCells) __RuntimeError(LOW_MEMORY, -1);
  if (!chunked(h)) {
    if (n <= kChunkCells) {
      int64_t room = h->capacity < 2 ? 4 : h->capacity * 2;
      while (room < n) room *= 2;
      resizeDirect(h, static_cast<int32_t>(room < kChunkCells ? room : kChunkCells));
      return;
    }
    // A block inside the header's own cannot become a chunk.
    if (h->capacity != kChunkCells || core::inlineCells(h)) resizeDirect(h, kChunkCells);
    ArrayCell** table = static_cast<ArrayCell**>(core::allocOrDie(sizeof(ArrayCell*)));
    table[0] = h->direct;
    h->chunks = table;
  }
  while (h->capacity < n) {
    const int32_t k = chunkCount(h);
    h->chunks = static_cast<ArrayCell**>(core::resizeBlock(h->chunks, sizeof(ArrayCell*) * static_cast<size_t>(k + 1)));
    h->chunks[k] = static_cast<ArrayCell*>(core::allocOrDie(sizeof(ArrayCell) * kChunkCells));
    h->capacity += kChunkCells;
  }
  h->direct = h->chunks[0];
}

}  // namespace

pObj_Node checkArray(pObj_Node v) {
  pObj_Node array = arrayOf(v);
  if (!array) core::argumentError();
  return array;
}

pObj_Node visibleAt(pObj_Node array, long i) {
  const ArrayCell* c = cellAt(array, i);
  return c->type == T_ARRAY ? c->data.array : elementAt(array, i);
}

ArrayCell* appendCell(pObj_Node array) {
  ArrayHeader* h = array->objData.header;
  reserve(h, static_cast<int64_t>(h->count) + 1);
  ArrayCell* c = zeltaCell(h, h->count++);
  setNil(c);
  return c;
}

void insertCell(pObj_Node array, long i) {
  ArrayHeader* h = array->objData.header;
  reserve(h, static_cast<int64_t>(h->count) + 1);
  for (int32_t k = h->count; k > i; --k) *zeltaCell(h, k) = *zeltaCell(h, k - 1);
  ++h->count;
  setNil(zeltaCell(h, static_cast<int32_t>(i)));
}

void eraseCell(pObj_Node array, long i) {
  ArrayHeader* h = array->objData.header;
  for (int32_t k = static_cast<int32_t>(i); k + 1 < h->count; ++k) *zeltaCell(h, k) = *zeltaCell(h, k + 1);
  --h->count;
}

void truncateCells(pObj_Node array, long n) {
  ArrayHeader* h = array->objData.header;
  h->count = static_cast<int32_t>(n);
  if (!chunked(h)) return;
  const int32_t keep = n > kChunkCells ? static_cast<int32_t>((n + kChunkCells - 1) >> kChunkShift) : 1;
  const int32_t had = chunkCount(h);
  for (int32_t k = keep; k < had; ++k) xfree(h->chunks[k]);
  h->capacity = keep * kChunkCells;
  if (keep == 1) {
    h->direct = h->chunks[0];
    xfree(h->chunks);
    h->chunks = &h->direct;
  }
}

}  // namespace lib
