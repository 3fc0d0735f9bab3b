// What the run-time folders share with the core beyond the public headers:
// the pool links of heap records, the ring of temporaries, the switches, the
// hooks other folders fill in, and the test hook that stands in for the
// fatal-error exit.
//
// State and hooks: the convention every run-time folder follows.
//
//  - State. A folder keeps what it remembers between calls in one record,
//    `<folder>::State` in `<folder>/<folder>_state.h` (core::State in
//    core_state.h), reached through `<folder>::state()`; never in file-scope
//    variables. The record holds its defaults from load time, so whatever a
//    program sets before __BeginGlobal (the ring size, the binary-buffer
//    switch) holds for that application. __EndGlobal puts every record back
//    to its defaults: the folder's end call does its own, last.
//
//  - Calls down are plain calls: a folder includes the headers of the
//    folders below it (core < lib < data < sync, ui) and calls them.
//
//  - Calls up go through one record, core::hooks(). The core never names an
//    export of a folder above it, so a build without that folder (the core's
//    own tests) links, and a test can put a fake in any slot. A folder fills
//    its slots once at load time, from its `<folder>_hooks.cpp`:
//
//        [[maybe_unused]] const bool registered = core::registerFolder(
//            core::kFolderData, {begin, end, nullptr, fatal});
//
//    and sets the named up-calls it owns (below) in the same place. The
//    four folder calls go through registerFolder only (tests too): it keeps
//    the flag that spares a context end from looking at every folder. Every
//    slot is null while its folder is absent, and the core then does
//    without (or falls back, where it says so).
//
//  - The four folder calls, in FolderCalls:
//      begin       in __BeginGlobal once glob, the system records and the
//                  settings exist; folders in the order lib, data, sync, ui.
//      end         first thing in __EndGlobal, while glob and every value
//                  still exist; in the order ui, sync, data, lib. It closes
//                  what the folder holds (windows, the session, the work
//                  areas) and puts the folder's State back to its defaults.
//      contextEnd  in __KillContext, before the sweep, at the end of every
//                  function call and in the last sweep of __EndGlobal (after
//                  the end calls): return at once when there is nothing to do.
//      fatal       in __RuntimeError after the program's exit hook, before
//                  the report, in the order ui, sync, data, lib; not called
//                  while a test trap stands in for the exit.
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
#include <vector>

#include "core_state.h"
#include "zeltaobjs.h"

