// The registry of named functions: generated code registers every user
// function at start as "U_" + its name, and programs call them by name.
#include "core.h"

#include <string.h>

#include "zeltamisc.h"

namespace core {

struct Block {
  Block* next;
  char name[32];
  void* function;
};

}  // namespace core

namespace {

using core::Block;

constexpr size_t kMaxName = 12;

using BlockFunction = pObj_Node (*)(pObj_Node);

Block* find(const char* key) {
  for (Block* b = core::state().blocksHead; b; b = b->next) {
    if (strcmp(b->name, key) == 0) return b;
  }
  return nullptr;
}

// The registry key for a name value, or false when the name cannot match.
bool keyOf(pObj_Node name, bool plain, char* key) {
  if (!name) return false;
  if (name->objType != T_CHARPTR) __RuntimeError(ARGUMENT_ERROR, -1);
  // objLength counts the terminating zero: a registered 12-letter name has 13.
  if (!core::state().blocksHead || name->objLength - 1 > static_cast<int32_t>(kMaxName) || !name->objData.mbuff) {
    return false;
  }
  strcpy(key, plain ? "" : "U_");
  strncat(key, name->objData.mbuff, kMaxName);
  return true;
}

}  // namespace

namespace core {

void freeBlockRegistry() {
  State& s = state();
  while (s.blocksHead) {
    Block* next = s.blocksHead->next;
    xfree(s.blocksHead);
    s.blocksHead = next;
  }
  s.blocksTail = nullptr;
}

}  // namespace core

int RegisterBlock(const char* name, void* function) {
  if (!function || !name || !*name || strlen(name) > kMaxName) return 0;
  Block* b = static_cast<Block*>(core::allocOrDie(sizeof(Block)));
  b->next = nullptr;
  strcpy(b->name, "U_");
  strcat(b->name, name);
  b->function = function;
  core::State& s = core::state();
  if (s.blocksTail)
    s.blocksTail->next = b;
  else
    s.blocksHead = b;
  s.blocksTail = b;
  return 1;
}

pObj_Node ExistBlock(pObj_Node name) {
  char key[32];
  if (!keyOf(name, false, key)) return __INIT_BOOL(0);
  return __INIT_BOOL(find(key) != nullptr);
}

pObj_Node ExecBlock(pObj_Node name, pObj_Node a, pObj_Node b, pObj_Node arg, pObj_Node plain) {
  (void)a;
  (void)b;
  const bool isPlain = plain && plain->objType == T_BOOL && __GET_BOOL(plain);
  char key[32];
  if (!keyOf(name, isPlain, key)) return __INIT_BOOL(0);
  Block* block = find(key);
  if (!block) return __INIT_BOOL(0);
  return reinterpret_cast<BlockFunction>(block->function)(arg);
}
