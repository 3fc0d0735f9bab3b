// Contexts and the ring of temporaries.
//
// Ending a context frees the heap records of that depth or deeper that
// nothing holds. Records sit in their pool in creation order, and every
// record made since a context began lies after that context's mark (a serial
// number), so the sweep walks back from the tail over those records only. A
// record that a sweep must keep although its level says it should die (its
// refCount holds it) is put on the held list, which every sweep also visits.
//
// The ring: temporaries are taken in index order from a cursor, skipping
// locked slots (a slot's refCount is its lock level, 0 when free), so with
// nothing locked slots are reused in index order and a lock or an unlock is
// a store. Locks are kept on a stack in the order taken, so ending a context
// unlocks by popping only the locks of the depths that end.
//
// A function returns a value as it was at the RETURN. A returned record that
// outlives the context (a STATIC, a PUBLIC, the caller's own variable passed
// as a parameter, an array element) is handed back as a temporary copy, so
// that later calls cannot change what the caller already holds; an array is
// a reference in the language and is handed back itself.
//
// A value a function returns stays locked in its caller until the caller's
// context ends, or until an operator or an assignment consumes it. Values
// that nothing consumes that way (a result passed to a built-in, or thrown
// away) would pile up in a caller that calls in a loop and fill the ring, so
// when no slot is free the older half of the returned values of the depth
// holding the most of them is taken back: only the statement running at each
// depth can still be using returned values, and it holds a handful, never a
// ring.
#include "core.h"

#include <stdarg.h>
#include <string.h>

#include <algorithm>
#include <vector>

