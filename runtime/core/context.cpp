// Contexts and the ring of temporaries.
//
// Ending a context frees the heap records of that depth or deeper that
// nothing holds. Records sit in their pool in creation order, and every
// record made since a context began lies after that context's mark (a serial
// number), so the sweep walks back from the tail over those records only. A
// record that a sweep must keep although its level says it should die (its
// refCount holds it) is put on the held list, which every sweep also visits.
//
// The ring: free slots form a circular list in ring order, so taking one is
// O(1) and, with nothing locked, slots are reused in index order. A locked
// slot leaves the list; unlocked, it goes back just before the cursor. Locks
// are kept on a stack in the order taken, so ending a context unlocks by
// popping only the locks of the depths that end.
#include "core.h"

#include <stdarg.h>

#include <vector>

#include "collaborators.h"

namespace {

enum : uint32_t { kHeld = 1, kTried = 2, kOnLockStack = 4 };

uint64_t nextSerial = 1;
std::vector<uint64_t> marks;                // by depth
std::vector<pObj_Node> held[3];             // by pool
pObj_Node iterGuard = nullptr;              // walk position of a sweep
pObj_Node watched = nullptr;                // array under release

std::vector<int> nextFree, prevFree;
std::vector<pObj_Node> lockStack;

ObjPool& pool(int index) { return glob->context->pools[index]; }

void forgetHeld(int index, pObj_Node node) {
  std::vector<pObj_Node>& list = held[index];
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] == node) {
      list.erase(list.begin() + static_cast<long>(i));
      break;
    }
  }
  node->poolFlags &= ~kHeld;
}

void markHeld(int index, pObj_Node node) {
  if (node->poolFlags & kHeld) return;
  node->poolFlags |= kHeld;
  held[index].push_back(node);
}

bool doomed(pObj_Node node, int depth) { return node->level >= depth && node->refCount == 0; }

void sweepVariables(int depth, uint64_t mark) {
  std::vector<pObj_Node>& list = held[core::kVariablePool];
  for (size_t i = 0; i < list.size();) {
    pObj_Node node = list[i];
    if (doomed(node, depth)) __fcObj_DT(node);  // erases list[i]
    else ++i;
  }
  pObj_Node node = pool(core::kVariablePool).tail;
  while (node && node->poolSerial >= mark) {
    pObj_Node prev = node->poolPrev;
    if (node->level >= depth) {
      if (node->refCount == 0) __fcObj_DT(node);
      else markHeld(core::kVariablePool, node);
    }
    node = prev;
  }
}

// Releases one array; true when it is gone.
bool releaseArray(pObj_Node array) {
  watched = array;
  if (__KillArray) __KillArray(array);
  else core::releaseArrayFallback(array);
  const bool gone = watched == nullptr;
  watched = nullptr;
  return gone;
}

void sweepHeldArrays(int depth) {
  std::vector<pObj_Node>& list = held[core::kArrayPool];
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
    iterGuard = node->poolPrev;
    if (node->level >= depth) {
      if (node->refCount != 0 || !releaseArray(node)) markHeld(core::kArrayPool, node);
    }
    node = iterGuard;
  }
  iterGuard = nullptr;
}

// Ring free list.

void unlinkFree(int slot) {
  const int n = nextFree[slot], p = prevFree[slot];
  if (n == slot) {
    glob->stackCursor = -1;
  } else {
    nextFree[p] = n;
    prevFree[n] = p;
    if (glob->stackCursor == slot) glob->stackCursor = static_cast<int16_t>(n);
  }
  --glob->freeSlots;
}

void linkFreeBeforeCursor(int slot) {
  const int cursor = glob->stackCursor;
  if (cursor < 0) {
    nextFree[slot] = prevFree[slot] = slot;
    glob->stackCursor = static_cast<int16_t>(slot);
  } else {
    const int p = prevFree[cursor];
    nextFree[p] = slot;
    prevFree[slot] = p;
    nextFree[slot] = cursor;
    prevFree[cursor] = slot;
  }
  ++glob->freeSlots;
}

int slotIndex(pObj_Node node) { return static_cast<int>(node - glob->stack); }

void lockSlot(pObj_Node slot, int level) {
  if (level <= 0) return;
  slot->refCount = static_cast<uint16_t>(level);
  unlinkFree(slotIndex(slot));
  ++glob->lockedCount;
  if (!(slot->poolFlags & kOnLockStack)) {
    slot->poolFlags |= kOnLockStack;
    lockStack.push_back(slot);
  }
}

void unlockSlot(pObj_Node slot) {
  slot->refCount = 0;
  if (slot->objType == T_CHARPTR && slot->objLength > 0) xfree(slot->objData.mbuff);
  slot->objData.mbuff = nullptr;
  slot->objLength = 0;
  linkFreeBeforeCursor(slotIndex(slot));
  if (glob->lockedCount > 0) --glob->lockedCount;
}

