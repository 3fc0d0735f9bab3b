// Exports that work on existing controls: showing, hiding, enabling and
// disabling, position and size, texts, list contents, colours, the focus and
// the values the program reads back. An id that names no control does
// nothing and gives 0 (FALSE where the export answers with a logical).
#include "arguments_ui.h"
#include "array_index.h"
#include "core.h"
#include "dialog.h"
#include "field_edit.h"
#include "grid.h"
#include "ui_state.h"
#include "zeltaarray.h"
#include "zeltaui.h"

namespace ui {

namespace {

pObj_Node zero() { return core::systemRecord(kSysZero); }

pObj_Node windowIdOf(const Control& c) {
  Window* w = windowOfControl(c);
  return w ? idRecord(w->id) : zero();
}

// Leaves the focus when its control can no longer take it.
void dropFocus(Control& c) {
  Window* w = windowOfControl(c);
  if (!w || w->focus != c.id) return;
  c.editing = false;
  w->focus = 0;
  for (auto& other : w->controls) {
    if (focusable(*other)) {
      moveFocus(*w, other.get(), false);
      break;
    }
  }
}

pObj_Node pair(double a, double b) { return __CreateArray(__INIT_DOUBLE(a), __INIT_DOUBLE(b), __INIT_NUL()); }

void setControlText(Control& c, pObj_Node text) {
  const std::string shown = text->objType == T_CHARPTR ? std::string(core::textOf(text)) : core::formatValue(text);
  switch (c.kind) {
    case kKindField:
      c.value = text->objType == T_CHARPTR ? commitText(shown, c.value, c.picture) : valueOf(text);
      if (c.editing) {
        c.edit = editText(c.value, c.picture);
        c.cursor = c.edit.size();
      }
      c.text = displayText(c.value, c.picture);
      writeBack(c, c.value);
      break;
    case kKindLabel:
      c.value = valueOf(text);
      c.text = displayText(c.value, c.picture);
      break;
    case kKindCombo:
    case kKindList:
      for (size_t i = 0; i < c.items.size(); ++i) {
        if (c.items[i] == shown) c.selected = static_cast<int>(i) + 1;
      }
      break;
    default: c.text = shown; break;
  }
}

}  // namespace

}  // namespace ui

using namespace ui;

pObj_Node ShowControl(pObj_Node id) {
  Control* c = findControl(checkId(id));
  if (!c) return core::systemRecord(kSysZero);
  c->visible = true;
  return windowIdOf(*c);
}

pObj_Node HideControl(pObj_Node id) {
  Control* c = findControl(checkId(id));
  if (!c) return core::systemRecord(kSysZero);
  c->visible = false;
  dropFocus(*c);
  return windowIdOf(*c);
}

pObj_Node EnableControl(pObj_Node id) {
  Control* c = findControl(checkId(id));
  if (!c) return core::systemRecord(kSysZero);
  c->enabled = true;
  return windowIdOf(*c);
}

pObj_Node DisableControl(pObj_Node id) {
  Control* c = findControl(checkId(id));
  if (!c) return core::systemRecord(kSysZero);
  c->enabled = false;
  dropFocus(*c);
  return windowIdOf(*c);
}

pObj_Node GetCtrlPos(pObj_Node id) {
  Control* c = findControl(checkId(id));
  if (!c) return __INIT_NIL();
  return pair(c->y, c->x);
}

pObj_Node GetCtrlSz(pObj_Node id) {
  Control* c = findControl(checkId(id));
  if (!c) return __INIT_NIL();
  return pair(c->height, c->width);
}

pObj_Node GetXYPos(pObj_Node id) {
  Control* c = findControl(checkId(id));
  if (!c) return __INIT_NIL();
  return pair(c->x, c->y);
}

pObj_Node MoveControl(pObj_Node id, pObj_Node row, pObj_Node col) {
  const uint16_t n = checkId(id);
  const int y = static_cast<int>(core::checkWhole(row));
  const int x = static_cast<int>(core::checkWhole(col));
  Control* c = findControl(n);
  if (!c) return __INIT_BOOL(0);
  c->y = y;
  c->x = x;
  return __INIT_BOOL(1);
}

pObj_Node ResizeControl(pObj_Node id, pObj_Node height, pObj_Node width) {
  const uint16_t n = checkId(id);
  const int h = static_cast<int>(core::checkWhole(height));
  const int w = static_cast<int>(core::checkWhole(width));
  Control* c = findControl(n);
  if (!c) return __INIT_BOOL(0);
  c->height = h > 0 ? h : 0;
  c->width = w > 0 ? w : 0;
  return __INIT_BOOL(1);
}

