// Window records, the id counter and the lookups of the model (model.h), and
// the exports that create and free windows: __ObjWin, __NewObjID, __KillWin,
// __CloseDialog. The modal loop itself is dialog_loop.cpp.
#include "model.h"

#include "arguments.h"
#include "core.h"
#include "timers.h"
#include "ui_state.h"
#include "zeltaui.h"

namespace ui {

namespace {

constexpr uint16_t kFirstId = 6000;

bool idInUse(uint16_t id) { return state().windowById.count(id) || state().controlById.count(id); }

void forgetControl(Control& control) {
  state().controlById.erase(control.id);
  if (control.extra) control.extra.reset();
}

void freeWindowAt(size_t index) {
  State& s = state();
  Window* window = s.windows[index].get();
  for (auto& control : window->controls) forgetControl(*control);
  stopWindowTimers(*window);
  s.windowById.erase(window->id);
  if (s.current == window) s.current = index > 0 ? s.windows[index - 1].get() : nullptr;
  for (Loop* loop : s.loops) {
    if (loop->window == window) loop->window = nullptr, loop->running = false;
  }
  s.windows.erase(s.windows.begin() + static_cast<long>(index));
  if (s.current == window) s.current = nullptr;
  if (glob) glob->windowFlag = static_cast<int16_t>(s.windows.size());
  if (glob) glob->windowList = s.windows.empty() ? nullptr : s.windows.front().get();
}

}  // namespace

Value valueOf(pObj_Node node) {
  Value v;
  if (!node) return v;
  switch (node->objType) {
    case T_CHARPTR:
      v.type = T_CHARPTR;
      v.text = std::string(core::textOf(node));
      break;
    case T_DOUBLE:
    case T_DATE:
      v.type = node->objType;
      v.number = node->objData.dValue;
      break;
    case T_BOOL:
      v.type = T_BOOL;
      v.flag = node->objData.bValue != 0;
      break;
    default: break;
  }
  return v;
}

pObj_Node recordOf(const Value& value) {
  switch (value.type) {
    case T_CHARPTR: return core::newText(value.text);
    case T_DOUBLE: return __INIT_DOUBLE(value.number);
    case T_DATE: return __INIT_DATE(value.number);
    case T_BOOL: return __INIT_BOOL(value.flag);
    default: return __INIT_NIL();
  }
}

Units unitsOf(int metrics) {
  if (metrics == 2) return {240, 320, 6, 16};
  return {160, 160, 5, 12};
}

uint16_t nextId() {
  State& s = state();
  for (int tries = 0; tries < 65536; ++tries) {
    s.lastId = s.lastId >= 65535 ? kFirstId : static_cast<uint16_t>(s.lastId + 1);
    if (!idInUse(s.lastId)) return s.lastId;
  }
  __RuntimeError(LOW_MEMORY, -1);
}

Window* findWindow(uint16_t id) {
  auto it = state().windowById.find(id);
  return it == state().windowById.end() ? nullptr : it->second;
}

Control* findControl(uint16_t id) {
  auto it = state().controlById.find(id);
  return it == state().controlById.end() ? nullptr : it->second;
}

Window* windowOfControl(const Control& control) {
  if ((control.kind == kKindGrid || control.kind == kKindGridEdit) && control.owner) {
    if (Control* owner = findControl(control.owner)) return owner->window;
  }
  return control.window;
}

uint16_t checkId(pObj_Node id) {
  const double n = core::checkNumber(id);
  return n >= 0 && n <= 65535 ? static_cast<uint16_t>(n) : 0;
}

uint16_t idOr0(pObj_Node id) { return core::isGiven(id) ? checkId(id) : 0; }

Window* currentWindow() { return state().current; }
void setCurrentWindow(Window* window) { state().current = window; }

const std::vector<std::unique_ptr<Window>>& windows() { return state().windows; }

Window* createWindow(const std::string& title, bool modal, int metrics) {
  State& s = state();
  auto window = std::make_unique<Window>();
  window->id = nextId();
  window->title = title;
  window->modal = modal;
  window->depth = glob ? glob->depth : 0;
  window->metrics = metrics;
  Window* w = window.get();
  s.windows.push_back(std::move(window));
  s.windowById[w->id] = w;
  s.current = w;
  if (glob) glob->windowFlag = static_cast<int16_t>(s.windows.size());
  if (glob) glob->windowList = s.windows.front().get();
  return w;
}

Control& addControl(Window& window, Kind kind) {
  auto control = std::make_unique<Control>();
  control->id = nextId();
  control->kind = kind;
  control->window = &window;
  control->folder = window.pageFolder;
  control->page = window.page;
  Control& c = *control;
  window.controls.push_back(std::move(control));
  state().controlById[c.id] = &c;
  return c;
}

Window* previousWindow(const Window* window) {
  const auto& list = state().windows;
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].get() == window) return i > 0 ? list[i - 1].get() : nullptr;
  }
  return list.empty() ? nullptr : list.back().get();
}