namespace {

enum : uint32_t { kHeld = 1, kTried = 2, kFlagBits = 8 };
using core::kReturnLock;
// Held records keep their place in the held list above the flag bits, so
// forgetting one is O(1); kNoPlace marks one past the encodable range.
constexpr uint32_t kNoPlace = 0xFFFFFFu;

core::ContextState& cx() { return core::state().context; }

constexpr int kFirstFrames = 64;
constexpr int kFirstLocks = 256;

// Makes room for the frame of `depth` (at most kMaxContextDepth).
void growFrames(int depth) {
  int count = glob->frameCount > 0 ? glob->frameCount : kFirstFrames;
  while (count <= depth) count *= 2;
  if (count > core::kMaxContextDepth + 1) count = core::kMaxContextDepth + 1;
  if (count <= depth) __RuntimeError(STACK_FULL, -1);
  glob->frames = static_cast<ContextFrame*>(
      core::resizeBlock(glob->frames, static_cast<size_t>(count) * sizeof(ContextFrame)));
  memset(glob->frames + glob->frameCount, 0, static_cast<size_t>(count - glob->frameCount) * sizeof(ContextFrame));
  glob->frameCount = count;
}

ContextFrame& frame(int depth) {
  if (depth >= glob->frameCount) growFrames(depth);
  return glob->frames[depth];
}

void growLocks() {
  const int room = glob->lockRoom > 0 ? glob->lockRoom * 2 : kFirstLocks;
  glob->locks = static_cast<LockEntry*>(core::resizeBlock(glob->locks, static_cast<size_t>(room) * sizeof(LockEntry)));
  glob->lockRoom = room;
}

void pushLock(pObj_Node slot, uint64_t generation) {
  if (glob->lockTop >= glob->lockRoom) growLocks();
  glob->locks[glob->lockTop++] = LockEntry{slot, generation};
}

bool live(const LockEntry& e) { return e.slot->poolSerial == e.generation && e.slot->refCount > 0; }

ObjPool& pool(int index) { return glob->context->pools[index]; }

uint32_t placeOf(pObj_Node node) { return node->poolFlags >> kFlagBits; }

void setPlace(pObj_Node node, size_t place) {
  const uint32_t encoded = place < kNoPlace ? static_cast<uint32_t>(place) : kNoPlace;
  node->poolFlags = (node->poolFlags & ((1u << kFlagBits) - 1)) | (encoded << kFlagBits);
}

// Removes `node` from its held list by moving the last entry into its place.
// Sweeps walk the held lists by index and rely on this: the entry moved in
// has not been visited yet only if the sweep re-reads the same index.
void forgetHeld(int index, pObj_Node node) {
  std::vector<pObj_Node>& list = cx().held[index];
  size_t place = placeOf(node);
  if (place >= list.size() || list[place] != node) {
    place = 0;
    while (place < list.size() && list[place] != node) ++place;
  }
  if (place < list.size()) {
    list[place] = list.back();
    setPlace(list[place], place);
    list.pop_back();
    --glob->heldRecords;
  }
  node->poolFlags &= ~kHeld;
  setPlace(node, 0);
}

void markHeld(int index, pObj_Node node) {
  if (node->poolFlags & kHeld) return;
  node->poolFlags |= kHeld;
  setPlace(node, cx().held[index].size());
  cx().held[index].push_back(node);
  ++glob->heldRecords;
}

bool doomed(pObj_Node node, int depth) { return node->level >= depth && node->refCount == 0; }

void sweepVariables(int depth, uint64_t mark) {
  std::vector<pObj_Node>& list = cx().held[core::kVariablePool];
  for (size_t i = 0; i < list.size();) {
    pObj_Node node = list[i];
    if (doomed(node, depth))
      __fcObj_DT(node);  // erases list[i]
    else
      ++i;
  }
  ObjPool& p = pool(core::kVariablePool);
  pObj_Node node = p.tail;
  while (node && node->poolSerial >= mark) {
    pObj_Node prev = node->poolPrev;
    if (node->level >= depth) {
      if (node->refCount != 0) {
        markHeld(core::kVariablePool, node);
      } else if (node == p.tail && node->objKind == vVariable && !(node->poolFlags & kHeld) &&
                 node != cx().iterGuard && node != cx().watched) {
        // The common case, a call's own locals: each is the tail in turn.
        p.tail = prev;
        if (prev)
          prev->next = nullptr;
        else
          p.head = nullptr;
        --p.count;
        if (node->objType == T_CHARPTR && !node->refObj) xfree(node->objData.mbuff);
        core::freeRecord(node);
      } else {
        __fcObj_DT(node);
      }
    }
    node = prev;
  }
}

// Releases one array; true when it is gone.
bool releaseArray(pObj_Node array) {
  cx().watched = array;
  if (core::hooks().releaseArray)
    core::hooks().releaseArray(array);
  else
    core::releaseArrayFallback(array);
  const bool gone = cx().watched == nullptr;
  cx().watched = nullptr;
  return gone;
}

void sweepHeldArrays(int depth) {
  std::vector<pObj_Node>& list = cx().held[core::kArrayPool];
  for (bool again = true; again;) {
    again = false;
    for (pObj_Node node : list) {
      if (!(node->poolFlags & kTried) && doomed(node, depth)) {
        node->poolFlags |= kTried;
        releaseArray(node);
        again = true;
        break;
      }
    }
  }
  for (pObj_Node node : list) node->poolFlags &= ~kTried;
}

void sweepArrays(int depth, uint64_t mark) {
  sweepHeldArrays(depth);
  pObj_Node node = pool(core::kArrayPool).tail;
  while (node && node->poolSerial >= mark) {
    cx().iterGuard = node->poolPrev;
    if (node->level >= depth) {
      if (node->refCount != 0 || !releaseArray(node)) markHeld(core::kArrayPool, node);
    }
    node = cx().iterGuard;
  }
  cx().iterGuard = nullptr;
}

// Ring bookkeeping: a slot is free while its lock level (refCount) is 0.

void unlinkFree() { --glob->freeSlots; }

void linkFree() { ++glob->freeSlots; }

// Moves the cursor forward to a free slot, if there is one.
void restCursorOnFreeSlot() {
  const int size = glob->stackSize;
  int index = glob->stackCursor;
  for (int n = 0; n < size && glob->stack[index].refCount != 0; ++n) index = index + 1 == size ? 0 : index + 1;
  glob->stackCursor = static_cast<int16_t>(index);
}

void lockSlot(pObj_Node slot, int level) {
  if (level <= 0) return;
  const uint64_t generation = glob->lockGeneration++;
  slot->refCount = static_cast<uint16_t>(level);
  slot->poolSerial = generation;
  slot->poolFlags &= ~kReturnLock;
  unlinkFree();
  ++glob->lockedCount;
  pushLock(slot, generation);
  if (slot == &glob->stack[glob->stackCursor]) restCursorOnFreeSlot();
}

void unlockSlot(pObj_Node slot) {
  if ((slot->poolFlags & kReturnLock) && slot->refCount < glob->frameCount) --glob->frames[slot->refCount].returned;
  slot->refCount = 0;
  slot->poolSerial = 0;
  slot->poolFlags &= ~kReturnLock;
  if (slot->objType == T_CHARPTR && slot->objLength > 0) xfree(slot->objData.mbuff);
  slot->objData.mbuff = nullptr;
  slot->objLength = 0;
  linkFree();
  if (glob->lockedCount > 0) --glob->lockedCount;
}

void unlockAbove(int depth, pObj_Node keep) {
  const LockEntry* locks = glob->locks;
  int top = glob->lockTop;
  while (top > 0) {
    const LockEntry entry = locks[top - 1];
    if (!live(entry)) {
      --top;
      continue;
    }
    if (entry.slot != keep && entry.slot->refCount <= depth) break;
    --top;
    if (entry.slot != keep) unlockSlot(entry.slot);
  }
  glob->lockTop = top;
}

void addReturnLock(pObj_Node slot) {
  slot->poolFlags |= kReturnLock;
  ++frame(slot->refCount).returned;
}

// The count of the depth that has just ended; its locks are gone (the
// deeper ones went when their own contexts ended).
void forgetReturnLocksAbove(int depth) {
  const int ended = (depth < 0 ? 0 : depth) + 1;
  if (ended < glob->frameCount) glob->frames[ended].returned = 0;
}

// Unlocks the older half of the returned values of the depth that holds the
// most (their lock generations tell their age); false when there is none.
// Taking half at once keeps a loop that throws results away from scanning
// the ring on every call.
bool reclaimReturnedValue() {
  const ContextFrame* frames = glob->frames;
  int best = 0;
  for (int d = 1; d < glob->frameCount; ++d) {
    if (frames[d].returned > frames[best].returned) best = d;
  }
  if (glob->frameCount == 0 || frames[best].returned <= 0) return false;
  std::vector<pObj_Node> candidates;
  for (int i = 0; i < glob->stackSize; ++i) {
    pObj_Node slot = &glob->stack[i];
    if ((slot->poolFlags & kReturnLock) && slot->refCount == best) candidates.push_back(slot);
  }
  if (candidates.empty()) {
    glob->frames[best].returned = 0;
    return false;
  }
  const size_t half = (candidates.size() + 1) / 2;
  std::nth_element(candidates.begin(), candidates.begin() + static_cast<long>(half - 1), candidates.end(),
                   [](pObj_Node x, pObj_Node y) { return x->poolSerial < y->poolSerial; });
  for (size_t i = 0; i < half; ++i) unlockSlot(candidates[i]);
  return true;
}

// Whether a returned record is one the ending context does not own.
bool outlivesContext(pObj_Node result) {
  if (result->objType == T_ARRAY) return false;
  if (result->objKind == vElArray) return true;
  return result->objKind == vVariable && result->level < glob->depth;
}

// The value of `source` in a temporary of the ending context.
pObj_Node snapshot(pObj_Node source) {
  switch (source->objType) {
    case T_DOUBLE: return __INIT_DOUBLE(source->objData.dValue);
    case T_DATE: return __INIT_DATE(source->objData.dValue);
    case T_LONG: return __INIT_LONG(source->objData.lValue);
    case T_BOOL: return __INIT_BOOL(source->objData.bValue);
    case T_NIL: return __INIT_NIL();
    case T_NUL: return __INIT_NUL();
    case T_VOIDPTR: return __INIT_VOIDPTR(source->objData.pValue);
    case T_HANDLE: return __INIT_HANDLE(source->objData.pValue);
    case T_CHARPTR: {
      if (!source->objData.mbuff || source->objLength <= 0) return core::systemRecord(kSysNoBuffer);
      // The buffer comes first: taking the temporary may reuse the slot that
      // held it, never the source's own record.
      char* buffer = core::allocStringBuffer(source->objLength);
      memcpy(buffer, source->objData.mbuff, static_cast<size_t>(source->objLength));
      pObj_Node t = core::takeTemporary();
      t->objType = T_CHARPTR;
      t->objData.mbuff = buffer;
      t->objLength = source->objLength;
      return t;
    }
    default: return source;
  }
}

}  // namespace

