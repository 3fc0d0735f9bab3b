// The value record of the run-time and everything generated code needs to
// hold, assign and release values: Obj_Node with its type and kind codes, the
// constructors, __SET_OBJECT, the global state record `glob` with its context
// pools and ring of temporaries, the constant pool, and the error codes that
// every export raises through __RuntimeError. Exports have C++ linkage.
#ifndef ZELTAOBJS_H
#define ZELTAOBJS_H

#include <stddef.h>
#include <stdint.h>

// Marks a declaration as an export of libzeltace.so; everything else in the
// library is hidden. Every public header's declarations carry it.
// ORDER BUILTIN_EXPORTS: the entry points that the compiler's built-in
// catalogue names (compiler/ast/builtins.h) are exported under those names;
// tests/unit/runtime/exports checks the catalogue against the library.
#define ZELTA_EXPORT __attribute__((visibility("default")))

// Value types (objType). Numbers are always T_DOUBLE; T_LONG only carries raw
// integers between run-time calls and foreign code.
enum {
  T_LONG = 5,
  T_CHARPTR = 10,
  T_ARRAY = 11,
  T_DATE = 12,
  T_DOUBLE = 13,
  T_BOOL = 15,
  T_NIL = 21,
  T_NUL = 22,  // ends variable-length argument lists
  T_VOIDPTR = 23,
  T_HANDLE = 24
};

// Storage kinds (objKind).
// clang-format off
enum {
  vArray = 0,     // array object, linked in the array pool
  vVariable = 1,  // variable or other heap value, linked in the variable pool
  vElArray = 2,   // array element: an alias of the ring below that reads and writes one element
  vConstant = 4,  // constant-pool entry; assignment into it is ignored
  vStack = 5,     // slot of the ring of temporaries
  vSystem = 6     // one of the fifteen shared system records
};
// clang-format on

// Error codes of __RuntimeError; ORDER ERROR_CODES (names in core/messages.cpp).
enum {
  ARGUMENT_ERROR = 0,
  BOUND_ERROR = 1,
  DIVIDE_BY_ZERO = 2,
  RUNTIME_ERROR = 3,
  INVALID_FIELD = 4,
  LOW_MEMORY = 5,
  EG_ARG = 6,
  ALIAS_ALREADY_EXISTS = 7,
  IDX_CREATE_ERROR = 8,
  IDX_NOT_EXISTS = 9,
  INVALID_ORDER = 10,
  CREATE_ERROR = 11,
  INDEX_CREATE_ERROR = 12,
  INVALID_INDEX = 13,
  ALIAS_DOES_NOT_EXISTS = 14,
  STACK_FULL = 15,
  DLL_NOT_FOUND = 16,
  FUNCTION_NOT_FOUND_IN_DLL = 17,
  RDD_NOT_IMPLEMENTED = 18
};

#define True 1
#define False 0

struct Obj_Node;
typedef struct Obj_Node* pObj_Node;

struct ArrayHeader;

union ObjData {
  double dValue;        // T_DOUBLE, T_DATE
  int32_t lValue;       // T_LONG
  int32_t bValue;       // T_BOOL: 0 or 1
  char* mbuff;          // T_CHARPTR
  void* pValue;         // T_VOIDPTR, T_HANDLE
  ArrayHeader* header;  // T_ARRAY in a vArray record
  pObj_Node array;      // T_ARRAY in an element: the nested vArray record
};

// One element of an array: a value without a record of its own. A string
// element owns its buffer; one that holds an array points at the nested
// array record (data.array, counted in its refCount); a kCellAlias element
// aliases a variable (data.pValue), which owns the value.
struct ArrayCell {
  uint32_t type;
  int32_t length;
  ObjData data;
};
static_assert(sizeof(ArrayCell) == 16, "elements are packed to 16 bytes");

enum { kCellAlias = 30 };
// Elements are stored in chunks of kChunkCells, so an array grows without
// moving them; an array of up to one chunk keeps it in `direct`.
constexpr int32_t kChunkShift = 10;
constexpr int32_t kChunkCells = 1 << kChunkShift;

