// The exports that add controls to a window: labels, fields, buttons and
// check boxes, lists, combo boxes, folders and progress bars. Each checks
// its arguments, records the control in the model and returns its id; the
// argument lists are settled in docs/ui.md.
#include "arguments_ui.h"
#include "array_index.h"
#include "core.h"
#include "field_edit.h"
#include "ui_state.h"
#include "zeltaui.h"

namespace ui {

bool boolOr(pObj_Node v, bool fallback) {
  if (!given(v)) return fallback;
  if (v->objType != T_BOOL) core::argumentError();
  return __GET_BOOL(v);
}

std::string textOr(pObj_Node v, const std::string& fallback) {
  return given(v) ? std::string(core::checkText(v)) : fallback;
}

Block blockOr(pObj_Node v) {
  if (!given(v)) return nullptr;
  if (v->objType != T_VOIDPTR) core::argumentError();
  return reinterpret_cast<Block>(v->objData.pValue);
}

std::vector<std::string> textItems(pObj_Node array) {
  std::vector<std::string> items;
  if (!given(array)) return items;
  pObj_Node a = lib::checkArray(array);
  const long n = lib::elementCount(a);
  for (long i = 0; i < n; ++i) {
    pObj_Node el = lib::elementAt(a, i);
    items.push_back(el && el->objType == T_CHARPTR ? std::string(core::textOf(el)) : core::formatValue(el));
  }
  return items;
}

Window& checkWindow(pObj_Node id) {
  Window* window = findWindow(checkId(id));
  if (!window) core::argumentError();
  return *window;
}

namespace {

// The variable behind an argument given by reference (@var), or null.
pObj_Node boundVariable(pObj_Node value, const Window& window) {
  if (!value || !value->byRef || value->objKind != vVariable) return nullptr;
  return holdForWindow(value, window);
}

void place(Control& c, pObj_Node row, pObj_Node col) {
  c.y = static_cast<int>(core::checkWhole(row));
  c.x = static_cast<int>(core::checkWhole(col));
}

void size(Control& c, pObj_Node width, pObj_Node height, int chars, int minHeight = 0) {
  const Units u = unitsOf(c.window->metrics);
  c.width = wholeOr(width, chars * u.charWidth);
  c.height = std::max(wholeOr(height, u.lineHeight), minHeight);
}

void colors(Control& c, pObj_Node text, pObj_Node back) {
  c.textColor = colorOr(text);
  c.backColor = colorOr(back);
}

int listSelection(pObj_Node selected, int count) {
  if (given(selected) && selected->objType == T_DOUBLE) {
    const int row = static_cast<int>(selected->objData.dValue);
    return row >= 0 && row <= count ? row : 0;
  }
  return count > 0 ? 1 : 0;
}

pObj_Node newList(Kind kind, pObj_Node window, pObj_Node row, pObj_Node col, pObj_Node items, pObj_Node selected,
                  pObj_Node action, pObj_Node width, pObj_Node height, pObj_Node textColor, pObj_Node backColor) {
  Window& w = checkWindow(window);
  core::checkNumber(row);
  core::checkNumber(col);
  std::vector<std::string> rows = textItems(items);
  if (given(selected) && selected->objType != T_DOUBLE) core::argumentError();
  Block act = blockOr(action);
  Control& c = addControl(w, kind);
  place(c, row, col);
  size_t longest = 8;
  for (const std::string& r : rows) longest = std::max(longest, characterCount(r));
  const Units u = unitsOf(w.metrics);
  c.width = wholeOr(width, static_cast<int>(longest + 2) * u.charWidth);
  c.height = std::max(wholeOr(height, kind == kKindList ? 4 * u.lineHeight : u.lineHeight), u.lineHeight);
  colors(c, textColor, backColor);
  c.selected = listSelection(selected, static_cast<int>(rows.size()));
  c.items = std::move(rows);
  c.action = act;
  c.bound = boundVariable(selected, w);
  return idRecord(c.id);
}

}  // namespace

}  // namespace ui

using namespace ui;

