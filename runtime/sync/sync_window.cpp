// The sync window (__VASKOSYNC) and its dialogs, built with the user
// interface's public calls so that they look the same on every driver:
//
//   +-- Vasko Synchronizer -----------------+
//   | Options: Records Sent, History,       |
//   |          Configurations, About, Exit  |
//   | <state text>                          |
//   | [progress of the tasks]               |
//   | <info text>                           |
//   | [progress of the table]               |
//   |                    [ Start ]          |
//   +---------------------------------------+
//
// The start button runs the session loop with itself disabled; the state
// and info texts follow the session through the folder's user-interface
// hooks while the window is open.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "arguments.h"
#include "core.h"
#include "report.h"
#include "sync_messages.h"
#include "sync_run.h"
#include "sync_state.h"
#include "sync_tables.h"
#include "zeltaarray.h"
#include "zeltamisc.h"
#include "zeltanet.h"
#include "zeltardd.h"
#include "zeltaui.h"

namespace sync {

namespace {

// Control ids are numbers; they are kept as such and made into values at
// each call, since values live only as long as the context that made them.
struct Window {
  double id = 0;
  double stateLabel = 0;
  double infoLabel = 0;
  double taskBar = 0;
  double tableBar = 0;
  double start = 0;
  int status = 0;
};

// The open sync window; null while none is.
Window* open = nullptr;

double idOf(pObj_Node v) { return v && v->objType == T_DOUBLE ? v->objData.dValue : 0; }
pObj_Node id(double n) { return __INIT_DOUBLE(n); }

pObj_Node text(const std::string& s) { return __INIT_CHARPTR(s.c_str()); }

void setStateText(const char* s) {
  if (open) SetText(id(open->stateLabel), text(s));
}
void setInfoText(const char* s) {
  if (open) SetText(id(open->infoLabel), text(s));
}

void moveBar(double bar, int percent) {
  __begin_context();
  __StatusIncrement(id(bar), __INIT_DOUBLE(percent), nullptr, __INIT_BOOL(1));
  __end_context(nullptr);
}
void setTaskProgress(int percent) {
  if (open) moveBar(open->taskBar, percent);
}
void setTableProgress(int percent) {
  if (open) moveBar(open->tableBar, percent);
}

pObj_Node action(pObj_Node (*f)(pObj_Node, pObj_Node, pObj_Node)) { return __INIT_VOIDPTR(reinterpret_cast<void*>(f)); }

pObj_Node onStart(pObj_Node, pObj_Node, pObj_Node) {
  if (!open) return __INIT_NIL();
  DisableControl(id(open->start));
  __StatusIncrement(id(open->taskBar), __INIT_DOUBLE(0), nullptr, __INIT_BOOL(1));
  __StatusIncrement(id(open->tableBar), __INIT_DOUBLE(0), nullptr, __INIT_BOOL(1));
  open->status = runLoop(true);
  __StatusIncrement(id(open->taskBar), __INIT_DOUBLE(100), nullptr, __INIT_BOOL(1));
  __StatusIncrement(id(open->tableBar), __INIT_DOUBLE(100), nullptr, __INIT_BOOL(1));
  EnableControl(id(open->start));
  return __INIT_BOOL(1);
}

pObj_Node onRecordsSent(pObj_Node, pObj_Node, pObj_Node) {
  std::string lines;
  for (const std::string& line : state().lastUploads) lines += line + "\n";
  if (lines.empty()) lines = "-";
  __MsgAlert(text(lines), text(syncMessage(4)));
  return __INIT_BOOL(1);
}

pObj_Node onHistory(pObj_Node, pObj_Node, pObj_Node) {
  __SyncLog();
  return __INIT_BOOL(1);
}

pObj_Node onConfigurations(pObj_Node, pObj_Node, pObj_Node) {
  __SyncCfg();
  return __INIT_BOOL(1);
}

pObj_Node onAbout(pObj_Node, pObj_Node, pObj_Node) {
  __MsgAlert(text(std::string(syncMessage(1)) + "\n" + syncMessage(0) + " " + "6.0.0"), text(syncMessage(6)));
  return __INIT_BOOL(1);
}

pObj_Node onClose(pObj_Node, pObj_Node, pObj_Node) {
  __CloseDialog();
  return __INIT_BOOL(1);
}

// The configuration dialog's fields, in CAD_USER's order.
struct ProfileField {
  const char* name;
  int length;
  int label;
};
const ProfileField kProfile[] = {{"HOST", 20, 10},   {"US_NAME", 20, 11}, {"DEV_TYPE", 30, 12},
                                 {"DEV_ID", 25, 13}, {"PORT", 15, 14},    {"TOUT", 3, 15}};
constexpr int kProfileFields = 6;
double profileIds[kProfileFields];

pObj_Node onSaveProfile(pObj_Node, pObj_Node, pObj_Node) {
  std::vector<std::string> values;
  for (int i = 0; i < kProfileFields; ++i) {
    pObj_Node v = __GetObjValue(id(profileIds[i]));
    values.push_back(v && v->objType == T_CHARPTR ? std::string(core::textOf(v)) : core::formatValue(v));
  }
  if (!writeProfile(values)) {
    alert(syncMessage(29));
    return __INIT_BOOL(0);
  }
  showInfo(syncMessage(18));
  __CloseDialog();
  return __INIT_BOOL(1);
}

}  // namespace

int runSyncWindow() {
  if (open) return runLoop(true);
  __VerifyNgGlb(0);
  Window w;
  open = &w;
  const UiHooks saved = state().ui;
  __begin_context();
  w.id = idOf(__ObjWin(__INIT_DOUBLE(0), __INIT_DOUBLE(0), text(syncMessage(1)), __INIT_DOUBLE(160), __INIT_DOUBLE(160),
                       __INIT_BOOL(1)));
  pObj_Node menu = __AddMenuBar(id(w.id), text(syncMessage(3)));
  __AddMenuItem(menu, text(syncMessage(4)), action(onRecordsSent));
  __AddMenuItem(menu, text(syncMessage(2)), action(onHistory));
  __AddMenuItem(menu, text(syncMessage(5)), action(onConfigurations));
  __AddMenuItem(menu, text(syncMessage(6)), action(onAbout));
  __AddMenuItem(menu, text(syncMessage(7)), action(onClose));
  w.stateLabel = idOf(
      __NewLabel(id(w.id), __INIT_DOUBLE(20), __INIT_DOUBLE(4), text(syncMessage(85)), nullptr, __INIT_DOUBLE(150)));
  w.taskBar = idOf(__NewProgress(id(w.id), __INIT_DOUBLE(40), __INIT_DOUBLE(4), __INIT_DOUBLE(150), __INIT_DOUBLE(10),
                                 __INIT_DOUBLE(100), __INIT_DOUBLE(0)));
  w.infoLabel = idOf(__NewLabel(id(w.id), __INIT_DOUBLE(60), __INIT_DOUBLE(4), text(""), nullptr, __INIT_DOUBLE(150)));
  w.tableBar = idOf(__NewProgress(id(w.id), __INIT_DOUBLE(80), __INIT_DOUBLE(4), __INIT_DOUBLE(150), __INIT_DOUBLE(10),
                                  __INIT_DOUBLE(100), __INIT_DOUBLE(0)));
  w.start = idOf(__NewButtom(id(w.id), __INIT_DOUBLE(120), __INIT_DOUBLE(50), text(syncMessage(8)), action(onStart),
                             __INIT_DOUBLE(60), __INIT_DOUBLE(16)));
  state().ui.stateText = setStateText;
  state().ui.infoText = setInfoText;
  state().ui.taskProgress = setTaskProgress;
  state().ui.tableProgress = setTableProgress;
  __ActivateWin(id(w.id));
  state().ui = saved;
  open = nullptr;
  __end_context(nullptr);
  state().config = SyncConfig();
  return w.status;
}

}  // namespace sync

