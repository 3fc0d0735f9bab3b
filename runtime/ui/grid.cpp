// Grids (grid.h) and their exports. A grid copies the rows it is given and
// keeps the array they came from, so that a cell edited in place is written
// back into the program's array as well. Keys at a focused grid:
//
//   Up / Down, PgUp / PgDn, Home / End   current row (row-change action)
//   Left / Right                         current column, scrolling
//   Enter                                edit the cell (an editable column),
//                                        Enter again keeps it, Esc drops it
#include "grid.h"

#include <algorithm>

#include "arguments_ui.h"
#include "array_index.h"
#include "dialog.h"
#include "field_edit.h"
#include "ui_state.h"
#include "zeltaarray.h"
#include "zeltaui.h"

namespace ui {

namespace {

Control* checkGrid(pObj_Node id) {
  Control* c = findControl(checkId(id));
  return c && gridOf(*c) ? c : nullptr;
}

void rowChanged(Control& control, Grid& grid) {
  Window* w = windowOfControl(control);
  if (control.action) callBlock(control.action, w ? w->id : 0, control.id, __INIT_DOUBLE(grid.row));
}

void scrollTo(Control& control, Grid& grid) {
  const int shown = visibleRows(control);
  if (grid.row - 1 < grid.top) grid.top = std::max(0, grid.row - 1);
  if (grid.row - 1 >= grid.top + shown) grid.top = grid.row - shown;
  if (grid.column - 1 < grid.left) grid.left = grid.column - 1;
}

void moveRow(Control& control, Grid& grid, int row) {
  const int count = static_cast<int>(grid.rows.size());
  if (count == 0) return;
  row = std::clamp(row, 1, count);
  if (row == grid.row) return;
  grid.editing = false;
  grid.row = row;
  scrollTo(control, grid);
  rowChanged(control, grid);
}

void moveColumn(Grid& grid, int step) {
  const int count = static_cast<int>(grid.columns.size());
  if (count == 0) return;
  grid.editing = false;
  grid.column = std::clamp(grid.column + step, 1, count);
  if (grid.column - 1 < grid.left) grid.left = grid.column - 1;
  if (grid.column - 1 > grid.left + 3) grid.left = grid.column - 4;
}

Value* cell(Grid& grid, int row, int column) {
  if (row < 1 || row > static_cast<int>(grid.rows.size())) return nullptr;
  if (column < 1 || column > static_cast<int>(grid.columns.size())) return nullptr;
  const int element = grid.columns[static_cast<size_t>(column - 1)].number;
  std::vector<Value>& cells = grid.rows[static_cast<size_t>(row - 1)];
  if (element < 1) return nullptr;
  if (static_cast<int>(cells.size()) < element) cells.resize(static_cast<size_t>(element));
  return &cells[static_cast<size_t>(element - 1)];
}

bool editable(const Control& control, const Grid& grid) {
  if (!control.flag || grid.column < 1 || grid.column > static_cast<int>(grid.columns.size())) return false;
  return grid.columns[static_cast<size_t>(grid.column - 1)].editable;
}

void commitEdit(Grid& grid) {
  grid.editing = false;
  Value* v = cell(grid, grid.row, grid.column);
  if (!v) return;
  const GridColumn& column = grid.columns[static_cast<size_t>(grid.column - 1)];
  *v = commitText(grid.edit, *v, column.picture);
  if (!grid.source || !glob) return;
  pObj_Node rows = lib::arrayOf(grid.source);
  if (!rows || grid.row > lib::elementCount(rows)) return;
  pObj_Node inner = lib::arrayOf(lib::elementAt(rows, grid.row - 1));
  if (!inner || column.number > lib::elementCount(inner)) return;
  __SET_ARRAY_EL(inner, recordOf(*v), column.number - 1);
}

void startEdit(Grid& grid) {
  Value* v = cell(grid, grid.row, grid.column);
  if (!v) return;
  grid.edit = editText(*v, grid.columns[static_cast<size_t>(grid.column - 1)].picture);
  grid.editing = true;
  grid.selectAll = true;
}

}  // namespace

Grid* gridOf(Control& control) {
  return (control.kind == kKindGrid || control.kind == kKindBrowser) ? dynamic_cast<Grid*>(control.extra.get())
                                                                     : nullptr;
}

const Grid* gridOf(const Control& control) { return gridOf(const_cast<Control&>(control)); }

int visibleRows(const Control& grid) {
  const Units u = unitsOf(grid.window ? grid.window->metrics : 1);
  return std::max(1, grid.height / u.lineHeight - 1);
}

std::string cellText(const Grid& grid, int row, int column) {
  Value* v = cell(const_cast<Grid&>(grid), row, column);
  if (!v) return "";
  const GridColumn& c = grid.columns[static_cast<size_t>(column - 1)];
  if (grid.editing && row == grid.row && column == grid.column) return grid.edit;
  return displayText(*v, c.picture);
}

void setGridRows(Control& control, pObj_Node rows) {
  Grid* grid = gridOf(control);
  if (!grid) return;
  pObj_Node array = lib::checkArray(rows);
  grid->rows.clear();
  const long n = lib::elementCount(array);
  for (long i = 0; i < n; ++i) {
    std::vector<Value> cells;
    pObj_Node inner = lib::arrayOf(lib::elementAt(array, i));
    if (inner) {
      const long k = lib::elementCount(inner);
      for (long j = 0; j < k; ++j) cells.push_back(valueOf(lib::elementAt(inner, j)));
    } else {
      cells.push_back(valueOf(lib::elementAt(array, i)));
    }
    grid->rows.push_back(std::move(cells));
  }
  Window* w = windowOfControl(control);
  grid->source = w ? holdForWindow(array, *w) : nullptr;
  grid->editing = false;
  grid->top = 0;
  grid->row = grid->rows.empty() ? 0 : std::clamp(grid->row, 1, static_cast<int>(grid->rows.size()));
}

bool gridKey(Window&, Control& control, int key) {
  Grid* grid = gridOf(control);
  if (!grid) return false;
  if (grid->editing) {
    switch (key) {
      case kKeyEnter: commitEdit(*grid); return true;
      case kKeyEsc: grid->editing = false; return true;
      case kKeyBackspace:
        if (grid->selectAll) grid->edit.clear();
        grid->selectAll = false;
        if (!grid->edit.empty()) grid->edit.erase(previousBoundary(grid->edit, grid->edit.size()));
        return true;
      default: commitEdit(*grid); break;
    }
  }
  const int page = visibleRows(control);
  switch (key) {
    case kKeyUp: moveRow(control, *grid, grid->row - 1); return true;
    case kKeyDown: moveRow(control, *grid, grid->row + 1); return true;
    case kKeyPageUp: moveRow(control, *grid, grid->row - page); return true;
    case kKeyPageDown: moveRow(control, *grid, grid->row + page); return true;
    case kKeyHome: moveRow(control, *grid, 1); return true;
    case kKeyEnd: moveRow(control, *grid, static_cast<int>(grid->rows.size())); return true;
    case kKeyLeft: moveColumn(*grid, -1); return true;
    case kKeyRight: moveColumn(*grid, 1); return true;
    case kKeyEnter:
      if (editable(control, *grid)) startEdit(*grid);
      return true;
    default: return false;
  }
}

bool gridText(Control& control, const std::string& text) {
  Grid* grid = gridOf(control);
  if (!grid || !editable(control, *grid) || grid->row < 1) return false;
  if (!grid->editing) startEdit(*grid);
  if (grid->selectAll) grid->edit.clear();
  grid->selectAll = false;
  grid->edit += text;
  return true;
}

bool gridType(Control& control, const std::string& text) {
  Grid* grid = gridOf(control);
  if (!grid || !editable(control, *grid) || grid->row < 1) return false;
  startEdit(*grid);
  grid->edit = text;
  commitEdit(*grid);
  return true;
}

void gridChoose(Control& control, int row) {
  if (Grid* grid = gridOf(control)) moveRow(control, *grid, row);
}

}  // namespace ui

