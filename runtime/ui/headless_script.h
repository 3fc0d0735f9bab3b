// The headless driver's script: the file named by ZELTA_UI_SCRIPT, one event
// a line, read once per application and consumed in order. docs/ui.md
// describes the language; in short:
//
//   type <control> <text>    press <control>     choose <control> <row>
//   focus <control>          key <key>           menu <item>
//   timer <id>               wait <ms>           answer yes|no|ok
//   dump                     close               # comment
//
// A control is its id, its caption in double quotes, or * for the control
// that has the focus.
#ifndef ZELTA_UI_HEADLESS_SCRIPT_H
#define ZELTA_UI_HEADLESS_SCRIPT_H

#include <string>

#include "ui_state.h"

namespace ui {

struct ControlRef {
  enum Kind { kNone, kId, kCaption, kFocused };
  Kind kind = kNone;
  long id = 0;
  std::string caption;
};

struct ScriptEvent {
  enum Verb { kComment, kType, kPress, kChoose, kFocus, kKey, kMenu, kTimer, kWait, kAnswer, kDump, kClose };
  Verb verb = kComment;
  ControlRef control;
  std::string text;  // typed text; the key's name; the answer
  long number = 0;   // row, milliseconds, timer id
  int key = 0;       // for kKey: a key of driver.h, or 0 with `text` a character
};

// Reads one line; false with `error` set when it cannot be read.
bool parseScriptLine(const std::string& line, ScriptEvent& event, std::string& error);
// A key name of the script (tab, enter, f1 ... or a device code) as a key of
// driver.h; 0 when it names none.
int scriptKey(const std::string& name);

// The script, loaded on first use.
const ScriptLine* nextScriptLine();
void takeScriptLine();
// "<file>:<line>: <problem>" on standard error.
void reportScriptLine(int line, const std::string& problem);

// The answer to a message box: when the next line is "answer <word>" it is
// consumed, and "no" (any case, as a prefix) gives 0, any other word 1. No
// such line: 1 (OK/Yes), nothing consumed.
int scriptedAnswer();

}  // namespace ui

#endif
