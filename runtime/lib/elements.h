// What an element holds and when it lets go. An element that holds an array
// counts as one hold on the nested record (its refCount), so a context end
// never frees an array that some element still reaches; letting go only
// drops the count, and the array is freed by the context end that owns it.
#ifndef ZELTA_RUNTIME_LIB_ELEMENTS_H
#define ZELTA_RUNTIME_LIB_ELEMENTS_H

#include "zeltaobjs.h"

namespace lib {

// Element i of the array holds `nested` from now on.
void holdArray(pObj_Node array, long i, pObj_Node nested);
// Empties an element (NIL): drops its hold on an array or an aliased
// variable, or frees its own string buffer.
void clearCell(ArrayCell* c);
// Stores value into element i: arrays are held, anything else assigned
// (through to the variable of an element aliasing one).
void storeInElement(pObj_Node array, long i, pObj_Node value);
// A new last element aliasing the variable, which must live as long.
void appendAlias(pObj_Node array, pObj_Node variable);

// Lowers the array and everything reachable from it to `level`.
void lowerArray(pObj_Node array, int level);

// Raises LOW MEMORY unless `records` more elements can be made: within the
// element count's range and the machine's physical memory. Arrays grow one
// element at a time, and a request beyond the machine would otherwise run
// until the system stops the program.
void checkRoomFor(double records);

}  // namespace lib

#endif