namespace core {

enum PoolIndex { kArrayPool = 0, kVariablePool = 1, kElementPool = 2 };

// The pool a kind's records are kept in, or -1.
int poolOf(uint32_t kind);
void poolAppend(int pool, pObj_Node node);
void poolUnlink(int pool, pObj_Node node);

// Builds the free list of a new ring of `size` slots.
void ringCreate(int size);
// Frees the per-depth records and the lock stack (at the end of the application).
void ringFree();
// Marks a ring slot that holds a value returned into its caller.
constexpr uint32_t kReturnLock = kRingReturnLock;
// The deepest context a program may open (STACK FULL beyond): below the
// 16-bit depth's range, and within the machine stack of a thread.
constexpr int kMaxContextDepth = 10000;

pObj_Node takeTemporarySlow();
// The next stack temporary (raises STACK FULL! when every slot is locked).
inline pObj_Node takeTemporary() {
  pObj_Node slot = zeltaQuickTemporary();
  return __builtin_expect(slot != nullptr, 1) ? slot : takeTemporarySlow();
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
// The same, starting on a cache line (64 bytes), as the ring's slots and
// the heap records want: each then lies on one line. Freed with xfree.
void* allocLinesOrDie(size_t size);
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
// What generated code takes its locals from in place (see Glob).
SpareRecord** spareRecordList();
long* liveCounter();
void resetAllocationCount();

bool binaryBuffers();
bool encodeSwitch();

// Frees the named-function registry (at the end of the application).
void freeBlockRegistry();

// A header with room for `room` elements (at most a chunk) in its own block.
ArrayHeader* newArrayHeader(int32_t room);
// Frees an array header with its element storage (not what elements own).
void freeArrayHeader(ArrayHeader* header);
bool inlineCells(const ArrayHeader* header);

// Element aliases (element_alias.cpp): cell i of h as a record of the ring.
pObj_Node takeElementAlias(ArrayHeader* h, int32_t i, int level);
bool sameElement(pObj_Node a, pObj_Node b);
// Before h is freed: aliases of its elements stop writing back.
void detachElementAliases(const ArrayHeader* h);
void resetElementAliases();
// Grows or shrinks a counted block (null: a new one); raises LOW MEMORY!.
void* resizeBlock(void* block, size_t size);

// Frees an array record with its elements when the array folder is absent.
void releaseArrayFallback(pObj_Node array);

// The folders above the core, as the hooks record knows them.
enum Folder { kFolderLib, kFolderData, kFolderSync, kFolderUi, kFolderCount };

// A folder's part in the application's life (see the top of this file).
struct FolderCalls {
  void (*begin)();
  void (*end)();
  void (*contextEnd)();
  void (*fatal)();
};

// Test hook: called with the code, the auxiliary number and the rendered
// report in place of printing and exiting. It must not return (a test
// throws from it).
using FatalTrap = void (*)(int code, int aux, const std::string& report);

// The one way up from the core. Null slots: that folder is absent.
struct Hooks {
  // Set through registerFolder, which keeps anyContextEnd in step.
  FolderCalls folders[kFolderCount];
  // Some folder has a contextEnd call: every function call's context end
  // looks at this one flag, not at four slots.
  bool anyContextEnd;
  // The folders' contextEnd calls in folder order, packed.
  void (*contextEnds[kFolderCount])();
  int contextEndCount;
  // lib: releases an array record with its elements (context end).
  pObj_Node (*releaseArray)(pObj_Node array);
  // data: saves the registered arrays first thing in a fatal error.
  void (*dumpRegisteredArrays)();
  // data: the value of alias->field (the evaluator's field references).
  pObj_Node (*fieldByName)(pObj_Node alias, pObj_Node field);
  // data: removes the catalog and index files (cleandbs).
  void (*removeDataFiles)();
  // sync: a full synchronisation (ErrSync after a "yes").
  void (*startSync)();
  // ui: shows a modal box; returns 1 for OK/Yes, 0 for No.
  int (*messageBox)(const char* title, const char* text, int yesNo);
  // ui: shows the fatal-error window; returns when the user pressed Reset.
  void (*fatalWindow)(const char* errorText, const char* positions);
  FatalTrap fatalTrap;
};
// All null until the folders register: constant-initialised, so a folder's
// registration at load time may run before or after the core's own.
extern Hooks hookRecord;
inline Hooks& hooks() { return hookRecord; }

// Fills `folder`'s calls; returns true so that a folder can register from
// the initialiser of a constant.
bool registerFolder(Folder folder, const FolderCalls& calls);

void setFatalTrap(FatalTrap trap);

// The language of run-time messages: 1 Portuguese, 2 English, 3 Spanish.
int errorLanguage();
// Raises `code` with `text` in place of a numbered auxiliary message.
[[noreturn]] void raiseWithText(int code, const std::string& text);

// Application directory: ZELTA_APPDIR, else the program's own directory.
std::string appDirectory();
// The single-instance lock file of the program that checks for `name`
// (FindWindow's window name) in the application directory `appDir`.
std::string instanceLockPath(const std::string& appDir, const char* name);

// Foreign libraries (libraries.cpp). The host file name a program's library
// name stands for (".dll" and no extension become ".so", '\' becomes '/').
std::string hostLibraryName(const char* name);
// The files loadLibrary tries for `name`, in order.
std::vector<std::string> librarySearchList(const char* name);
// The library, loaded on first use and kept for the application; null when
// no candidate loads.
void* loadLibrary(const char* name);
void* librarySymbol(void* library, const char* symbol);
// Forgets the loaded libraries at the end of the application.
void forgetLibraries();

// Appends the hand-off to "inst.txt" and starts the installer on the waiting
// install list (the end of an application after SHUTDOWN;
// installer_handoff.cpp).
void handOverToInstaller();
// The paths the installer is looked for at, in order: in the application
// directory, beside the program, beside the run-time (each place once).
std::vector<std::string> installerCandidates(const std::string& appDir, const std::string& program,
                                             const std::string& runtime);

// The rounding of __Round, __Int and numeric formatting: halves (and values
// within 1e-14 below a half) round away from zero.
double roundNumber(double x, int decimals);

// Formats one value as the console shows it.
std::string formatValue(pObj_Node value);

}  // namespace core

#endif
