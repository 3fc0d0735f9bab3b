// Arrays of the language: construction, indexing, the array functions and
// their release at context end. Arrays are held by reference: an array value
// is its vArray record, and an element that holds an array points at the
// nested record. Indexing gives the nested record of such an element, else
// an alias of the element (zeltaobjs.h) that reads it and writes it back. Positions given as language values are 1-based DOUBLEs;
// the int indexes of __GET_ARRAY_EL and __SET_ARRAY_EL are 0-based.
#ifndef ZELTAARRAY_H
#define ZELTAARRAY_H

#include "zeltaobjs.h"

// Variable-length lists end with __INIT_NUL().
ZELTA_EXPORT pObj_Node __CreateArray(pObj_Node first, ...);
ZELTA_EXPORT pObj_Node __Array(pObj_Node first, ...);
ZELTA_EXPORT pObj_Node __ARRAY_EL(pObj_Node array, ...);

ZELTA_EXPORT void __NewArrayElement(pObj_Node array, pObj_Node value);
ZELTA_EXPORT pObj_Node __AAdd(pObj_Node array, pObj_Node value);
ZELTA_EXPORT int __Array_Get_Amnt_Itens(pObj_Node array);
ZELTA_EXPORT pObj_Node __GET_ARRAY_EL(pObj_Node array, int i);
ZELTA_EXPORT int __SET_ARRAY_EL(pObj_Node array, pObj_Node value, int i);
ZELTA_EXPORT pObj_Node __Array_Get_Item(pObj_Node array, pObj_Node n);
ZELTA_EXPORT pObj_Node __ATail(pObj_Node array);

#ifndef ZELTA_RUNTIME_BUILD
// a[i] with one whole index in range, read in place: the nested array of an
// element that holds one, else the element in its latest alias or the next
// free one. Anything
// else (several indexes, a scalar, a bound error, a pinned alias slot, an
// element aliasing a variable) goes to the library.
inline pObj_Node zeltaArrayEl(pObj_Node array, pObj_Node index, pObj_Node end) {
  if (array && index && end == glob->sysRecords[kSysNul] && index->objType == T_DOUBLE) {
    pObj_Node a = array;
    if (a->objKind == vElArray && a->objType == T_ARRAY) a = a->objData.array;
    ArrayHeader* h = a && a->objKind == vArray ? a->objData.header : nullptr;
    const double d = index->objData.dValue;
    if (h && d >= 1 && d <= h->count && static_cast<double>(static_cast<int32_t>(d)) == d) {
      const int32_t i = static_cast<int32_t>(d) - 1;
      const ArrayCell* c = zeltaCell(h, i);
      if (c->type == T_ARRAY) return c->data.array;
      ElementRing& r = zeltaElementRing;
      ElementAlias** recent = &r.recent[zeltaRecentSlot(h, i)];
      ElementAlias* al = *recent;
      const bool again = al && al->header == h && al->index == i;
      const int depth = glob->depth;
      if (!again) al = &r.slots[r.cursor & r.mask];
      if (c->type != kCellAlias && (again || zeltaAliasFree(al, depth))) {
        pObj_Node n = &al->node;
        if (!again) {
          h->aliasStamp = r.cursor++;
          al->header = h;
          al->index = i;
          // A caller's alias still in use stays the one found.
          if (!*recent || zeltaAliasFree(*recent, depth)) *recent = al;
          n->refObj = nullptr;
          n->byRef = 0;
          n->level = a->level;
        }
        // This call's now, and among its latest (a caller's stays the caller's).
        if (!again || al->depth >= depth) {
          al->depth = depth;
          al->made = ++r.uses[static_cast<uint16_t>(depth)];
        }
        n->objType = c->type;
        n->objLength = c->length;
        n->objData = c->data;
        return n;
      }
    }
  }
  return (__ARRAY_EL)(array, index, end);
}
template <typename... Rest>
inline pObj_Node zeltaArrayEl(pObj_Node array, Rest... rest) {
  return (__ARRAY_EL)(array, rest...);
}
#define __ARRAY_EL(...) zeltaArrayEl(__VA_ARGS__)
#endif

ZELTA_EXPORT pObj_Node __AScan(pObj_Node array, pObj_Node value, pObj_Node start = NULL, pObj_Node last = NULL,
                               pObj_Node column = NULL);
ZELTA_EXPORT pObj_Node __ASORT(pObj_Node array, pObj_Node start = NULL, pObj_Node last = NULL, pObj_Node order = NULL,
                               pObj_Node column = NULL);
ZELTA_EXPORT pObj_Node __ACopy(pObj_Node source, pObj_Node target, pObj_Node start = NULL, pObj_Node last = NULL,
                               pObj_Node position = NULL);
ZELTA_EXPORT pObj_Node __AFill(pObj_Node array, pObj_Node value, pObj_Node start = NULL, pObj_Node count = NULL);
ZELTA_EXPORT pObj_Node __AIns(pObj_Node array, pObj_Node n = NULL);
ZELTA_EXPORT pObj_Node __ADel(pObj_Node array, pObj_Node n = NULL);
ZELTA_EXPORT pObj_Node __DelEl(pObj_Node array, int n, int refill);
ZELTA_EXPORT pObj_Node __ASize(pObj_Node array, pObj_Node n = NULL);
ZELTA_EXPORT pObj_Node __CopyArray(pObj_Node array);
ZELTA_EXPORT pObj_Node __AClone(pObj_Node array);
ZELTA_EXPORT int __Comp(pObj_Node a, pObj_Node b);
ZELTA_EXPORT void __SwapElements(pObj_Node a, pObj_Node b);

// Release: called by the context end for arrays it no longer needs.
ZELTA_EXPORT pObj_Node __KillArray(pObj_Node array);
ZELTA_EXPORT void __KillArrayEl(ArrayHeader* header);

#endif
