// The database browser: a control of kind 19 that owns a grid bound to a
// work area and ten command buttons. The grid shows one page of records and
// only that page is ever read: every movement positions the work area and
// fills the page from consecutive live records (deleted ones are skipped),
// remembering each row's record number.
//
// Actions of __actionl_DBBrowse (the page that is filled):
//   0 from the top (creation)     3 the first page       4 the last page
//   1 the next page               2 the page before      6 again, from the same first record
//   5 one record further          7 one record back      8 from the record a search found
//
// States (what __write_DBBrowse_Rec carries out):
//   0 browsing   5 appending a new row   7 deleting the current record
//   9 writing the edited row   11 moving left or right
//
// The edited row is written when the focus leaves it: another row of the
// page becomes current (after the row-change validation agrees) or the page
// moves; refresh drops it. An appended row is written when it is left, on
// refresh, and by the buttons top, append, delete and search, which end an
// append first; the new record is then the current one.
#include "browser.h"

#include <algorithm>

#include "arguments.h"
#include "arguments_ui.h"
#include "array_index.h"
#include "core.h"
#include "dialog.h"
#include "field_edit.h"
#include "grid.h"
#include "text_ops.h"
#include "ui_builtin.h"
#include "ui_state.h"
#include "zeltardd.h"
#include "zeltaui.h"