// Owned by an array object: its elements.
struct ArrayHeader {
  int32_t count;
  // Array objects sharing this header (array-to-array assignment); the
  // header and its elements are released only by the last of them.
  int32_t holders;
  int32_t capacity;      // elements room was made for
  uint32_t aliasStamp;   // the alias ring's cursor when an alias last read an element
  ArrayCell** chunks;    // element i: chunks[i >> kChunkShift][i % kChunkCells]
  ArrayCell* direct;     // the only chunk of a short array (chunks points here)
};

inline ArrayCell* zeltaCell(const ArrayHeader* h, int32_t i) {
  return &h->chunks[i >> kChunkShift][i & (kChunkCells - 1)];
}

// One record per value: the language's nine fields in their order, with the
// context pools' three (poolFlags, poolPrev, poolSerial: not to be touched
// elsewhere) fitted in so the record takes 64 bytes. Stored formats write the
// device's 40-byte image field by field, never this struct.
struct Obj_Node {
  pObj_Node next;
  uint32_t objKind;
  uint32_t objType;
  int32_t objLength;  // string buffer size with its zero; -1: owns no buffer
  uint32_t poolFlags;
  ObjData objData;
  uint16_t refCount;  // extra holders; lock level of a stack temporary
  int16_t level;      // context depth that owns the value; -1 never freed
  int32_t byRef;
  pObj_Node refObj;  // the variable this record aliases (write-through)
  pObj_Node poolPrev;
  uint64_t poolSerial;
};
static_assert(sizeof(Obj_Node) == 64, "records are packed to 64 bytes");

// What indexing an array gives: a record of the ring below standing for one
// element. It holds a copy of the element's value; every assignment into it
// is written back to the element. A slot is reused once the ring comes
// round, unless the alias was passed into a call still running (`pinned`).
struct ElementAlias {
  Obj_Node node;  // kind vElArray
  ArrayHeader* header;  // null once the array is gone
  int32_t index;
  int32_t pinned;  // depth of the call it was passed to; 0 when free
  int32_t depth;   // of the call that made it
  uint32_t made;   // that call's count of aliases used, when it last used this one
};

constexpr uint32_t kRecentAliases = 256;
// A call's latest aliases are kept from the calls it makes: its statement
// under way may still use them (f( a[1] ) + a[2]).
constexpr uint32_t kKeptAliases = 64;

struct ElementRing {
  ElementAlias* slots;
  uint32_t cursor;
  uint32_t mask;  // slots - 1
  int32_t pinnedCount;
  // The latest alias made of an element, by zeltaRecentSlot: an element
  // read twice in a statement (or passed to a call and read again after
  // it) is one alias, so what one use writes the other sees.
  ElementAlias* recent[kRecentAliases];
  uint32_t* uses;  // by depth: how many aliases the call there has used
};


inline uint32_t zeltaRecentSlot(const ArrayHeader* h, int32_t i) {
  const uint32_t base = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h) >> 4);
  return (base + static_cast<uint32_t>(i)) & (kRecentAliases - 1);
}
extern ZELTA_EXPORT ElementRing zeltaElementRing;

// Whether the slot may take a new alias at `depth`.
inline bool zeltaAliasFree(const ElementAlias* al, int depth) {
  if (al->pinned) return false;
  return al->depth >= depth || zeltaElementRing.uses[static_cast<uint16_t>(al->depth)] - al->made >= kKeptAliases;
}
ZELTA_EXPORT void xfree(void* p);

// Keeps an alias passed as a parameter for the whole call. Only one call
// runs at each depth: the first pin at a call's entry (`first`) lets go of
// those of earlier calls at its depth and deeper, which have ended.
ZELTA_EXPORT void __PinElement(pObj_Node alias, int first);

inline ElementAlias* zeltaAliasOf(pObj_Node node) { return reinterpret_cast<ElementAlias*>(node); }

// Writes an alias's value back to its element.
inline void zeltaCommitElement(pObj_Node node) {
  const ElementAlias* al = zeltaAliasOf(node);
  const ArrayHeader* h = al->header;
  if (!h || al->index >= h->count) return;
  ArrayCell* c = zeltaCell(h, al->index);
  if (c->type == kCellAlias) return;  // written through to the variable
  // Another alias of the element wrote a string since this one was made.
  if (__builtin_expect(c->type == T_CHARPTR && c->length > 0 && c->data.mbuff != node->objData.mbuff, 0))
    xfree(c->data.mbuff);
  c->type = node->objType;
  c->length = node->objLength;
  c->data = node->objData;
}

