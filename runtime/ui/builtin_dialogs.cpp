// The run-time's own dialogs: message boxes (through the driver), the
// "Fatal Error" window, the input box, the date picker and the keyboard
// dialog. They are built from the same records as the program's dialogs;
// their OK and Cancel buttons end the loop themselves (Control::closes), so
// no program code runs for them.
#include <sstream>

#include "arguments_ui.h"
#include "calendar.h"
#include "core.h"
#include "dialog.h"
#include "field_edit.h"
#include "ui_builtin.h"
#include "ui_state.h"
#include "zeltaui.h"

namespace ui {

namespace {

Control& label(Window& w, int y, int x, const std::string& text) {
  Control& c = addControl(w, kKindLabel);
  c.y = y;
  c.x = x;
  c.text = text;
  c.value.type = T_CHARPTR;
  c.value.text = text;
  c.width = static_cast<int>(characterCount(text)) * unitsOf(w.metrics).charWidth;
  c.height = unitsOf(w.metrics).lineHeight;
  return c;
}

Control& closingButton(Window& w, int y, int x, const std::string& caption, int result) {
  Control& c = addControl(w, kKindButton);
  c.y = y;
  c.x = x;
  c.text = caption;
  c.closes = true;
  c.result = result;
  c.width = (static_cast<int>(characterCount(caption)) + 6) * unitsOf(w.metrics).charWidth;
  c.height = 13;
  return c;
}

Control& field(Window& w, int y, int x, const Value& value, const std::string& picture, int width) {
  Control& c = addControl(w, kKindField);
  c.y = y;
  c.x = x;
  c.value = value;
  if (c.value.type == T_NIL) c.value.type = T_CHARPTR;
  c.picture = picture;
  c.text = displayText(c.value, picture);
  c.width = width;
  c.height = unitsOf(w.metrics).lineHeight;
  return c;
}

void freeWindow(Window* w) {
  // Dialogs of the run-time sit at the depth of their caller; they are taken
  // out of the list at once rather than at that context's end.
  killWindowRecord(w);
}

std::string monthText(long day) {
  lib::DateParts parts = lib::decodeDate(day);
  if (parts.month == 0) return "";
  static const char* const kNames[] = {"Janeiro", "Fevereiro", "Março",    "Abril",   "Maio",     "Junho",
                                       "Julho",   "Agosto",    "Setembro", "Outubro", "Novembro", "Dezembro"};
  std::ostringstream out;
  out << kNames[parts.month - 1] << " " << parts.year;
  return out.str();
}

}  // namespace

int showMessageBox(const char* title, const char* text, int yesNo) {
  State& s = state();
  ++s.boxDepth;
  enterScreen();
  const int answer = driver().messageBox(title ? title : "", text ? text : "", yesNo);
  leaveScreen();
  --s.boxDepth;
  return answer;
}

void showFatalWindow(const char* errorText, const char* positions) {
  if (driver().headless()) return;
  State& s = state();
  s.fatal = true;
  s.loops.clear();
  Window* w = createWindow("Fatal Error", true, 1);
  Control& text = field(*w, 4, 4, Value{T_CHARPTR, 0, errorText ? errorText : "", false}, "", 152);
  text.readOnly = true;
  text.height = 36;
  Control& list = addControl(*w, kKindList);
  list.y = 44;
  list.x = 4;
  list.width = 152;
  list.height = 84;
  std::istringstream lines(positions ? positions : "");
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) list.items.push_back(line);
  list.selected = list.items.empty() ? 0 : 1;
  w->focus = closingButton(*w, 136, 56, "Reset", 1).id;
  runModal(*w);
  driver().restore();
}

bool inputBox(const std::string& title, const std::string& prompt, Value& value, const std::string& picture) {
  Window* w = createWindow(title, true, state().metrics ? state().metrics : 1);
  label(*w, 20, 4, prompt);
  Control& f = field(*w, 40, 4, value, picture, 150);
  closingButton(*w, 70, 10, "OK", 1);
  closingButton(*w, 70, 80, "Cancelar", 0);
  w->focus = f.id;
  const int result = runModal(*w);
  if (result == 1) {
    Control* edited = findControl(f.id);
    if (edited && edited->editing) edited->value = commitText(edited->edit, edited->value, edited->picture);
    if (edited) value = edited->value;
  }
  freeWindow(w);
  return result == 1;
}

