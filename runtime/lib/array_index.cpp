// The element index: one vector per long array's header in a hash table keyed
// by the header, with the last header used cached, since loops index one array
// at a time. Short arrays have no entry, so rows of a table of records cost no
// memory beyond their chains.
#include "array_index.h"

#include <unordered_map>
#include <vector>

#include "arguments.h"

namespace lib {

namespace {

std::unordered_map<const ArrayHeader*, ArrayIndex>& table() { return state().indexes; }

bool isLong(const ArrayHeader* h) { return h->count > kChainLimit; }

pObj_Node walk(const ArrayHeader* h, long i) {
  pObj_Node el = h->first;
  while (i-- > 0) el = el->next;
  return el;
}

void remember(ArrayIndex& index, const ArrayHeader* h) {
  index.count = h->count;
  index.first = h->first;
  index.last = h->last;
}

void rebuild(ArrayIndex& index, const ArrayHeader* h) {
  index.items.clear();
  index.items.reserve(static_cast<size_t>(h->count));
  for (pObj_Node el = h->first; el && static_cast<int32_t>(index.items.size()) < h->count; el = el->next)
    index.items.push_back(el);
  remember(index, h);
}

bool inStep(const ArrayIndex& index, const ArrayHeader* h) {
  return index.count == h->count && index.first == h->first && index.last == h->last &&
         index.items.size() == static_cast<size_t>(h->count);
}

// Only an index that holds the whole chain is read without a check.
void publish(const ArrayHeader* h, const ArrayIndex& index) {
  if (index.items.size() == static_cast<size_t>(index.count))
    state().lastIndex = {h, index.count, index.first, index.last, index.items.data()};
  else
    state().lastIndex = LastIndex();
}

ArrayIndex& indexFor(const ArrayHeader* h) {
  if (h != state().cachedHeader) {
    state().cachedIndex = &table()[h];
    state().cachedHeader = h;
  }
  ArrayIndex& index = *state().cachedIndex;
  if (!inStep(index, h)) rebuild(index, h);
  publish(h, index);
  return index;
}

// Rewrites the links around position `at` of `items` (an insert or erase
// there) and the header from the vector.
void relinkAt(ArrayHeader* h, const std::vector<pObj_Node>& items, size_t at) {
  if (at < items.size()) items[at]->next = at + 1 < items.size() ? items[at + 1] : nullptr;
  if (at > 0) items[at - 1]->next = at < items.size() ? items[at] : nullptr;
  h->count = static_cast<int32_t>(items.size());
  h->first = items.empty() ? nullptr : items.front();
  h->last = items.empty() ? nullptr : items.back();
}

// A short chain's elements as a vector, for an edit in its middle.
std::vector<pObj_Node> chainOf(const ArrayHeader* h) {
  std::vector<pObj_Node> items;
  items.reserve(static_cast<size_t>(h->count) + 1);
  for (pObj_Node el = h->first; el && static_cast<int32_t>(items.size()) < h->count; el = el->next) items.push_back(el);
  return items;
}

// Keeps the index only while the array is long.
void settle(ArrayHeader* h, ArrayIndex& index) {
  if (!isLong(h)) {
    forgetIndex(h);
    return;
  }
  remember(index, h);
  publish(h, index);
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
  return indexFor(h).items[static_cast<size_t>(i)];
}

pObj_Node const* indexedElements(pObj_Node array) {
  const ArrayHeader* h = array->objData.header;
  if (!h || !isLong(h)) return nullptr;
  return indexFor(h).items.data();
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
  ArrayIndex& index = indexFor(h);
  h->last->next = el;
  h->last = el;
  ++h->count;
  index.items.push_back(el);
  remember(index, h);
  publish(h, index);
}

void insertElement(pObj_Node array, long i, pObj_Node el) {
  ArrayHeader* h = array->objData.header;
  if (!isLong(h)) {
    std::vector<pObj_Node> items = chainOf(h);
    items.insert(items.begin() + i, el);
    relinkAt(h, items, static_cast<size_t>(i));
    return;
  }
  ArrayIndex& index = indexFor(h);
  index.items.insert(index.items.begin() + i, el);
  relinkAt(h, index.items, static_cast<size_t>(i));
  settle(h, index);
}

pObj_Node unlinkElement(pObj_Node array, long i) {
  ArrayHeader* h = array->objData.header;
  pObj_Node el;
  if (!isLong(h)) {
    std::vector<pObj_Node> items = chainOf(h);
    el = items[static_cast<size_t>(i)];
    items.erase(items.begin() + i);
    relinkAt(h, items, static_cast<size_t>(i));
  } else {
    ArrayIndex& index = indexFor(h);
    el = index.items[static_cast<size_t>(i)];
    index.items.erase(index.items.begin() + i);
    relinkAt(h, index.items, static_cast<size_t>(i));
    settle(h, index);
  }
  el->next = nullptr;
  return el;
}

void forgetIndex(const ArrayHeader* header) {
  if (header == state().lastIndex.header) state().lastIndex = LastIndex();
  if (header == state().cachedHeader) {
    state().cachedHeader = nullptr;
    state().cachedIndex = nullptr;
  }
  table().erase(header);
}

size_t indexedHeaders() { return table().size(); }

}  // namespace lib
