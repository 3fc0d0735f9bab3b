// The user interface's public header: windows, dialogs and controls, grids
// and the browser, menus, timers, bitmaps and printing. runtime/ui declares
// every export here, each with ZELTA_EXPORT. The host build reaches it
// through zeltadbbrowse.h; the device headers (zeltagui.h, zeltagui2.h,
// zeltawin.h) include it too, so every target sees one set of declarations.
// The message boxes belong to the core (zeltamisc.h); the user interface
// only draws them.
//
// Ids of windows and controls come from one counter (the first window is
// 6000) and are passed as DOUBLEs. Optional arguments may be omitted (NULL)
// or NIL; a given argument of the wrong type raises ARGUMENT ERROR!. Actions
// and validation functions are code blocks (their functions in a pointer
// value, as __BLOCK makes them), called with the window id, the control id
// and a value. docs/ui.md gives every argument list with the language's
// spelling.
#ifndef ZELTAUI_H
#define ZELTAUI_H

#include "zeltaobjs.h"

#define ZELTA_ARG(name) pObj_Node name = NULL

// ---- Windows, dialogs and controls ----

// Windows and the modal loop.
ZELTA_EXPORT pObj_Node __ObjWin(pObj_Node row, pObj_Node col, pObj_Node title, pObj_Node rows, pObj_Node cols,
                                ZELTA_ARG(modal), ZELTA_ARG(textColor), ZELTA_ARG(backColor));
ZELTA_EXPORT pObj_Node __NewObjID(pObj_Node window, ZELTA_ARG(add), ZELTA_ARG(flag), ZELTA_ARG(kind));
ZELTA_EXPORT pObj_Node __ActivateWin(pObj_Node window);
ZELTA_EXPORT pObj_Node __CloseDialog();
// Frees the windows of the ending context (called at every context end).
ZELTA_EXPORT void __KillWin();

// Controls; each returns its id.
ZELTA_EXPORT pObj_Node __NewLabel(pObj_Node window, pObj_Node row, pObj_Node col, ZELTA_ARG(value), ZELTA_ARG(picture),
                                  ZELTA_ARG(width), ZELTA_ARG(height), ZELTA_ARG(textColor), ZELTA_ARG(backColor),
                                  ZELTA_ARG(align));
ZELTA_EXPORT pObj_Node __NewField(pObj_Node window, pObj_Node row, pObj_Node col, ZELTA_ARG(value), ZELTA_ARG(picture),
                                  ZELTA_ARG(valid), ZELTA_ARG(width), ZELTA_ARG(height), ZELTA_ARG(editable),
                                  ZELTA_ARG(label), ZELTA_ARG(password), ZELTA_ARG(textColor), ZELTA_ARG(backColor),
                                  ZELTA_ARG(maxLength), ZELTA_ARG(change), ZELTA_ARG(a16), ZELTA_ARG(a17),
                                  ZELTA_ARG(a18), ZELTA_ARG(a19));
ZELTA_EXPORT pObj_Node __NewButtom(pObj_Node window, pObj_Node row, pObj_Node col, ZELTA_ARG(caption),
                                   ZELTA_ARG(action), ZELTA_ARG(width), ZELTA_ARG(height), ZELTA_ARG(bitmap),
                                   ZELTA_ARG(value), ZELTA_ARG(textColor), ZELTA_ARG(backColor), ZELTA_ARG(arrow),
                                   ZELTA_ARG(a13), ZELTA_ARG(a14));
ZELTA_EXPORT pObj_Node __NewList(pObj_Node window, pObj_Node row, pObj_Node col, ZELTA_ARG(items), ZELTA_ARG(selected),
                                 ZELTA_ARG(action), ZELTA_ARG(width), ZELTA_ARG(height), ZELTA_ARG(textColor),
                                 ZELTA_ARG(backColor), ZELTA_ARG(a11));
ZELTA_EXPORT pObj_Node __NewComboBox(pObj_Node window, pObj_Node row, pObj_Node col, ZELTA_ARG(items),
                                     ZELTA_ARG(selected), ZELTA_ARG(action), ZELTA_ARG(width), ZELTA_ARG(height),
                                     ZELTA_ARG(textColor), ZELTA_ARG(backColor));
