// Element values. Strings in elements own their buffer unless the element
// aliases a variable, which then owns the buffer both point at.
#include "elements.h"

#include "core.h"

#include "array_index.h"
#include "host.h"

namespace lib {

pObj_Node newElement(pObj_Node array) {
  pObj_Node el = __fcpObj_CT(vElArray);
  el->level = array->level;
  el->refCount = 0;
  return el;
}

void holdArray(pObj_Node el, pObj_Node nested) {
  clearElement(el);
  ++nested->refCount;
  el->objType = T_ARRAY;
  el->objLength = -1;
  el->objData.array = nested;
  lowerArray(nested, el->level);
}

void clearElement(pObj_Node el) {
  if (el->objType == T_ARRAY) {
    pObj_Node nested = el->objData.array;
    if (nested && nested->refCount > 0) --nested->refCount;
  } else if (el->objType == T_CHARPTR && !el->refObj && el->objLength > 0) {
    xfree(el->objData.mbuff);
  }
  el->objType = T_NIL;
  el->objLength = -1;
  el->objData.dValue = 0;
  el->objData.mbuff = nullptr;
}

void freeElement(pObj_Node el) {
  clearElement(el);
  if (el->refObj && el->refObj->refCount > 0) --el->refObj->refCount;
  core::freeRecord(el);
}

void storeInElement(pObj_Node el, pObj_Node value) {
  if (pObj_Node nested = arrayOf(value)) {
    if (el->objType == T_ARRAY && el->objData.array == nested) return;
    holdArray(el, nested);
    return;
  }
  if (el->objType == T_ARRAY) clearElement(el);
  __SET_OBJECT(el, value);
}

void lowerArray(pObj_Node array, int level) {
  // A record already at or below the level has its elements there too; this
  // also ends the walk over an array that holds itself.
  if (array->level <= level) return;
  array->level = static_cast<int16_t>(level);
  const ArrayHeader* h = array->objData.header;
  if (!h) return;
  for (pObj_Node el = h->first; el; el = el->next) {
    if (el->level > level) el->level = static_cast<int16_t>(level);
    if (el->objType == T_ARRAY && el->objData.array) lowerArray(el->objData.array, level);
  }
}

void checkRoomFor(double records) {
  if (records <= 0) return;
  const double totalKb = static_cast<double>(core::host::memoryStatus().totalKb);
  const bool beyondMemory = totalKb > 0 && records * sizeof(Obj_Node) > totalKb * 1024;
  if (records > INT32_MAX || beyondMemory) __RuntimeError(LOW_MEMORY, -1);
}

}  // namespace lib