void unlockAbove(int depth, pObj_Node keep) {
  while (!lockStack.empty()) {
    pObj_Node slot = lockStack.back();
    if (slot != keep && slot->refCount <= depth) break;
    lockStack.pop_back();
    slot->poolFlags &= ~kOnLockStack;
    if (slot != keep) unlockSlot(slot);
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
  node->poolSerial = nextSerial++;
  if (p.tail) p.tail->next = node;
  else p.head = node;
  p.tail = node;
  ++p.count;
}

void poolUnlink(int index, pObj_Node node) {
  ObjPool& p = pool(index);
  if (node == iterGuard) iterGuard = node->poolPrev;
  if (node == watched) watched = nullptr;
  if (node->poolFlags & kHeld) forgetHeld(index, node);
  if (node->poolPrev) node->poolPrev->next = node->next;
  else p.head = node->next;
  if (node->next) node->next->poolPrev = node->poolPrev;
  else p.tail = node->poolPrev;
  node->next = node->poolPrev = nullptr;
  --p.count;
}

void ringCreate(int size) {
  nextFree.assign(static_cast<size_t>(size), 0);
  prevFree.assign(static_cast<size_t>(size), 0);
  for (int i = 0; i < size; ++i) {
    nextFree[i] = (i + 1) % size;
    prevFree[i] = (i + size - 1) % size;
  }
  glob->stackCursor = size > 0 ? 0 : -1;
  glob->freeSlots = size;
  glob->lockedCount = 0;
  lockStack.clear();
  marks.clear();
  for (auto& list : held) list.clear();
}

pObj_Node takeTemporary() {
  if (!glob || glob->lockedCount >= glob->stackSize || glob->stackCursor < 0) {
    __RuntimeError(STACK_FULL, -1);
  }
  const int index = glob->stackCursor;
  pObj_Node slot = &glob->stack[index];
  glob->stackCursor = static_cast<int16_t>(nextFree[index]);
  if (slot->objType == T_CHARPTR && slot->objLength > 0) xfree(slot->objData.mbuff);
  slot->objData.mbuff = nullptr;
  slot->objLength = 0;
  return slot;
}

}  // namespace core

void __begin_context() {
  ++glob->depth;
  const size_t depth = static_cast<size_t>(glob->depth > 0 ? glob->depth : 0);
  if (marks.size() <= depth) marks.resize(depth + 1, 0);
  marks[depth] = nextSerial;
}

int __KillContext() {
  if (glob->windowFlag && __KillWin) __KillWin();
  const int depth = glob->depth;
  // Outside any begun context (start, end of the application) sweep all.
  uint64_t mark = 0;
  if (depth >= 2 && static_cast<size_t>(depth) < marks.size()) mark = marks[depth];
  sweepVariables(depth, mark);
  sweepArrays(depth, mark);
  return depth;
}

pObj_Node __end_context(pObj_Node result) {
  pObj_Node keep = nullptr;
  if (result && result->objKind != vConstant && result->objKind != vSystem) {
    if ((result->objKind == vVariable || result->objKind == vArray) && result->level > 0) {
      --result->level;
    } else if (result->objKind == vStack) {
      keep = result;
    }
  }
  __KillContext();
  --glob->depth;
  unlockAbove(glob->depth, keep);
  if (keep) {
    const bool wasLocked = keep->refCount > 0;
    if (wasLocked) {
      keep->refCount = 0;
      linkFreeBeforeCursor(slotIndex(keep));
      if (glob->lockedCount > 0) --glob->lockedCount;
    }
    lockSlot(keep, glob->depth);
  }
  while (glob->traceHead) {
    TraceRecord* last = nullptr;
    for (TraceRecord* r = glob->traceHead; r; r = r->next) {
      if (r->depth < glob->depth) last = r;
    }
    TraceRecord* cut = last ? last->next : glob->traceHead;
    if (last) last->next = nullptr;
    else glob->traceHead = nullptr;
    glob->traceTail = last;
    while (cut) {
      TraceRecord* next = cut->next;
      xfree(cut);
      cut = next;
    }
    break;
  }
  return result;
}

int __LockStack(pObj_Node first, ...) {
  va_list args;
  va_start(args, first);
  for (pObj_Node node = first; node && node->objType != T_NUL; node = va_arg(args, pObj_Node)) {
    if (node->objKind == vStack && node->refCount == 0) lockSlot(node, glob->depth);
  }
  va_end(args);
  return 0;
}

void __ReleaseStack2() {
  for (int i = 0; i < glob->stackSize; ++i) {
    pObj_Node slot = &glob->stack[i];
    if (slot->refCount != 0) continue;
    if (slot->objType == T_CHARPTR && slot->objLength > 0) xfree(slot->objData.mbuff);
    slot->objData.mbuff = nullptr;
    slot->objLength = 0;
  }
}
