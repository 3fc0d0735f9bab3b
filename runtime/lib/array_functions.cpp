// The language's array functions. Ranges given as language values are 1-based
// first and last positions (not counts), clamped to the array; a missing
// argument (null, as generated calls pad them, or NIL) takes its default.
#include "zeltaarray.h"

#include <cstring>

#include "array_index.h"
#include "arguments.h"
#include "elements.h"

namespace {

constexpr int kMaxNesting = 1000;

bool scannable(pObj_Node v) {
  if (!v) return false;
  switch (v->objType) {
    case T_CHARPTR: return v->objData.mbuff != nullptr;
    case T_DATE:
    case T_DOUBLE:
    case T_BOOL: return true;
    default: return false;
  }
}

// The value compared for an element: its own, or for an element holding an
// array that array's element at `column` (null when it has none).
pObj_Node keyOf(pObj_Node el, long column) {
  pObj_Node nested = lib::arrayOf(el);
  if (!nested) return el;
  if (column < 1 || column > lib::elementCount(nested)) return nullptr;
  return lib::elementAt(nested, column - 1);
}

// A last position below 1 or past the end means the end.
long lastPosition(pObj_Node last, long count) {
  long e = core::wholeOr(last, count);
  return e < 1 || e > count ? count : e;
}

long firstPosition(pObj_Node start) {
  long s = core::wholeOr(start, 1);
  return s < 1 ? 1 : s;
}

// Sort order of two keys; keys of different or unordered types order by type
// code so that a NIL among the values cannot stop a sort.
int compareKeys(pObj_Node a, pObj_Node b) {
  bool ordered = scannable(a) && scannable(b) && a->objType == b->objType;
  if (ordered) return __Comp(a, b);
  unsigned ta = a ? a->objType : 0, tb = b ? b->objType : 0;
  return ta == tb ? 0 : ta > tb ? 1 : -1;
}

pObj_Node cloneArray(pObj_Node array, int nesting) {
  if (nesting > kMaxNesting) core::argumentError();  // an array that holds itself
  pObj_Node copy = __CopyArray(array);
  long n = lib::elementCount(copy);
  for (long i = 0; i < n; ++i) {
    pObj_Node el = lib::elementAt(copy, i);
    if (el->objType == T_ARRAY) lib::storeInElement(el, cloneArray(el->objData.array, nesting + 1));
  }
  return copy;
}

// Elements of another type never match; they do not stop a scan.
bool matches(pObj_Node key, pObj_Node value) {
  if (!key || key->objType != value->objType) return false;
  if (value->objType == T_DOUBLE || value->objType == T_DATE) return key->objData.dValue == value->objData.dValue;
  return scannable(key) && __Comp(key, value) == 0;
}

// The first position from `first` to `last` (1-based, last in range) whose
// element satisfies `test`, or 0. `test` must not change the array.
template <typename Test>
long findFrom(pObj_Node array, long first, long last, Test test) {
  if (first > last) return 0;
  if (pObj_Node const* items = lib::indexedElements(array)) {
    for (long i = first; i <= last; ++i)
      if (test(items[i - 1])) return i;
    return 0;
  }
  pObj_Node el = lib::elementAt(array, first - 1);
  for (long i = first; i <= last; ++i, el = el->next)
    if (test(el)) return i;
  return 0;
}

// Removes element i (0-based): the element lets go of what it holds, and
// when the element itself is held elsewhere it is only unlinked.
void removeElement(pObj_Node array, long i) {
  pObj_Node el = lib::unlinkElement(array, i);
  if (el->refCount > 0) {
    --el->refCount;
    return;
  }
  lib::freeElement(el);
}

}  // namespace

