// The run-time's own dialogs (builtin_dialogs.cpp), for the hooks, the
// browser's search and the modal loop.
#ifndef ZELTA_UI_UI_BUILTIN_H
#define ZELTA_UI_UI_BUILTIN_H

#include <string>

#include "model.h"

namespace ui {

// A message box on the current driver; 1 for OK/Yes, 0 for No.
int showMessageBox(const char* title, const char* text, int yesNo);
// The "Fatal Error" window on the terminal; nothing on the headless driver.
void showFatalWindow(const char* errorText, const char* positions);
// A modal prompt for one value; true when it was confirmed (and `value`
// holds what was entered).
bool inputBox(const std::string& title, const std::string& prompt, Value& value, const std::string& picture);
// Closes the printer's file (the end of the application).
void closePrinter();
// A key at the date picker's calendar; true when it used it.
bool calendarKey(Window& window, Control& calendar, int key);

}  // namespace ui

#endif
