// The global state record `glob`: start and end of an application, the
// system records, the settings table, the constant pool, the source-position
// trace and the static buffers of generated code.
#include "core.h"

#include <stdio.h>
#include <string.h>

#include <string>

#include "day_number.h"
#include "host.h"
#include "zeltamisc.h"
#include "zeltautil.h"

Glob* glob = nullptr;

namespace core {

struct StaticBuffer {
  StaticBuffer* next;
  void* buffer;
  int16_t depth;
  // ForeignStaticBuffer's: the wrapper's pointer to the buffer, nulled when
  // the buffer is freed, and the buffer's size.
  void** slot;
  long size;
};

State stateRecord;

void resetState() {
  // The ring size is set for the next application, not for this one.
  const int ringSize = stateRecord.ringSize;
  stateRecord = State();
  stateRecord.ringSize = ringSize;
}

}  // namespace core

namespace {

using core::StaticBuffer;

constexpr int kMessageBufferSize = 1025;
constexpr int kBlockTableSize = 50;

pObj_Node newSystemRecord(uint32_t type) {
  pObj_Node node = static_cast<pObj_Node>(core::allocOrDie(sizeof(Obj_Node)));
  __InitObjNode(node, type);
  node->objKind = vSystem;
  node->refCount = 1;
  node->level = -1;
  return node;
}

void createSystemRecords() {
  glob->sysRecords = static_cast<pObj_Node*>(core::allocOrDie(kSystemRecords * sizeof(pObj_Node)));
  for (int i = 0; i < kSystemRecords; ++i) glob->sysRecords[i] = newSystemRecord(T_NIL);
  pObj_Node* sys = glob->sysRecords;
  sys[kSysFalse]->objType = T_BOOL;
  sys[kSysTrue]->objType = T_BOOL;
  sys[kSysTrue]->objData.bValue = 1;
  sys[kSysTouch]->objType = T_BOOL;
  sys[kSysTouch]->objData.bValue = 1;
  for (int i : {static_cast<int>(kSysZero), static_cast<int>(kSysOne), static_cast<int>(kSysZero2),
                static_cast<int>(kSysLastFld)})
    sys[i]->objType = T_DOUBLE;
  sys[kSysOne]->objData.dValue = 1;
  sys[kSysNoBuffer]->objType = T_CHARPTR;
  sys[kSysEmpty]->objType = T_CHARPTR;
  sys[kSysEmpty]->objData.mbuff = core::allocStringBuffer(1);
  sys[kSysEmpty]->objLength = 1;
  sys[kSysNul]->objType = T_NUL;
}

void freeSystemRecords() {
  if (!glob->sysRecords) return;
  xfree(glob->sysRecords[kSysEmpty]->objData.mbuff);
  for (int i = 0; i < kSystemRecords; ++i) xfree(glob->sysRecords[i]);
  xfree(glob->sysRecords);
  glob->sysRecords = nullptr;
}

pObj_Node newSetting(uint32_t type) {
  pObj_Node node = __fcpObj_CT(vVariable);
  node->objType = type;
  node->level = -1;  // settings live as long as the application
  return node;
}

void setString(int slot, const char* text) {
  pObj_Node node = glob->settings[slot];
  if (!node) node = glob->settings[slot] = newSetting(T_CHARPTR);
  if (node->objType == T_CHARPTR) xfree(node->objData.mbuff);
  const int32_t size = static_cast<int32_t>(strlen(text)) + 1;
  node->objType = T_CHARPTR;
  node->objData.mbuff = core::allocStringBuffer(size);
  memcpy(node->objData.mbuff, text, static_cast<size_t>(size));
  node->objLength = size;
}

void initSettings() {
  glob->settings = static_cast<pObj_Node*>(core::allocOrDie(kSettingCount * sizeof(pObj_Node)));
  for (int i = 0; i < kSettingCount; ++i) glob->settings[i] = nullptr;
  glob->settings[2] = newSetting(T_DOUBLE);
  glob->settings[2]->objData.dValue = 2;
  setString(kSetDateFormat, "mm/dd/yy");
  glob->settings[kSetEpoch] = newSetting(T_DOUBLE);
  glob->settings[kSetEpoch]->objData.dValue = 1940;
  for (int slot : {8, 10, static_cast<int>(kSetCentury)}) glob->settings[slot] = newSetting(T_BOOL);
}

void freeSettings() {
  if (!glob->settings) return;
  for (int i = 0; i < kSettingCount; ++i) {
    pObj_Node node = glob->settings[i];
    if (!node || node->objKind != vVariable) continue;
    node->refCount = 0;
    __fcObj_DT(node);
  }
  xfree(glob->settings);
  glob->settings = nullptr;
}

int countYears(const char* format) {
  int n = 0;
  for (const char* p = format; *p; ++p) n += *p == 'y' || *p == 'Y';
  return n;
}

// The date format follows the century setting: two or four year letters.
std::string rewriteDateFormat(std::string format) {
  const bool century = __GET_BOOL(glob->settings[kSetCentury]);
  const int years = countYears(format.c_str());
  if (!century) {
    if (years == 2 || format.size() < 2) return format;
    if (format[0] == 'y' || format[0] == 'Y') return format.substr(2);
    return format.substr(0, format.size() - 2);
  }
  if (years == 4) return format;
  size_t at = format.find('y');
  if (at == std::string::npos) at = format.find('Y');
  if (at != std::string::npos && format.size() - at - 1 >= 2) return "yy" + format;
  return format + "yy";
}

void resetDateFormatForCentury() {
  setString(kSetDateFormat, __GET_BOOL(glob->settings[kSetCentury]) ? "mm/dd/yyyy" : "mm/dd/yy");
}

void storeCentury(pObj_Node flag) {
  pObj_Node slot = glob->settings[kSetCentury];
  slot->objType = T_BOOL;
  slot->objData.bValue = __GET_BOOL(flag) ? 1 : 0;
  resetDateFormatForCentury();
}

void freeTrace() {
  for (TraceRecord* r = glob->traceHead; r;) {
    TraceRecord* next = r->next;
    xfree(r);
    r = next;
  }
  glob->traceHead = glob->traceTail = nullptr;
  TraceRecord*& spare = core::state().spareTraces;
  while (spare) {
    TraceRecord* next = spare->next;
    xfree(spare);
    spare = next;
  }
}

void freeConstants() {
  if (!glob->constPool) return;
  for (int i = 0; i < glob->constAmount; ++i) xfree(glob->constPool[i]);
  xfree(glob->constPool);
  glob->constPool = nullptr;
  glob->constAmount = 0;
  glob->lastConst = -1;
}

void freeRing() {
  for (int i = 0; i < glob->stackSize; ++i) {
    pObj_Node slot = &glob->stack[i];
    if (slot->objType == T_CHARPTR && slot->objLength > 0) xfree(slot->objData.mbuff);
    slot->objData.mbuff = nullptr;
  }
}

void freeBlockTable() {
  if (!glob->blockTable) return;
  for (int i = 0; i < kBlockTableSize; ++i) xfree(glob->blockTable[i]);
  xfree(glob->blockTable);
  glob->blockTable = nullptr;
}

}  // namespace