// The same, kept out of line so that the assignment below stays small
// enough to be inlined everywhere.
__attribute__((noinline)) inline void zeltaCommitElementCall(pObj_Node node) { zeltaCommitElement(node); }

#define __GET_BOOL(node) ((node)->objData.bValue != 0)
#define __GET_STRING(node) ((node)->objData.mbuff)
#define __GET_DOUBLE(node) ((node)->objData.dValue)
#define __GET_PTR(node) ((node)->objData.pValue)

// Settings table slots (index = setting number - 1).
enum { kSettingCount = 13, kSetDateFormat = 3, kSetEpoch = 4, kSetCentury = 11 };

// System records; the indexes not named here hold NIL.
enum {
  kSysFalse = 0,
  kSysTrue = 1,
  kSysZero = 5,
  kSysNoBuffer = 6,
  kSysOne = 7,
  kSysEmpty = 8,
  kSysNil = 9,
  kSysNul = 10,
  kSysZero2 = 11,
  kSysLastFld = 12,
  kSysTouch = 13,
  kSystemRecords = 15
};

// One pool of heap records of one kind, in creation order.
struct ObjPool {
  pObj_Node head;
  pObj_Node tail;
  int32_t count;
  int32_t recordSize;  // 40: the device's record size
  pObj_Node (*ctor)(int kind);
};

// Pool 0 arrays ("Arrays"), 1 variables ("pObj"), 2 elements ("vElArray").
struct ContextRecord {
  ObjPool pools[3];
};

struct TraceRecord {
  TraceRecord* next;
  TraceRecord* prev;
  const char* function;  // not copied: generated code passes literals
  uint16_t line;
  int16_t depth;  // depth at entry - 1
};

// What a context keeps by depth (glob->frames[depth]).
struct ContextFrame {
  uint64_t mark;     // pool serial when the context began: its records come after
  int32_t returned;  // values returned into this depth that are still locked
  int32_t unused;
};

// A heap record on the allocator's free list.
struct SpareRecord {
  SpareRecord* next;
};

// A ring slot's lock, in the order taken. Stale once the slot was unlocked
// since: its lock generation (kept in the slot's poolSerial) moved on.
struct LockEntry {
  pObj_Node slot;
  uint64_t generation;
};

struct Glob {
  ContextRecord* context;
  void* windowList;
  int16_t windowFlag;
  int16_t depth;
  int32_t daysPerMonth[2][12];
  int32_t msPerDay;
  int16_t stackCursor;
  int32_t constAmount;  // a program may hold any number of literals
  int32_t lastConst;
  pObj_Node* settings;
  char* msgBuffer;  // 1,025-byte scratch for formatted messages
  Obj_Node* stack;
  pObj_Node* constPool;
  pObj_Node* sysRecords;
  const char* currentFunction;
  uint16_t currentLine;
  TraceRecord* traceTail;
  TraceRecord* traceHead;
  int32_t shutdown;
  void** blockTable;  // 50 entries, each non-null entry freed at the end
  int32_t stackSize;
  int32_t lockedCount;
  int32_t freeSlots;  // unlocked ring slots, so a full ring is seen at once
  // The context machinery, in plain arrays so that the common begin of a
  // call, a parameter lock and the release of a returned value can be done
  // in place; only the library grows them.
  ContextFrame* frames;  // by depth: 0 .. frameCount - 1
  int32_t frameCount;
  int32_t lockTop;  // entries in `locks`
  LockEntry* locks;
  int32_t lockRoom;
  int32_t unusedContext;
  uint64_t nextSerial;      // the next heap record's pool serial
  uint64_t lockGeneration;  // the next lock's generation
  TraceRecord** spareTraces;  // ended calls' trace records, for the next __SF
  // The allocator's free heap records (null: every record from the heap)
  // and its count of live blocks, for the locals made in place.
  SpareRecord** spareRecords;
  long* liveBlocks;
  // The folders' context-end calls, *contextEndCount of them.
  void (**contextEnds)();
  const int* contextEndCount;
  int32_t heldRecords;  // records a sweep keeps on its held lists
};

// poolFlags bit of a ring slot that holds a value returned into its caller.
enum { kRingReturnLock = 8 };

// Linked as "zelta_glob": the C library's glob() function has the plain
// name, and an interposing library (a sanitizer's) would otherwise resolve
// our variable to that function.
extern ZELTA_EXPORT Glob* glob __asm__("zelta_glob");