namespace ui {

namespace {

enum BrowserState { kBrowsing = 0, kAppending = 5, kDeleting = 7, kWriting = 9, kSideways = 11 };

struct BrowserColumn {
  int field = 0;  // 1-based field position
  std::string picture;
  uint16_t id = 0;
  bool dirty = false;
};

struct Browser : Extra {
  uint16_t id = 0;  // the browser's control
  int slot = -1;    // the work area, 0-based
  double record = 0;
  uint16_t grid = 0;
  std::vector<BrowserColumn> columns;
  std::vector<double> rowRecords;  // the record of each row shown
  std::vector<Value> edits;        // the edited row, one value per column
  int state = kBrowsing;
  int editRow = 0;
  Block rowValid = nullptr;
  Block search = nullptr;
  std::string searchTitle = "DBBrowser - Pesquisa";
  std::string searchPrompt = "Ítem a pesquisar:";
  std::string searchDefault = std::string(15, ' ');
  std::string searched;
  bool found = false;
  std::string font;
};

// The ten command buttons: default captions (this host's symbol font) and
// their actions, left to right.
struct Command {
  const char* caption;
  Block action;
};
const Command kCommands[] = {{"|^", __TOP_DBBrowse},   {"^", __UP_DBBrowse},     {"<", __LEFT_DBBrowse},
                             {">", __RIGHT_DBBrowse},  {"v", __DOWN_DBBrowse},   {"|v", __BOTTOM_DBBrowse},
                             {"+", __APPEND_DBBrowse}, {"-", __DELETE_DBBrowse}, {"R", __REFRESH_DBBrowse},
                             {"?", __SEARCH_DBBrowse}};
constexpr int kCommandCount = 10;
constexpr int kButtonRowUnits = 13;
constexpr int kScrollUnits = 11;

Browser* browserOf(Control* c) {
  return c && c->kind == kKindBrowser ? dynamic_cast<Browser*>(c->extra.get()) : nullptr;
}

Control* checkBrowser(pObj_Node id) {
  Control* c = findControl(checkId(id));
  return browserOf(c) ? c : nullptr;
}

// The browser a button, the grid or the browser itself belongs to.
Control* ownerBrowser(pObj_Node id) {
  Control* c = findControl(checkId(id));
  if (!c) return nullptr;
  if (browserOf(c)) return c;
  Control* owner = c->owner ? findControl(c->owner) : nullptr;
  return browserOf(owner) ? owner : nullptr;
}

pObj_Node area(const Browser& b) { return __INIT_DOUBLE(b.slot + 1); }

bool atEnd(const Browser& b) { return __GET_BOOL(__TBL_Eof(area(b))); }
bool atStart(const Browser& b) { return __GET_BOOL(__TBL_Bof(area(b))); }
bool deleted(const Browser& b) { return __GET_BOOL(__TBL_Deleted(area(b))); }
double recordNumber(const Browser& b) { return __TBL_RecNo(area(b))->objData.dValue; }
void goTo(const Browser& b, double record) { __TBL_GoTo(area(b), __INIT_DOUBLE(record)); }
bool skip(const Browser& b, int n) {
  __TBL_Skip(area(b), __INIT_DOUBLE(n));
  return n > 0 ? !atEnd(b) : !atStart(b);
}

// Steps to the next live record in the direction; false at either end.
bool nextLive(const Browser& b, int direction) {
  while (skip(b, direction))
    if (!deleted(b)) return true;
  return false;
}

Control* gridControl(const Browser& b) { return findControl(b.grid); }

std::vector<Value> readRow(const Browser& b) {
  std::vector<Value> cells;
  for (const BrowserColumn& column : b.columns)
    cells.push_back(valueOf(__GetFieldByID(area(b), __INIT_DOUBLE(column.field))));
  return cells;
}

// Fills the page from the current record forwards; the grid's current row
// becomes `row` (clamped), and the work area stands on that row's record.
void fillFromHere(Browser& b, int row) {
  Control* gc = gridControl(b);
  Grid* g = gc ? gridOf(*gc) : nullptr;
  if (!g) return;
  const int page = visibleRows(*gc);
  g->rows.clear();
  b.rowRecords.clear();
  while (!atEnd(b) && static_cast<int>(b.rowRecords.size()) < page) {
    if (!deleted(b)) {
      g->rows.push_back(readRow(b));
      b.rowRecords.push_back(recordNumber(b));
    }
    skip(b, 1);
  }
  g->top = 0;
  g->editing = false;
  const int count = static_cast<int>(b.rowRecords.size());
  g->row = count ? std::clamp(row, 1, count) : 0;
  if (count) goTo(b, b.rowRecords[static_cast<size_t>(g->row - 1)]);
  b.record = count ? b.rowRecords[static_cast<size_t>(g->row - 1)] : recordNumber(b);
  b.editRow = g->row;
}

// Moves back over `n` live records from the current one (fewer at the top).
void backOver(Browser& b, int n) {
  for (int i = 0; i < n; ++i)
    if (!nextLive(b, -1)) {
      __TBL_GoTop(area(b));
      if (deleted(b)) nextLive(b, 1);
      return;
    }
}

int currentRow(const Browser& b) {
  Control* gc = gridControl(b);
  const Grid* g = gc ? gridOf(*gc) : nullptr;
  return g ? g->row : 0;
}

void act(Browser& b, int action) {
  Control* gc = gridControl(b);
  if (!gc) return;
  const int page = visibleRows(*gc);
  const int row = currentRow(b);
  switch (action) {
    case 0:
    case 3:
      __TBL_GoTop(area(b));
      fillFromHere(b, 1);
      break;
    case 4:
      __TBL_GoBottom(area(b));
      if (!atEnd(b) && deleted(b)) nextLive(b, -1);
      backOver(b, page - 1);
      fillFromHere(b, page);
      break;
    case 1:
      if (b.rowRecords.empty()) return act(b, 0);
      goTo(b, b.rowRecords.back());
      if (nextLive(b, 1)) return fillFromHere(b, 1);
      // Nothing after the page: it stays, with its last row current.
      goTo(b, b.rowRecords.front());
      fillFromHere(b, static_cast<int>(b.rowRecords.size()));
      break;
    case 2:
      if (b.rowRecords.empty()) return act(b, 0);
      goTo(b, b.rowRecords.front());
      backOver(b, page);
      fillFromHere(b, 1);
      break;
    case 5:
      if (b.rowRecords.empty()) return act(b, 0);
      goTo(b, b.rowRecords.back());
      if (!nextLive(b, 1)) {
        goTo(b, b.record);
        return;
      }
      goTo(b, b.rowRecords.front());
      nextLive(b, 1);
      fillFromHere(b, page);
      break;
    case 7:
      if (b.rowRecords.empty()) return act(b, 0);
      goTo(b, b.rowRecords.front());
      if (!nextLive(b, -1)) {
        goTo(b, b.rowRecords.front());
        return fillFromHere(b, 1);
      }
      fillFromHere(b, 1);
      break;
    case 6:
      if (b.rowRecords.empty() || b.rowRecords.front() <= 0) {
        __TBL_GoTop(area(b));
      } else {
        goTo(b, b.rowRecords.front());
        if (deleted(b) && !nextLive(b, 1)) __TBL_GoTop(area(b));
      }
      fillFromHere(b, row);
      break;
    case 8: fillFromHere(b, 1); break;
    default: break;
  }
}

bool anyDirty(const Browser& b) {
  return std::any_of(b.columns.begin(), b.columns.end(), [](const BrowserColumn& c) { return c.dirty; });
}

void clearEdits(Browser& b) {
  for (BrowserColumn& c : b.columns) c.dirty = false;
  b.edits.assign(b.columns.size(), Value());
}

void storeEdits(Browser& b) {
  for (size_t i = 0; i < b.columns.size(); ++i) {
    if (!b.columns[i].dirty || i >= b.edits.size()) continue;
    __SetField(area(b), __INIT_DOUBLE(b.columns[i].field), recordOf(b.edits[i]));
  }
}

// Carries out the state; returns to browsing.
void write(Browser& b) {
  switch (b.state) {
    case kAppending:
      __DBAPPEND(area(b));
      storeEdits(b);
      __Commit(area(b));
      b.record = recordNumber(b);
      break;
    case kDeleting:
      // The work area's current record: the current row's, or the record
      // an ended append has just written.
      if (!atEnd(b) && recordNumber(b) >= 1) {
        __TBL_Delete(area(b));
        __Commit(area(b));
      }
      break;
    case kWriting:
      if (b.editRow >= 1 && b.editRow <= static_cast<int>(b.rowRecords.size()) && anyDirty(b)) {
        goTo(b, b.rowRecords[static_cast<size_t>(b.editRow - 1)]);
        storeEdits(b);
        __Commit(area(b));
      }
      break;
    default: break;
  }
  b.state = kBrowsing;
  clearEdits(b);
}

// Ends an append in progress: the row is written, the page refilled, and
// the new record becomes current (its row too, when it is on the page).
void endAppend(Browser& b) {
  if (b.state != kAppending) return;
  write(b);
  const double added = b.record;
  act(b, 6);
  const auto at = std::find(b.rowRecords.begin(), b.rowRecords.end(), added);
  if (at != b.rowRecords.end()) {
    Control* gc = gridControl(b);
    if (Grid* g = gc ? gridOf(*gc) : nullptr) g->row = b.editRow = static_cast<int>(at - b.rowRecords.begin()) + 1;
  }
  b.record = added;
  goTo(b, added);
}

// The focus leaves the edit row: an appended row is written, an edited one
// too once the row-change validation agrees (edits it refuses are dropped).
void leaveRow(Browser& b, int row) {
  if (b.state == kAppending) return endAppend(b);
  if (!anyDirty(b)) return;
  bool agreed = true;
  if (b.rowValid) {
    Control* bc = findControl(b.id);
    Window* w = bc ? windowOfControl(*bc) : nullptr;
    agreed = callBlock(b.rowValid, w ? w->id : 0, b.id, __INIT_DOUBLE(row));
  }
  if (agreed) {
    b.state = kWriting;
    write(b);
  }
  clearEdits(b);
}

// A movement of the page: the edit row is left first.
void move(Browser& b, int action) {
  leaveRow(b, currentRow(b));
  act(b, action);
}

// An empty value of the field's type and length.
Value emptyValue(const Browser& b, int field) {
  const std::string type(core::textOf(__FieldType(area(b), __INIT_DOUBLE(field))));
  Value v;
  switch (type.empty() ? 'C' : type[0]) {
    case 'N': v.type = T_DOUBLE; break;
    case 'D': v.type = T_DATE; break;
    case 'L': v.type = T_BOOL; break;
    default:
      v.type = T_CHARPTR;
      v.text.assign(static_cast<size_t>(std::max(0.0, __FieldLen(area(b), __INIT_DOUBLE(field))->objData.dValue)), ' ');
      break;
  }
  return v;
}

void addEmptyRow(Browser& b) {
  Control* gc = gridControl(b);
  Grid* g = gc ? gridOf(*gc) : nullptr;
  if (!g) return;
  std::vector<Value> cells;
  for (const BrowserColumn& column : b.columns) cells.push_back(emptyValue(b, column.field));
  const int page = visibleRows(*gc);
  if (static_cast<int>(g->rows.size()) >= page && !g->rows.empty()) {
    g->rows.erase(g->rows.begin());
    b.rowRecords.erase(b.rowRecords.begin());
  }
  g->rows.push_back(cells);
  b.rowRecords.push_back(0);
  g->row = static_cast<int>(g->rows.size());
  b.editRow = g->row;
  b.state = kAppending;
  b.edits = cells;
  for (BrowserColumn& column : b.columns) column.dirty = false;
}

bool search(Window* window, Control& control, Browser& b) {
  Value key;
  if (b.search) {
    __begin_context();
    pObj_Node result = b.search(idRecord(window ? window->id : 0), idRecord(control.id), __INIT_NIL());
    key = valueOf(result);
    __end_context(nullptr);
    if (key.type == T_NIL) return false;
  } else {
    key.type = T_CHARPTR;
    key.text = b.searchDefault;
    if (!inputBox(b.searchTitle, b.searchPrompt, key, "")) return false;
    key.text = std::string(lib::trimRight(key.text));
    // The blank default would find the first record: it searches nothing.
    if (key.text.empty()) return false;
  }
  b.searched = key.type == T_CHARPTR ? key.text : displayText(key, "");
  const double before = recordNumber(b);
  b.found = __GET_BOOL(__Seek(area(b), recordOf(key)));
  if (!b.found) {
    goTo(b, before);
    return false;
  }
  act(b, 8);
  return true;
}

}  // namespace

void browserRowChanged(Control& grid, int row) {
  Control* bc = findControl(grid.owner);
  Browser* b = browserOf(bc);
  if (!b) return;
  if (row != b->editRow) {
    // The page shown is refilled at the same first record, whose row the
    // grid keeps current (an appended row drops off once written).
    Grid* g = gridOf(grid);
    const int first = b->rowRecords.empty() ? 0 : static_cast<int>(b->rowRecords.front());
    leaveRow(*b, row);
    if (!b->rowRecords.empty() && first > 0) goTo(*b, first);
    if (g) g->row = row;
    act(*b, 6);
  }
  if (row >= 1 && row <= static_cast<int>(b->rowRecords.size()) && b->rowRecords[static_cast<size_t>(row - 1)] > 0)
    goTo(*b, b->rowRecords[static_cast<size_t>(row - 1)]);
}

void browserCellEdited(Control& grid, int column, const Value& value) {
  Browser* b = browserOf(findControl(grid.owner));
  if (!b || column < 1 || column > static_cast<int>(b->columns.size())) return;
  if (b->edits.size() < b->columns.size()) b->edits.resize(b->columns.size());
  b->edits[static_cast<size_t>(column - 1)] = value;
  b->columns[static_cast<size_t>(column - 1)].dirty = true;
}

bool browserKey(Control& grid, int key) {
  Browser* b = browserOf(findControl(grid.owner));
  Grid* g = gridOf(grid);
  if (!b || !g) return false;
  const int rows = static_cast<int>(g->rows.size());
  switch (key) {
    case kKeyDown:
      if (g->row < rows) return false;
      move(*b, 5);
      return true;
    case kKeyUp:
      if (g->row > 1) return false;
      move(*b, 7);
      return true;
    case kKeyPageDown: move(*b, 1); return true;
    case kKeyPageUp: move(*b, 2); return true;
    case kKeyHome: move(*b, 3); return true;
    case kKeyEnd: move(*b, 4); return true;
    default: return false;
  }
}

}  // namespace ui

