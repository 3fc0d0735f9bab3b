// What the run-time folders share with the core beyond the public headers:
// the pool links of heap records, the ring of temporaries, the switches, the
// hooks other folders fill in, and the test hook that stands in for the
// fatal-error exit.
//
// Pools. Each kind's records sit in one doubly linked list in creation order
// (`next` forward, `poolPrev` back; `poolSerial` numbers them). Ending a
// context walks back from the tail only over the records made since that
// context began, plus the few older "held" records that outlived an earlier
// context end because something held them. A folder that frees a pooled
// record (the array release) must unlink it with poolUnlink first.
#ifndef ZELTA_CORE_CORE_H
#define ZELTA_CORE_CORE_H

#include <string>

#include "zeltaobjs.h"

namespace core {

enum PoolIndex { kArrayPool = 0, kVariablePool = 1, kElementPool = 2 };

// The pool a kind's records are kept in, or -1.
int poolOf(uint32_t kind);
void poolAppend(int pool, pObj_Node node);
void poolUnlink(int pool, pObj_Node node);

// Builds the free list of a new ring of `size` slots.
void ringCreate(int size);
// The ring's free list: the slot after each free slot (see context.cpp).
extern int* ringNextFree;
// Marks a ring slot that holds a value returned into its caller.
constexpr uint32_t kReturnLock = 8;

pObj_Node takeTemporarySlow();
// The next stack temporary (raises STACK FULL! when every slot is locked).
inline pObj_Node takeTemporary() {
  const int index = glob->stackCursor;
  if (__builtin_expect(index < 0 || glob->lockedCount >= glob->stackSize, 0)) return takeTemporarySlow();
  pObj_Node slot = &glob->stack[index];
  glob->stackCursor = static_cast<int16_t>(ringNextFree[index]);
  if (slot->objType == T_CHARPTR && slot->objLength > 0) xfree(slot->objData.mbuff);
  slot->objData.mbuff = nullptr;
  slot->objLength = 0;
  return slot;
}

void releaseReturnedSlot(pObj_Node value);
// Unlocks `value` when it is a value a function returned into the current
// context (its only use has happened); anything else is left alone.
inline void releaseReturned(pObj_Node value) {
  if (value && (value->poolFlags & kReturnLock) && value->objKind == vStack) releaseReturnedSlot(value);
}
inline pObj_Node systemRecord(int index) { return glob->sysRecords[index]; }
// Keeps a trace record cut from the list for the next __SF.
void recycleTrace(TraceRecord* record);
pObj_Node setting(int slot);

// Allocation that raises LOW MEMORY! instead of returning null; counted.
void* allocOrDie(size_t size);
// A zero-filled string buffer for `size` bytes: rounded up to even, at least 2.
char* allocStringBuffer(int32_t size);
// The size of the buffer allocStringBuffer gives for `size` bytes; a caller
// that fills a buffer itself zeroes only what it leaves unwritten.
size_t stringBufferBytes(int32_t size);
// An uninitialised string buffer of `bytes` (from stringBufferBytes).
char* allocStringBytes(size_t bytes);
// Frees the small blocks kept for string buffers (at the end of the application).
void releaseSmallBlocks();
// A heap record (variable, array object, element), uninitialised, counted
// like xmalloc; freeRecord gives it back. Every record from __fcpObj_CT must
// be freed with freeRecord, never xfree.
pObj_Node allocRecord();
void freeRecord(pObj_Node record);
// Returns the record slabs to the heap at the end of the application.
void releaseRecordSlabs();
long liveAllocations();
void resetAllocationCount();

bool binaryBuffers();
bool encodeSwitch();

// Frees the named-function registry (at the end of the application).
void freeBlockRegistry();

// Frees an array record with its elements when the array folder is absent.
void releaseArrayFallback(pObj_Node array);

// Hooks that other folders set once at load time; null when absent.
struct Hooks {
  void (*dumpRegisteredArrays)();  // rescue before the fatal report
  // Show a modal box; returns 1 for OK/Yes, 0 for No. Replaces the headless
  // driver when a user interface is present.
  int (*messageBox)(const char* title, const char* text, int yesNo);
  // Show the fatal-error window; returns when the user pressed Reset.
  void (*fatalWindow)(const char* errorText, const char* positions);
};
Hooks& hooks();

// Test hook: called with the code, the auxiliary number and the rendered
// report in place of printing and exiting. It must not return (a test
// throws from it).
using FatalTrap = void (*)(int code, int aux, const std::string& report);
void setFatalTrap(FatalTrap trap);

// The language of run-time messages: 1 Portuguese, 2 English, 3 Spanish.
int errorLanguage();

// Application directory: ZELTA_APPDIR, else the program's own directory.
std::string appDirectory();

// The rounding of __Round, __Int and numeric formatting: halves (and values
// within 1e-14 below a half) round away from zero.
double roundNumber(double x, int decimals);

// Formats one value as the console shows it.
std::string formatValue(pObj_Node value);

}  // namespace core

#endif