namespace core {

pObj_Node setting(int slot) { return glob->settings[slot]; }

void recycleTrace(TraceRecord* record) {
  record->next = core::state().spareTraces;
  core::state().spareTraces = record;
}

std::string appDirectory() {
  const char* env = host::environment("ZELTA_APPDIR");
  if (env && *env) return env;
  std::string self = host::modulePath();
  const size_t slash = self.rfind('/');
  return slash == std::string::npos ? std::string(".") : self.substr(0, slash);
}

std::string instanceLockPath(const std::string& appDir, const char* name) {
  return appDir + "/." + (name ? name : "") + ".lock";
}

}  // namespace core

Glob* __RetGlob(int create) {
  if (!create) return glob;
  glob = static_cast<Glob*>(core::allocOrDie(sizeof(Glob)));
  memset(glob, 0, sizeof(Glob));
  glob->context = static_cast<ContextRecord*>(core::allocOrDie(sizeof(ContextRecord)));
  memset(glob->context, 0, sizeof(ContextRecord));
  for (ObjPool& p : glob->context->pools) {
    p.recordSize = 40;
    p.ctor = __fcpObj_CT;
  }
  glob->depth = 1;
  glob->lastConst = -1;
  for (int m = 0; m < 12; ++m) {
    glob->daysPerMonth[0][m] = core::daysInMonth(2001, m + 1);  // a common year
    glob->daysPerMonth[1][m] = core::daysInMonth(2000, m + 1);  // a leap year
  }
  glob->msPerDay = 86400000;
  glob->msgBuffer = static_cast<char*>(core::allocOrDie(kMessageBufferSize));
  memset(glob->msgBuffer, 0, kMessageBufferSize);
  const int ringSize = core::state().ringSize;
  glob->stackSize = ringSize;
  glob->stack = static_cast<Obj_Node*>(core::allocLinesOrDie(sizeof(Obj_Node) * static_cast<size_t>(ringSize)));
  for (int i = 0; i < ringSize; ++i) {
    pObj_Node slot = &glob->stack[i];
    __InitObjNode(slot, T_NIL);
    slot->objKind = vStack;
    slot->level = -1;
  }
  glob->spareTraces = &core::state().spareTraces;
  glob->spareRecords = core::spareRecordList();
  glob->liveBlocks = core::liveCounter();
  glob->contextEnds = core::hooks().contextEnds;
  glob->contextEndCount = &core::hooks().contextEndCount;
  core::ringCreate(ringSize);
  return glob;
}