[[noreturn]] ZELTA_EXPORT void __RuntimeError(int code, int aux);

// Counted allocator: every allocation is counted until freed.
ZELTA_EXPORT void* xmalloc(size_t size);
ZELTA_EXPORT void xfree(void* p);

// Constructors of results: each returns the next stack temporary.
ZELTA_EXPORT pObj_Node __INIT_DOUBLE(double value);
ZELTA_EXPORT pObj_Node __INIT_DATE(double dayNumber);
ZELTA_EXPORT pObj_Node __INIT_LONG(int32_t value);
ZELTA_EXPORT pObj_Node __INIT_VOIDPTR(void* value);
ZELTA_EXPORT pObj_Node __INIT_HANDLE(void* value);
ZELTA_EXPORT pObj_Node __INIT_CHARPTR(const char* text);
ZELTA_EXPORT pObj_Node __ALLOC_CHARPTR(int size);
// Shared records, no temporary taken.
ZELTA_EXPORT pObj_Node __INIT_BOOL(int flag);
ZELTA_EXPORT pObj_Node __INIT_NIL();
ZELTA_EXPORT pObj_Node __INIT_NUL();
ZELTA_EXPORT pObj_Node __INIT_CHARCONST(const char* literal);

ZELTA_EXPORT void __InitObjNode(pObj_Node node, uint32_t type);
ZELTA_EXPORT pObj_Node __fcpObj_CT(int kind);
// `@x`: marks the variable as passed by reference (creating it as NIL when it
// does not exist yet) and returns it, so the callee works on the same record.
ZELTA_EXPORT pObj_Node __ByRef(pObj_Node* variable);
ZELTA_EXPORT pObj_Node __fcObj_DT(pObj_Node node);
ZELTA_EXPORT pObj_Node __SET_OBJECT(pObj_Node target, pObj_Node source);
ZELTA_EXPORT void __SetObjLength(char* buffer, int32_t* length);
ZELTA_EXPORT void SetCheckBuffer(int flag);
ZELTA_EXPORT pObj_Node __SetCheckBuffer(pObj_Node flag);
ZELTA_EXPORT void SetEncode(int flag);
ZELTA_EXPORT pObj_Node __SetEncode(pObj_Node flag);

// Application start and end, contexts and temporaries.
ZELTA_EXPORT int __BeginGlobal();
ZELTA_EXPORT void __EndGlobal();
ZELTA_EXPORT int SHUTDOWN();
ZELTA_EXPORT Glob* __RetGlob(int create);
ZELTA_EXPORT void __SetMaxStackElements(int n);
ZELTA_EXPORT void __begin_context();
ZELTA_EXPORT pObj_Node __end_context(pObj_Node result);
// __end_context once the folders' context-end calls are done.
ZELTA_EXPORT pObj_Node __FinishContext(pObj_Node result);
ZELTA_EXPORT int __KillContext();
ZELTA_EXPORT int __LockStack(pObj_Node first, ...);
// __LockStack for one temporary; what generated code calls in place of it.
ZELTA_EXPORT void __LockTemporary(pObj_Node slot);
// Unlocks a value returned into the current context once an operator or an
// assignment has used it; anything else is left alone.
ZELTA_EXPORT void __ReleaseReturned(pObj_Node value);
ZELTA_EXPORT void __ReleaseStack2();
ZELTA_EXPORT void __SF(const char* name);
ZELTA_EXPORT void __SL(int line);
ZELTA_EXPORT void __AddStaticStack(void* buffer);
ZELTA_EXPORT void __CleanStaticStack();
ZELTA_EXPORT void __LoadLIB();
ZELTA_EXPORT void __UnloadLIB();

// Constant pool, loaded once at start by the generated context files.
ZELTA_EXPORT void __const_set_amount(int amount);
ZELTA_EXPORT int __const_add_el(pObj_Node value);
ZELTA_EXPORT pObj_Node __const_get_el(int index);

ZELTA_EXPORT pObj_Node __Set(pObj_Node number, pObj_Node value);
ZELTA_EXPORT pObj_Node __SetCentury(pObj_Node flag);
ZELTA_EXPORT pObj_Node __GetRTVer();
ZELTA_EXPORT void* nHdlGetDllHandle(const char* fileName);

