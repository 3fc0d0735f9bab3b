// The device services and the switches of the handheld's shell: sleeping,
// the beep, starting another program, the processor and model queries, the
// input panel, task bar and background window (kept so that programs read
// back what they set; nothing else changes on this host), the information
// window and the drawings __Box and __DspMsg leave in the current window.
#include <chrono>
#include <fstream>
#include <thread>

#include "arguments_ui.h"
#include "core.h"
#include "dialog.h"
#include "host.h"
#include "ui_state.h"
#include "zeltaarray.h"
#include "zeltaui.h"
#include "zeltamisc.h"

using namespace ui;

pObj_Node SLEEP(pObj_Node milliseconds) {
  if (!milliseconds) return __INIT_DOUBLE(0);
  const double ms = core::checkNumber(milliseconds);
  if (ms > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
  return __INIT_DOUBLE(0);
}

int DoBeep(int, int) {
  driver().beep();
  return 0;
}

pObj_Node __Beep(pObj_Node frequency, pObj_Node duration) {
  const int hz = wholeOr(frequency, 440);
  const int ms = wholeOr(duration, 100);
  return __INIT_DOUBLE(DoBeep(hz, ms));
}

pObj_Node __Execute(pObj_Node program) {
  const std::string path(core::checkText(program));
  if (path.empty() || !core::host::fileExists(path) || !core::host::spawnDetached(path, {})) {
    char text[1100];
    snprintf(text, sizeof text, "Can't start application: %s", path.c_str());
    __MsgAlert(__INIT_CHARPTR(text), __INIT_CHARCONST("Alert"));
    return __INIT_BOOL(0);
  }
  return __INIT_BOOL(1);
}

pObj_Node GETVER() { return GetMyVersion(__INIT_CHARCONST("")); }

pObj_Node GetProcessorType() { return __INIT_DOUBLE(7); }

pObj_Node __GetPdaModel() { return __CreateArray(__INIT_CHARCONST(""), __INIT_CHARCONST(""), __INIT_NUL()); }

pObj_Node __Memory() { return __INIT_CHARPTR(""); }

void SetDotNet() { state().dotNet = true; }

pObj_Node __InstanceBackWindow() {
  State& s = state();
  if (s.backWindow) s.backWindowShown = true;
  return __INIT_BOOL(s.backWindowShown);
}

pObj_Node __SetBackWindow(pObj_Node flag) {
  state().backWindow = boolOr(flag, true);
  return __INIT_BOOL(1);
}

pObj_Node __GetMetrics() {
  Window* w = currentWindow();
  return __INIT_DOUBLE(w ? w->metrics : (state().metrics ? state().metrics : 1));
}

pObj_Node __IsTouch() { return core::systemRecord(kSysTouch); }

namespace {

// A switch's new value (a number or a logical); returns the previous one.
pObj_Node keep(double& slot, pObj_Node value) {
  const double previous = slot;
  if (value && value->objType == T_BOOL)
    slot = __GET_BOOL(value) ? 1 : 0;
  else
    slot = numberOr(value, 0);
  return __INIT_DOUBLE(previous);
}

}  // namespace

pObj_Node __SetInputStatus(pObj_Node status) { return keep(state().inputStatus, status); }
pObj_Node __SetTbStatus(pObj_Node status) { return keep(state().taskBarStatus, status); }
pObj_Node __SetSipStatus(pObj_Node status) { return keep(state().sipStatus, status); }
pObj_Node __SetSipPos(pObj_Node position) { return keep(state().sipPosition, position); }
pObj_Node __ShowSip(pObj_Node show) { return keep(state().sipStatus, show); }
pObj_Node __SHOWTODAY(pObj_Node show) { return keep(state().showToday, show); }

pObj_Node __SetInfoWindow(pObj_Node text) {
  const std::string shown(core::checkText(text));
  state().infoText = shown;
  driver().info(shown);
  return __INIT_BOOL(1);
}

pObj_Node __ClearInfoWindow() {
  if (!state().infoText.empty()) driver().info("");
  state().infoText.clear();
  return __INIT_BOOL(1);
}

pObj_Node __Box(pObj_Node top, pObj_Node left, pObj_Node bottom, pObj_Node right, pObj_Node color, pObj_Node fill,
                pObj_Node text, pObj_Node) {
  const int y1 = static_cast<int>(core::checkWhole(top));
  const int x1 = static_cast<int>(core::checkWhole(left));
  const int y2 = static_cast<int>(core::checkWhole(bottom));
  const int x2 = static_cast<int>(core::checkWhole(right));
  Drawing d;
  d.box = true;
  d.y = std::min(y1, y2);
  d.x = std::min(x1, x2);
  d.height = std::abs(y2 - y1);
  d.width = std::abs(x2 - x1);
  d.color = colorOr(color);
  d.fill = colorOr(fill);
  d.text = textOr(text, "");
  Window* w = activeWindow() ? activeWindow() : currentWindow();
  if (!w) return __INIT_BOOL(0);
  w->drawings.push_back(d);
  return __INIT_BOOL(1);
}

pObj_Node __DspMsg(pObj_Node text, pObj_Node x, pObj_Node y) {
  Drawing d;
  d.text = std::string(core::checkText(text));
  d.x = static_cast<int>(core::checkWhole(x));
  d.y = static_cast<int>(core::checkWhole(y));
  Window* w = activeWindow() ? activeWindow() : currentWindow();
  if (!w) return __INIT_BOOL(0);
  // Opaque text: a later text at the same place replaces the earlier one.
  for (Drawing& old : w->drawings) {
    if (!old.box && old.x == d.x && old.y == d.y) {
      old.text = d.text;
      return __INIT_BOOL(1);
    }
  }
  w->drawings.push_back(d);
  return __INIT_BOOL(1);
}

pObj_Node GetSerial() {
  // The machine's id stands for the handheld's serial number.
  std::ifstream in("/etc/machine-id");
  std::string serial;
  std::getline(in, serial);
  return core::newText(serial);
}

pObj_Node __UseScanner(pObj_Node, pObj_Node, pObj_Node, pObj_Node) {
  // This host has no bar-code scanner to switch on.
  return __INIT_BOOL(0);
}