ZELTA_EXPORT pObj_Node __NewFolder(pObj_Node window, pObj_Node row, pObj_Node col, ZELTA_ARG(captions),
                                   ZELTA_ARG(action));
ZELTA_EXPORT pObj_Node __SetDefaultFolder(pObj_Node folder, ZELTA_ARG(page));
ZELTA_EXPORT pObj_Node __NewProgress(pObj_Node window, pObj_Node row, pObj_Node col, ZELTA_ARG(width),
                                     ZELTA_ARG(height), ZELTA_ARG(total), ZELTA_ARG(value), ZELTA_ARG(textColor),
                                     ZELTA_ARG(backColor));
// The status display: a progress bar outside the dialogs; a null control
// in __StatusIncrement means it, an id a progress bar.
ZELTA_EXPORT pObj_Node __StatusBegin(ZELTA_ARG(title), ZELTA_ARG(total));
ZELTA_EXPORT pObj_Node __StatusIncrement(ZELTA_ARG(control), ZELTA_ARG(step), ZELTA_ARG(text), ZELTA_ARG(absolute));
ZELTA_EXPORT pObj_Node __StatusEnd();
// The run-time's dialogs: a date picker, the keyboard for a field, a prompt.
ZELTA_EXPORT pObj_Node __SelectDay(ZELTA_ARG(date), ZELTA_ARG(title));
ZELTA_EXPORT pObj_Node __KeyBoard(pObj_Node field, ZELTA_ARG(title));
ZELTA_EXPORT pObj_Node __InputBox(ZELTA_ARG(title), ZELTA_ARG(prompt), ZELTA_ARG(value), ZELTA_ARG(picture),
                                  ZELTA_ARG(result));

// Validation variables: __SetValidFuncParam(control, kind, variable, ...,
// __INIT_NUL()); __GetValidFuncParam(window, control, kind, &variable, ...,
// &end) with `end` holding the NUL record.
ZELTA_EXPORT pObj_Node __SetValidFuncParam(pObj_Node control, ...);
ZELTA_EXPORT pObj_Node __GetValidFuncParam(pObj_Node window, pObj_Node control, pObj_Node kind, ...);

// Existing controls. An id that names no control does nothing.
ZELTA_EXPORT pObj_Node ShowControl(pObj_Node id);
ZELTA_EXPORT pObj_Node HideControl(pObj_Node id);
ZELTA_EXPORT pObj_Node EnableControl(pObj_Node id);
ZELTA_EXPORT pObj_Node DisableControl(pObj_Node id);
ZELTA_EXPORT pObj_Node GetCtrlPos(pObj_Node id);
ZELTA_EXPORT pObj_Node GetCtrlSz(pObj_Node id);
ZELTA_EXPORT pObj_Node GetXYPos(pObj_Node id);
ZELTA_EXPORT pObj_Node MoveControl(pObj_Node id, ZELTA_ARG(row), ZELTA_ARG(col));
ZELTA_EXPORT pObj_Node ResizeControl(pObj_Node id, ZELTA_ARG(height), ZELTA_ARG(width));
ZELTA_EXPORT pObj_Node GetGeometry();
ZELTA_EXPORT pObj_Node SetGeometry(ZELTA_ARG(metrics));
ZELTA_EXPORT pObj_Node __GetGeometry();
ZELTA_EXPORT pObj_Node __SetGeometry(ZELTA_ARG(metrics));
ZELTA_EXPORT pObj_Node SetText(pObj_Node id, ZELTA_ARG(text));
ZELTA_EXPORT pObj_Node SetArray(pObj_Node id, ZELTA_ARG(items));
ZELTA_EXPORT pObj_Node _SetObjColor(pObj_Node id, ZELTA_ARG(textColor), ZELTA_ARG(backColor), ZELTA_ARG(a4),
                                    ZELTA_ARG(a5));
ZELTA_EXPORT pObj_Node __SetObjColor(pObj_Node id, ZELTA_ARG(textColor), ZELTA_ARG(backColor), ZELTA_ARG(a4),
                                     ZELTA_ARG(a5));