void __SetMaxStackElements(int n) { core::state().ringSize = n; }

int __BeginGlobal() {
  core::resetAllocationCount();
  if (core::state().ringSize <= 0) core::state().ringSize = 160;
  __RetGlob(1);
  glob->shutdown = 0;
  createSystemRecords();
  initSettings();
  glob->depth = 1;
  glob->blockTable = static_cast<void**>(core::allocOrDie(kBlockTableSize * sizeof(void*)));
  memset(glob->blockTable, 0, kBlockTableSize * sizeof(void*));
  for (const core::FolderCalls& folder : core::hooks().folders) {
    if (folder.begin) folder.begin();
  }
  return 1;
}

namespace {

// Arrays that hold each other (AAdd( a, a )) keep each other's counts up and
// survive every sweep; at the end every element lets go of its array, and
// the sweep that follows frees them all.
void releaseArrayCycles() {
  for (pObj_Node array = glob->context->pools[core::kArrayPool].head; array; array = array->next) {
    ArrayHeader* header = array->objData.header;
    for (int32_t i = 0; header && i < header->count; ++i) {
      ArrayCell* c = zeltaCell(header, i);
      if (c->type != T_ARRAY || !c->data.array) continue;
      if (c->data.array->refCount > 0) --c->data.array->refCount;
      c->data.array = nullptr;
      c->type = T_NIL;
    }
  }
}

}  // namespace

void __EndGlobal() {
  if (!glob) return;
  const core::FolderCalls* folders = core::hooks().folders;
  for (int f = core::kFolderCount - 1; f >= 0; --f) {
    if (folders[f].end) folders[f].end();
  }
  core::freeBlockRegistry();
  glob->depth = -32;
  freeSettings();
  __KillContext();
  if (glob->context->pools[core::kArrayPool].head) {
    releaseArrayCycles();
    __KillContext();
  }
  core::forgetLibraries();
  freeRing();
  freeBlockTable();
  freeTrace();
  freeConstants();
  freeSystemRecords();
  if (glob->shutdown) core::handOverToInstaller();
  __CleanStaticStack();
  xfree(glob->msgBuffer);
  xfree(glob->stack);
  core::ringFree();
  xfree(glob->context);
  xfree(glob);
  glob = nullptr;
  core::releaseRecordSlabs();
  core::releaseSmallBlocks();
  core::resetState();
}

int SHUTDOWN() {
  if (glob) glob->shutdown = 1;
  return 0;
}

void __SF(const char* name) {
  TraceRecord* r = core::state().spareTraces;
  if (r)
    core::state().spareTraces = r->next;
  else
    r = static_cast<TraceRecord*>(core::allocOrDie(sizeof(TraceRecord)));
  r->next = nullptr;
  r->prev = glob->traceTail;
  r->function = name;
  r->line = glob->currentLine;
  r->depth = static_cast<int16_t>(glob->depth - 1);
  if (glob->traceTail)
    glob->traceTail->next = r;
  else
    glob->traceHead = r;
  glob->traceTail = r;
  glob->currentFunction = name;
}

void __SL(int line) {
  if (!glob || !glob->traceTail) return;
  glob->currentLine = static_cast<uint16_t>(line);
  glob->traceTail->line = static_cast<uint16_t>(line);
}

namespace {

StaticBuffer* addStaticBuffer(void* buffer, void** slot, long size) {
  StaticBuffer* r = static_cast<StaticBuffer*>(core::allocOrDie(sizeof(StaticBuffer)));
  r->next = nullptr;
  r->buffer = buffer;
  r->depth = glob ? glob->depth : 0;
  r->slot = slot;
  r->size = size;
  StaticBuffer** tail = &core::state().staticBuffers;
  while (*tail) tail = &(*tail)->next;
  *tail = r;
  return r;
}

}  // namespace

void __AddStaticStack(void* buffer) { addStaticBuffer(buffer, nullptr, 0); }

