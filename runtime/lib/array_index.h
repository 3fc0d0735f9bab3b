// An array's element storage: 16-byte cells in chunks owned by its header
// (zeltaobjs.h), so element i is one step away for the first element as for
// the last, and growing never moves an element. The library works on cells;
// what it hands out for an element is an alias of it (elementAt), which
// reads the cell and writes back to it.
#ifndef ZELTA_RUNTIME_LIB_ARRAY_INDEX_H
#define ZELTA_RUNTIME_LIB_ARRAY_INDEX_H

#include <cstddef>

#include "core.h"
#include "zeltaobjs.h"

namespace lib {

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

inline ArrayCell* cellAt(pObj_Node array, long i) {  // 0-based, i in range
  return zeltaCell(array->objData.header, static_cast<int32_t>(i));
}

// Element i (0-based, in range) as an alias record.
inline pObj_Node elementAt(pObj_Node array, long i) {
  return core::takeElementAlias(array->objData.header, static_cast<int32_t>(i), array->level);
}
// What a[i] denotes: the nested array of an element holding one, else the
// element's alias.
pObj_Node visibleAt(pObj_Node array, long i);

inline void setNil(ArrayCell* c) {
  c->type = T_NIL;
  c->length = -1;
  c->data.dValue = 0;
}

// Edits of the element list; new elements are NIL. A removed element must
// have been emptied first (clearCell).
ArrayCell* appendCell(pObj_Node array);
void insertCell(pObj_Node array, long i);  // before element i
void eraseCell(pObj_Node array, long i);
// Keeps the first n elements (those after them emptied already); the storage
// of whole chunks past them goes.
void truncateCells(pObj_Node array, long n);

}  // namespace lib

#endif