int __Comp(pObj_Node a, pObj_Node b) {
  if (!a || !b) return -1;
  if (!scannable(a) && a->objType != T_CHARPTR) core::argumentError();
  if (a->objType != b->objType) core::argumentError();
  switch (a->objType) {
    case T_CHARPTR: {
      const char* x = a->objData.mbuff ? a->objData.mbuff : "";
      const char* y = b->objData.mbuff ? b->objData.mbuff : "";
      int c = strcmp(x, y);  // strcmp compares as unsigned char
      return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    case T_BOOL: return (a->objData.bValue != 0) == (b->objData.bValue != 0) ? 0 : 1;
    default: {
      double x = a->objData.dValue, y = b->objData.dValue;
      return x == y ? 0 : x > y ? 1 : -1;
    }
  }
}

void __SwapElements(pObj_Node a, pObj_Node b) {
  uint32_t type = a->objType;
  int32_t length = a->objLength;
  ObjData data = a->objData;
  a->objType = b->objType;
  a->objLength = b->objLength;
  a->objData = b->objData;
  b->objType = type;
  b->objLength = length;
  b->objData = data;
}

pObj_Node __AScan(pObj_Node array, pObj_Node value, pObj_Node start, pObj_Node last, pObj_Node column) {
  pObj_Node a = lib::checkArray(array);
  if (!scannable(value)) return core::newNumber(0);
  long col = core::wholeOr(column, 2);
  long e = lastPosition(last, lib::elementCount(a));
  const long first = firstPosition(start);
  long found;
  if (value->objType == T_DOUBLE || value->objType == T_DATE) {
    // Scans of numbers and dates compare in place; only rows look deeper.
    const uint32_t type = value->objType;
    const double x = value->objData.dValue;
    found = findFrom(a, first, e, [&](pObj_Node el) {
      if (el->objType == type) return el->objData.dValue == x;
      return el->objType == T_ARRAY && matches(keyOf(el, col), value);
    });
  } else {
    found = findFrom(a, first, e, [&](pObj_Node el) { return matches(keyOf(el, col), value); });
  }
  return core::newNumber(static_cast<double>(found));
}

pObj_Node __ASORT(pObj_Node array, pObj_Node start, pObj_Node last, pObj_Node order, pObj_Node column) {
  pObj_Node a = lib::checkArray(array);
  // The order is a logical; a code block is not evaluated here, and a sort
  // that ignored it would give a wrong order without a word.
  if (core::isGiven(order) && order->objType != T_BOOL) core::argumentError();
  long e = lastPosition(last, lib::elementCount(a));
  long s = firstPosition(start);
  if (e - s < 1) return array;
  bool ascending = !(core::isType(order, T_BOOL) && !order->objData.bValue);
  long col = core::wholeOr(column, 2);
  auto outOfOrder = [&](pObj_Node x, pObj_Node y) {
    int c = compareKeys(keyOf(x, col), keyOf(y, col));
    return ascending ? c >= 1 : c < 0;
  };
  // Each pass carries an element forward past every element that should
  // precede it; passes repeat until one swaps nothing.
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (long i = s - 1; i + 1 < e; ++i) {
      pObj_Node x = lib::elementAt(a, i);
      if (!outOfOrder(x, lib::elementAt(a, i + 1))) continue;
      long j = i + 1;
      while (j + 1 < e && outOfOrder(x, lib::elementAt(a, j + 1))) ++j;
      __SwapElements(x, lib::elementAt(a, j));
      swapped = true;
    }
  }
  return array;
}

pObj_Node __ACopy(pObj_Node source, pObj_Node target, pObj_Node start, pObj_Node last, pObj_Node position) {
  pObj_Node from = lib::checkArray(source);
  pObj_Node to = lib::checkArray(target);
  long e = lastPosition(last, lib::elementCount(from));
  long at = firstPosition(position) - 1;
  long room = lib::elementCount(to);
  for (long i = firstPosition(start) - 1; i < e && at < room; ++i, ++at)
    lib::storeInElement(lib::elementAt(to, at), lib::elementAt(from, i));
  return target;
}

pObj_Node __AFill(pObj_Node array, pObj_Node value, pObj_Node start, pObj_Node count) {
  pObj_Node a = lib::checkArray(array);
  if (!value) core::argumentError();
  long n = lib::elementCount(a);
  long first = firstPosition(start) - 1;
  long many = core::wholeOr(count, n);
  if (many < 1) many = n;
  for (long i = first; i < n && i - first < many; ++i) lib::storeInElement(lib::elementAt(a, i), value);
  return array;
}

pObj_Node __AIns(pObj_Node array, pObj_Node n) {
  pObj_Node a = lib::checkArray(array);
  long count = lib::elementCount(a);
  long pos = core::wholeOr(n, 0);
  if (pos < 1 || pos > count) return array;
  removeElement(a, count - 1);
  lib::insertElement(a, pos - 1, lib::newElement(a));
  return array;
}

pObj_Node __ADel(pObj_Node array, pObj_Node n) {
  lib::checkArray(array);
  return __DelEl(array, static_cast<int>(core::wholeOr(n, 0)), 1);
}

pObj_Node __DelEl(pObj_Node array, int n, int refill) {
  pObj_Node a = lib::checkArray(array);
  if (n < 1 || n > lib::elementCount(a)) return array;
  bool heldArray = lib::elementAt(a, n - 1)->objType == T_ARRAY;
  removeElement(a, n - 1);
  if (refill) {
    pObj_Node el = lib::newElement(a);
    if (heldArray) lib::holdArray(el, __fcpObj_CT(vArray));
    lib::appendElement(a, el);
  }
  return array;
}

pObj_Node __ASize(pObj_Node array, pObj_Node n) {
  pObj_Node a = lib::checkArray(array);
  if (!core::isGiven(n)) return array;
  long size = core::checkWhole(n);
  if (size < 0) size = 0;
  long count = lib::elementCount(a);
  lib::checkRoomFor(static_cast<double>(size - count));
  for (; count > size; --count) removeElement(a, count - 1);
  for (; count < size; ++count) lib::appendElement(a, lib::newElement(a));
  return array;
}

pObj_Node __CopyArray(pObj_Node array) {
  pObj_Node a = lib::checkArray(array);
  pObj_Node copy = __fcpObj_CT(vArray);
  long n = lib::elementCount(a);
  for (long i = 0; i < n; ++i) {
    pObj_Node el = lib::elementAt(a, i);
    // The copy takes the value, not the element's alias.
    int32_t byRef = el->byRef;
    el->byRef = 0;
    __NewArrayElement(copy, el);
    el->byRef = byRef;
  }
  return copy;
}

pObj_Node __AClone(pObj_Node array) { return cloneArray(lib::checkArray(array), 0); }
