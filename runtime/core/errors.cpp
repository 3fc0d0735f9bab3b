// Fatal run-time errors. __RuntimeError rescues the registered arrays, lets
// a library's exit hook unwind, closes the work areas, reports the error
// name, the auxiliary message and the source positions (standard error, and
// the "Fatal Error" window when a user interface is present) and ends the
// process with status 1.
#include "core.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "host.h"
#include "messages.h"
#include "zeltamisc.h"
#include "zeltautil.h"

namespace {

static_assert(core::kErrorNameCount == RDD_NOT_IMPLEMENTED + 1, "one name per error code of zeltaobjs.h");

core::ErrorState& errors() { return core::state().errors; }

std::string position(const char* function, int line) {
  char text[300];
  snprintf(text, sizeof text, "%s(%i)", function, line);
  return text;
}

// The current position, then the trace from the newest record back.
std::string sourcePositions() {
  if (!glob || !glob->traceHead || !glob->currentFunction || !glob->currentLine) {
    return "No debug info\n";
  }
  std::string list = position(glob->currentFunction, glob->currentLine) + "\n";
  std::vector<const TraceRecord*> records;
  for (TraceRecord* r = glob->traceTail; r; r = r->prev) records.push_back(r);
  // A recursion without end leaves thousands: the newest and the oldest
  // tell the story.
  constexpr size_t kNewest = 30, kOldest = 10;
  for (size_t i = 0; i < records.size(); ++i) {
    if (records.size() > kNewest + kOldest && i == kNewest) {
      list += "... " + std::to_string(records.size() - kNewest - kOldest) + " more calls ...\n";
      i = records.size() - kOldest;
    }
    const char* name = records[i]->function ? records[i]->function : "No info->function";
    list += position(name, records[i]->line) + "\n";
  }
  return list;
}

[[noreturn]] void finish(int code, int aux, const std::string& errorText, const std::string& positions) {
  const std::string report = "Fatal Error\n" + errorText + "\n" + positions;
  if (core::hooks().fatalTrap) {
    errors().reporting = false;
    core::hooks().fatalTrap(code, aux, report);
  }
  fputs(report.c_str(), stderr);
  fflush(stdout);
  fflush(stderr);
  if (core::hooks().fatalWindow) core::hooks().fatalWindow(errorText.c_str(), positions.c_str());
  core::host::exitNow(1);
}

}  // namespace

namespace core {

Hooks hookRecord;

bool registerFolder(Folder folder, const FolderCalls& calls) {
  Hooks& h = hooks();
  h.folders[folder] = calls;
  h.contextEndCount = 0;
  for (const FolderCalls& f : h.folders) {
    if (f.contextEnd) h.contextEnds[h.contextEndCount++] = f.contextEnd;
  }
  h.anyContextEnd = h.contextEndCount > 0;
  return true;
}

void setFatalTrap(FatalTrap trap) { hooks().fatalTrap = trap; }

void raiseWithText(int code, const std::string& text) {
  snprintf(errors().auxBuffer, sizeof errors().auxBuffer, "%s", text.c_str());
  __RuntimeError(code, -1);
}

}  // namespace core

void __RuntimeError(int code, int aux) {
  if (errors().reporting && !core::hooks().fatalTrap) {
    // An error while reporting one: say what we can and stop.
    fprintf(stderr, "Fatal Error\n%s\n", core::errorName(code));
    core::host::exitNow(1);
  }
  errors().reporting = true;
  if (core::hooks().dumpRegisteredArrays) core::hooks().dumpRegisteredArrays();
  if (aux != -1) __GetAuxError(aux);
  const std::string positions = sourcePositions();
  if (errors().exitHook) errors().exitHook();
  if (errors().exitBlock) errors().exitBlock(nullptr, nullptr, nullptr);
  if (!core::hooks().fatalTrap) {
    const core::FolderCalls* folders = core::hooks().folders;
    for (int f = core::kFolderCount - 1; f >= 0; --f) {
      if (folders[f].fatal) folders[f].fatal();
    }
  }
  char text[2100];
  GetError(text, code);
  finish(code, aux, text, positions);
}

void GetError(char* buffer, int code) {
  strcpy(buffer, core::errorName(code));
  if (errors().auxBuffer[0]) {
    strcat(buffer, "\n");
    strcat(buffer, errors().auxBuffer);
    errors().auxBuffer[0] = 0;
  }
}

char* __GetAuxError(int n) {
  snprintf(errors().auxBuffer, sizeof errors().auxBuffer, "Msg(%d)-%s", n, core::auxMessage(errors().language, n));
  return errors().auxBuffer;
}

int core::errorLanguage() { return errors().language; }

pObj_Node __SetErrorLang(pObj_Node language) {
  if (!language || language->objType != T_DOUBLE) __RuntimeError(ARGUMENT_ERROR, -1);
  const double n = language->objData.dValue;
  errors().language = n >= 1 && n <= 3 ? static_cast<int>(n) : 1;
  return __INIT_BOOL(1);
}

pObj_Node __RegisterExit(ExitHook hook) {
  if (hook) errors().exitHook = hook;
  return __INIT_BOOL(0);
}

pObj_Node __RegisterExit(pObj_Node (*block)(pObj_Node, pObj_Node, pObj_Node)) {
  if (block) errors().exitBlock = block;
  return __INIT_BOOL(0);
}

void rstCall() {
  ErrSync();
  exit(0);
}

int ErrSync() {
  char question[1100];
  snprintf(question, sizeof question, "%s", __GetAuxError(138));
  const char* title = __GetAuxError(139);
  const bool yes = __GET_BOOL(__MsgYesNo(__INIT_CHARPTR(question), __INIT_CHARPTR(title)));
  if (yes && core::hooks().startSync) core::hooks().startSync();
  return yes;
}

void cleandbs() {
  const bool yes = __GET_BOOL(__MsgYesNo(__INIT_CHARPTR("Confirma exclusão dos dados?"), __INIT_CHARPTR("Erro")));
  if (yes && core::hooks().removeDataFiles) core::hooks().removeDataFiles();
  ErrSync();
  exit(0);
}

void ShowFreeMem() {
  const core::host::MemoryStatus memory = core::host::memoryStatus();
  const long total = memory.totalKb;
  const long avail = memory.availableKb;
  const int load = total > 0 ? static_cast<int>(100 - avail * 100 / total) : 0;
  char text[512];
  const ObjPool* pools = glob->context->pools;
  snprintf(text, sizeof text,
           "malloc-free=%i\npObj=%d\nArrays=%d\nvElArray=%d\nLocked Stack=%d\nMemory Load(%%)=%d\n"
           "Physical Memory (Total/Aval)=%d/%d",
           static_cast<int>(core::liveAllocations()), pools[1].count, pools[0].count, pools[2].count, glob->lockedCount,
           load, static_cast<int>(total), static_cast<int>(avail));
  Alert2(text);
}
