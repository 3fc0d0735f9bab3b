// The index kept beside the element chain of a long array. The chain (header
// first/last, elements linked through `next`) stays the array as every folder
// sees it. An array of up to kChainLimit elements is read by walking its
// chain, which costs less than any lookup; a longer one keeps the same
// element pointers in its header's `items`, so element i is reached in one
// step (generated code reads it in place, zeltaarray.h). An index whose
// count, first and last no longer match its header is rebuilt from the
// chain, so code elsewhere that relinks a chain by hand costs one walk,
// never a wrong element.
#ifndef ZELTA_RUNTIME_LIB_ARRAY_INDEX_H
#define ZELTA_RUNTIME_LIB_ARRAY_INDEX_H

#include <cstddef>

#include "zeltaobjs.h"

namespace lib {

constexpr int32_t kChainLimit = 16;

// The array record behind v: v itself, or the nested array of an element
// holding one; null for anything else.
inline pObj_Node arrayOf(pObj_Node v) {
  if (!v) return nullptr;
  if (v->objKind == vArray) return v;
  if (v->objKind == vElArray && v->objType == T_ARRAY) return v->objData.array;
  return nullptr;
}
pObj_Node checkArray(pObj_Node v);  // ARGUMENT ERROR! unless an array

inline long elementCount(pObj_Node array) {
  const ArrayHeader* h = array->objData.header;
  return h ? h->count : 0;
}

pObj_Node elementAtSlow(pObj_Node array, long i);
inline pObj_Node elementAt(pObj_Node array, long i) {  // 0-based, i in range
  const ArrayHeader* h = array->objData.header;
  if (h->items && h->indexed == h->count) return h->items[i];
  return elementAtSlow(array, i);
}

// The elements of a long array in order (an index kept in step), or null for
// a short one, whose chain the caller walks instead. Valid until the array
// changes.
pObj_Node const* indexedElements(pObj_Node array);

// Chain edits that keep the index in step. `el` is an unlinked element.
void appendElement(pObj_Node array, pObj_Node el);
void insertElement(pObj_Node array, long i, pObj_Node el);  // before element i
pObj_Node unlinkElement(pObj_Node array, long i);           // returns it, unlinked

// Frees the index of a header (about to be freed, or whose chain was
// relinked by hand).
void forgetIndex(ArrayHeader* header);
size_t indexedHeaders();  // for tests: headers of live arrays with an index

}  // namespace lib

#endif
