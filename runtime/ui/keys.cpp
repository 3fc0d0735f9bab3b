// Key bindings (keys.h) and SETKEY. Keys are matched by the handheld's key
// codes: the arrows are 37 to 40, Enter 13, Esc 27, F1 to F12 112 to 123,
// and the four application keys 193 to 196 (Shift-F1 to Shift-F4 on the
// terminal); a script may name any code by its number.
#include "keys.h"

#include "arguments_ui.h"
#include "dialog.h"
#include "driver.h"
#include "ui_state.h"
#include "zeltaui.h"

namespace ui {

namespace {

struct KeyData : Extra {
  int code = 0;
  pObj_Node argument = nullptr;
};

}  // namespace

int deviceKeyCode(int key) {
  if (key >= kKeyDevice) return key - kKeyDevice;
  if (key >= kKeyF1 && key <= kKeyF12) return 112 + key - kKeyF1;
  if (key >= kKeyShiftF1 && key <= kKeyShiftF4) return 193 + key - kKeyShiftF1;
  switch (key) {
    case kKeyBackspace: return 8;
    case kKeyTab:
    case kKeyBackTab: return 9;
    case kKeyEnter: return 13;
    case kKeyEsc: return 27;
    case kKeySpace: return 32;
    case kKeyPageUp: return 33;
    case kKeyPageDown: return 34;
    case kKeyEnd: return 35;
    case kKeyHome: return 36;
    case kKeyLeft: return 37;
    case kKeyUp: return 38;
    case kKeyRight: return 39;
    case kKeyDown: return 40;
    case kKeyDelete: return 46;
    default: return 0;
  }
}

int ordinaryKey(int key) {
  if (key < kKeyDevice) return key;
  switch (key - kKeyDevice) {
    case 8: return kKeyBackspace;
    case 9: return kKeyTab;
    case 13: return kKeyEnter;
    case 27: return kKeyEsc;
    case 32: return kKeySpace;
    case 33: return kKeyPageUp;
    case 34: return kKeyPageDown;
    case 35: return kKeyEnd;
    case 36: return kKeyHome;
    case 37: return kKeyLeft;
    case 38: return kKeyUp;
    case 39: return kKeyRight;
    case 40: return kKeyDown;
    case 46: return kKeyDelete;
    default: {
      const int code = key - kKeyDevice;
      if (code >= 112 && code <= 123) return kKeyF1 + code - 112;
      return key;
    }
  }
}

int mappedKeyNumber(long number) {
  switch (number) {
    case 11: return 38;
    case 12: return 40;
    case 517: return 194;
    case 518: return 195;
    case 519: return 196;
    default: return static_cast<int>(number);
  }
}

bool keyBinding(Window& window, int key) {
  const int code = deviceKeyCode(key);
  if (!code) return false;
  for (auto& c : window.controls) {
    if (c->kind != kKindKey || !c->extra) continue;
    KeyData* data = static_cast<KeyData*>(c->extra.get());
    if (data->code != code) continue;
    callBlock(c->action, window.id, c->id, data->argument);
    return true;
  }
  return false;
}

}  // namespace ui

using namespace ui;

pObj_Node SETKEY(pObj_Node argument, pObj_Node key, pObj_Node action) {
  const long number = core::checkWhole(key);
  if (!given(action)) core::argumentError();
  Block act = blockOr(action);
  Window* w = currentWindow();
  if (!w) return __INIT_DOUBLE(0);
  Control& c = addControl(*w, kKindKey);
  c.folder = 0;
  c.page = 0;
  c.action = act;
  auto data = std::make_unique<KeyData>();
  data->code = mappedKeyNumber(number);
  pObj_Node copy = __SET_OBJECT(__fcpObj_CT(vVariable), argument ? argument : __INIT_NIL());
  data->argument = holdForWindow(copy, *w);
  c.extra = std::move(data);
  return idRecord(c.id);
}