using namespace ui;

pObj_Node __new_DBBrowser(pObj_Node window, pObj_Node row, pObj_Node col, pObj_Node height, pObj_Node width,
                          pObj_Node editable, pObj_Node rowValid, pObj_Node searchFn, pObj_Node alias,
                          pObj_Node captions) {
  Window& w = checkWindow(window);
  const int y = static_cast<int>(core::checkWhole(row));
  const int x = static_cast<int>(core::checkWhole(col));
  const int h = static_cast<int>(core::checkWhole(height));
  const int wd = static_cast<int>(core::checkWhole(width));
  const bool edit = boolOr(editable, true);
  Block valid = blockOr(rowValid);
  Block find = blockOr(searchFn);
  std::vector<std::string> texts = textItems(captions);
  const int slot = __GetAliasID(alias);
  if (slot < 0) __RuntimeError(ALIAS_DOES_NOT_EXISTS, 11);
  Control& bc = addControl(w, kKindBrowser);
  bc.y = y;
  bc.x = x;
  bc.height = h;
  bc.width = wd;
  auto data = std::make_unique<Browser>();
  Browser& b = *data;
  b.slot = slot;
  b.rowValid = valid;
  b.search = find;
  b.record = recordNumber(b);
  b.id = bc.id;
  bc.extra = std::move(data);
  Control& gc = addControl(w, kKindGrid);
  gc.owner = bc.id;
  gc.y = y;
  gc.x = x;
  gc.height = std::max(h - kButtonRowUnits, 2 * unitsOf(w.metrics).lineHeight);
  gc.width = std::max(wd - kScrollUnits, 10);
  gc.flag = edit ? 1 : 0;
  auto grid = std::make_unique<Grid>();
  grid->browser = bc.id;
  gc.extra = std::move(grid);
  b.grid = gc.id;
  const int step = std::max(1, wd / kCommandCount);
  for (int i = 0; i < kCommandCount; ++i) {
    Control& button = addControl(w, kKindButton);
    button.owner = bc.id;
    button.text = texts.size() >= kCommandCount ? texts[static_cast<size_t>(i)] : kCommands[i].caption;
    button.action = kCommands[i].action;
    button.y = y + h - kButtonRowUnits;
    button.x = x + i * step;
    button.width = step;
    button.height = kButtonRowUnits;
  }
  act(b, 0);
  return idRecord(bc.id);
}