bool calendarKey(Window& window, Control& calendar, int key) {
  long day = static_cast<long>(calendar.value.number);
  if (day == 0) day = lib::todayDayNumber();
  lib::DateParts parts = lib::decodeDate(day);
  auto shiftMonth = [&](int months) {
    long m = parts.month - 1 + months;
    long y = parts.year + (m < 0 ? (m - 11) / 12 : m / 12);
    m = ((m % 12) + 12) % 12;
    const int last = core::daysInMonth(y, static_cast<int>(m) + 1);
    long result = 0;
    lib::encodeDate(y, m + 1, std::min(parts.day, last), 0, 0, result);
    return result ? result : day;
  };
  switch (key) {
    case kKeyLeft: day -= 1; break;
    case kKeyRight: day += 1; break;
    case kKeyUp: day -= 7; break;
    case kKeyDown: day += 7; break;
    case kKeyPageUp: day = shiftMonth(-1); break;
    case kKeyPageDown: day = shiftMonth(1); break;
    case kKeyEnter:
      for (auto& c : window.controls) {
        if (c->closes && c->result == 1) {
          if (Loop* loop = state().loops.empty() ? nullptr : state().loops.back()) loop->result = 1;
          closeActive();
          return true;
        }
      }
      return true;
    default: return false;
  }
  if (day < 1) day = 1;
  calendar.value.type = T_DATE;
  calendar.value.number = static_cast<double>(day);
  calendar.text = monthText(day);
  return true;
}

}  // namespace ui

using namespace ui;

pObj_Node __InputBox(pObj_Node title, pObj_Node prompt, pObj_Node value, pObj_Node picture, pObj_Node result) {
  const std::string caption = textOr(title, "");
  const std::string question = textOr(prompt, "");
  const std::string pict = textOr(picture, "");
  Value v = valueOf(value);
  if (!inputBox(caption, question, v, pict)) return __INIT_DOUBLE(0);
  if (result && result->byRef && result->objKind == vVariable) __SET_OBJECT(result, recordOf(v));
  if (value && value->byRef && value->objKind == vVariable) __SET_OBJECT(value, recordOf(v));
  return __INIT_DOUBLE(1);
}

pObj_Node __SelectDay(pObj_Node date, pObj_Node title) {
  if (given(date) && date->objType != T_DATE) core::argumentError();
  const std::string caption = textOr(title, "Data");
  const double start = given(date) ? date->objData.dValue : 0;
  Window* w = createWindow(caption, true, state().metrics ? state().metrics : 1);
  Control& calendar = addControl(*w, kKindCalendar);
  calendar.y = 16;
  calendar.x = 8;
  calendar.width = 144;
  calendar.height = 96;
  calendar.value.type = T_DATE;
  calendar.value.number = start != 0 ? start : static_cast<double>(lib::todayDayNumber());
  calendar.text = monthText(static_cast<long>(calendar.value.number));
  closingButton(*w, 130, 10, "OK", 1);
  closingButton(*w, 130, 80, "Cancelar", 0);
  const uint16_t id = calendar.id;
  const int result = runModal(*w);
  Control* chosen = findControl(id);
  const double day = result == 1 && chosen ? chosen->value.number : start;
  freeWindow(w);
  return __INIT_DATE(day);
}

pObj_Node __KeyBoard(pObj_Node fieldId, pObj_Node title) {
  Control* target = findControl(checkId(fieldId));
  const std::string caption = textOr(title, "Keyboard");
  if (!target || target->kind != kKindField || target->readOnly) return __INIT_BOOL(0);
  Value v = target->value;
  if (target->editing) v = commitText(target->edit, target->value, target->picture);
  const uint16_t id = target->id;
  if (!inputBox(caption, "", v, target->picture)) return __INIT_BOOL(0);
  target = findControl(id);
  if (!target) return __INIT_BOOL(0);
  target->value = v;
  target->text = displayText(v, target->picture);
  writeBack(*target, v);
  if (target->editing) {
    target->edit = editText(v, target->picture);
    target->cursor = target->edit.size();
  }
  return __INIT_BOOL(1);
}

pObj_Node __Alert(pObj_Node text) {
  const std::string shown = text && text->objType == T_CHARPTR ? std::string(core::textOf(text)) : core::formatValue(text);
  showMessageBox("Alert", shown.c_str(), 0);
  return __INIT_DOUBLE(1);
}
