// The value model: constructors of temporaries and shared records, heap
// records (__fcpObj_CT, __fcObj_DT) and the assignment primitive
// __SET_OBJECT, which decides whether a value is moved, copied or shared.
// Strings own their buffer when objLength > 0, except in constants (the
// buffer is the program's literal) and in array elements that alias a
// variable (the variable owns it).
#include "core.h"

#include <string.h>

namespace {

int32_t copiedStringLength(pObj_Node source) {
  if (source->objLength >= 1) return source->objLength;
  return static_cast<int32_t>(strlen(source->objData.mbuff)) + 1;
}

// Copies a string value into `target`, which owns nothing at this point.
void copyString(pObj_Node target, pObj_Node source) {
  const int32_t size = copiedStringLength(source);
  char* buffer = core::allocStringBuffer(size);
  if (core::state().binaryBuffers) {
    memcpy(buffer, source->objData.mbuff, static_cast<size_t>(size));
  } else {
    const size_t len = strnlen(source->objData.mbuff, static_cast<size_t>(size - 1));
    memcpy(buffer, source->objData.mbuff, len);
  }
  target->objData.mbuff = buffer;
  target->objLength = size;
}

// Elements take their array's level; nested arrays are lowered with theirs.
void lowerElements(ArrayHeader* header, int16_t level) {
  if (!header) return;
  for (int32_t i = 0; i < header->count; ++i) {
    const ArrayCell* c = zeltaCell(header, i);
    if (c->type != T_ARRAY || !c->data.array) continue;
    pObj_Node nested = c->data.array;
    // Already there, with everything it reaches; also ends a cycle.
    if (nested->level <= level) continue;
    nested->level = level;
    lowerElements(nested->objData.header, level);
  }
}

void releaseHeader(ArrayHeader* header) {
  if (--header->holders > 0) return;
  for (int32_t i = 0; i < header->count; ++i) {
    ArrayCell* c = zeltaCell(header, i);
    if (c->type == T_CHARPTR && c->length > 0) {
      xfree(c->data.mbuff);
    } else if (c->type == kCellAlias) {
      pObj_Node variable = static_cast<pObj_Node>(c->data.pValue);
      if (variable->refCount > 0) --variable->refCount;
    }
  }
  core::freeArrayHeader(header);
}

// Both operands are array objects: the target shares the source's header.
pObj_Node assignArrayToArray(pObj_Node target, pObj_Node source) {
  ArrayHeader* former = target->objData.header;
  ArrayHeader* shared = source->objData.header;
  if (former == shared) return target;
  if (shared) ++shared->holders;
  target->objData.header = shared;
  // The header's holders count keeps it alive for the target, so the source
  // record is left to die with its context (a held source would leak).
  lowerElements(shared, target->level);
  if (former) releaseHeader(former);
  return target;
}

void dropStringBeforeAssignment(pObj_Node target) {
  if (target->objKind == vElArray && !target->refObj) {
    // The element owns its string, which may be newer than the alias.
    const ElementAlias* al = zeltaAliasOf(target);
    if (al->header && al->index < al->header->count) {
      ArrayCell* c = zeltaCell(al->header, al->index);
      if (c->type == T_CHARPTR) {
        if (c->length >= 1) xfree(c->data.mbuff);
        c->type = T_NIL;
        c->length = -1;
        c->data.mbuff = nullptr;
      }
    }
    if (target->objType == T_CHARPTR) {
      target->objLength = -1;
      target->objData.mbuff = nullptr;
    }
    return;
  }
  if (target->objType != T_CHARPTR) return;
  if (target->refObj) {
    // The aliased variable owns the buffer both point at.
  } else if (target->objKind == vArray) {
    if (target->objLength >= 1) xfree(target->objData.mbuff);
  } else {
    xfree(target->objData.mbuff);
  }
  target->objLength = -1;
  target->objData.mbuff = nullptr;
}

void copyValue(pObj_Node target, pObj_Node source) {
  switch (source->objType) {
    case T_LONG:
    case T_BOOL:
    case T_VOIDPTR:
    case T_DATE:
    case T_DOUBLE:
      // The whole word: a host pointer is 8 bytes wide.
      target->objData = source->objData;
      target->objType = source->objType;
      target->objLength = -1;
      return;
    case T_HANDLE:
      target->objData.pValue = source->objData.pValue;
      target->objType = T_VOIDPTR;
      target->objLength = -1;
      return;
    case T_NIL:
    case T_NUL:
      target->objType = source->objType;
      target->objLength = -1;
      return;
    case T_CHARPTR: break;
    default: __RuntimeError(ARGUMENT_ERROR, -1);
  }
  target->objType = T_CHARPTR;
  if (!source->objData.mbuff) {
    target->objType = T_NUL;
    target->objLength = 0;
    return;
  }
  if (source == target->refObj) return;
  if (source->objKind == vStack && source->refCount == 0) {
    pObj_Node alias = target->refObj;
    if (alias && alias->objType == T_CHARPTR && alias->objData.mbuff != source->objData.mbuff) {
      xfree(alias->objData.mbuff);
      alias->objData.mbuff = nullptr;
    }
    target->objData.mbuff = source->objData.mbuff;
    target->objLength = source->objLength;
    source->objData.mbuff = nullptr;
    source->objLength = 0;
    return;
  }
  copyString(target, source);
}

pObj_Node writeThrough(pObj_Node target, pObj_Node source) {
  pObj_Node alias = target->refObj;
  if (source == alias) {
    target->objType = alias->objType;
    target->objData = alias->objData;
    target->objLength = alias->objLength;
    return target;
  }
  if (alias->objType == T_CHARPTR && alias->objData.mbuff && alias->objData.mbuff != target->objData.mbuff &&
      alias->objLength > 0) {
    xfree(alias->objData.mbuff);
  }
  alias->objType = target->objType;
  alias->objData = target->objData;
  alias->objLength = target->objLength;
  return alias;
}

// The source is an array object: the holder now denotes the array itself.
pObj_Node assignArray(pObj_Node target, pObj_Node source) {
  if (!target) return source;
  if (target->objKind == vVariable) {
    const int16_t level = target->level;
    __fcObj_DT(target);
    if (level < source->level) source->level = level;
  } else if (target->objKind != vStack) {
    if (target->level < source->level) source->level = target->level;
  }
  return source;
}

}  // namespace