pObj_Node __NewLabel(pObj_Node window, pObj_Node row, pObj_Node col, pObj_Node value, pObj_Node picture,
                     pObj_Node width, pObj_Node height, pObj_Node textColor, pObj_Node backColor, pObj_Node align) {
  Window& w = checkWindow(window);
  core::checkNumber(row);
  core::checkNumber(col);
  const std::string pict = textOr(picture, "");
  const std::string alignment = textOr(align, "");
  Control& c = addControl(w, kKindLabel);
  place(c, row, col);
  c.value = valueOf(value);
  c.picture = pict;
  c.text = displayText(c.value, pict);
  size(c, width, height, static_cast<int>(characterCount(c.text)));
  colors(c, textColor, backColor);
  c.flag = alignment == "RIGHT" || alignment == "right" ? 1 : alignment == "CENTER" || alignment == "center" ? 2 : 0;
  return idRecord(c.id);
}

pObj_Node __NewField(pObj_Node window, pObj_Node row, pObj_Node col, pObj_Node value, pObj_Node picture,
                     pObj_Node valid, pObj_Node width, pObj_Node height, pObj_Node editable, pObj_Node label,
                     pObj_Node password, pObj_Node textColor, pObj_Node backColor, pObj_Node maxLength,
                     pObj_Node change, pObj_Node, pObj_Node, pObj_Node, pObj_Node) {
  Window& w = checkWindow(window);
  core::checkNumber(row);
  core::checkNumber(col);
  const std::string pict = textOr(picture, "");
  Block validation = blockOr(valid);
  if (given(width)) core::checkNumber(width);
  if (given(height)) core::checkNumber(height);
  const bool edit = boolOr(editable, true);
  const bool asLabel = !edit && boolOr(label, false);
  const bool hidden = boolOr(password, false);
  const int limit = wholeOr(maxLength, 0);
  Block onChange = blockOr(change);
  Control& c = addControl(w, asLabel ? kKindLabel : kKindField);
  place(c, row, col);
  c.value = valueOf(value);
  if (c.value.type == T_NIL) c.value.type = T_CHARPTR;
  c.picture = pict;
  c.readOnly = !edit;
  c.password = hidden;
  c.maxLength = limit > 0 ? static_cast<size_t>(limit) : 0;
  c.valid = validation;
  c.action = onChange;
  c.bound = asLabel ? nullptr : boundVariable(value, w);
  c.text = displayText(c.value, pict);
  size_t chars = std::max(characterCount(c.text), editLimit(c.value, pict));
  if (c.maxLength) chars = std::max(chars, c.maxLength);
  size(c, width, height, static_cast<int>(std::max<size_t>(chars, 4)));
  colors(c, textColor, backColor);
  return idRecord(c.id);
}

pObj_Node __NewButtom(pObj_Node window, pObj_Node row, pObj_Node col, pObj_Node caption, pObj_Node action,
                      pObj_Node width, pObj_Node height, pObj_Node bitmap, pObj_Node value, pObj_Node textColor,
                      pObj_Node backColor, pObj_Node arrow, pObj_Node, pObj_Node) {
  Window& w = checkWindow(window);
  core::checkNumber(row);
  core::checkNumber(col);
  const std::string text = textOr(caption, "");
  Block act = blockOr(action);
  if (given(width)) core::checkNumber(width);
  if (given(height)) core::checkNumber(height);
  const int picture = wholeOr(bitmap, 0);
  if (given(value) && value->objType != T_BOOL) core::argumentError();
  const bool isArrow = boolOr(arrow, false);
  Control& c = addControl(w, isArrow ? kKindArrow : kKindButton);
  place(c, row, col);
  c.text = text;
  c.action = act;
  c.flag = picture;
  if (given(value)) {
    c.check = true;
    c.value = valueOf(value);
    c.bound = boundVariable(value, w);
  }
  const int chars = text.empty() ? 20 : static_cast<int>(characterCount(text)) + 6;
  size(c, width, height, chars, 13);
  colors(c, textColor, backColor);
  return idRecord(c.id);
}

