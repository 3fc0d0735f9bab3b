// The user-interface folder's state record (see runtime/core/core.h for the
// convention): the window list, the id counter, the running modal loops,
// the chosen driver and what the drivers remember between calls.
#ifndef ZELTA_UI_UI_STATE_H
#define ZELTA_UI_UI_STATE_H

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "driver.h"
#include "model.h"

namespace ui {

// One running modal loop (__ActivateWin); the innermost is the active one.
struct Loop {
  Window* window = nullptr;
  bool running = true;
  int result = 0;  // set by a closing button of the run-time's own dialogs
};

// A running system timer: it expires every `intervalMs` and is handed to the
// common timer procedure with its id.
struct SystemTimer {
  uint16_t id = 0;
  uint16_t window = 0;  // 0 for the process-wide timer 615
  long intervalMs = 0;
  long long dueMs = 0;  // on the steady clock
};

// The line printer (printer.cpp): the open "pda.txt", where the print head
// stands, and what the last texts and font calls chose.
struct Printer {
  FILE* file = nullptr;
  long row = 0, col = 0;
  double area[5] = {};
  std::string font;
  double fontSize[4] = {};
  bool fontStyle[3] = {};
};

// A line of the headless driver's script, with its number in the file.
struct ScriptLine {
  int number = 0;
  std::string text;
};

struct State {
  // The headless driver's script (ZELTA_UI_SCRIPT), read on first use.
  std::vector<ScriptLine> scriptLines;
  std::string scriptPath;
  size_t scriptPos = 0;
  bool scriptLoaded = false;
  long waitLeftMs = -1;  // what remains of a "wait" line being carried out

  // Windows in creation order, and every window and control by id.
  std::vector<std::unique_ptr<Window>> windows;
  std::unordered_map<uint16_t, Window*> windowById;
  std::unordered_map<uint16_t, Control*> controlById;
  uint16_t lastId = 5999;
  Window* current = nullptr;
  std::vector<Loop*> loops;

  // The driver, chosen on first use.
  std::unique_ptr<Driver> driver;
  int screenDepth = 0;  // loops and boxes on the screen
  int boxDepth = 0;     // message boxes up (timers wait while one is)
  bool fatal = false;   // the fatal window is up: no program code runs

  // Switches of the handheld's shell, kept so that programs read back what
  // they set; they change nothing on this host.
  bool backWindow = true;
  bool backWindowShown = false;
  int metrics = 0;  // 0: from each window's geometry
  double inputStatus = 0, taskBarStatus = 0, sipStatus = 0, sipPosition = 0, showToday = 0;
  bool dotNet = false;
  std::string infoText;

  // Timers.
  std::vector<SystemTimer> systemTimers;
  void (*keepAlive)() = nullptr;

  Printer printer;

  // The status display (__StatusBegin ... __StatusEnd).
  bool statusOn = false;
  std::string statusTitle;
  double statusTotal = 100, statusPosition = 0;
};

extern State stateRecord;
inline State& state() { return stateRecord; }

}  // namespace ui

#endif
