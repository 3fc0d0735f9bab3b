// The ring of element aliases (zeltaobjs.h). An alias is valid while its
// statement runs, or, once passed as a parameter, until that call's context
// ends; an array freed in the meantime detaches the aliases that point at it.
#include <vector>

#include "core.h"

ElementRing zeltaElementRing;

namespace {

constexpr uint32_t kFirstRingSize = 1024;

struct Ring {
  ElementAlias* slots;
  uint32_t size;
};

// The current ring last; older ones may still hold pinned aliases.
struct Rings {
  std::vector<Ring> all;
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
  }
  rings().all.push_back({slots, size});
  return slots;
}

[[maybe_unused]] const bool ready = [] {
  zeltaElementRing.slots = makeRing(kFirstRingSize);
  zeltaElementRing.mask = kFirstRingSize - 1;
  return true;
}();

void unpin(ElementAlias* al) {
  al->pinned = 0;
  --zeltaElementRing.pinnedCount;
}

// A free slot: the next one, else the next unpinned, else a ring twice the size.
ElementAlias* freeSlot() {
  ElementRing& r = zeltaElementRing;
  for (uint32_t tries = 0; tries <= r.mask; ++tries, ++r.cursor) {
    ElementAlias* al = &r.slots[r.cursor & r.mask];
    // A call unwound by an error never reached its context end.
    if (al->pinned > glob->depth) unpin(al);
    if (!al->pinned) return al;
  }
  const uint32_t size = (r.mask + 1) * 2;
  r.slots = makeRing(size);
  r.mask = size - 1;
  r.cursor = 0;
  return &r.slots[0];
}

template <typename Visit>
void eachAlias(Visit visit) {
  for (const Ring& ring : rings().all)
    for (uint32_t i = 0; i < ring.size; ++i) visit(&ring.slots[i]);
}

}  // namespace

namespace core {

pObj_Node takeElementAlias(ArrayHeader* h, int32_t i, int level) {
  ElementAlias* al = freeSlot();
  ElementRing& r = zeltaElementRing;
  h->aliasStamp = r.cursor++;
  al->header = h;
  al->index = i;
  pObj_Node n = &al->node;
  const ArrayCell* c = zeltaCell(h, i);
  n->byRef = 0;
  n->refCount = 0;
  n->level = static_cast<int16_t>(level);
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

void unpinElementAliases(int depth) {
  if (zeltaElementRing.pinnedCount == 0) return;
  eachAlias([depth](ElementAlias* al) {
    if (al->pinned >= depth) unpin(al);
  });
}

void detachElementAliases(const ArrayHeader* h) {
  const ElementRing& r = zeltaElementRing;
  // Every slot has been reused since the last alias of h was made.
  if (r.pinnedCount == 0 && rings().all.size() == 1 && r.cursor - h->aliasStamp > r.mask) return;
  eachAlias([h](ElementAlias* al) {
    if (al->header != h) return;
    // It reads as NIL from now on: what it pointed at goes with the array.
    al->header = nullptr;
    al->node.objType = T_NIL;
    al->node.objLength = -1;
    al->node.objData.dValue = 0;
  });
}

void resetElementAliases() {
  eachAlias([](ElementAlias* al) {
    al->header = nullptr;
    al->pinned = 0;
  });
  zeltaElementRing.pinnedCount = 0;
}

}  // namespace core

void __PinElement(pObj_Node alias) {
  if (!alias || alias->objKind != vElArray) return;
  ElementAlias* al = zeltaAliasOf(alias);
  // Passed on into a deeper call, it stays with the outer one.
  if (al->pinned) return;
  al->pinned = glob->depth > 0 ? glob->depth : 1;
  ++zeltaElementRing.pinnedCount;
}
