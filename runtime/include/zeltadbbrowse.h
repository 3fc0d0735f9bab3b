// Grids and the database browser. The user-interface declarations come with
// this header, which every generated program includes.
#ifndef ZELTADBBROWSE_H
#define ZELTADBBROWSE_H

#include "zeltagui.h"
#include "zeltagui2.h"
#include "zeltaobjs.h"
#include "zeltawin.h"

#define ZELTA_ARG(name) pObj_Node name = NULL

// Grids: columns show elements of the rows, which come from an array of
// arrays; the row-change action is called with the grid id and the new row.
ZELTA_EXPORT pObj_Node __NewGrid(pObj_Node window, pObj_Node row, pObj_Node col, ZELTA_ARG(height), ZELTA_ARG(width),
                                 ZELTA_ARG(action), ZELTA_ARG(editable), ZELTA_ARG(textColor), ZELTA_ARG(backColor));
ZELTA_EXPORT pObj_Node __GridColumn(pObj_Node grid, ZELTA_ARG(heading), ZELTA_ARG(number), ZELTA_ARG(width),
                                    ZELTA_ARG(picture), ZELTA_ARG(editable), ZELTA_ARG(align), ZELTA_ARG(a8),
                                    ZELTA_ARG(a9), ZELTA_ARG(a10));
ZELTA_EXPORT pObj_Node __GridArray(pObj_Node grid, ZELTA_ARG(rows));
ZELTA_EXPORT pObj_Node __GridReset(pObj_Node grid);
ZELTA_EXPORT pObj_Node __GridRow(pObj_Node grid);
ZELTA_EXPORT pObj_Node __GridCol(pObj_Node grid);
ZELTA_EXPORT pObj_Node __GridRows(pObj_Node grid);
ZELTA_EXPORT pObj_Node __GridSetRow(pObj_Node grid, ZELTA_ARG(row));
ZELTA_EXPORT pObj_Node __GridLeft(pObj_Node grid);
ZELTA_EXPORT pObj_Node __GridRight(pObj_Node grid);
ZELTA_EXPORT pObj_Node __GridSetCellColor(pObj_Node grid, ZELTA_ARG(row), ZELTA_ARG(col), ZELTA_ARG(color),
                                          ZELTA_ARG(a5));
ZELTA_EXPORT pObj_Node __ListRows(pObj_Node id);
ZELTA_EXPORT pObj_Node __SetListRow(pObj_Node id, ZELTA_ARG(row));
ZELTA_EXPORT pObj_Node __GridArrowsGetValid();
ZELTA_EXPORT pObj_Node __GridValidArrows();
ZELTA_EXPORT pObj_Node __GetDbCacheFreeMem();

#undef ZELTA_ARG

#endif
