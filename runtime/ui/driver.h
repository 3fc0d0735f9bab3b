// The one interface between the model and a screen: drawing and input only.
// A driver draws the window the model hands it and reports what the user (or
// the script) did as events; the model decides what an event means. The
// terminal driver (terminal_driver.cpp, ncurses) and the headless driver
// (headless_driver.cpp, the ZELTA_UI_SCRIPT file) are the two we have; a
// third needs nothing from the model beyond this file.
#ifndef ZELTA_UI_DRIVER_H
#define ZELTA_UI_DRIVER_H

#include <cstdint>
#include <memory>
#include <string>

namespace ui {

struct Window;

// Keys beyond the characters (which arrive as text).
enum Key : int {
  kKeyNone = 0,
  kKeyBackspace = 8,
  kKeyTab = 9,
  kKeyEnter = 13,
  kKeyEsc = 27,
  kKeySpace = 32,
  kKeyBackTab = 0x101,
  kKeyUp,
  kKeyDown,
  kKeyLeft,
  kKeyRight,
  kKeyHome,
  kKeyEnd,
  kKeyPageUp,
  kKeyPageDown,
  kKeyDelete,
  kKeyF1 = 0x121,  // F1 .. F12 follow in order
  kKeyF10 = kKeyF1 + 9,
  kKeyF12 = kKeyF1 + 11,
  kKeyShiftF1 = 0x131,  // Shift-F1 .. Shift-F4: the handheld's application keys
  kKeyShiftF4 = kKeyShiftF1 + 3,
  kKeyDevice = 0x200  // kKeyDevice + n: the handheld's key code n itself
};

struct Event {
  enum Type {
    kIdle,    // nothing happened within the time asked for
    kKey,     // `key`
    kText,    // `text` typed at the focus
    kType,    // replace the text of `control` with `text`
    kPress,   // press the button `control`
    kChoose,  // select row `number` of `control` (a list, combo box, folder or grid)
    kFocus,   // move the focus to `control`
    kMenu,    // choose the menu item `control`
    kTimer,   // fire the timer `control` now
    kClose,   // close the dialog as Esc does
    kResize   // the screen changed size
  };
  Type type = kIdle;
  int key = kKeyNone;
  uint16_t control = 0;
  long number = 0;
  std::string text;
  int line = 0;  // the script line it came from (0: not from a script)
};

class Driver {
 public:
  virtual ~Driver() = default;
  virtual bool headless() const = 0;
  // A modal loop, a message box or the fatal window begins or ends; the
  // model counts the nesting and calls leave for the outermost only.
  virtual void enter() = 0;
  virtual void leave() = 0;
  // Draws the whole window: called whenever the model changed it.
  virtual void draw(const Window& window) = 0;
  // The next event, waiting at most `timeoutMs` (-1: as long as it takes).
  // False when the input is exhausted (the script ran out, the terminal
  // closed): the model then closes the dialog.
  virtual bool nextEvent(Event& event, int timeoutMs) = 0;
  // A modal box; returns 1 for OK/Yes, 0 for No.
  virtual int messageBox(const char* title, const char* text, int yesNo) = 0;
  // The information window: shown until cleared (an empty text).
  virtual void info(const std::string& text) = 0;
  // An event the model could not carry out (`why`), for a script to report.
  virtual void reject(const Event& event, const std::string& why) = 0;
  virtual void beep() {}
  // Gives the terminal back at once (a fatal error, the end of the program).
  virtual void restore() {}
};

// The driver of this application: ZELTA_UI=headless or terminal, otherwise
// the terminal when standard input and output are one.
Driver& driver();
bool driverChosen();

std::unique_ptr<Driver> makeHeadlessDriver();
// Null when there is no terminal to draw on (or curses cannot start).
std::unique_ptr<Driver> makeTerminalDriver();
// Whether standard input and output are both a terminal.
bool onTerminal();

}  // namespace ui

#endif