#ifndef ZELTA_RUNTIME_BUILD
// Generated code reads a constant, ends an argument list or marks a line on
// nearly every statement, so it does these in place; the exports above do
// the same for everyone else.
#define __const_get_el(index) (glob->constPool[(index)])
#define __INIT_NUL() (glob->sysRecords[kSysNul])
#define __INIT_NIL() (glob->sysRecords[kSysNil])
#define __INIT_BOOL(flag) (glob->sysRecords[(flag) ? kSysTrue : kSysFalse])
inline void zeltaMarkLine(int line) {
  if (!glob->traceTail) return;
  glob->currentLine = static_cast<uint16_t>(line);
  glob->traceTail->line = static_cast<uint16_t>(line);
}
#define __SL(line) zeltaMarkLine(line)
#endif

// The ring of temporaries is taken in index order, skipping locked slots
// (refCount holds the lock level); the cursor rests on the next free slot.
// This is the next temporary when the slot after it is free too, else null:
// the library's takeTemporary then searches, reclaims or raises. The slot's
// old string buffer goes, as on every reuse.
inline pObj_Node zeltaQuickTemporary() {
  Glob* g = glob;
  const int index = g->stackCursor;
  if (__builtin_expect(index < 0, 0)) return nullptr;
  pObj_Node slot = &g->stack[index];
  const int next = index + 1 == g->stackSize ? 0 : index + 1;
  if (__builtin_expect(slot->refCount != 0 || g->stack[next].refCount != 0, 0)) return nullptr;
  g->stackCursor = static_cast<int16_t>(next);
  if (slot->objType == T_CHARPTR && slot->objLength > 0) xfree(slot->objData.mbuff);
  slot->objData.mbuff = nullptr;
  slot->objLength = 0;
  return slot;
}

// A returned value, whose lock the operator or assignment that uses it drops.
inline bool zeltaReturned(pObj_Node x) { return (x->poolFlags & kRingReturnLock) != 0; }

#ifndef ZELTA_RUNTIME_BUILD
// Every function call begins a context, locks its parameters, opens its
// trace record and has its returned value released by the operator or
// assignment that uses it: the common cases of these are done in place, the
// rest (a first call this deep, the cursor's own slot, a string, no spare
// record) by the library.
inline void zeltaBeginContext() {
  Glob* g = glob;
  const int depth = g->depth + 1;
  if (__builtin_expect(depth <= 0 || depth >= g->frameCount, 0)) return (__begin_context)();
  g->depth = static_cast<int16_t>(depth);
  g->frames[depth].mark = g->nextSerial;
}
#define __begin_context() zeltaBeginContext()

inline void zeltaLockTemporary(pObj_Node slot) {
  Glob* g = glob;
  const int level = g->depth;
  if (__builtin_expect(level <= 0 || g->lockTop >= g->lockRoom || slot == &g->stack[g->stackCursor], 0))
    return (__LockTemporary)(slot);
  const uint64_t generation = g->lockGeneration++;
  slot->refCount = static_cast<uint16_t>(level);
  slot->poolSerial = generation;
  slot->poolFlags &= ~static_cast<uint32_t>(kRingReturnLock);
  --g->freeSlots;
  ++g->lockedCount;
  g->locks[g->lockTop++] = LockEntry{slot, generation};
}

// Out of line: every operator may release its operands, and the operators
// must stay small enough to be done in place.
__attribute__((noinline)) inline void zeltaReleaseReturned(pObj_Node value) {
  if (!value || !zeltaReturned(value) || value->objKind != vStack) return;
  Glob* g = glob;
  const int level = value->refCount;
  if (level != g->depth) return;
  if (__builtin_expect(level >= g->frameCount || value->objType == T_CHARPTR, 0)) return (__ReleaseReturned)(value);
  --g->frames[level].returned;
  value->refCount = 0;
  value->poolSerial = 0;
  value->poolFlags &= ~static_cast<uint32_t>(kRingReturnLock);
  value->objData.mbuff = nullptr;
  value->objLength = 0;
  ++g->freeSlots;
  if (g->lockedCount > 0) --g->lockedCount;
}
#define __ReleaseReturned(value) zeltaReleaseReturned(value)

