// The modal loop (dialog.h) and the meaning of input: every driver event
// ends up here, so both drivers behave alike. Keys:
//
//   Tab / Shift-Tab   next / previous control (the field left is validated)
//   Enter             field: next control; button: press; list, combo: act
//   Esc               press the Cancel button, or close the dialog
//   Up / Down         list, combo: move the selection; otherwise previous / next
//   Left / Right      field: move in the text; folder: page; otherwise previous / next
//   Home / End, Backspace / Delete, PgUp / PgDn   editing and paging
//   F10               the menu bar (menus.cpp)
//
// A field whose validation function returns FALSE keeps the focus: the move,
// or the press that would have left it, does not happen. Esc and Cancel
// buttons act without asking it.
#include "dialog.h"

#include <algorithm>
#include <cctype>

#include "arguments.h"
#include "calendar.h"
#include "core.h"
#include "field_edit.h"
#include "grid.h"
#include "keys.h"
#include "menus.h"
#include "timers.h"
#include "ui_builtin.h"
#include "ui_state.h"
#include "zeltaui.h"

namespace ui {

namespace {

Loop* innermost() { return state().loops.empty() ? nullptr : state().loops.back(); }

void noteLastField(const Control& control) {
  if (control.kind != kKindField || !glob) return;
  pObj_Node last = core::systemRecord(kSysLastFld);
  last->objType = T_DOUBLE;
  last->objData.dValue = control.id;
}

void enterControl(Control& control) {
  if (control.kind != kKindField) return;
  control.edit = editText(control.value, control.picture);
  control.cursor = control.edit.size();
  control.editing = true;
  control.selectAll = true;
  noteLastField(control);
}

// The focusable controls of the window in creation order.
std::vector<Control*> tabOrder(Window& window) {
  std::vector<Control*> order;
  for (auto& c : window.controls)
    if (focusable(*c)) order.push_back(c.get());
  return order;
}

void focusStep(Window& window, int step) {
  std::vector<Control*> order = tabOrder(window);
  if (order.empty()) return;
  Control* now = focusedControl(window);
  auto at = std::find(order.begin(), order.end(), now);
  long index = at == order.end() ? (step > 0 ? -1 : 0) : at - order.begin();
  const long n = static_cast<long>(order.size());
  index = ((index + step) % n + n) % n;
  moveFocus(window, order[static_cast<size_t>(index)]);
}

void press(Window& window, Control& button) {
  if (button.check) {
    button.value.type = T_BOOL;
    button.value.flag = !button.value.flag;
    writeBack(button, button.value);
  }
  if (button.closes) {
    if (Loop* loop = innermost()) loop->result = button.result;
    closeActive();
    return;
  }
  if (button.action) {
    const uint16_t windowId = window.id;
    callBlock(button.action, windowId, button.id, button.check ? __INIT_BOOL(button.value.flag) : nullptr);
  }
}

Control* cancelButton(Window& window) {
  for (auto& c : window.controls) {
    if ((c->kind == kKindButton || c->kind == kKindArrow) && !c->check && shownOnScreen(*c) && c->enabled &&
        isCancelCaption(c->text))
      return c.get();
  }
  return nullptr;
}

void cancel(Window& window) {
  if (Control* button = cancelButton(window)) {
    moveFocus(window, button, false);
    press(window, *button);
    return;
  }
  closeActive();
}

void editKey(Control& field, int key) {
  std::string& text = field.edit;
  if (field.selectAll && key != kKeyLeft && key != kKeyRight && key != kKeyHome && key != kKeyEnd) {
    if (key == kKeyBackspace || key == kKeyDelete) text.clear(), field.cursor = 0;
  }
  field.selectAll = false;
  switch (key) {
    case kKeyLeft: field.cursor = previousBoundary(text, field.cursor); break;
    case kKeyRight: field.cursor = nextBoundary(text, field.cursor); break;
    case kKeyHome: field.cursor = 0; break;
    case kKeyEnd: field.cursor = text.size(); break;
    case kKeyBackspace:
      if (field.cursor > 0) {
        const size_t from = previousBoundary(text, field.cursor);
        text.erase(from, field.cursor - from);
        field.cursor = from;
      }
      break;
    case kKeyDelete:
      if (field.cursor < text.size()) text.erase(field.cursor, nextBoundary(text, field.cursor) - field.cursor);
      break;
    default: break;
  }
}

void insertCharacter(Control& field, const std::string& ch) {
  if (field.readOnly || !field.enabled) return;
  if (field.selectAll) {
    field.edit.clear();
    field.cursor = 0;
    field.selectAll = false;
  }
  const size_t limit = field.maxLength ? field.maxLength : editLimit(field.value, field.picture);
  if (limit && characterCount(field.edit) >= limit) return;
  const size_t position = characterCount(field.edit.substr(0, field.cursor));
  const std::string shown = acceptTyped(field.value, field.picture, position, ch);
  if (shown.empty()) return;
  field.edit.insert(field.cursor, shown);
  field.cursor += shown.size();
}

void typeText(Control& field, const std::string& text) {
  for (size_t at = 0; at < text.size();) {
    const size_t next = nextBoundary(text, at);
    insertCharacter(field, text.substr(at, next - at));
    at = next;
  }
}

void moveSelection(Control& control, int to) {
  const int count = static_cast<int>(control.items.size());
  if (count == 0) return;
  to = std::clamp(to, 1, count);
  if (to != control.selected) choose(control, to);
}

// A list shows this many rows (the terminal draws the same number).
int pageRows(const Control& control) {
  const Units u = unitsOf(control.window ? control.window->metrics : 1);
  return std::max(1, control.height / u.lineHeight);
}

void characterKey(Window& window, Control* focus, const std::string& text) {
  if (!focus) return;
  switch (focus->kind) {
    case kKindField: typeText(*focus, text); break;
    case kKindButton:
    case kKindArrow:
      if (text == " ") press(window, *focus);
      break;
    case kKindList:
    case kKindCombo: {
      // Jump to the next row that starts with the character.
      const int count = static_cast<int>(focus->items.size());
      for (int step = 1; step <= count; ++step) {
        const int row = (focus->selected - 1 + step) % count;
        const std::string& item = focus->items[static_cast<size_t>(row)];
        if (!item.empty() &&
            std::tolower(static_cast<unsigned char>(item[0])) == std::tolower(static_cast<unsigned char>(text[0]))) {
          choose(*focus, row + 1);
          break;
        }
      }
      break;
    }
    default: gridText(*focus, text); break;
  }
}

void listKey(Window& window, Control& list, int key) {
  const int page = list.kind == kKindCombo ? 1 : pageRows(list);
  switch (key) {
    case kKeyUp: moveSelection(list, list.selected - 1); break;
    case kKeyDown: moveSelection(list, list.selected + 1); break;
    case kKeyPageUp: moveSelection(list, list.selected - page); break;
    case kKeyPageDown: moveSelection(list, list.selected + page); break;
    case kKeyHome: moveSelection(list, 1); break;
    case kKeyEnd: moveSelection(list, static_cast<int>(list.items.size())); break;
    case kKeyEnter:
      if (list.action && list.selected > 0) callBlock(list.action, window.id, list.id, __INIT_DOUBLE(list.selected));
      break;
    case kKeyLeft: focusStep(window, -1); break;
    case kKeyRight: focusStep(window, 1); break;
    default: break;
  }
}

void handleKey(Window& window, int key) {
  if (window.menuEntry) return menuKey(window, key);
  if (keyBinding(window, key)) return;
  key = ordinaryKey(key);
  if (key == kKeyEsc) return cancel(window);
  if (key == kKeyTab) return focusStep(window, 1);
  if (key == kKeyBackTab) return focusStep(window, -1);
  if (key == kKeyF10) return openMenuBar(window);
  Control* focus = focusedControl(window);
  if (!focus) {
    if (key == kKeyDown || key == kKeyRight || key == kKeyEnter) focusStep(window, 1);
    if (key == kKeyUp || key == kKeyLeft) focusStep(window, -1);
    return;
  }
  switch (focus->kind) {
    case kKindField:
      if (key == kKeyEnter || key == kKeyDown) return focusStep(window, 1);
      if (key == kKeyUp) return focusStep(window, -1);
      return editKey(*focus, key);
    case kKindButton:
    case kKindArrow:
      if (key == kKeyEnter || key == kKeySpace) return press(window, *focus);
      if (key == kKeyUp || key == kKeyLeft) return focusStep(window, -1);
      if (key == kKeyDown || key == kKeyRight) return focusStep(window, 1);
      return;
    case kKindList:
    case kKindCombo: return listKey(window, *focus, key);
    case kKindFolder:
      if (key == kKeyLeft) return moveSelection(*focus, focus->selected - 1);
      if (key == kKeyRight) return moveSelection(*focus, focus->selected + 1);
      if (key == kKeyUp) return focusStep(window, -1);
      if (key == kKeyDown || key == kKeyEnter) return focusStep(window, 1);
      return;
    default:
      if (focus->kind == kKindCalendar && calendarKey(window, *focus, key)) return;
      if (gridKey(window, *focus, key)) return;
      if (key == kKeyUp || key == kKeyLeft) return focusStep(window, -1);
      if (key == kKeyDown || key == kKeyRight || key == kKeyEnter) return focusStep(window, 1);
      return;
  }
}

Control* eventControl(Window& window, const Event& event) {
  Control* c = findControl(event.control);
  if (!c) {
    driver().reject(event, "no control " + std::to_string(event.control));
    return nullptr;
  }
  if (windowOfControl(*c) != &window && c->kind != kKindTimer) {
    driver().reject(event, "control " + std::to_string(event.control) + " is not in this dialog");
    return nullptr;
  }
  return c;
}

bool focusFor(Window& window, Control& control, const Event& event) {
  if (!shownOnScreen(control) || !control.enabled) {
    driver().reject(event, "control " + std::to_string(control.id) + " is hidden or disabled");
    return false;
  }
  Control* from = focusedControl(window);
  if (!moveFocus(window, &control)) {
    driver().reject(event, "control " + std::to_string(from ? from->id : 0) + " keeps the focus");
    return false;
  }
  return true;
}

void dispatch(Window& window, const Event& event) {
  switch (event.type) {
    case Event::kKey: return handleKey(window, event.key);
    case Event::kText: return characterKey(window, focusedControl(window), event.text);
    case Event::kClose: return cancel(window);
    case Event::kIdle:
    case Event::kResize: return;
    case Event::kMenu:
      if (Control* item = eventControl(window, event)) chooseMenuItem(window, *item, event);
      return;
    case Event::kTimer:
      if (!findControl(event.control)) return fireProcessTimer(event.control);
      if (Control* timer = eventControl(window, event)) fireTimer(*timer, event);
      return;
    default: break;
  }
  Control* c = eventControl(window, event);
  if (!c) return;
  switch (event.type) {
    case Event::kType:
      if (c->kind == kKindCalendar) {
        const long day = lib::parseDate(event.text, core::dateFormatSetting(), core::epochSetting());
        if (!day) return driver().reject(event, "not a date: " + event.text);
        if (focusFor(window, *c, event)) c->value.number = static_cast<double>(day);
        return;
      }
      if (c->kind == kKindGrid) {
        if (focusFor(window, *c, event) && !gridType(*c, event.text))
          driver().reject(event, "the current cell of grid " + std::to_string(c->id) + " takes no text");
        return;
      }
      if (c->kind != kKindField || c->readOnly)
        return driver().reject(event, "control " + std::to_string(c->id) + " takes no text");
      if (focusFor(window, *c, event)) {
        c->selectAll = true;
        if (event.text.empty()) c->edit.clear(), c->cursor = 0, c->selectAll = false;
        typeText(*c, event.text);
      }
      return;
    case Event::kPress: {
      if (c->kind != kKindButton && c->kind != kKindArrow && c->kind != kKindBitmap)
        return driver().reject(event, "control " + std::to_string(c->id) + " is not a button");
      if (!shownOnScreen(*c) || !c->enabled)
        return driver().reject(event, "control " + std::to_string(c->id) + " is hidden or disabled");
      const bool validate = !isCancelCaption(c->text);
      Control* from = focusedControl(window);
      if (c->kind != kKindBitmap && !moveFocus(window, c, validate))
        return driver().reject(event, "control " + std::to_string(from ? from->id : 0) + " keeps the focus");
      if (c->kind == kKindBitmap) {
        if (c->action) callBlock(c->action, window.id, c->id, nullptr);
        return;
      }
      return press(window, *c);
    }
    case Event::kChoose:
      if (c->kind == kKindGrid || c->kind == kKindBrowser) {
        if (focusFor(window, *c, event)) gridChoose(*c, static_cast<int>(event.number));
        return;
      }
      if (c->kind != kKindList && c->kind != kKindCombo && c->kind != kKindFolder)
        return driver().reject(event, "control " + std::to_string(c->id) + " has no rows");
      if (event.number < 1 || event.number > static_cast<long>(c->items.size()))
        return driver().reject(event,
                               "control " + std::to_string(c->id) + " has no row " + std::to_string(event.number));
      if (focusFor(window, *c, event)) choose(*c, static_cast<int>(event.number));
      return;
    case Event::kFocus: focusFor(window, *c, event); return;
    default: return;
  }
}

void focusFirst(Window& window) {
  Control* focus = focusedControl(window);
  if (focus && focusable(*focus)) return enterControl(*focus);
  window.focus = 0;
  std::vector<Control*> order = tabOrder(window);
  if (!order.empty()) moveFocus(window, order.front(), false);
}

}  // namespace

bool isCancelCaption(const std::string& caption) {
  std::string text;
  for (char c : caption)
    if (c != ' ' && c != '&') text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text == "cancel" || text == "cancelar" || text == "cancela";
}

void writeBack(Control& control, const Value& value) {
  if (!control.bound || !glob) return;
  __SET_OBJECT(control.bound, recordOf(value));
}

Window* activeWindow() {
  Loop* loop = innermost();
  return loop ? loop->window : nullptr;
}

void closeActive() {
  State& s = state();
  Loop* loop = innermost();
  Window* active = loop && loop->window ? loop->window : s.current;
  if (loop) loop->running = false;
  if (!active) return;
  active->open = false;
  s.current = previousWindow(active);
}

bool callBlock(Block block, uint16_t windowId, uint16_t controlId, pObj_Node value) {
  if (!block || !glob || state().fatal) return true;
  __begin_context();
  pObj_Node result = block(idRecord(windowId), idRecord(controlId), value ? value : __INIT_NIL());
  const bool refused = result && result->objType == T_BOOL && !result->objData.bValue;
  __end_context(nullptr);
  return !refused;
}

Control* focusedControl(Window& window) {
  if (!window.focus) return nullptr;
  Control* c = findControl(window.focus);
  return c && windowOfControl(*c) == &window ? c : nullptr;
}

bool leaveField(Control& field) {
  if (field.kind != kKindField || !field.editing || field.validating) return true;
  const Value before = field.value;
  field.value = commitText(field.edit, field.value, field.picture);
  writeBack(field, field.value);
  bool accepted = true;
  if (field.valid) {
    field.validating = true;
    Window* window = windowOfControl(field);
    accepted = callBlock(field.valid, window ? window->id : 0, field.id, recordOf(field.value));
    field.validating = false;
  }
  if (!accepted) return false;
  field.editing = false;
  const bool changed = before.type != field.value.type || before.text != field.value.text ||
                       before.number != field.value.number || before.flag != field.value.flag;
  if (changed && field.action) {
    Window* window = windowOfControl(field);
    callBlock(field.action, window ? window->id : 0, field.id, recordOf(field.value));
  }
  return true;
}

bool moveFocus(Window& window, Control* to, bool validate) {
  Control* from = focusedControl(window);
  if (from == to) {
    if (to && to->kind == kKindField && !to->editing) enterControl(*to);
    return true;
  }
  if (from && validate && !leaveField(*from)) {
    // The validation may itself have moved the focus; the field still keeps it.
    window.focus = from->id;
    return false;
  }
  if (from && !validate) from->editing = false;
  window.focus = to ? to->id : 0;
  if (to) enterControl(*to);
  return true;
}

std::string shownText(const Control& control) {
  if (control.kind == kKindField) {
    if (control.editing) return control.password ? std::string(characterCount(control.edit), '*') : control.edit;
    const std::string text = displayText(control.value, control.picture);
    return control.password ? std::string(characterCount(text), '*') : text;
  }
  return control.text;
}

void typeInto(Control& field, const std::string& text) {
  if (!field.editing) enterControl(field);
  field.edit.clear();
  field.cursor = 0;
  field.selectAll = false;
  typeText(field, text);
}

void choose(Control& control, int row) {
  control.selected = row;
  const int page = std::max(1, pageRows(control));
  if (row - 1 < control.top) control.top = row - 1;
  if (row - 1 >= control.top + page) control.top = row - page;
  Value v;
  v.type = T_DOUBLE;
  v.number = row;
  writeBack(control, v);
  Window* window = windowOfControl(control);
  if (control.action) callBlock(control.action, window ? window->id : 0, control.id, __INIT_DOUBLE(row));
}

void enterScreen() {
  if (state().screenDepth++ == 0) driver().enter();
}

void leaveScreen() {
  if (state().screenDepth > 0 && --state().screenDepth == 0) driver().leave();
}

void repaintWindows() {
  State& s = state();
  if (s.screenDepth == 0) return;
  for (Loop* loop : s.loops)
    if (loop->window) driver().draw(*loop->window);
}

int runModal(Window& window) {
  State& s = state();
  for (Loop* loop : s.loops)
    if (loop->window == &window) return 0;  // already running further out
  Loop loop;
  loop.window = &window;
  s.loops.push_back(&loop);
  window.open = true;
  s.current = &window;
  enterScreen();
  focusFirst(window);
  Driver& screen = driver();
  while (loop.running && loop.window && !(glob && glob->shutdown)) {
    screen.draw(*loop.window);
    Event event;
    const bool more = screen.nextEvent(event, timerWaitMs());
    if (!loop.window) break;
    if (glob) __begin_context();
    fireDueTimers();
    if (!more)
      closeActive();
    else if (loop.running && loop.window)
      dispatch(*loop.window, event);
    if (glob) __end_context(nullptr);
  }
  s.loops.erase(std::find(s.loops.begin(), s.loops.end(), &loop));
  leaveScreen();
  if (loop.window) releaseMenus(*loop.window);
  return loop.result;
}

}  // namespace ui

using namespace ui;

pObj_Node __ActivateWin(pObj_Node window) {
  Window* w = findWindow(checkId(window));
  if (!w) return __INIT_BOOL(0);
  if (!hasMenuBar(*w)) __AddMenuBar(window, __INIT_CHARCONST(""), nullptr);
  runModal(*w);
  return __INIT_BOOL(1);
}
