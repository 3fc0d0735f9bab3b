// Grids (kind 12): a table of rows and columns filled from an array of
// arrays, with a current row and column, a row-change action and an edit
// row. The database browser (browser.cpp) is a grid bound to a work area.
#ifndef ZELTA_UI_GRID_H
#define ZELTA_UI_GRID_H

#include <string>
#include <vector>

#include "model.h"

namespace ui {

struct GridColumn {
  uint16_t id = 0;
  std::string heading;
  int number = 1;  // the element of each row the column shows, 1-based
  int width = 0;   // screen units
  bool right = false;
  bool editable = true;
  std::string picture;
};

struct Grid : Extra {
  std::vector<GridColumn> columns;
  std::vector<std::vector<Value>> rows;
  pObj_Node source = nullptr;  // the program's array the rows came from
  int row = 0;                 // current row, 1-based (0: none)
  int column = 1;              // current column, 1-based
  int top = 0;                 // first row shown, 0-based
  int left = 0;                // first column shown, 0-based
  bool editing = false;
  bool selectAll = false;  // the next character replaces the cell's text
  std::string edit;
  // Cell colours: {row, column} -> colour.
  std::vector<std::pair<std::pair<int, int>, int>> cellColors;
};

Grid* gridOf(Control& control);
const Grid* gridOf(const Control& control);
// The rows a grid shows at once.
int visibleRows(const Control& grid);
// The text of a cell as the grid shows it.
std::string cellText(const Grid& grid, int row, int column);
// A key at a focused grid or browser; true when the grid used it.
bool gridKey(Window& window, Control& control, int key);
// SetArray over a grid: one inner array per row.
void setGridRows(Control& control, pObj_Node rows);
// Text typed at a focused grid: starts or goes on editing the current cell.
bool gridText(Control& control, const std::string& text);
// The script's "type" at a grid: the current cell takes the text.
bool gridType(Control& control, const std::string& text);
// Makes `row` current (the script's "choose", a click), with the row-change action.
void gridChoose(Control& control, int row);

}  // namespace ui

#endif