void killWindows(int depth) {
  auto& list = state().windows;
  for (size_t i = list.size(); i-- > 0;) {
    if (list[i]->depth >= depth) freeWindowAt(i);
  }
}

void killWindowRecord(Window* window) {
  auto& list = state().windows;
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].get() == window) return freeWindowAt(i);
  }
}

void removeControls(Window& window, Kind a, Kind b) {
  auto& list = window.controls;
  for (size_t i = list.size(); i-- > 0;) {
    if (list[i]->kind != a && list[i]->kind != b) continue;
    if (window.focus == list[i]->id) window.focus = 0;
    forgetControl(*list[i]);
    list.erase(list.begin() + static_cast<long>(i));
  }
}

void killAllWindows() {
  while (!state().windows.empty()) freeWindowAt(state().windows.size() - 1);
}

bool shownOnScreen(const Control& control) {
  if (!control.visible) return false;
  if (!control.folder) return true;
  const Control* folder = findControl(control.folder);
  return !folder || (shownOnScreen(*folder) && folder->selected == control.page);
}

bool focusable(const Control& control) {
  if (!shownOnScreen(control) || !control.enabled) return false;
  switch (control.kind) {
    case kKindField: return !control.readOnly;
    case kKindButton:
    case kKindArrow:
    case kKindList:
    case kKindCombo:
    case kKindFolder:
    case kKindGrid:
    case kKindBrowser:
    case kKindCalendar: return true;
    default: return false;
  }
}

pObj_Node holdForWindow(pObj_Node variable, const Window& window) {
  if (!variable) return __INIT_NIL();
  switch (variable->objKind) {
    case vVariable:
    case vArray:
      if (variable->level > window.depth) variable->level = static_cast<int16_t>(window.depth);
      return variable;
    case vStack: {
      pObj_Node copy = __SET_OBJECT(__fcpObj_CT(vVariable), variable);
      copy->level = static_cast<int16_t>(window.depth);
      return copy;
    }
    default: return variable;
  }
}

}  // namespace ui

using namespace ui;

pObj_Node __ObjWin(pObj_Node row, pObj_Node col, pObj_Node title, pObj_Node rows, pObj_Node cols, pObj_Node modal,
                   pObj_Node textColor, pObj_Node backColor) {
  core::checkNumber(row);
  core::checkNumber(col);
  const std::string caption(core::checkText(title));
  const double height = core::checkNumber(rows);
  const double width = core::checkNumber(cols);
  if (core::isGiven(modal) && modal->objType != T_BOOL) core::argumentError();
  const int fore = core::isGiven(textColor) ? static_cast<int>(core::checkWhole(textColor)) : -1;
  const int back = core::isGiven(backColor) ? static_cast<int>(core::checkWhole(backColor)) : -1;
  __InstanceBackWindow();
  int metrics = state().metrics;
  if (!metrics) metrics = height > 160 || width > 160 ? 2 : 1;
  Window* window = createWindow(caption, core::isGiven(modal) && __GET_BOOL(modal), metrics);
  window->textColor = fore;
  window->backColor = back;
  return idRecord(window->id);
}

pObj_Node __NewObjID(pObj_Node window, pObj_Node add, pObj_Node flag, pObj_Node kind) {
  const uint16_t windowId = idOr0(window);
  const bool adding = core::isGiven(add) && (add->objType != T_BOOL || __GET_BOOL(add));
  if (windowId && adding) {
    Window* w = findWindow(windowId);
    if (!w) return __INIT_DOUBLE(nextId());
    Control& c = addControl(*w, static_cast<Kind>(core::wholeOr(kind, kKindLabel)));
    c.flag = static_cast<int>(core::wholeOr(flag, 0));
    return idRecord(c.id);
  }
  return idRecord(nextId());
}

void __KillWin() {
  if (!glob) return;
  killWindows(glob->depth);
}

pObj_Node __CloseDialog() {
  State& s = state();
  Window* active = !s.loops.empty() && s.loops.back()->window ? s.loops.back()->window : s.current;
  if (!s.loops.empty()) s.loops.back()->running = false;
  if (!active) return __INIT_BOOL(1);
  active->open = false;
  s.current = previousWindow(active);
  return __INIT_BOOL(1);
}