namespace core {

ArrayHeader* newArrayHeader(int32_t room) {
  if (room < 0) room = 0;
  if (room > kChunkCells) room = kChunkCells;
  const size_t bytes = sizeof(ArrayHeader) + sizeof(ArrayCell) * static_cast<size_t>(room);
  ArrayHeader* header = static_cast<ArrayHeader*>(allocOrDie(bytes));
  header->count = 0;
  header->holders = 1;
  header->capacity = room;
  // As if every alias slot had been reused since: no alias points here.
  header->aliasStamp = zeltaElementRing.cursor - zeltaElementRing.mask - 2;
  header->direct = room ? reinterpret_cast<ArrayCell*>(header + 1) : nullptr;
  header->chunks = &header->direct;
  return header;
}

bool inlineCells(const ArrayHeader* header) {
  return header->direct == reinterpret_cast<const ArrayCell*>(header + 1);
}

void freeArrayHeader(ArrayHeader* header) {
  if (!header) return;
  detachElementAliases(header);
  if (header->chunks != &header->direct) {
    const int32_t chunks = (header->capacity + kChunkCells - 1) >> kChunkShift;
    for (int32_t k = 0; k < chunks; ++k) xfree(header->chunks[k]);
    xfree(header->chunks);
  } else if (!inlineCells(header)) {
    xfree(header->direct);
  }
  xfree(header);
}

bool binaryBuffers() { return core::state().binaryBuffers; }
bool encodeSwitch() { return core::state().encode; }

void releaseArrayFallback(pObj_Node array) {
  if (array->objData.header) releaseHeader(array->objData.header);
  poolUnlink(kArrayPool, array);
  freeRecord(array);
}

}  // namespace core

pObj_Node __INIT_DOUBLE(double value) {
  pObj_Node t = core::takeTemporary();
  t->objType = T_DOUBLE;
  t->objLength = -1;
  t->objData.dValue = value;
  return t;
}

pObj_Node __INIT_DATE(double dayNumber) {
  pObj_Node t = __INIT_DOUBLE(dayNumber);
  t->objType = T_DATE;
  return t;
}

pObj_Node __INIT_LONG(int32_t value) {
  pObj_Node t = core::takeTemporary();
  t->objType = T_LONG;
  t->objLength = -1;
  t->objData.dValue = 0;
  t->objData.lValue = value;
  return t;
}

pObj_Node __INIT_VOIDPTR(void* value) {
  pObj_Node t = core::takeTemporary();
  t->objType = T_VOIDPTR;
  t->objLength = -1;
  t->objData.pValue = value;
  return t;
}

pObj_Node __INIT_HANDLE(void* value) {
  pObj_Node t = __INIT_VOIDPTR(value);
  t->objType = T_HANDLE;
  return t;
}

pObj_Node __INIT_CHARPTR(const char* text) {
  if (!text) text = "";
  const size_t len = strlen(text);
  int32_t size = static_cast<int32_t>(len + 1);
  if (size < 2) size = 2;
  char* buffer = core::allocStringBuffer(size);
  memcpy(buffer, text, len);
  pObj_Node t = core::takeTemporary();
  t->objType = T_CHARPTR;
  t->objData.mbuff = buffer;
  t->objLength = size;
  return t;
}

pObj_Node __ALLOC_CHARPTR(int size) {
  if (size < 0 || size == INT32_MAX) __RuntimeError(LOW_MEMORY, -1);
  char* buffer = core::allocStringBuffer(size + 1);
  pObj_Node t = core::takeTemporary();
  t->objType = T_CHARPTR;
  t->objData.mbuff = buffer;
  t->objLength = size + 1;
  return t;
}

pObj_Node __INIT_BOOL(int flag) { return core::systemRecord(flag ? kSysTrue : kSysFalse); }
pObj_Node __INIT_NIL() { return core::systemRecord(kSysNil); }
pObj_Node __INIT_NUL() { return core::systemRecord(kSysNul); }