pObj_Node __addcol_DBBrowser(pObj_Node browser, pObj_Node heading, pObj_Node field, pObj_Node width, pObj_Node picture,
                             pObj_Node, pObj_Node, pObj_Node) {
  Control* bc = checkBrowser(browser);
  const std::string title = textOr(heading, "");
  const int position = wholeOr(field, 0);
  const int units = wholeOr(width, 0);
  const std::string pict = textOr(picture, "");
  if (position < 1) __RuntimeError(INVALID_FIELD, 28);
  if (!bc) return __INIT_DOUBLE(0);
  Browser& b = *browserOf(bc);
  Control* gc = gridControl(b);
  pObj_Node column = __GridColumn(idRecord(gc->id), core::newText(title), __INIT_DOUBLE(b.columns.size() + 1),
                                  units > 0 ? __INIT_DOUBLE(units) : nullptr, core::newText(pict));
  BrowserColumn c;
  c.field = position;
  c.picture = pict;
  c.id = static_cast<uint16_t>(column->objData.dValue);
  b.columns.push_back(c);
  b.edits.resize(b.columns.size());
  act(b, 6);
  return idRecord(c.id);
}

pObj_Node __actionl_DBBrowse(pObj_Node browser, pObj_Node action) {
  Control* bc = checkBrowser(browser);
  const int what = static_cast<int>(core::checkWhole(action));
  if (!bc) return __INIT_BOOL(0);
  act(*browserOf(bc), what);
  return __INIT_BOOL(1);
}