ZELTA_EXPORT pObj_Node __SetFocus(pObj_Node id);
ZELTA_EXPORT pObj_Node __GetLastFldFocus();
ZELTA_EXPORT pObj_Node __GetObjValue(pObj_Node id);
ZELTA_EXPORT pObj_Node __PictureSize(pObj_Node id);
// The action called when the control's value changes: replaced by `action`
// when given; returns the one it had (NIL for none).
ZELTA_EXPORT pObj_Node __GetOnChange(pObj_Node id, ZELTA_ARG(action));
// A box titled "Alert" with the value as the console shows it; returns 1.
ZELTA_EXPORT pObj_Node __Alert(ZELTA_ARG(text));

// The information window, and drawings into the current window.
ZELTA_EXPORT pObj_Node __SetInfoWindow(pObj_Node text);
ZELTA_EXPORT pObj_Node __ClearInfoWindow();
ZELTA_EXPORT pObj_Node __Box(pObj_Node top, pObj_Node left, pObj_Node bottom, pObj_Node right, ZELTA_ARG(color),
                             ZELTA_ARG(fill), ZELTA_ARG(text), ZELTA_ARG(a8));
ZELTA_EXPORT pObj_Node __DspMsg(pObj_Node text, pObj_Node x, pObj_Node y);

// ---- Device services and the handheld's shell: the switches only keep
// what the program sets on this host; each returns the previous value ----

// Sleeps a DOUBLE number of milliseconds; a null argument does nothing.
ZELTA_EXPORT pObj_Node SLEEP(pObj_Node milliseconds = NULL);
ZELTA_EXPORT int DoBeep(int frequency, int duration);
ZELTA_EXPORT pObj_Node __Beep(pObj_Node frequency = NULL, pObj_Node duration = NULL);
// Starts the program file; FALSE (after an "Alert" box) when it is missing.
ZELTA_EXPORT pObj_Node __Execute(pObj_Node program);
ZELTA_EXPORT pObj_Node GETVER();
ZELTA_EXPORT pObj_Node GetProcessorType();
ZELTA_EXPORT pObj_Node __GetPdaModel();
ZELTA_EXPORT pObj_Node __Memory();
ZELTA_EXPORT void SetDotNet();
// The device's serial number: the machine's id on this host.
ZELTA_EXPORT pObj_Node GetSerial();
// Switches the bar-code scanner; FALSE on this host, which has none.
ZELTA_EXPORT pObj_Node __UseScanner(ZELTA_ARG(a1), ZELTA_ARG(a2), ZELTA_ARG(a3), ZELTA_ARG(a4));

ZELTA_EXPORT pObj_Node __InstanceBackWindow();
ZELTA_EXPORT pObj_Node __SetBackWindow(pObj_Node flag = NULL);
ZELTA_EXPORT pObj_Node __GetMetrics();
ZELTA_EXPORT pObj_Node __IsTouch();
ZELTA_EXPORT pObj_Node __SetInputStatus(pObj_Node status = NULL);
ZELTA_EXPORT pObj_Node __SetTbStatus(pObj_Node status = NULL);
ZELTA_EXPORT pObj_Node __SetSipStatus(pObj_Node status = NULL);
ZELTA_EXPORT pObj_Node __SetSipPos(pObj_Node position = NULL);
ZELTA_EXPORT pObj_Node __ShowSip(pObj_Node show = NULL);
ZELTA_EXPORT pObj_Node __SHOWTODAY(pObj_Node show = NULL);

// ---- Menus, timers, key bindings, bitmaps and the printer. Menu entries,
// timers, keys and bitmaps are controls of the current window ----

// Menus: an entry of the window's bar; an item of the current window's last
// entry (NIL, and nothing added, when `menu` is not that entry).
ZELTA_EXPORT pObj_Node __AddMenuBar(pObj_Node window, ZELTA_ARG(caption), ZELTA_ARG(action));
ZELTA_EXPORT pObj_Node __AddMenuItem(pObj_Node menu, ZELTA_ARG(caption), ZELTA_ARG(action));