pObj_Node __VASKOSYNC() {
  sync::runSyncWindow();
  return __INIT_NIL();
}

pObj_Node __SyncLog() {
  __begin_context();
  pObj_Node items = __fcpObj_CT(vArray);
  const int count = __GetAmnRecsMsgLog();
  char line[260];
  for (int i = count > 200 ? count - 200 : 0; i < count; ++i) {
    __ReadMsgLog(i, line);
    __AAdd(items, __INIT_CHARPTR(line));
  }
  pObj_Node dialog = __ObjWin(__INIT_DOUBLE(0), __INIT_DOUBLE(0), sync::text(sync::syncMessage(2)), __INIT_DOUBLE(160),
                              __INIT_DOUBLE(160), __INIT_BOOL(1));
  __NewList(dialog, __INIT_DOUBLE(16), __INIT_DOUBLE(2), items, nullptr, nullptr, __INIT_DOUBLE(156),
            __INIT_DOUBLE(110));
  __NewButtom(dialog, __INIT_DOUBLE(136), __INIT_DOUBLE(50), sync::text(sync::syncMessage(7)),
              sync::action(sync::onClose), __INIT_DOUBLE(60), __INIT_DOUBLE(16));
  __ActivateWin(dialog);
  __end_context(nullptr);
  return __INIT_NIL();
}

pObj_Node __SyncCfg() {
  __begin_context();
  std::string host, user, deviceType, deviceId;
  int port = 0, timeout = 0;
  sync::readProfile(host, user, deviceType, deviceId, port, timeout);
  const std::string values[sync::kProfileFields] = {
      host, user, deviceType, deviceId, port ? std::to_string(port) : "", timeout ? std::to_string(timeout) : ""};
  pObj_Node dialog = __ObjWin(__INIT_DOUBLE(0), __INIT_DOUBLE(0), sync::text(sync::syncMessage(9)), __INIT_DOUBLE(160),
                              __INIT_DOUBLE(160), __INIT_BOOL(1));
  for (int i = 0; i < sync::kProfileFields; ++i) {
    const sync::ProfileField& f = sync::kProfile[i];
    __NewLabel(dialog, __INIT_DOUBLE(16 + 18 * i), __INIT_DOUBLE(2), sync::text(sync::syncMessage(f.label)));
    std::string value = values[i];
    value.resize(static_cast<size_t>(f.length), ' ');
    sync::profileIds[i] = sync::idOf(__NewField(dialog, __INIT_DOUBLE(16 + 18 * i), __INIT_DOUBLE(70),
                                                sync::text(value), nullptr, nullptr, __INIT_DOUBLE(86)));
  }
  __NewButtom(dialog, __INIT_DOUBLE(130), __INIT_DOUBLE(10), sync::text(sync::syncMessage(16)),
              sync::action(sync::onSaveProfile), __INIT_DOUBLE(60), __INIT_DOUBLE(16));
  __NewButtom(dialog, __INIT_DOUBLE(130), __INIT_DOUBLE(90), sync::text(sync::syncMessage(17)),
              sync::action(sync::onClose), __INIT_DOUBLE(60), __INIT_DOUBLE(16));
  __ActivateWin(dialog);
  __end_context(nullptr);
  return __INIT_NIL();
}