using namespace ui;

pObj_Node __NewGrid(pObj_Node window, pObj_Node row, pObj_Node col, pObj_Node height, pObj_Node width, pObj_Node action,
                    pObj_Node editable, pObj_Node textColor, pObj_Node backColor) {
  Window& w = checkWindow(window);
  const int y = static_cast<int>(core::checkWhole(row));
  const int x = static_cast<int>(core::checkWhole(col));
  const Units u = unitsOf(w.metrics);
  const int h = wholeOr(height, 6 * u.lineHeight);
  const int wd = wholeOr(width, u.width - x);
  Block act = blockOr(action);
  const bool edit = boolOr(editable, false);
  Control& c = addControl(w, kKindGrid);
  c.y = y;
  c.x = x;
  c.height = h;
  c.width = wd;
  c.action = act;
  c.flag = edit ? 1 : 0;
  c.textColor = colorOr(textColor);
  c.backColor = colorOr(backColor);
  c.extra = std::make_unique<Grid>();
  return idRecord(c.id);
}

pObj_Node __GridColumn(pObj_Node grid, pObj_Node heading, pObj_Node number, pObj_Node width, pObj_Node picture,
                       pObj_Node editable, pObj_Node align, pObj_Node, pObj_Node, pObj_Node) {
  Control* c = findControl(checkId(grid));
  const std::string title = textOr(heading, "");
  const int element = wholeOr(number, 0);
  const int units = wholeOr(width, 0);
  const std::string pict = textOr(picture, "");
  const bool edit = boolOr(editable, true);
  const std::string alignment = textOr(align, "");
  Grid* g = c ? gridOf(*c) : nullptr;
  if (!g) return __INIT_DOUBLE(0);
  GridColumn column;
  column.id = nextId();
  column.heading = title;
  column.number = element > 0 ? element : static_cast<int>(g->columns.size()) + 1;
  const Units u = unitsOf(c->window->metrics);
  column.width = units > 0 ? units : (static_cast<int>(std::max<size_t>(characterCount(title), 6)) + 1) * u.charWidth;
  column.picture = pict;
  column.editable = edit;
  column.right = alignment == "RIGHT" || alignment == "right";
  g->columns.push_back(column);
  return idRecord(column.id);
}

