// The window and control model that both drivers share: window records in
// creation order, control records with their kinds, the one id counter, and
// the lookups every export starts with. Drivers only read these records to
// draw them; every change goes through the model (dialog_loop.cpp for input,
// the exports for the program).
//
// Ids: one 16-bit counter numbers windows and controls together. The first
// window takes 6000, every later window or control the next number; after
// 65535 the count starts again at 6000, skipping ids still in use.
//
// Life of a window:
//
//   __ObjWin ──> created (current window) ──__ActivateWin──> running (modal
//   loop on the loop stack) ──__CloseDialog / Esc / script end──> closed
//   (records kept, the program may still read values) ──context end of its
//   depth (__KillWin)──> freed.
#ifndef ZELTA_UI_MODEL_H
#define ZELTA_UI_MODEL_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zeltaobjs.h"

namespace ui {

// A program function called by a control: a code block's generated function,
// taking the window id, the control id and a value.
using Block = pObj_Node (*)(pObj_Node window, pObj_Node control, pObj_Node value);

// Control kinds, as stored at creation. 1, 2, 5, 6, 7, 11, 12, 14, 19, 22
// and 23 are the device's numbers; the others are ours.
enum Kind : int {
  kKindWindow = 1,
  kKindField = 2,
  kKindLabel = 3,
  kKindProgress = 4,
  kKindButton = 5,
  kKindArrow = 6,
  kKindList = 7,
  kKindFolder = 8,
  kKindCombo = 11,
  kKindGrid = 12,
  kKindMenuBar = 14,
  kKindTimer = 15,
  kKindKey = 16,
  kKindMenuItem = 17,
  kKindBrowser = 19,
  kKindBitmap = 22,
  kKindGridEdit = 23,
  kKindCalendar = 24
};

// A copy of a language value that a control shows or edits.
struct Value {
  uint32_t type = T_NIL;  // T_CHARPTR, T_DOUBLE, T_DATE, T_BOOL or T_NIL
  double number = 0;      // T_DOUBLE, T_DATE (day number)
  std::string text;       // T_CHARPTR
  bool flag = false;      // T_BOOL
};

Value valueOf(pObj_Node node);
// A new stack temporary holding the value (NIL for T_NIL).
pObj_Node recordOf(const Value& value);

// Anything a kind keeps beyond the common fields (grid, browser, timer ...).
struct Extra {
  virtual ~Extra() = default;
};

struct Window;

struct Control {
  uint16_t id = 0;
  Kind kind = kKindLabel;
  int flag = 0;
  bool visible = true;
  bool enabled = true;
  uint16_t owner = 0;  // grid or browser that owns it (kinds 12 and 23)
  Window* window = nullptr;
  Block action = nullptr;
  Block valid = nullptr;
  // Variables bound with __SetValidFuncParam: the first and second list.
  std::vector<pObj_Node> validVars[2];
  int textColor = -1;  // RGB as 0x00BBGGRR; -1 for the default
  int backColor = -1;
  int x = 0, y = 0, width = 0, height = 0;  // screen units
  std::string text;                         // caption or shown text
  std::string picture;
  Value value;                // a field's value (typed as it came), a check box's flag
  pObj_Node bound = nullptr;  // the variable given by reference, written back
  // Field editing.
  std::string edit;
  size_t cursor = 0;
  bool editing = false;    // edit holds what the user is changing
  bool selectAll = false;  // the next character replaces the whole text
  bool readOnly = false;
  bool password = false;
  bool validating = false;
  size_t maxLength = 0;  // 0: no limit
  // Lists, combo boxes, folders (the pages' captions).
  std::vector<std::string> items;
  int selected = 0;  // 1-based; 0 none
  int top = 0;       // first row shown, 0-based
  // The folder page the control sits on (0: on every page).
  uint16_t folder = 0;
  int page = 0;
  // Progress bars.
  double total = 100, position = 0;
  // Check boxes are buttons with a logical value.
  bool check = false;
  // Buttons of the run-time's own dialogs end the loop with this result.
  bool closes = false;
  int result = 0;
  std::unique_ptr<Extra> extra;
};

// Rectangles and texts drawn into a window (__Box, __DspMsg).
struct Drawing {
  bool box = false;
  int x = 0, y = 0, width = 0, height = 0;  // screen units
  std::string text;
  int color = -1, fill = -1;
};

struct Window {
  uint16_t id = 0;
  bool modal = false;
  int depth = 0;
  bool open = true;  // false once closed: the native part is gone
  std::string title;
  int metrics = 1;  // 1: 160x160 units, 2: 240x320
  int textColor = -1, backColor = -1;
  std::vector<std::unique_ptr<Control>> controls;
  std::vector<Drawing> drawings;
  uint16_t focus = 0;
  // The folder page that controls created now go onto (__SetDefaultFolder).
  uint16_t pageFolder = 0;
  int page = 0;
  // The menu bar while F10 has it: the bar entry and the item (0: none).
  int menuEntry = 0, menuItem = 0;
};

// The screen in units for a metrics kind.
struct Units {
  int width, height, charWidth, lineHeight;
};
Units unitsOf(int metrics);

// Ids ----------------------------------------------------------------------

// The next free id (see the top of this file).
uint16_t nextId();
inline pObj_Node idRecord(uint16_t id) { return __INIT_DOUBLE(id); }

// Lookups: null when the id names nothing of that sort.
Window* findWindow(uint16_t id);
Control* findControl(uint16_t id);
// The window a control belongs to, through its owner for kinds 12 and 23.
Window* windowOfControl(const Control& control);
// An id given by the program: a DOUBLE, else error 0.
uint16_t checkId(pObj_Node id);
// The same, or 0 for a missing or NIL argument.
uint16_t idOr0(pObj_Node id);

// Windows --------------------------------------------------------------------

Window* currentWindow();
void setCurrentWindow(Window* window);
// A new window record at the end of the list; it becomes the current one.
Window* createWindow(const std::string& title, bool modal, int metrics);
// A control of `kind` appended to the window, zero-filled apart from its id.
Control& addControl(Window& window, Kind kind);
// The window before `window` in the list, or null.
Window* previousWindow(const Window* window);
// Frees windows created at `depth` or deeper (context end).
void killWindows(int depth);
// Frees one window now.
void killWindowRecord(Window* window);
// Frees every window (end of the application).
void killAllWindows();
// Frees the controls of these kinds from the window (its menu records).
void removeControls(Window& window, Kind a, Kind b);
// Visits windows in creation order.
const std::vector<std::unique_ptr<Window>>& windows();

// Whether the control is shown: visible, and on its folder's current page.
bool shownOnScreen(const Control& control);
// Whether Tab stops at the control.
bool focusable(const Control& control);

// Keeps a variable given to a window alive as long as the window: a deeper
// variable is lowered to the window's depth; a temporary is copied into a
// record of the window's depth.
pObj_Node holdForWindow(pObj_Node variable, const Window& window);

}  // namespace ui

#endif
