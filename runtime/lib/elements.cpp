// Element values. Strings in elements own their buffer unless the element
// aliases a variable, which then owns the value.
#include "elements.h"

#include "core.h"

#include "array_index.h"
#include "host.h"

namespace lib {

void holdArray(pObj_Node array, long i, pObj_Node nested) {
  ArrayCell* c = cellAt(array, i);
  clearCell(c);
  ++nested->refCount;
  c->type = T_ARRAY;
  c->length = -1;
  c->data.array = nested;
  lowerArray(nested, array->level);
}

void clearCell(ArrayCell* c) {
  if (c->type == T_ARRAY) {
    pObj_Node nested = c->data.array;
    if (nested && nested->refCount > 0) --nested->refCount;
  } else if (c->type == T_CHARPTR && c->length > 0) {
    xfree(c->data.mbuff);
  } else if (c->type == kCellAlias) {
    pObj_Node variable = static_cast<pObj_Node>(c->data.pValue);
    if (variable->refCount > 0) --variable->refCount;
  }
  setNil(c);
}

void storeInElement(pObj_Node array, long i, pObj_Node value) {
  if (pObj_Node nested = arrayOf(value)) {
    const ArrayCell* c = cellAt(array, i);
    if (c->type == T_ARRAY && c->data.array == nested) return;
    holdArray(array, i, nested);
    return;
  }
  ArrayCell* c = cellAt(array, i);
  if (c->type == T_ARRAY) clearCell(c);
  __SET_OBJECT(elementAt(array, i), value);
}

void appendAlias(pObj_Node array, pObj_Node variable) {
  ArrayCell* c = appendCell(array);
  c->type = kCellAlias;
  c->data.pValue = variable;
  ++variable->refCount;
  if (variable->level > array->level) variable->level = array->level;
}

void lowerArray(pObj_Node array, int level) {
  // A record already at or below the level has its elements there too; this
  // also ends the walk over an array that holds itself.
  if (array->level <= level) return;
  array->level = static_cast<int16_t>(level);
  const ArrayHeader* h = array->objData.header;
  if (!h) return;
  for (int32_t i = 0; i < h->count; ++i) {
    const ArrayCell* c = zeltaCell(h, i);
    if (c->type == T_ARRAY && c->data.array) lowerArray(c->data.array, level);
  }
}

void checkRoomFor(double records) {
  if (records <= 0) return;
  const double totalKb = static_cast<double>(core::host::memoryStatus().totalKb);
  const bool beyondMemory = totalKb > 0 && records * sizeof(Obj_Node) > totalKb * 1024;
  if (records > INT32_MAX || beyondMemory) __RuntimeError(LOW_MEMORY, -1);
}

}  // namespace lib
