// A grid filled from an array of arrays: rows are chosen, a cell is edited
// in place and written back into the program's array, a column scrolls,
// and the row-change action hears of each new row.
FUNCTION Main()
   LOCAL nWin, nGrid, aRows := {{"apple", 3}, {"pear", 5}, {"plum", 7}}
   nWin := DlgCreate(0, 0, "Stock", 160, 160, .T.)
   nGrid := Grid(nWin, 10, 0, 80, 160, {|| RowChanged() }, .T.)
   GridColumn(nGrid, "Fruit", 1, 60)
   GridColumn(nGrid, "Qty", 2, 30, "999", , "RIGHT")
   GridArray(nGrid, aRows)
   Button(nWin, 140, 5, "OK", {|| CloseDialog() })
   DlgActivate(nWin)
   ? aRows[2][1], aRows[2][2], GridRow(nGrid), GridCol(nGrid), GridRows(nGrid)
   RETURN NIL

FUNCTION RowChanged()
   ? "row changed"
   RETURN .T.
