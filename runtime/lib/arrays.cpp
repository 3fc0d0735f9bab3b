// Arrays: construction, indexing and release. Reading or writing element i
// goes through the index beside the chain (array_index.h), so it costs the
// same for the first element as for the last.
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

pObj_Node elementOrBoundError(pObj_Node array, long i) {
  if (i < 0 || i >= lib::elementCount(array)) __RuntimeError(BOUND_ERROR, -1);
  return lib::elementAt(array, i);
}

// An element that holds an array stands for the nested array.
pObj_Node visible(pObj_Node el) { return el->objType == T_ARRAY ? el->objData.array : el; }

pObj_Node dimensioned(const std::vector<long>& dims, size_t k) {
  pObj_Node array = __fcpObj_CT(vArray);
  for (long i = 0; i < dims[k]; ++i) {
    pObj_Node el = lib::newElement(array);
    if (k + 1 < dims.size()) lib::holdArray(el, dimensioned(dims, k + 1));
    lib::appendElement(array, el);
  }
  return array;
}

}  // namespace

pObj_Node __CreateArray(pObj_Node first, ...) {
  va_list rest;
  va_start(rest, first);
  std::vector<pObj_Node> values = argumentList(first, rest);
  va_end(rest);
  pObj_Node array = __fcpObj_CT(vArray);
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
  pObj_Node el = lib::newElement(array);
  if (value->byRef && !lib::arrayOf(value)) {
    // The element aliases the variable; the variable must live as long.
    el->refObj = value;
    ++value->refCount;
    __SET_OBJECT(el, value);
    if (value->level > array->level) value->level = array->level;
  } else if (value->objType != T_NIL) {
    lib::storeInElement(el, value);
  }
  lib::appendElement(array, el);
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

pObj_Node __GET_ARRAY_EL(pObj_Node array, int i) { return visible(elementOrBoundError(lib::checkArray(array), i)); }

int __SET_ARRAY_EL(pObj_Node array, pObj_Node value, int i) {
  pObj_Node a = lib::checkArray(array);
  if (!value) core::argumentError();
  lib::storeInElement(elementOrBoundError(a, i), value);
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
    node = visible(elementOrBoundError(a, core::checkWhole(n) - 1));
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
      if (h->count > 0) return array->next;
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
  std::vector<pObj_Node> kept;
  pObj_Node el = header->first;
  for (int32_t left = header->count; el && left > 0; --left) {
    pObj_Node next = el->next;
    if (el->level < depth || el->refCount != 0) {
      kept.push_back(el);
    } else {
      pObj_Node nested = el->objType == T_ARRAY ? el->objData.array : nullptr;
      lib::freeElement(el);
      // The last hold on a nested array is gone with its element: each array
      // reaches a count of 0 once, so it is released exactly once.
      if (nested && nested->refCount == 0 && nested->level >= depth) __KillArray(nested);
    }
    el = next;
  }
  if (static_cast<int32_t>(kept.size()) != header->count) lib::forgetIndex(header);
  for (size_t i = 0; i < kept.size(); ++i) kept[i]->next = i + 1 < kept.size() ? kept[i + 1] : nullptr;
  header->count = static_cast<int32_t>(kept.size());
  header->first = kept.empty() ? nullptr : kept.front();
  header->last = kept.empty() ? nullptr : kept.back();
}