pObj_Node __GridArray(pObj_Node grid, pObj_Node rows) {
  Control* c = checkGrid(grid);
  lib::checkArray(rows);
  if (!c) return __INIT_BOOL(0);
  setGridRows(*c, rows);
  return __INIT_BOOL(1);
}

pObj_Node __GridReset(pObj_Node grid) {
  Control* c = checkGrid(grid);
  if (!c) return __INIT_BOOL(0);
  Grid* g = gridOf(*c);
  g->rows.clear();
  g->row = 0;
  g->top = 0;
  g->editing = false;
  g->source = nullptr;
  return __INIT_BOOL(1);
}

pObj_Node __GridRow(pObj_Node grid) {
  Control* c = checkGrid(grid);
  return __INIT_DOUBLE(c ? gridOf(*c)->row : 0);
}

pObj_Node __GridCol(pObj_Node grid) {
  Control* c = checkGrid(grid);
  return __INIT_DOUBLE(c ? gridOf(*c)->column : 0);
}

pObj_Node __GridRows(pObj_Node grid) {
  Control* c = checkGrid(grid);
  return __INIT_DOUBLE(c ? static_cast<double>(gridOf(*c)->rows.size()) : 0);
}

pObj_Node __GridSetRow(pObj_Node grid, pObj_Node row) {
  Control* c = checkGrid(grid);
  const int n = wholeOr(row, 1);
  if (!c) return __INIT_BOOL(0);
  Grid* g = gridOf(*c);
  if (n < 1 || n > static_cast<int>(g->rows.size())) return __INIT_BOOL(0);
  moveRow(*c, *g, n);
  return __INIT_BOOL(1);
}

pObj_Node __GridLeft(pObj_Node grid) {
  Control* c = checkGrid(grid);
  if (!c) return __INIT_BOOL(0);
  moveColumn(*gridOf(*c), -1);
  return __INIT_BOOL(1);
}

pObj_Node __GridRight(pObj_Node grid) {
  Control* c = checkGrid(grid);
  if (!c) return __INIT_BOOL(0);
  moveColumn(*gridOf(*c), 1);
  return __INIT_BOOL(1);
}

pObj_Node __GridSetCellColor(pObj_Node grid, pObj_Node row, pObj_Node col, pObj_Node color, pObj_Node) {
  Control* c = checkGrid(grid);
  const int r = static_cast<int>(core::checkWhole(row));
  const int k = static_cast<int>(core::checkWhole(col));
  const int rgb = colorOr(color);
  if (!c) return __INIT_BOOL(0);
  Grid* g = gridOf(*c);
  for (auto& entry : g->cellColors) {
    if (entry.first == std::make_pair(r, k)) {
      entry.second = rgb;
      return __INIT_BOOL(1);
    }
  }
  g->cellColors.push_back({{r, k}, rgb});
  return __INIT_BOOL(1);
}

pObj_Node __ListRows(pObj_Node id) {
  Control* c = findControl(checkId(id));
  if (!c) return __INIT_DOUBLE(0);
  if (const Grid* g = gridOf(*c)) return __INIT_DOUBLE(static_cast<double>(g->rows.size()));
  return __INIT_DOUBLE(static_cast<double>(c->items.size()));
}

pObj_Node __SetListRow(pObj_Node id, pObj_Node row) {
  Control* c = findControl(checkId(id));
  const int n = wholeOr(row, 1);
  if (!c) return __INIT_BOOL(0);
  if (Grid* g = gridOf(*c)) {
    if (n < 1 || n > static_cast<int>(g->rows.size())) return __INIT_BOOL(0);
    moveRow(*c, *g, n);
    return __INIT_BOOL(1);
  }
  if (c->kind != kKindList && c->kind != kKindCombo) return __INIT_BOOL(0);
  if (n < 0 || n > static_cast<int>(c->items.size())) return __INIT_BOOL(0);
  c->selected = n;
  return __INIT_BOOL(1);
}

pObj_Node __GridArrowsGetValid() { return __INIT_DOUBLE(0); }
pObj_Node __GridValidArrows() { return __INIT_DOUBLE(0); }
pObj_Node __GetDbCacheFreeMem() { return __INIT_DOUBLE(0); }