void* ForeignStaticBuffer(void** slot, long size) {
  if (!slot || size < 1) __RuntimeError(ARGUMENT_ERROR, -1);
  if (*slot) {
    for (StaticBuffer* r = core::state().staticBuffers; r; r = r->next) {
      if (r->slot == slot && r->buffer == *slot && r->size >= size) return *slot;
    }
  }
  // A foreign library may keep the old buffer: it stays until the end.
  void* buffer = core::allocOrDie(static_cast<size_t>(size));
  addStaticBuffer(buffer, slot, size);
  *slot = buffer;
  return buffer;
}

void __CleanStaticStack() {
  StaticBuffer*& buffers = core::state().staticBuffers;
  while (buffers) {
    StaticBuffer* next = buffers->next;
    if (buffers->slot && *buffers->slot == buffers->buffer) *buffers->slot = nullptr;
    xfree(buffers->buffer);
    xfree(buffers);
    buffers = next;
  }
}

void __LoadLIB() {}
void __UnloadLIB() { __CleanStaticStack(); }

void __const_set_amount(int amount) {
  const size_t bytes = (static_cast<size_t>(amount) + 2) * sizeof(pObj_Node);
  glob->constPool = amount >= 0 ? static_cast<pObj_Node*>(xmalloc(bytes)) : nullptr;
  if (!glob->constPool) {
    snprintf(glob->msgBuffer, 1025, "AmountmConst=%d, sz=%d, Obj_Sz=%d", amount, static_cast<int>(bytes), 40);
    __MsgAlert(__INIT_CHARPTR(glob->msgBuffer), __INIT_CHARPTR("Alert"));
    __RuntimeError(LOW_MEMORY, -1);
  }
  glob->constAmount = amount;
  glob->lastConst = -1;
  for (int i = 0; i < amount; ++i) {
    pObj_Node node = static_cast<pObj_Node>(core::allocOrDie(sizeof(Obj_Node)));
    __InitObjNode(node, T_NIL);
    node->objKind = vConstant;
    node->level = -1;
    node->refCount = 1;
    glob->constPool[i] = node;
  }
  glob->constPool[amount] = glob->constPool[amount + 1] = nullptr;
}

int __const_add_el(pObj_Node value) {
  const int index = ++glob->lastConst;
  if (index >= glob->constAmount || !value) __RuntimeError(ARGUMENT_ERROR, -1);
  pObj_Node node = glob->constPool[index];
  node->objType = value->objType;
  node->refCount = 1;
  if (value->objType == T_CHARPTR) {
    node->objData.mbuff = value->objData.mbuff;
    node->objLength = value->objLength;
    if (value->objKind == vConstant) {
      value->objData.mbuff = nullptr;
      value->objLength = -1;
    }
  } else {
    node->objData = value->objData;
  }
  return index;
}

pObj_Node __const_get_el(int index) { return glob->constPool[index]; }

pObj_Node __Set(pObj_Node number, pObj_Node value) {
  if (!number || number->objType != T_DOUBLE) __RuntimeError(ARGUMENT_ERROR, -1);
  const double n = number->objData.dValue;
  if (!(n >= 1 && n <= 12)) __RuntimeError(ARGUMENT_ERROR, -1);
  const int slot = static_cast<int>(n) - 1;
  if (!value) return glob->settings[slot] ? glob->settings[slot] : __INIT_NIL();
  if (slot == kSetDateFormat) {
    if (value->objType != T_CHARPTR || !value->objData.mbuff) __RuntimeError(ARGUMENT_ERROR, -1);
    setString(kSetDateFormat, rewriteDateFormat(value->objData.mbuff).c_str());
  } else if (slot == kSetCentury) {
    if (value->objType != T_BOOL) __RuntimeError(ARGUMENT_ERROR, -1);
    storeCentury(value);
  } else {
    pObj_Node stored = __SET_OBJECT(glob->settings[slot], value);
    // A setting outlives every context, whatever record now holds it.
    if (stored->objKind == vVariable || stored->objKind == vArray) stored->level = -1;
    glob->settings[slot] = stored;
  }
  return glob->settings[slot];
}

pObj_Node __SetCentury(pObj_Node flag) {
  if (!flag) return glob->settings[kSetCentury];
  if (flag->objType != T_BOOL) __RuntimeError(ARGUMENT_ERROR, -1);
  storeCentury(flag);
  return glob->settings[kSetCentury];
}

pObj_Node __GetRTVer() {
  char text[64];
  snprintf(text, sizeof text, "%s %s", __DATE__, __TIME__);
  return __INIT_CHARPTR(text);
}
