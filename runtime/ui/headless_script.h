// The headless driver's script: the file named by ZELTA_UI_SCRIPT, one event
// a line, read once per application and consumed in order. A line the
// current request cannot use stays for the next one.
#ifndef ZELTA_UI_HEADLESS_SCRIPT_H
#define ZELTA_UI_HEADLESS_SCRIPT_H

namespace ui {

// The answer to a message box: when the next line is "answer <word>" it is
// consumed, and "no" (any case, as a prefix) gives 0, any other word 1. No
// such line: 1 (OK/Yes), nothing consumed.
int scriptedAnswer();

// A message box on the headless driver: "[title] text" on standard output,
// answered from the script.
int headlessMessageBox(const char* title, const char* text, int yesNo);

}  // namespace ui

#endif