namespace core {

int poolOf(uint32_t kind) {
  switch (kind) {
    case vArray: return kArrayPool;
    case vVariable: return kVariablePool;
    case vElArray: return kElementPool;
    default: return -1;
  }
}

void poolAppend(int index, pObj_Node node) {
  ObjPool& p = pool(index);
  node->next = nullptr;
  node->poolPrev = p.tail;
  node->poolSerial = glob->nextSerial++;
  if (p.tail)
    p.tail->next = node;
  else
    p.head = node;
  p.tail = node;
  ++p.count;
}

void poolUnlink(int index, pObj_Node node) {
  ObjPool& p = pool(index);
  if (node == cx().iterGuard) cx().iterGuard = node->poolPrev;
  if (node == cx().watched) cx().watched = nullptr;
  if (node->poolFlags & kHeld) forgetHeld(index, node);
  if (node->poolPrev)
    node->poolPrev->next = node->next;
  else
    p.head = node->next;
  if (node->next)
    node->next->poolPrev = node->poolPrev;
  else
    p.tail = node->poolPrev;
  node->next = node->poolPrev = nullptr;
  --p.count;
}

void ringCreate(int size) {
  glob->stackCursor = size > 0 ? 0 : -1;
  glob->freeSlots = size;
  glob->lockedCount = 0;
  glob->nextSerial = 1;
  glob->lockGeneration = 1;
  glob->lockTop = 0;
  if (!glob->locks) growLocks();
  if (glob->frameCount > 0) memset(glob->frames, 0, static_cast<size_t>(glob->frameCount) * sizeof(ContextFrame));
  if (glob->frameCount < kFirstFrames) growFrames(kFirstFrames - 1);
  for (auto& list : cx().held) list.clear();
  glob->heldRecords = 0;
}

void ringFree() {
  xfree(glob->frames);
  xfree(glob->locks);
  glob->frames = nullptr;
  glob->locks = nullptr;
  glob->frameCount = glob->lockRoom = glob->lockTop = 0;
}

void releaseReturnedSlot(pObj_Node value) {
  if (value->refCount == glob->depth) unlockSlot(value);
}

pObj_Node takeTemporarySlow() {
  if (!glob || glob->stackCursor < 0) __RuntimeError(STACK_FULL, -1);
  const int size = glob->stackSize;
  for (;;) {
    if (glob->lockedCount < size) {
      restCursorOnFreeSlot();
      pObj_Node slot = &glob->stack[glob->stackCursor];
      if (slot->refCount == 0) {
        const int index = glob->stackCursor;
        glob->stackCursor = static_cast<int16_t>(index + 1 == size ? 0 : index + 1);
        restCursorOnFreeSlot();
        if (slot->objType == T_CHARPTR && slot->objLength > 0) xfree(slot->objData.mbuff);
        slot->objData.mbuff = nullptr;
        slot->objLength = 0;
        return slot;
      }
    }
    if (!reclaimReturnedValue()) __RuntimeError(STACK_FULL, -1);
  }
}

}  // namespace core

