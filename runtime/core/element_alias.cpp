// The ring of element aliases (zeltaobjs.h). An alias is valid while its
// statement runs, or, once passed as a parameter, for that call (pinned);
// an array freed in the meantime detaches the aliases that point at it. A
// pin is let go once its call has ended: when the next call at its depth
// pins, or when the ring comes round to it at a lower depth.
#include <vector>

#include "core.h"

ElementRing zeltaElementRing;

namespace {

constexpr uint32_t kFirstRingSize = 1024;
constexpr int32_t kNoDepth = 1 << 30;  // a free slot's: deeper than any call

struct Ring {
  ElementAlias* slots;
  uint32_t size;
};

// The current ring last; older ones may still hold pinned aliases.
struct Rings {
  std::vector<Ring> all;
  std::vector<ElementAlias*> pinned;
};

Rings& rings() {
  static Rings* r = new Rings;  // lives to the process end: aliases may be read until then
  return *r;
}

ElementAlias* makeRing(uint32_t size) {
  ElementAlias* slots = new ElementAlias[size]();
  for (uint32_t i = 0; i < size; ++i) {
    __InitObjNode(&slots[i].node, T_NIL);
    slots[i].node.objKind = vElArray;
    slots[i].depth = kNoDepth;
  }
  rings().all.push_back({slots, size});
  return slots;
}

uint32_t usesByDepth[65536];

[[maybe_unused]] const bool ready = [] {
  zeltaElementRing.uses = usesByDepth;
  zeltaElementRing.slots = makeRing(kFirstRingSize);
  zeltaElementRing.mask = kFirstRingSize - 1;
  return true;
}();

void unpin(ElementAlias* al) {
  al->pinned = 0;
  std::vector<ElementAlias*>& list = rings().pinned;
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] != al) continue;
    list[i] = list.back();
    list.pop_back();
    break;
  }
  zeltaElementRing.pinnedCount = static_cast<int32_t>(list.size());
}

// A free slot: the next one, else the next unpinned, else a ring twice the size.
ElementAlias* freeSlot() {
  ElementRing& r = zeltaElementRing;
  for (uint32_t tries = 0; tries <= r.mask; ++tries, ++r.cursor) {
    ElementAlias* al = &r.slots[r.cursor & r.mask];
    // Pinned for a call that has ended.
    if (al->pinned > glob->depth) unpin(al);
    if (zeltaAliasFree(al, glob->depth)) return al;
  }
  // The cursor goes on counting: the ages of kept aliases stay comparable.
  const uint32_t size = (r.mask + 1) * 2;
  r.slots = makeRing(size);
  r.mask = size - 1;
  return &r.slots[r.cursor & r.mask];
}

template <typename Visit>
void eachAlias(Visit visit) {
  for (const Ring& ring : rings().all)
    for (uint32_t i = 0; i < ring.size; ++i) visit(&ring.slots[i]);
}

}  // namespace

namespace core {

pObj_Node takeElementAlias(ArrayHeader* h, int32_t i, int level) {
  ElementRing& r = zeltaElementRing;
  ElementAlias** recent = &r.recent[zeltaRecentSlot(h, i)];
  ElementAlias* al = *recent;
  pObj_Node n;
  const int depth = glob->depth;
  const bool again = al && al->header == h && al->index == i;
  if (again) {
    n = &al->node;
  } else {
    al = freeSlot();
    h->aliasStamp = r.cursor++;
    al->header = h;
    al->index = i;
    // A caller's alias still in use stays the one found.
    if (!*recent || zeltaAliasFree(*recent, depth)) *recent = al;
    n = &al->node;
    n->byRef = 0;
    n->refCount = 0;
    n->level = static_cast<int16_t>(level);
  }
  // This call's now, and among its latest (a caller's stays the caller's).
  if (!again || al->depth >= depth) {
    al->depth = depth;
    al->made = ++r.uses[static_cast<uint16_t>(depth)];
  }
  const ArrayCell* c = zeltaCell(h, i);
  if (c->type == kCellAlias) {
    pObj_Node variable = static_cast<pObj_Node>(c->data.pValue);
    n->refObj = variable;
    n->objType = variable->objType;
    n->objLength = variable->objLength;
    n->objData = variable->objData;
  } else {
    n->refObj = nullptr;
    n->objType = c->type;
    n->objLength = c->length;
    n->objData = c->data;
  }
  return n;
}

bool sameElement(pObj_Node a, pObj_Node b) {
  if (a->objKind != vElArray || b->objKind != vElArray) return false;
  const ElementAlias* x = zeltaAliasOf(a);
  const ElementAlias* y = zeltaAliasOf(b);
  return x->header && x->header == y->header && x->index == y->index;
}

void detachElementAliases(const ArrayHeader* h) {
  const ElementRing& r = zeltaElementRing;
  auto detach = [h](ElementAlias* al) {
    if (al->header != h) return;
    // It reads as NIL from now on: what it pointed at goes with the array.
    al->header = nullptr;
    al->node.objType = T_NIL;
    al->node.objLength = -1;
    al->node.objData.dValue = 0;
  };
  // Once the ring has come round since the last alias of h was made, every
  // slot that held one was reused, but for pinned ones.
  if (rings().all.size() == 1 && r.cursor - h->aliasStamp > r.mask) {
    for (ElementAlias* al : rings().pinned) detach(al);
    return;
  }
  eachAlias(detach);
}

void resetElementAliases() {
  eachAlias([](ElementAlias* al) {
    al->header = nullptr;
    al->pinned = 0;
    al->depth = kNoDepth;
  });
  rings().pinned.clear();
  zeltaElementRing.pinnedCount = 0;
}

}  // namespace core

void __PinElement(pObj_Node alias, int first) {
  if (!alias || alias->objKind != vElArray) return;
  const int depth = glob->depth > 0 ? glob->depth : 1;
  std::vector<ElementAlias*>& list = rings().pinned;
  if (first) {
    for (size_t i = list.size(); i-- > 0;)
      if (list[i]->pinned >= depth) unpin(list[i]);
  }
  ElementAlias* al = zeltaAliasOf(alias);
  // Passed on into a deeper call, it stays with the outer one.
  if (al->pinned) return;
  al->pinned = depth;
  list.push_back(al);
  zeltaElementRing.pinnedCount = static_cast<int32_t>(list.size());
}
