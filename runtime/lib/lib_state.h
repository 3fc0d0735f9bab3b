// The library folder's state record (see runtime/core/core.h for the
// convention): the element indexes of long arrays, the decimal separator
// and the phonetic library's call.
#ifndef ZELTA_LIB_LIB_STATE_H
#define ZELTA_LIB_LIB_STATE_H

#include <unordered_map>
#include <vector>

#include "zeltaobjs.h"

namespace lib {

// The element vector of one long array (array_index.cpp).
struct ArrayIndex {
  int32_t count = 0;
  pObj_Node first = nullptr;
  pObj_Node last = nullptr;
  std::vector<pObj_Node> items;
};

// The long array read last, so a loop over it reads without a lookup.
struct LastIndex {
  const ArrayHeader* header = nullptr;
  int32_t count = 0;
  pObj_Node first = nullptr;
  pObj_Node last = nullptr;
  pObj_Node const* items = nullptr;
};

// The phonetic library's call (phonetic.cpp).
using PhoneticCall = int (*)(int* length, const char* mode, char* buffer);

struct State {
  // array_index.cpp: one index per long array's header, the last one used.
  std::unordered_map<const ArrayHeader*, ArrayIndex> indexes;
  const ArrayHeader* cachedHeader = nullptr;
  ArrayIndex* cachedIndex = nullptr;
  LastIndex lastIndex;
  // number_text.cpp: 0 until the locale has been read.
  char decimalSeparator = 0;
  // phonetic.cpp: null until the library has been loaded.
  PhoneticCall alpha2 = nullptr;
};

extern State stateRecord;
inline State& state() { return stateRecord; }

}  // namespace lib

#endif