pObj_Node GetGeometry() {
  Window* w = currentWindow();
  const Units u = unitsOf(w ? w->metrics : (state().metrics ? state().metrics : 1));
  return pair(u.width, u.height);
}

pObj_Node SetGeometry(pObj_Node metrics) {
  const int kind = wholeOr(metrics, 0);
  state().metrics = kind == 1 || kind == 2 ? kind : 0;
  return __INIT_BOOL(1);
}

pObj_Node __GetGeometry() { return GetGeometry(); }
pObj_Node __SetGeometry(pObj_Node metrics) { return SetGeometry(metrics); }

pObj_Node SetText(pObj_Node id, pObj_Node text) {
  const uint16_t n = checkId(id);
  if (!text) core::argumentError();
  if (Window* w = findWindow(n)) {
    w->title = text->objType == T_CHARPTR ? std::string(core::textOf(text)) : core::formatValue(text);
    return __INIT_BOOL(1);
  }
  Control* c = findControl(n);
  if (!c) return __INIT_BOOL(0);
  setControlText(*c, text);
  return __INIT_BOOL(1);
}

pObj_Node SetArray(pObj_Node id, pObj_Node items) {
  const uint16_t n = checkId(id);
  lib::checkArray(items);
  Control* c = findControl(n);
  if (!c) return __INIT_BOOL(0);
  if (c->kind == kKindGrid || c->kind == kKindBrowser) {
    setGridRows(*c, items);
    return __INIT_BOOL(1);
  }
  if (c->kind != kKindList && c->kind != kKindCombo) return __INIT_BOOL(0);
  c->items = textItems(items);
  const int count = static_cast<int>(c->items.size());
  if (c->selected > count) c->selected = count;
  if (c->selected == 0 && count > 0 && c->kind == kKindCombo) c->selected = 1;
  c->top = 0;
  return __INIT_BOOL(1);
}

pObj_Node _SetObjColor(pObj_Node id, pObj_Node textColor, pObj_Node backColor, pObj_Node, pObj_Node) {
  const uint16_t n = checkId(id);
  const int fore = colorOr(textColor);
  const int back = colorOr(backColor);
  if (Window* w = findWindow(n)) {
    w->textColor = fore;
    w->backColor = back;
    return __INIT_BOOL(1);
  }
  Control* c = findControl(n);
  if (!c) return __INIT_BOOL(0);
  c->textColor = fore;
  c->backColor = back;
  return __INIT_BOOL(1);
}

pObj_Node __SetObjColor(pObj_Node id, pObj_Node textColor, pObj_Node backColor, pObj_Node a4, pObj_Node a5) {
  return _SetObjColor(id, textColor, backColor, a4, a5);
}

pObj_Node __SetFocus(pObj_Node id) {
  Control* c = findControl(checkId(id));
  if (!c) return __INIT_BOOL(0);
  Window* w = windowOfControl(*c);
  if (!w || !focusable(*c)) return __INIT_BOOL(0);
  if (!moveFocus(*w, c)) return __INIT_BOOL(0);
  c->selectAll = true;
  return __INIT_BOOL(1);
}

pObj_Node __GetLastFldFocus() { return core::systemRecord(kSysLastFld); }

pObj_Node __GetObjValue(pObj_Node id) {
  const uint16_t n = checkId(id);
  if (Window* w = findWindow(n)) return core::newText(w->title);
  Control* c = findControl(n);
  if (!c) return __INIT_NIL();
  switch (c->kind) {
    case kKindField:
    case kKindLabel: return recordOf(c->value.type == T_NIL ? Value{T_CHARPTR, 0, c->text, false} : c->value);
    case kKindButton:
    case kKindArrow: return c->check ? __INIT_BOOL(c->value.flag) : core::newText(c->text);
    case kKindList:
    case kKindCombo:
    case kKindFolder: return __INIT_DOUBLE(c->selected);
    case kKindProgress: return __INIT_DOUBLE(c->position);
    case kKindGrid:
    case kKindBrowser: {
      const Grid* g = gridOf(*c);
      return __INIT_DOUBLE(g ? g->row : 0);
    }
    default: return core::newText(c->text);
  }
}

pObj_Node __PictureSize(pObj_Node id) {
  Control* c = findControl(checkId(id));
  if (!c || c->kind != kKindField || c->picture.empty()) return core::systemRecord(kSysZero);
  return __INIT_DOUBLE(pictureSize(c->picture));
}

pObj_Node __GetOnChange(pObj_Node id, pObj_Node action) {
  Control* c = findControl(checkId(id));
  Block act = blockOr(action);
  if (!c) return __INIT_NIL();
  Block previous = c->action;
  if (given(action)) c->action = act;
  return previous ? __INIT_VOIDPTR(reinterpret_cast<void*>(previous)) : __INIT_NIL();
}