namespace {

// The command buttons' actions share this shape: find the browser the button
// belongs to, then do the command.
template <typename F>
pObj_Node command(pObj_Node control, F&& f) {
  Control* bc = ownerBrowser(control);
  if (bc) f(*bc, *browserOf(bc));
  return __INIT_BOOL(1);
}

}  // namespace

pObj_Node __TOP_DBBrowse(pObj_Node, pObj_Node control, pObj_Node) {
  return command(control, [](Control&, Browser& b) { move(b, 3); });
}

pObj_Node __BOTTOM_DBBrowse(pObj_Node, pObj_Node control, pObj_Node) {
  return command(control, [](Control&, Browser& b) { move(b, 4); });
}

pObj_Node __UP_DBBrowse(pObj_Node, pObj_Node control, pObj_Node) {
  return command(control, [](Control&, Browser& b) { move(b, 2); });
}

pObj_Node __DOWN_DBBrowse(pObj_Node, pObj_Node control, pObj_Node) {
  return command(control, [](Control&, Browser& b) { move(b, 1); });
}

pObj_Node __LEFT_DBBrowse(pObj_Node, pObj_Node control, pObj_Node) {
  return command(control, [](Control&, Browser& b) {
    if (b.state != kAppending) b.state = kSideways;
    if (Control* gc = gridControl(b)) __GridLeft(idRecord(gc->id));
  });
}

pObj_Node __RIGHT_DBBrowse(pObj_Node, pObj_Node control, pObj_Node) {
  return command(control, [](Control&, Browser& b) {
    if (b.state != kAppending) b.state = kSideways;
    if (Control* gc = gridControl(b)) __GridRight(idRecord(gc->id));
  });
}

pObj_Node __APPEND_DBBrowse(pObj_Node, pObj_Node control, pObj_Node) {
  return command(control, [](Control& bc, Browser&) { __appendArray_DBBrowse(idRecord(bc.id)); });
}

