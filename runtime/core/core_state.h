// The core's state record: everything the core remembers between calls,
// gathered so that __EndGlobal can put it back to its defaults at once (the
// next application in the same process, a test's next case, starts clean).
// Each file reads and writes only its own part.
#ifndef ZELTA_CORE_CORE_STATE_H
#define ZELTA_CORE_CORE_STATE_H

#include <cstdint>
#include <vector>

#include "day_number.h"
#include "zeltamisc.h"
#include "zeltaobjs.h"

namespace core {

struct StaticBuffer;
struct LibraryEntry;
struct Block;

// context.cpp: the pools' held lists and the sweep's walk positions; the
// per-depth records, the lock stack and the serial counters are in glob
// (generated code reads them in place).
struct ContextState {
  std::vector<pObj_Node> held[3];  // by pool
  pObj_Node iterGuard = nullptr;   // walk position of a sweep
  pObj_Node watched = nullptr;     // array under release
};

// errors.cpp: what a fatal error needs besides glob.
struct ErrorState {
  int language = 1;           // 1 Portuguese, 2 English, 3 Spanish
  char auxBuffer[1025] = {};  // filled by __GetAuxError, taken by GetError
  ExitHook exitHook = nullptr;
  pObj_Node (*exitBlock)(pObj_Node, pObj_Node, pObj_Node) = nullptr;
  bool reporting = false;  // an error is being reported
};

struct State {
  // values.cpp
  bool binaryBuffers = false;  // strings copied by objLength, zeros included
  bool encode = true;          // __DoEncode and __DoDecode encode
  Obj_Node charConst = {};     // scratch record of __INIT_CHARCONST
  // day_number.cpp: the date decoded last; a statement usually takes
  // several parts of one date.
  long lastDayNumber = 0;
  CivilDate lastDate;
  // globals.cpp
  int ringSize = 160;  // for the next __BeginGlobal
  StaticBuffer* staticBuffers = nullptr;
  LibraryEntry* libraries = nullptr;
  TraceRecord* spareTraces = nullptr;  // ended calls' records, for the next __SF
  // blocks.cpp
  Block* blocksHead = nullptr;
  Block* blocksTail = nullptr;
  ErrorState errors;
  ContextState context;
};

extern State stateRecord;
inline State& state() { return stateRecord; }

// Puts the record back to its defaults, all but the ring size (which
// __SetMaxStackElements sets for the next application); the last step of
// __EndGlobal, once everything the record pointed to is freed.
void resetState();

}  // namespace core

#endif
