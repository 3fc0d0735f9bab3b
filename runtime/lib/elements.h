// What an element holds and when it lets go. An element that holds an array
// counts as one hold on the nested record (its refCount), so a context end
// never frees an array that some element still reaches; letting go only
// drops the count, and the array is freed by the context end that owns it.
#ifndef ZELTA_RUNTIME_LIB_ELEMENTS_H
#define ZELTA_RUNTIME_LIB_ELEMENTS_H

#include "zeltaobjs.h"

namespace lib {

pObj_Node newElement(pObj_Node array);  // NIL, unlinked, at the array's level
void holdArray(pObj_Node el, pObj_Node nested);
// Empties the element (NIL): drops its hold or frees its own string buffer.
void clearElement(pObj_Node el);
// clearElement, drops an alias's hold on its variable and frees the record.
void freeElement(pObj_Node el);
// Stores value into the element: arrays are held, anything else copied.
void storeInElement(pObj_Node el, pObj_Node value);

// Lowers the array and everything reachable from it to `level`.
void lowerArray(pObj_Node array, int level);

// Raises LOW MEMORY unless `records` more value records can be made: within
// the element count's range and the machine's physical memory. Arrays grow
// one record at a time, and a request beyond the machine would otherwise run
// until the system stops the program.
void checkRoomFor(double records);

}  // namespace lib

#endif