pObj_Node __NewList(pObj_Node window, pObj_Node row, pObj_Node col, pObj_Node items, pObj_Node selected,
                    pObj_Node action, pObj_Node width, pObj_Node height, pObj_Node textColor, pObj_Node backColor,
                    pObj_Node) {
  return newList(kKindList, window, row, col, items, selected, action, width, height, textColor, backColor);
}

pObj_Node __NewComboBox(pObj_Node window, pObj_Node row, pObj_Node col, pObj_Node items, pObj_Node selected,
                        pObj_Node action, pObj_Node width, pObj_Node height, pObj_Node textColor, pObj_Node backColor) {
  return newList(kKindCombo, window, row, col, items, selected, action, width, height, textColor, backColor);
}

pObj_Node __NewFolder(pObj_Node window, pObj_Node row, pObj_Node col, pObj_Node captions, pObj_Node action) {
  Window& w = checkWindow(window);
  core::checkNumber(row);
  core::checkNumber(col);
  std::vector<std::string> pages = textItems(captions);
  Block act = blockOr(action);
  Control& c = addControl(w, kKindFolder);
  place(c, row, col);
  int chars = 0;
  for (const std::string& p : pages) chars += static_cast<int>(characterCount(p)) + 3;
  const Units u = unitsOf(w.metrics);
  c.width = std::max(chars, 4) * u.charWidth;
  c.height = u.lineHeight;
  c.items = std::move(pages);
  c.selected = c.items.empty() ? 0 : 1;
  c.action = act;
  return idRecord(c.id);
}

pObj_Node __SetDefaultFolder(pObj_Node folder, pObj_Node page) {
  Control* c = findControl(checkId(folder));
  const int number = wholeOr(page, 0);
  if (!c || c->kind != kKindFolder) return __INIT_BOOL(0);
  Window* w = windowOfControl(*c);
  if (!w) return __INIT_BOOL(0);
  w->pageFolder = number > 0 ? c->id : 0;
  w->page = number;
  if (number >= 1 && number <= static_cast<int>(c->items.size())) c->selected = number;
  return __INIT_BOOL(1);
}

pObj_Node __NewProgress(pObj_Node window, pObj_Node row, pObj_Node col, pObj_Node width, pObj_Node height,
                        pObj_Node total, pObj_Node value, pObj_Node textColor, pObj_Node backColor) {
  Window& w = checkWindow(window);
  core::checkNumber(row);
  core::checkNumber(col);
  const double all = numberOr(total, 100);
  const double now = numberOr(value, 0);
  Control& c = addControl(w, kKindProgress);
  place(c, row, col);
  size(c, width, height, 20);
  colors(c, textColor, backColor);
  c.total = all > 0 ? all : 100;
  c.position = now;
  return idRecord(c.id);
}

pObj_Node __StatusBegin(pObj_Node title, pObj_Node total) {
  State& s = state();
  s.statusTitle = textOr(title, "");
  const double all = numberOr(total, 100);
  s.statusTotal = all > 0 ? all : 100;
  s.statusPosition = 0;
  s.statusOn = true;
  return __INIT_BOOL(1);
}

pObj_Node __StatusIncrement(pObj_Node control, pObj_Node step, pObj_Node text, pObj_Node absolute) {
  const uint16_t id = idOr0(control);
  const double amount = numberOr(step, 1);
  const bool set = boolOr(absolute, false);
  if (given(text)) core::checkText(text);
  if (!id) {
    State& s = state();
    if (!s.statusOn) return __INIT_BOOL(0);
    s.statusPosition = set ? amount : s.statusPosition + amount;
    if (given(text)) s.statusTitle = std::string(core::textOf(text));
    return __INIT_BOOL(1);
  }
  Control* c = findControl(id);
  if (!c || c->kind != kKindProgress) return __INIT_BOOL(0);
  c->position = set ? amount : c->position + amount;
  if (given(text)) c->text = std::string(core::textOf(text));
  return __INIT_BOOL(1);
}

pObj_Node __StatusEnd() {
  state().statusOn = false;
  return __INIT_BOOL(1);
}
