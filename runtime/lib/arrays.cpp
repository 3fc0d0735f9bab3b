// Arrays: construction, indexing and release. Element i is one step away in
// its header's cells (array_index.h), for the first element as for the last.
#include "zeltaarray.h"

#include <cstdarg>
#include <vector>

#include "array_index.h"
#include "arguments.h"
#include "core.h"
#include "elements.h"

namespace {

// The arguments of a variable-length call, up to the NUL record.
std::vector<pObj_Node> argumentList(pObj_Node first, va_list rest) {
  std::vector<pObj_Node> list;
  const pObj_Node end = __INIT_NUL();
  for (pObj_Node v = first; v != end; v = va_arg(rest, pObj_Node)) {
    if (!v) core::argumentError();
    list.push_back(v);
  }
  return list;
}

void checkBound(pObj_Node array, long i) {
  if (i < 0 || i >= lib::elementCount(array)) __RuntimeError(BOUND_ERROR, -1);
}

// An array whose header has room for `room` elements in its own block.
pObj_Node newArray(size_t room) {
  pObj_Node array = __fcpObj_CT(vArray);
  if (room > 0) {
    core::freeArrayHeader(array->objData.header);
    array->objData.header = core::newArrayHeader(static_cast<int32_t>(room < kChunkCells ? room : kChunkCells));
  }
  return array;
}

pObj_Node dimensioned(const std::vector<long>& dims, size_t k) {
  pObj_Node array = newArray(static_cast<size_t>(dims[k]));
  for (long i = 0; i < dims[k]; ++i) {
    lib::appendCell(array);
    if (k + 1 < dims.size()) lib::holdArray(array, i, dimensioned(dims, k + 1));
  }
  return array;
}

}  // namespace

pObj_Node __CreateArray(pObj_Node first, ...) {
  va_list rest;
  va_start(rest, first);
  std::vector<pObj_Node> values = argumentList(first, rest);
  va_end(rest);
  pObj_Node array = newArray(values.size());
  for (pObj_Node v : values) __NewArrayElement(array, v);
  return array;
}

pObj_Node __Array(pObj_Node first, ...) {
  va_list rest;
  va_start(rest, first);
  std::vector<pObj_Node> args = argumentList(first, rest);
  va_end(rest);
  std::vector<long> dims;
  for (pObj_Node d : args) {
    long n = core::checkWhole(d);
    dims.push_back(n < 0 ? 0 : n);
  }
  if (dims.empty()) return __fcpObj_CT(vArray);
  // Every level's elements, and an array object for each above the last.
  double records = 0, level = 1;
  for (long d : dims) {
    level *= static_cast<double>(d);
    records += level * 2;
  }
  lib::checkRoomFor(records);
  return dimensioned(dims, 0);
}

void __NewArrayElement(pObj_Node array, pObj_Node value) {
  array = lib::checkArray(array);
  if (!value) core::argumentError();
  // An element aliases a variable passed by reference; an element's alias
  // lives only as long as its statement, so an element passed on by
  // reference is stored as its value.
  if (value->byRef && value->objKind == vVariable) {
    lib::appendAlias(array, value);
    return;
  }
  lib::appendCell(array);
  if (value->objType != T_NIL) lib::storeInElement(array, lib::elementCount(array) - 1, value);
}

pObj_Node __AAdd(pObj_Node array, pObj_Node value) {
  pObj_Node a = lib::checkArray(array);
  __NewArrayElement(a, value);
  return array;
}

int __Array_Get_Amnt_Itens(pObj_Node array) {
  array = lib::checkArray(array);
  return array->objData.header ? array->objData.header->count : -1;
}

pObj_Node __GET_ARRAY_EL(pObj_Node array, int i) {
  pObj_Node a = lib::checkArray(array);
  checkBound(a, i);
  return lib::visibleAt(a, i);
}

int __SET_ARRAY_EL(pObj_Node array, pObj_Node value, int i) {
  pObj_Node a = lib::checkArray(array);
  if (!value) core::argumentError();
  checkBound(a, i);
  lib::storeInElement(a, i, value);
  return 1;
}

pObj_Node __Array_Get_Item(pObj_Node array, pObj_Node n) {
  return __GET_ARRAY_EL(array, static_cast<int>(core::checkWhole(n) - 1));
}

pObj_Node __ARRAY_EL(pObj_Node array, ...) {
  if (!array) core::argumentError();
  va_list rest;
  va_start(rest, array);
  const pObj_Node end = __INIT_NUL();
  pObj_Node node = array;
  for (pObj_Node n = va_arg(rest, pObj_Node); n && n != end; n = va_arg(rest, pObj_Node)) {
    pObj_Node a = lib::arrayOf(node);
    if (!a) break;  // a scalar ends the indexing
    const long i = core::checkWhole(n) - 1;
    checkBound(a, i);
    node = lib::visibleAt(a, i);
  }
  va_end(rest);
  return node;
}

pObj_Node __ATail(pObj_Node array) {
  pObj_Node a = lib::checkArray(array);
  long n = lib::elementCount(a);
  return n > 0 ? lib::elementAt(a, n - 1) : nullptr;
}

pObj_Node __KillArray(pObj_Node array) {
  if (!array) return nullptr;
  if (array->objKind != vArray || array->level < glob->depth || array->refCount != 0)
    return glob->context->pools[core::kArrayPool].head;
  if (ArrayHeader* h = array->objData.header) {
    if (h->holders > 1) {
      // Another array record shares the header and its elements.
      --h->holders;
    } else {
      __KillArrayEl(h);
      core::freeArrayHeader(h);
    }
    array->objData.header = nullptr;
  }
  pObj_Node next = array->next;
  core::poolUnlink(core::kArrayPool, array);
  core::freeRecord(array);
  return next;
}

void __KillArrayEl(ArrayHeader* header) {
  if (!header) return;
  const int depth = glob->depth;
  const int32_t count = header->count;
  header->count = 0;  // aliases of these elements stop writing back
  for (int32_t i = 0; i < count; ++i) {
    ArrayCell* c = zeltaCell(header, i);
    pObj_Node nested = c->type == T_ARRAY ? c->data.array : nullptr;
    lib::clearCell(c);
    // The last hold on a nested array is gone with its element: each array
    // reaches a count of 0 once, so it is released exactly once.
    if (nested && nested->refCount == 0 && nested->level >= depth) __KillArray(nested);
  }
}
