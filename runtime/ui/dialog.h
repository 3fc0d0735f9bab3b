// The modal loop and what input does to controls: focus movement with the
// validation of the field being left, editing, pressing, choosing. Shared
// by the exports (__ActivateWin, __SetFocus ...) and the run-time's own
// dialogs (message boxes, the fatal window, the input box).
#ifndef ZELTA_UI_DIALOG_H
#define ZELTA_UI_DIALOG_H

#include <string>

#include "driver.h"
#include "model.h"

namespace ui {

// Runs the window modally until it is closed; the result of the closing
// button of a run-time dialog, 0 otherwise.
int runModal(Window& window);
// The window of the innermost running loop, or null.
Window* activeWindow();
// Ends the innermost loop as __CloseDialog does.
void closeActive();
// Draws every window a loop runs, outermost first: the repaint broadcast
// after a session that ends the program for an install.
void repaintWindows();

// Calls a program block with the window id, the control id and `value`
// (NIL when null) in a context of its own. True unless it returned FALSE.
bool callBlock(Block block, uint16_t windowId, uint16_t controlId, pObj_Node value);

// Moves the focus; with `validate`, the field being left must accept its
// value first. False when the focus stayed where it was.
bool moveFocus(Window& window, Control* to, bool validate = true);
Control* focusedControl(Window& window);
// Leaves a field: its edit text becomes its value, which is written back
// to its variable, and its validation function is asked. False: refused.
bool leaveField(Control& field);
// Writes a control's value into the variable it was given by reference.
void writeBack(Control& control, const Value& value);
// The text a control shows now (a field's edit text while it is edited).
std::string shownText(const Control& control);
// Replaces a field's text as if it had been typed into it.
void typeInto(Control& field, const std::string& text);
// Sets a list's, combo box's or folder's selection and calls its action.
void choose(Control& control, int row);

// A screen for a modal loop or box: the driver is entered for the
// outermost and left when that ends.
void enterScreen();
void leaveScreen();

// Texts of a button that Esc presses.
bool isCancelCaption(const std::string& caption);

}  // namespace ui

#endif
