// The element index: one vector per header in a hash table keyed by the
// header, with the last header used cached, since loops index one array at a
// time.
#include "array_index.h"

#include <unordered_map>
#include <vector>

#include "arguments.h"

namespace lib {

namespace {

struct ArrayIndex {
  int32_t count = 0;
  pObj_Node first = nullptr;
  pObj_Node last = nullptr;
  std::vector<pObj_Node> items;
};

std::unordered_map<const ArrayHeader *, ArrayIndex> &table() {
  static std::unordered_map<const ArrayHeader *, ArrayIndex> indexes;
  return indexes;
}

const ArrayHeader *cachedHeader = nullptr;
ArrayIndex *cachedIndex = nullptr;

void remember(ArrayIndex &index, const ArrayHeader *h) {
  index.count = h->count;
  index.first = h->first;
  index.last = h->last;
}

void rebuild(ArrayIndex &index, const ArrayHeader *h) {
  index.items.clear();
  for (pObj_Node el = h->first; el && static_cast<int32_t>(index.items.size()) < h->count; el = el->next)
    index.items.push_back(el);
  remember(index, h);
}

ArrayIndex &indexFor(const ArrayHeader *h) {
  if (h != cachedHeader) {
    cachedIndex = &table()[h];
    cachedHeader = h;
  }
  ArrayIndex &index = *cachedIndex;
  if (index.count != h->count || index.first != h->first || index.last != h->last ||
      index.items.size() != static_cast<size_t>(h->count))
    rebuild(index, h);
  return index;
}

// After an insert or erase at `at`: only the links around that place change.
void relinkAt(ArrayHeader *h, ArrayIndex &index, size_t at) {
  std::vector<pObj_Node> &items = index.items;
  if (at < items.size()) items[at]->next = at + 1 < items.size() ? items[at + 1] : nullptr;
  if (at > 0) items[at - 1]->next = at < items.size() ? items[at] : nullptr;
  h->count = static_cast<int32_t>(items.size());
  h->first = items.empty() ? nullptr : items.front();
  h->last = items.empty() ? nullptr : items.back();
  remember(index, h);
}

}  // namespace

pObj_Node arrayOf(pObj_Node v) {
  if (!v) return nullptr;
  if (v->objKind == vArray) return v;
  if (v->objKind == vElArray && v->objType == T_ARRAY) return v->objData.array;
  return nullptr;
}

pObj_Node checkArray(pObj_Node v) {
  pObj_Node array = arrayOf(v);
  if (!array) argumentError();
  return array;
}

long elementCount(pObj_Node array) {
  const ArrayHeader *h = array->objData.header;
  return h ? h->count : 0;
}

pObj_Node elementAt(pObj_Node array, long i) { return indexFor(array->objData.header).items[i]; }

void appendElement(pObj_Node array, pObj_Node el) {
  ArrayHeader *h = array->objData.header;
  ArrayIndex &index = indexFor(h);
  el->next = nullptr;
  if (h->last) h->last->next = el;
  else h->first = el;
  h->last = el;
  ++h->count;
  index.items.push_back(el);
  remember(index, h);
}

void insertElement(pObj_Node array, long i, pObj_Node el) {
  ArrayHeader *h = array->objData.header;
  ArrayIndex &index = indexFor(h);
  index.items.insert(index.items.begin() + i, el);
  relinkAt(h, index, static_cast<size_t>(i));
}

pObj_Node unlinkElement(pObj_Node array, long i) {
  ArrayHeader *h = array->objData.header;
  ArrayIndex &index = indexFor(h);
  pObj_Node el = index.items[i];
  index.items.erase(index.items.begin() + i);
  relinkAt(h, index, static_cast<size_t>(i));
  el->next = nullptr;
  return el;
}

void forgetIndex(const ArrayHeader *header) {
  if (header == cachedHeader) {
    cachedHeader = nullptr;
    cachedIndex = nullptr;
  }
  table().erase(header);
}

size_t indexedHeaders() { return table().size(); }

}  // namespace lib