// Timers, expiring only inside the modal loops.
ZELTA_EXPORT pObj_Node ADDTIMER(pObj_Node interval, ZELTA_ARG(action));
ZELTA_EXPORT pObj_Node ACTIVETIMER(pObj_Node id);
ZELTA_EXPORT pObj_Node DEACTIVETIMER(pObj_Node id);
ZELTA_EXPORT pObj_Node __SetTimerInt(pObj_Node id, pObj_Node interval);
ZELTA_EXPORT pObj_Node __TimerDestroy(pObj_Node id);
ZELTA_EXPORT pObj_Node _Dft_KillTimer(pObj_Node timer);
// The process-wide keep-alive timer (id 615, every 60,000 ms).
ZELTA_EXPORT pObj_Node ativartemporizador();
ZELTA_EXPORT pObj_Node desativartemporizador();

// Key bindings: `action` runs when `key` is pressed in the current window.
ZELTA_EXPORT pObj_Node SETKEY(ZELTA_ARG(argument), ZELTA_ARG(key), ZELTA_ARG(action));

// Bitmaps: `x` is the column and `y` the row; the name is the picture's
// file; the action runs on a click.
ZELTA_EXPORT pObj_Node NewBitMap(pObj_Node window, pObj_Node x, pObj_Node y, ZELTA_ARG(width), ZELTA_ARG(height),
                                 ZELTA_ARG(name), ZELTA_ARG(stretch), ZELTA_ARG(frame), ZELTA_ARG(action));
ZELTA_EXPORT pObj_Node ShowBitmap(pObj_Node id, ZELTA_ARG(name));
ZELTA_EXPORT pObj_Node ShowBitMap(pObj_Node id, ZELTA_ARG(name));
// One of the run-time's own bitmaps (numbered) on a control, which takes
// its size.
ZELTA_EXPORT pObj_Node SETBMP(pObj_Node id, ZELTA_ARG(bitmap));
ZELTA_EXPORT pObj_Node PaintBitmap(pObj_Node id);
ZELTA_EXPORT pObj_Node PaintBitmap2(pObj_Node id);
// The file an image is written to: the name with ".jpg", in the
// application directory; WriteImageFile writes `size` of the bytes to it.
ZELTA_EXPORT pObj_Node GetWideBmpName(pObj_Node name);
ZELTA_EXPORT pObj_Node WriteImageFile(pObj_Node name, ZELTA_ARG(size), ZELTA_ARG(bytes));

// The printer: "pda.txt" in the current directory. Nothing is printed
// while no printer is loaded.
ZELTA_EXPORT pObj_Node __LoadPrint(ZELTA_ARG(a1), ZELTA_ARG(a2), ZELTA_ARG(a3), ZELTA_ARG(a4), ZELTA_ARG(a5),
                                   ZELTA_ARG(a6), ZELTA_ARG(a7), ZELTA_ARG(last));
ZELTA_EXPORT pObj_Node __UnLoadPrint();
ZELTA_EXPORT pObj_Node __IsPrintOn();
ZELTA_EXPORT pObj_Node __PrintSay(ZELTA_ARG(row), ZELTA_ARG(col), ZELTA_ARG(text), ZELTA_ARG(area), ZELTA_ARG(font));
ZELTA_EXPORT pObj_Node __PrintCommand(ZELTA_ARG(text));
ZELTA_EXPORT pObj_Node __PrintSetFont(ZELTA_ARG(n1), ZELTA_ARG(n2), ZELTA_ARG(n3), ZELTA_ARG(n4), ZELTA_ARG(b1),
                                      ZELTA_ARG(b2), ZELTA_ARG(b3));
ZELTA_EXPORT pObj_Node __PROW();
ZELTA_EXPORT pObj_Node __PCOL();
ZELTA_EXPORT pObj_Node __GetDriverPrint();

// The version of a program file (the run-time's own file for ""); used by
// GETVER.
ZELTA_EXPORT pObj_Node GetMyVersion(ZELTA_ARG(file));

// ---- Grids and the database browser ----

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
