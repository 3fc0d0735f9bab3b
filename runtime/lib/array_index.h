// The index kept beside every array's element chain. The chain (header
// first/last, elements linked through `next`) stays the array as every folder
// sees it; the index is a vector of the same element pointers, so element i is
// reached in one step. An index whose remembered count, first and last no
// longer match its header is rebuilt from the chain, so code elsewhere that
// relinks a chain by hand costs one walk, never a wrong element.
#ifndef ZELTA_RUNTIME_LIB_ARRAY_INDEX_H
#define ZELTA_RUNTIME_LIB_ARRAY_INDEX_H

#include <cstddef>

#include "zeltaobjs.h"

namespace lib {

// The array record behind v: v itself, or the nested array of an element
// holding one; null for anything else.
pObj_Node arrayOf(pObj_Node v);
pObj_Node checkArray(pObj_Node v);  // ARGUMENT ERROR! unless an array

long elementCount(pObj_Node array);  // 0 without a header
pObj_Node elementAt(pObj_Node array, long i);  // 0-based, i in range

// Chain edits that keep the index in step. `el` is an unlinked element.
void appendElement(pObj_Node array, pObj_Node el);
void insertElement(pObj_Node array, long i, pObj_Node el);  // before element i
pObj_Node unlinkElement(pObj_Node array, long i);           // returns it, unlinked

// Forgets the index of a header about to be freed.
void forgetIndex(const ArrayHeader *header);
size_t indexedHeaders();  // for tests: live index entries

}  // namespace lib

#endif
