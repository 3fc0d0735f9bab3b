// The language's array functions. Ranges given as language values are 1-based
// first and last positions (not counts), clamped to the array; a missing
// argument (null, as generated calls pad them, or NIL) takes its default.
#include "zeltaarray.h"

#include <cstring>
#include <utility>

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

// An element's own value: an aliasing element's is its variable's.
ArrayCell valueOf(const ArrayCell* c) {
  if (c->type != kCellAlias) return *c;
  pObj_Node v = static_cast<pObj_Node>(c->data.pValue);
  ArrayCell out;
  out.type = v->objType;
  out.length = v->objLength;
  out.data = v->objData;
  return out;
}

// A record that reads as the value, for the comparisons.
struct View {
  Obj_Node node;
  explicit View(const ArrayCell& c) {
    __InitObjNode(&node, c.type);
    node.objKind = vConstant;
    node.objLength = c.length;
    node.objData = c.data;
  }
};

// The value compared for an element: its own, or for an element holding an
// array that array's element at `column` (false when it has none).
bool keyOf(const ArrayCell* c, long column, ArrayCell& key) {
  if (c->type != T_ARRAY) {
    key = valueOf(c);
    return true;
  }
  pObj_Node nested = c->data.array;
  if (!nested || column < 1 || column > lib::elementCount(nested)) return false;
  key = valueOf(lib::cellAt(nested, column - 1));
  return true;
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

bool scannableCell(const ArrayCell& c) {
  switch (c.type) {
    case T_CHARPTR: return c.data.mbuff != nullptr;
    case T_DATE:
    case T_DOUBLE:
    case T_BOOL: return true;
    default: return false;
  }
}

// Sort order of two keys; keys of different or unordered types (or none)
// order by type code so that a NIL among the values cannot stop a sort.
int compareKeys(bool hasA, const ArrayCell& a, bool hasB, const ArrayCell& b) {
  bool ordered = hasA && hasB && scannableCell(a) && scannableCell(b) && a.type == b.type;
  if (ordered) {
    View x(a), y(b);
    return __Comp(&x.node, &y.node);
  }
  unsigned ta = hasA ? a.type : 0, tb = hasB ? b.type : 0;
  return ta == tb ? 0 : ta > tb ? 1 : -1;
}

pObj_Node cloneArray(pObj_Node array, int nesting) {
  if (nesting > kMaxNesting) core::argumentError();  // an array that holds itself
  pObj_Node copy = __CopyArray(array);
  long n = lib::elementCount(copy);
  for (long i = 0; i < n; ++i) {
    const ArrayCell* c = lib::cellAt(copy, i);
    if (c->type == T_ARRAY) lib::storeInElement(copy, i, cloneArray(c->data.array, nesting + 1));
  }
  return copy;
}

// Elements of another type never match; they do not stop a scan.
bool matches(bool hasKey, const ArrayCell& key, pObj_Node value) {
  if (!hasKey || key.type != value->objType) return false;
  if (value->objType == T_DOUBLE || value->objType == T_DATE) return key.data.dValue == value->objData.dValue;
  if (!scannableCell(key)) return false;
  View k(key);
  return __Comp(&k.node, value) == 0;
}

// The first position from `first` to `last` (1-based, last in range) whose
// element satisfies `test`, or 0. `test` must not change the array.
template <typename Test>
long findFrom(pObj_Node array, long first, long last, Test test) {
  const ArrayHeader* h = array->objData.header;
  for (long i = first; i <= last; ++i)
    if (test(zeltaCell(h, static_cast<int32_t>(i - 1)))) return i;
  return 0;
}

// Removes element i (0-based): the element lets go of what it holds.
void removeElement(pObj_Node array, long i) {
  lib::clearCell(lib::cellAt(array, i));
  lib::eraseCell(array, i);
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

namespace {

// The cell an alias stands for, emptied without freeing what it held: the
// value is moving elsewhere.
void letGoOfCell(pObj_Node alias) {
  if (alias->objKind != vElArray) return;
  const ElementAlias* al = zeltaAliasOf(alias);
  if (!al->header || al->index >= al->header->count) return;
  ArrayCell* c = zeltaCell(al->header, al->index);
  if (c->type != kCellAlias) lib::setNil(c);
}

}  // namespace

void __SwapElements(pObj_Node a, pObj_Node b) {
  letGoOfCell(a);
  letGoOfCell(b);
  uint32_t type = a->objType;
  int32_t length = a->objLength;
  ObjData data = a->objData;
  a->objType = b->objType;
  a->objLength = b->objLength;
  a->objData = b->objData;
  b->objType = type;
  b->objLength = length;
  b->objData = data;
  if (a->objKind == vElArray) zeltaCommitElement(a);
  if (b->objKind == vElArray) zeltaCommitElement(b);
}

pObj_Node __AScan(pObj_Node array, pObj_Node value, pObj_Node start, pObj_Node last, pObj_Node column) {
  pObj_Node a = lib::checkArray(array);
  if (!scannable(value)) return core::newNumber(0);
  long col = core::wholeOr(column, 2);
  long e = lastPosition(last, lib::elementCount(a));
  const long first = firstPosition(start);
  long found;
  if (value->objType == T_DOUBLE || value->objType == T_DATE) {
    // Scans of numbers and dates compare in place; only rows and aliases
    // look further.
    const uint32_t type = value->objType;
    const double x = value->objData.dValue;
    found = findFrom(a, first, e, [&](const ArrayCell* c) {
      if (c->type == type) return c->data.dValue == x;
      if (c->type != T_ARRAY && c->type != kCellAlias) return false;
      ArrayCell key;
      const bool has = keyOf(c, col, key);
      return matches(has, key, value);
    });
  } else {
    found = findFrom(a, first, e, [&](const ArrayCell* c) {
      ArrayCell key;
      const bool has = keyOf(c, col, key);
      return matches(has, key, value);
    });
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
  auto outOfOrder = [&](const ArrayCell* x, const ArrayCell* y) {
    ArrayCell kx, ky;
    const bool hx = keyOf(x, col, kx), hy = keyOf(y, col, ky);
    int c = compareKeys(hx, kx, hy, ky);
    return ascending ? c >= 1 : c < 0;
  };
  // Each pass carries an element forward past every element that should
  // precede it; passes repeat until one swaps nothing.
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (long i = s - 1; i + 1 < e; ++i) {
      ArrayCell* x = lib::cellAt(a, i);
      if (!outOfOrder(x, lib::cellAt(a, i + 1))) continue;
      long j = i + 1;
      while (j + 1 < e && outOfOrder(x, lib::cellAt(a, j + 1))) ++j;
      std::swap(*x, *lib::cellAt(a, j));
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
    lib::storeInElement(to, at, lib::visibleAt(from, i));
  return target;
}

pObj_Node __AFill(pObj_Node array, pObj_Node value, pObj_Node start, pObj_Node count) {
  pObj_Node a = lib::checkArray(array);
  if (!value) core::argumentError();
  long n = lib::elementCount(a);
  long first = firstPosition(start) - 1;
  long many = core::wholeOr(count, n);
  if (many < 1) many = n;
  for (long i = first; i < n && i - first < many; ++i) lib::storeInElement(a, i, value);
  return array;
}

pObj_Node __AIns(pObj_Node array, pObj_Node n) {
  pObj_Node a = lib::checkArray(array);
  long count = lib::elementCount(a);
  long pos = core::wholeOr(n, 0);
  if (pos < 1 || pos > count) return array;
  removeElement(a, count - 1);
  lib::insertCell(a, pos - 1);
  return array;
}

pObj_Node __ADel(pObj_Node array, pObj_Node n) {
  lib::checkArray(array);
  return __DelEl(array, static_cast<int>(core::wholeOr(n, 0)), 1);
}

pObj_Node __DelEl(pObj_Node array, int n, int refill) {
  pObj_Node a = lib::checkArray(array);
  if (n < 1 || n > lib::elementCount(a)) return array;
  bool heldArray = lib::cellAt(a, n - 1)->type == T_ARRAY;
  removeElement(a, n - 1);
  if (refill) {
    lib::appendCell(a);
    if (heldArray) lib::holdArray(a, lib::elementCount(a) - 1, __fcpObj_CT(vArray));
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
  if (size < count) {
    for (long i = size; i < count; ++i) lib::clearCell(lib::cellAt(a, i));
    lib::truncateCells(a, size);
  }
  for (; count < size; ++count) lib::appendCell(a);
  return array;
}

pObj_Node __CopyArray(pObj_Node array) {
  pObj_Node a = lib::checkArray(array);
  pObj_Node copy = __fcpObj_CT(vArray);
  long n = lib::elementCount(a);
  // The copy takes the values, not an element's alias of a variable.
  for (long i = 0; i < n; ++i) __NewArrayElement(copy, lib::visibleAt(a, i));
  return copy;
}

pObj_Node __AClone(pObj_Node array) { return cloneArray(lib::checkArray(array), 0); }
