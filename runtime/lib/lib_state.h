// The library folder's state record (see runtime/core/core.h for the
// convention): the decimal separator and the phonetic library's call.
#ifndef ZELTA_LIB_LIB_STATE_H
#define ZELTA_LIB_LIB_STATE_H

#include "zeltaobjs.h"

namespace lib {

// The phonetic library's call (phonetic.cpp).
using PhoneticCall = int (*)(int* length, const char* mode, char* buffer);

struct State {
  // number_text.cpp: 0 until the locale has been read.
  char decimalSeparator = 0;
  // phonetic.cpp: null until the library has been loaded.
  PhoneticCall alpha2 = nullptr;
};

extern State stateRecord;
inline State& state() { return stateRecord; }

}  // namespace lib

#endif
