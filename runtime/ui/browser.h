// The database browser's side of its grid (browser.cpp): the grid hands it
// row changes, edited cells and the keys that leave the page shown.
#ifndef ZELTA_UI_BROWSER_H
#define ZELTA_UI_BROWSER_H

#include "model.h"

namespace ui {

// The grid's current row changed to `row` (its row-change action).
void browserRowChanged(Control& grid, int row);
// A cell of the current row was edited in place.
void browserCellEdited(Control& grid, int column, const Value& value);
// A key at the grid that may move past the page shown; true when used.
bool browserKey(Control& grid, int key);

}  // namespace ui

#endif