void __begin_context() {
  // Each context is a native call of the program as well: a recursion without
  // end stops here, while the machine stack still has room to report it.
  if (glob->depth >= core::kMaxContextDepth) __RuntimeError(STACK_FULL, -1);
  const int d = ++glob->depth;
  frame(d > 0 ? d : 0).mark = glob->nextSerial;
}

namespace {

// __KillContext, inlined into every function's context end; `hooksDone`
// when the caller has made the folders' context-end calls.
inline __attribute__((always_inline)) int killContext(bool hooksDone = false) {
  const core::Hooks& h = core::hooks();
  if (!hooksDone) {
    for (int i = 0; i < h.contextEndCount; ++i) h.contextEnds[i]();
  }
  const int depth = glob->depth;
  // Outside any begun context (start, end of the application) sweep all.
  uint64_t mark = 0;
  if (depth >= 2 && depth < glob->frameCount) mark = glob->frames[depth].mark;
  // Most calls make no array and hold nothing from before: nothing to walk.
  const ObjPool* pools = glob->context->pools;
  const pObj_Node vars = pools[core::kVariablePool].tail, arrays = pools[core::kArrayPool].tail;
  if ((vars && vars->poolSerial >= mark) || !cx().held[core::kVariablePool].empty()) sweepVariables(depth, mark);
  if ((arrays && arrays->poolSerial >= mark) || !cx().held[core::kArrayPool].empty()) sweepArrays(depth, mark);
  return depth;
}

}  // namespace