inline void zeltaUnlockSlot(Glob* g, pObj_Node slot) {
  if ((slot->poolFlags & kRingReturnLock) && slot->refCount < g->frameCount) --g->frames[slot->refCount].returned;
  slot->refCount = 0;
  slot->poolSerial = 0;
  slot->poolFlags &= ~static_cast<uint32_t>(kRingReturnLock);
  if (slot->objType == T_CHARPTR && slot->objLength > 0) xfree(slot->objData.mbuff);
  slot->objData.mbuff = nullptr;
  slot->objLength = 0;
  ++g->freeSlots;
  if (g->lockedCount > 0) --g->lockedCount;
}

// The end of a call whose heap records are plain locals, returning a
// temporary, a constant, nothing or the value of a number, date or logical
// that outlives it: the locals are freed, the locks of its depth go, a
// returned temporary is locked into the caller, the trace record goes back
// to the spares. The rest (other results, other records to sweep, held
// records, the lock stack full, the temporary under the ring's cursor) is
// the library's.
inline pObj_Node zeltaEndContext(pObj_Node result) {
  Glob* g = glob;
  pObj_Node keep = nullptr;
  if (result) {
    const uint32_t kind = result->objKind, type = result->objType;
    if (kind == vVariable && result->level < g->depth && (type == T_DOUBLE || type == T_DATE || type == T_BOOL)) {
      // A STATIC, a PUBLIC, the caller's own variable: its value as it is now.
      if (type == T_BOOL) {
        result = __INIT_BOOL(result->objData.bValue);
      } else {
        pObj_Node t = zeltaQuickTemporary();
        if (!t) return (__end_context)(result);
        t->objType = type;
        t->objLength = -1;
        t->objData.dValue = result->objData.dValue;
        result = keep = t;
      }
    } else if (kind == vStack) {
      keep = result;
    } else if (kind != vConstant && kind != vSystem) {
      return (__end_context)(result);
    }
  }
  for (int i = 0, n = *g->contextEndCount; i < n; ++i) g->contextEnds[i]();
  const int depth = g->depth;
  if (__builtin_expect(depth < 2 || depth >= g->frameCount || g->heldRecords != 0 || g->lockTop >= g->lockRoom, 0))
    return __FinishContext(result);
  const uint64_t mark = g->frames[depth].mark;
  ObjPool& variables = g->context->pools[1];
  for (pObj_Node node = variables.tail; node && node->poolSerial >= mark;) {
    SpareRecord** spare = g->spareRecords;
    if (!spare || node->level < depth || node->refCount != 0 || node->objKind != vVariable) break;
    pObj_Node prev = node->poolPrev;
    variables.tail = prev;
    if (prev)
      prev->next = nullptr;
    else
      variables.head = nullptr;
    --variables.count;
    if (node->objType == T_CHARPTR && !node->refObj) xfree(node->objData.mbuff);
    SpareRecord* record = reinterpret_cast<SpareRecord*>(node);
    record->next = *spare;
    *spare = record;
    --*g->liveBlocks;
    node = prev;
  }
  const pObj_Node arrays = g->context->pools[0].tail;
  if ((variables.tail && variables.tail->poolSerial >= mark) || (arrays && arrays->poolSerial >= mark) ||
      (keep && keep == &g->stack[g->stackCursor]))
    return __FinishContext(result);
  const int caller = depth - 1;
  g->depth = static_cast<int16_t>(caller);
  LockEntry* locks = g->locks;
  int top = g->lockTop;
  while (top > 0) {
    pObj_Node slot = locks[top - 1].slot;
    if (slot->poolSerial != locks[top - 1].generation || slot->refCount == 0) {
      --top;
      continue;
    }
    if (slot != keep && slot->refCount <= caller) break;
    --top;
    if (slot != keep) zeltaUnlockSlot(g, slot);
  }
  g->frames[depth].returned = 0;
  if (keep) {
    if (keep->refCount == 0) {
      --g->freeSlots;
      ++g->lockedCount;
    }
    keep->refCount = static_cast<uint16_t>(caller);
    keep->poolSerial = g->lockGeneration++;
    keep->poolFlags |= kRingReturnLock;
    locks[top++] = LockEntry{keep, keep->poolSerial};
    ++g->frames[caller].returned;
  }
  g->lockTop = top;
  TraceRecord* trace = g->traceTail;
  while (trace && trace->depth >= caller) {
    TraceRecord* prev = trace->prev;
    trace->next = *g->spareTraces;
    *g->spareTraces = trace;
    trace = prev;
  }
  g->traceTail = trace;
  if (trace)
    trace->next = nullptr;
  else
    g->traceHead = nullptr;
  return result;
}
#define __end_context(result) zeltaEndContext(result)

