// The element index: a long array's header holds its element pointers in
// chain order (`items`, grown by doubling). Short arrays have none, so rows
// of a table of records cost no memory beyond their chains.
#include "array_index.h"

#include <string.h>

#include "arguments.h"
#include "core.h"

namespace lib {

namespace {

bool isLong(const ArrayHeader* h) { return h->count > kChainLimit; }

pObj_Node walk(const ArrayHeader* h, long i) {
  pObj_Node el = h->first;
  while (i-- > 0) el = el->next;
  return el;
}

bool inStep(const ArrayHeader* h) {
  return h->items && h->indexed == h->count && h->count > 0 && h->items[0] == h->first &&
         h->items[h->count - 1] == h->last;
}

void reserve(ArrayHeader* h, int32_t n) {
  if (n <= h->capacity) return;
  int64_t room = h->capacity < 32 ? 32 : h->capacity;
  while (room < n) room *= 2;
  h->items = static_cast<pObj_Node*>(core::resizeBlock(h->items, sizeof(pObj_Node) * static_cast<size_t>(room)));
  h->capacity = static_cast<int32_t>(room);
}

void rebuild(ArrayHeader* h) {
  reserve(h, h->count);
  int32_t n = 0;
  for (pObj_Node el = h->first; el && n < h->count; el = el->next) h->items[n++] = el;
  h->indexed = n;  // short of count only for a broken chain: read by walking
}

// The header of a long array with its index in step.
ArrayHeader* indexed(pObj_Node array) {
  ArrayHeader* h = array->objData.header;
  if (!inStep(h)) rebuild(h);
  return h;
}

// Rewrites the links around position `at` (an insert or erase there) and the
// header's ends from the index.
void relinkAt(ArrayHeader* h, size_t at) {
  pObj_Node* items = h->items;
  const size_t n = static_cast<size_t>(h->count);
  if (at < n) items[at]->next = at + 1 < n ? items[at + 1] : nullptr;
  if (at > 0) items[at - 1]->next = at < n ? items[at] : nullptr;
  h->first = n ? items[0] : nullptr;
  h->last = n ? items[n - 1] : nullptr;
  h->indexed = h->count;
}

// Keeps the index only while the array is long.
void settle(ArrayHeader* h) {
  if (!isLong(h)) forgetIndex(h);
}

}  // namespace

pObj_Node checkArray(pObj_Node v) {
  pObj_Node array = arrayOf(v);
  if (!array) core::argumentError();
  return array;
}

pObj_Node elementAtSlow(pObj_Node array, long i) {
  const ArrayHeader* h = array->objData.header;
  if (!isLong(h)) return walk(h, i);
  h = indexed(array);
  return i < h->indexed ? h->items[i] : walk(h, i);
}

pObj_Node const* indexedElements(pObj_Node array) {
  const ArrayHeader* h = array->objData.header;
  if (!h || !isLong(h)) return nullptr;
  h = indexed(array);
  return h->indexed == h->count ? h->items : nullptr;
}

void appendElement(pObj_Node array, pObj_Node el) {
  ArrayHeader* h = array->objData.header;
  el->next = nullptr;
  if (!isLong(h)) {
    if (h->last)
      h->last->next = el;
    else
      h->first = el;
    h->last = el;
    ++h->count;
    return;  // an array that just became long is indexed on its first read
  }
  indexed(array);
  reserve(h, h->count + 1);
  h->last->next = el;
  h->last = el;
  h->items[h->count++] = el;
  h->indexed = h->count;
}

void insertElement(pObj_Node array, long i, pObj_Node el) {
  ArrayHeader* h = array->objData.header;
  if (!isLong(h)) rebuild(h);  // a short chain edited through a temporary index
  indexed(array);
  reserve(h, h->count + 1);
  memmove(h->items + i + 1, h->items + i, sizeof(pObj_Node) * static_cast<size_t>(h->count - i));
  h->items[i] = el;
  ++h->count;
  relinkAt(h, static_cast<size_t>(i));
  settle(h);
}

pObj_Node unlinkElement(pObj_Node array, long i) {
  ArrayHeader* h = array->objData.header;
  if (!isLong(h)) rebuild(h);
  indexed(array);
  pObj_Node el = h->items[i];
  memmove(h->items + i, h->items + i + 1, sizeof(pObj_Node) * static_cast<size_t>(h->count - i - 1));
  --h->count;
  relinkAt(h, static_cast<size_t>(i));
  settle(h);
  el->next = nullptr;
  return el;
}

void forgetIndex(ArrayHeader* header) {
  if (!header) return;
  xfree(header->items);
  header->items = nullptr;
  header->indexed = header->capacity = 0;
}

size_t indexedHeaders() {
  size_t n = 0;
  for (pObj_Node a = glob->context->pools[core::kArrayPool].head; a; a = a->next) {
    const ArrayHeader* h = a->objData.header;
    // A shared header counts once: with its first holder in the pool.
    if (!h || !h->items) continue;
    bool seen = false;
    for (pObj_Node b = glob->context->pools[core::kArrayPool].head; b != a && !seen; b = b->next)
      seen = b->objData.header == h;
    if (!seen) ++n;
  }
  return n;
}

}  // namespace lib