pObj_Node __INIT_CHARCONST(const char* literal) {
  // A scratch record, handed to __const_add_el at once.
  Obj_Node& charConst = core::state().charConst;
  __InitObjNode(&charConst, T_CHARPTR);
  charConst.objKind = vConstant;
  charConst.level = -1;
  // The literal is never written through: constants ignore assignment.
  charConst.objData.mbuff = const_cast<char*>(literal ? literal : "");
  charConst.objLength = static_cast<int32_t>(strlen(charConst.objData.mbuff)) + 1;
  return &charConst;
}

void __InitObjNode(pObj_Node node, uint32_t type) {
  memset(node, 0, sizeof(Obj_Node));
  node->objKind = vVariable;
  node->objType = type;
  node->objLength = -1;
}

pObj_Node __fcpObj_CT(int kind) {
  pObj_Node node = core::allocRecord();
  memset(node, 0, sizeof(Obj_Node));
  node->objKind = static_cast<uint32_t>(kind);
  node->objType = T_NIL;
  node->objLength = -1;
  node->level = glob ? glob->depth : 0;
  if (kind == vArray) {
    node->objData.header = core::newArrayHeader(0);
    node->objType = T_ARRAY;
  }
  const int pool = core::poolOf(node->objKind);
  if (__builtin_expect(pool == core::kElementPool, 0)) {
    // An element is a cell of its array, reached only through an alias.
    core::freeRecord(node);
    __RuntimeError(ARGUMENT_ERROR, -1);
  }
  if (pool >= 0) core::poolAppend(pool, node);
  return node;
}

pObj_Node __fcObj_DT(pObj_Node node) {
  if (!node) return nullptr;
  if (node->refCount > 0) {
    --node->refCount;
    return node->next;
  }
  if (node->objKind != vVariable) return nullptr;
  pObj_Node successor = node->next;
  core::poolUnlink(core::kVariablePool, node);
  if (node->objType == T_CHARPTR && !node->refObj) xfree(node->objData.mbuff);
  core::freeRecord(node);
  return successor;
}

pObj_Node __SET_OBJECT(pObj_Node target, pObj_Node source) {
  if (target == source) return target;
  if (!source) source = __INIT_NIL();
  // Two aliases of one element: a[i] := a[i].
  if (target && core::sameElement(target, source)) return target;
  if (target && target->objKind == vConstant) return target;
  if (target && target->objKind == vSystem) target = nullptr;
  const bool sourceIsArray = source->objKind == vArray;
  // A variable that denotes an array is the array record itself, which other
  // holders (an outer array's element, another variable) may share: taking
  // over the source's header there would change the array they see. So the
  // header moves only into an array passed by reference, whose caller must
  // see the new contents; otherwise the variable simply denotes the source.
  if (target && sourceIsArray && target->objKind == vArray && target->byRef) {
    return assignArrayToArray(target, source);
  }
  if (target) dropStringBeforeAssignment(target);
  if (sourceIsArray) {
    if (target && target->objKind == vElArray) zeltaCommitElement(target);
    return assignArray(target, source);
  }
  if (!target || target->objKind == vStack) {
    target = __fcpObj_CT(vVariable);
  } else if (target->objKind == vArray) {
    // The holder stops denoting the array; the array record is left to its
    // context, and the new variable keeps the holder's lifetime.
    const int16_t level = target->level;
    target = __fcpObj_CT(vVariable);
    if (level < target->level) target->level = level;
  }
  copyValue(target, source);
  pObj_Node result = target->refObj ? writeThrough(target, source) : target;
  if (target->objKind == vElArray) zeltaCommitElement(target);
  core::releaseReturned(source);  // a returned value is dead once stored
  return result;
}

void __SetObjLength(char* buffer, int32_t* length) {
  if (!buffer || !length) return;
  while (*length >= 1 && static_cast<unsigned char>(buffer[*length - 1]) == 0xFF) {
    buffer[*length - 1] = 0;
    --*length;
  }
}

void SetCheckBuffer(int flag) { core::state().binaryBuffers = flag != 0; }

pObj_Node __SetCheckBuffer(pObj_Node flag) {
  if (!flag || flag->objType != T_BOOL) __RuntimeError(ARGUMENT_ERROR, -1);
  const bool previous = core::state().binaryBuffers;
  core::state().binaryBuffers = __GET_BOOL(flag);
  return __INIT_BOOL(previous);
}

void SetEncode(int flag) { core::state().encode = flag != 0; }

pObj_Node __SetEncode(pObj_Node flag) {
  if (!flag || flag->objType != T_BOOL) __RuntimeError(ARGUMENT_ERROR, -1);
  const bool previous = core::state().encode;
  core::state().encode = __GET_BOOL(flag);
  return __INIT_BOOL(previous);
}

pObj_Node __ByRef(pObj_Node* variable) {
  if (!variable) __RuntimeError(ARGUMENT_ERROR, -1);
  if (!*variable) *variable = __fcpObj_CT(vVariable);
  (*variable)->byRef = 1;
  return *variable;
}