inline void zeltaOpenTrace(const char* name) {
  Glob* g = glob;
  TraceRecord* r = *g->spareTraces;
  if (__builtin_expect(!r, 0)) return (__SF)(name);
  *g->spareTraces = r->next;
  r->next = nullptr;
  r->prev = g->traceTail;
  r->function = name;
  r->line = g->currentLine;
  r->depth = static_cast<int16_t>(g->depth - 1);
  if (g->traceTail)
    g->traceTail->next = r;
  else
    g->traceHead = r;
  g->traceTail = r;
  g->currentFunction = name;
}
#define __SF(name) zeltaOpenTrace(name)
#endif

#ifndef ZELTA_RUNTIME_BUILD
// A new variable of the calling context holding a number, date or logical:
// a call's locals. Null when the allocator has no spare record.
inline pObj_Node zeltaNewVariable(pObj_Node source) {
  Glob* g = glob;
  SpareRecord** spare = g->spareRecords;
  if (__builtin_expect(!spare || !*spare, 0)) return nullptr;
  pObj_Node node = reinterpret_cast<pObj_Node>(*spare);
  *spare = (*spare)->next;
  ++*g->liveBlocks;
  ObjPool& pool = g->context->pools[1];
  node->next = nullptr;
  node->objKind = vVariable;
  node->objType = source->objType;
  node->objLength = -1;
  node->poolFlags = 0;
  node->objData = source->objData;
  node->refCount = 0;
  node->level = g->depth;
  node->byRef = 0;
  node->refObj = nullptr;
  node->poolPrev = pool.tail;
  node->poolSerial = g->nextSerial++;
  if (pool.tail)
    pool.tail->next = node;
  else
    pool.head = node;
  pool.tail = node;
  ++pool.count;
  return node;
}

// The first assignment of a variable; out of line, so that the scalar
// assignment below stays small enough to be done in place.
__attribute__((noinline)) inline pObj_Node zeltaAssignNew(pObj_Node source) {
  if (source) {
    const uint32_t type = source->objType;
    if (type == T_DOUBLE || type == T_DATE || type == T_BOOL) {
      pObj_Node variable = zeltaNewVariable(source);
      if (__builtin_expect(variable != nullptr, 1)) {
        if (zeltaReturned(source)) __ReleaseReturned(source);
        return variable;
      }
    }
  }
  return (__SET_OBJECT)(nullptr, source);
}

// Storing a number, date or logical into a plain variable or element is a
// copy of one word; everything else (strings, arrays, aliases, new
// variables) takes the full assignment.
inline pObj_Node zeltaSetObject(pObj_Node target, pObj_Node source) {
  if (target && source && target != source && (target->objKind == vVariable || target->objKind == vElArray) &&
      !target->refObj && target->objType != T_CHARPTR && target->objType != T_ARRAY) {
    const uint32_t type = source->objType;
    if (type == T_DOUBLE || type == T_DATE || type == T_BOOL) {
      target->objData = source->objData;
      target->objType = type;
      target->objLength = -1;
      if (target->objKind == vElArray) zeltaCommitElementCall(target);
      if (zeltaReturned(source)) __ReleaseReturned(source);
      return target;
    }
  }
  return target ? (__SET_OBJECT)(target, source) : zeltaAssignNew(source);
}
#define __SET_OBJECT(target, source) zeltaSetObject(target, source)

// A call's parameters: only temporaries not locked yet need the library.
template <typename... Rest>
inline int zeltaLockStack(pObj_Node first, Rest... rest) {
  const pObj_Node nodes[] = {first, rest...};
  int pins = 0;
  for (pObj_Node node : nodes) {
    if (!node || node->objType == T_NUL) break;
    if (node->objKind == vStack && node->refCount == 0) zeltaLockTemporary(node);
    else if (__builtin_expect(node->objKind == vElArray, 0)) __PinElement(node, pins++ == 0);
  }
  return 0;
}
#define __LockStack(...) zeltaLockStack(__VA_ARGS__)
#endif

#endif