pObj_Node __appendArray_DBBrowse(pObj_Node browser) {
  Control* bc = checkBrowser(browser);
  if (!bc) return __INIT_BOOL(0);
  Browser& b = *browserOf(bc);
  endAppend(b);
  addEmptyRow(b);
  return __INIT_BOOL(1);
}

pObj_Node __DELETE_DBBrowse(pObj_Node, pObj_Node control, pObj_Node) {
  return command(control, [](Control& bc, Browser& b) {
    if (b.state == kAppending) {
      endAppend(b);
    } else {
      const int row = currentRow(b);
      if (row < 1 || row > static_cast<int>(b.rowRecords.size())) return;
      goTo(b, b.rowRecords[static_cast<size_t>(row - 1)]);
    }
    b.state = kDeleting;
    __write_DBBrowse_Rec(idRecord(bc.id));
    act(b, 6);
  });
}

pObj_Node __REFRESH_DBBrowse(pObj_Node, pObj_Node control, pObj_Node) {
  return command(control, [](Control&, Browser& b) {
    endAppend(b);
    __AbortEdit(area(b));
    clearEdits(b);
    if (Control* gc = gridControl(b))
      if (Grid* g = gridOf(*gc)) g->editing = false;
    act(b, 6);
  });
}

pObj_Node __SEARCH_DBBrowse(pObj_Node, pObj_Node control, pObj_Node) {
  return command(control, [](Control& bc, Browser& b) {
    endAppend(b);
    search(windowOfControl(bc), bc, b);
  });
}

pObj_Node __CHANGE_ROW_FOCUS_DBBrowse(pObj_Node, pObj_Node grid, pObj_Node row) {
  Control* gc = findControl(checkId(grid));
  const int n = wholeOr(row, 0);
  if (gc) browserRowChanged(*gc, n);
  return __INIT_BOOL(1);
}

pObj_Node __write_DBBrowse_Rec(pObj_Node browser) {
  Control* bc = checkBrowser(browser);
  if (!bc) return __INIT_BOOL(0);
  write(*browserOf(bc));
  return __INIT_BOOL(1);
}

pObj_Node __getbrowseptr_DBBrowse(pObj_Node id) {
  Control* bc = ownerBrowser(id);
  return bc ? __INIT_VOIDPTR(bc->extra.get()) : __INIT_NIL();
}

pObj_Node __getGridID_DBBrowse(pObj_Node id) {
  Control* bc = ownerBrowser(id);
  return bc ? idRecord(browserOf(bc)->grid) : __INIT_NIL();
}

pObj_Node __getedtrow_DBBrowse(pObj_Node browser, pObj_Node column) {
  Control* bc = ownerBrowser(browser);
  const int n = wholeOr(column, 1);
  if (!bc) return __INIT_NIL();
  Browser& b = *browserOf(bc);
  if (n < 1 || n > static_cast<int>(b.edits.size())) return __INIT_NIL();
  return recordOf(b.edits[static_cast<size_t>(n - 1)]);
}

pObj_Node __set_DBBrowser_search(pObj_Node browser, pObj_Node function) {
  Control* bc = checkBrowser(browser);
  Block find = blockOr(function);
  if (!bc) return __INIT_BOOL(0);
  browserOf(bc)->search = find;
  return __INIT_BOOL(1);
}

pObj_Node __DBBRowser_vld_001(pObj_Node, pObj_Node grid, pObj_Node value) {
  Control* gc = findControl(checkId(grid));
  const Grid* g = gc ? gridOf(*gc) : nullptr;
  if (g) browserCellEdited(*gc, g->column, valueOf(value));
  return __INIT_BOOL(1);
}

pObj_Node __KillBrowser(pObj_Node record) {
  if (!core::isGiven(record)) return __INIT_BOOL(0);
  if (record->objType != T_VOIDPTR) core::argumentError();
  for (const auto& w : windows()) {
    for (const auto& c : w->controls) {
      Browser* b = browserOf(c.get());
      if (!b || b != record->objData.pValue) continue;
      b->columns.clear();
      b->edits.clear();
      return __INIT_BOOL(1);
    }
  }
  return __INIT_BOOL(0);
}

pObj_Node SETBRWFNT(pObj_Node browser, pObj_Node font) {
  Control* bc = checkBrowser(browser);
  const std::string name = textOr(font, "");
  if (bc) browserOf(bc)->font = name;
  return __INIT_BOOL(bc != nullptr);
}

pObj_Node __DrawDBBrowser() { return __INIT_NIL(); }