int __KillContext() { return killContext(); }

namespace {

pObj_Node endContext(pObj_Node result, bool hooksDone) {
  pObj_Node keep = nullptr;
  if (result && outlivesContext(result)) result = snapshot(result);
  if (result && result->objKind != vConstant && result->objKind != vSystem) {
    if ((result->objKind == vVariable || result->objKind == vArray) && result->level > 0) {
      --result->level;
    } else if (result->objKind == vStack) {
      keep = result;
    }
  }
  killContext(hooksDone);
  --glob->depth;
  unlockAbove(glob->depth, keep);
  if (keep) {
    forgetReturnLocksAbove(glob->depth);
    if (keep->refCount > 0 && glob->depth > 0) {
      // Still out of the free list: the lock moves to the caller's depth
      // under a new generation, which leaves its old lock entry stale.
      keep->refCount = static_cast<uint16_t>(glob->depth);
      keep->poolSerial = glob->lockGeneration++;
      pushLock(keep, keep->poolSerial);
    } else {
      if (keep->refCount > 0) {
        keep->refCount = 0;
        linkFree();
        if (glob->lockedCount > 0) --glob->lockedCount;
      }
      lockSlot(keep, glob->depth);
    }
    keep->poolFlags &= ~kReturnLock;
    if (keep->refCount > 0) addReturnLock(keep);
  } else {
    forgetReturnLocksAbove(glob->depth);
  }
  // Records are appended in call order, so those of the ended depths are
  // the list's tail.
  while (glob->traceTail && glob->traceTail->depth >= glob->depth) {
    TraceRecord* r = glob->traceTail;
    glob->traceTail = r->prev;
    core::recycleTrace(r);
  }
  if (glob->traceTail)
    glob->traceTail->next = nullptr;
  else
    glob->traceHead = nullptr;
  return result;
}

}  // namespace

pObj_Node __end_context(pObj_Node result) { return endContext(result, false); }

pObj_Node __FinishContext(pObj_Node result) { return endContext(result, true); }

int __LockStack(pObj_Node first, ...) {
  va_list args;
  va_start(args, first);
  for (pObj_Node node = first; node && node->objType != T_NUL; node = va_arg(args, pObj_Node)) {
    if (node->objKind == vStack && node->refCount == 0) lockSlot(node, glob->depth);
  }
  va_end(args);
  return 0;
}

void __LockTemporary(pObj_Node slot) {
  if (slot && slot->objKind == vStack && slot->refCount == 0 && slot->objType != T_NUL) lockSlot(slot, glob->depth);
}

void __ReleaseReturned(pObj_Node value) { core::releaseReturned(value); }

void __ReleaseStack2() {
  for (int i = 0; i < glob->stackSize; ++i) {
    pObj_Node slot = &glob->stack[i];
    if (slot->refCount != 0) continue;
    if (slot->objType == T_CHARPTR && slot->objLength > 0) xfree(slot->objData.mbuff);
    slot->objData.mbuff = nullptr;
    slot->objLength = 0;
  }
}
