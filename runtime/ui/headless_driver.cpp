// The headless driver: no screen; input comes from the ZELTA_UI_SCRIPT file
// (headless_script.h), message boxes and the information window print one
// line on standard output, "dump" prints the screen as text. When the
// script runs out every dialog closes at once, so a program never waits.
#include <stdio.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <thread>

#include "driver.h"
#include "headless_script.h"
#include "menus.h"
#include "screen_dump.h"
#include "ui_state.h"

namespace ui {

namespace {

bool sameCaption(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

class HeadlessDriver : public Driver {
 public:
  bool headless() const override { return true; }
  void enter() override {}
  void leave() override { shown_ = nullptr; }
  void draw(const Window& window) override { shown_ = &window; }

  bool nextEvent(Event& event, int timeoutMs) override {
    for (const ScriptLine* line = nextScriptLine(); line; line = nextScriptLine()) {
      ScriptEvent parsed;
      std::string error;
      if (!parseScriptLine(line->text, parsed, error)) {
        reportScriptLine(line->number, error + ": " + line->text);
        takeScriptLine();
        continue;
      }
      switch (parsed.verb) {
        case ScriptEvent::kComment: takeScriptLine(); continue;
        case ScriptEvent::kDump:
          if (shown_) fputs(dumpWindow(*shown_).c_str(), stdout);
          fflush(stdout);
          takeScriptLine();
          continue;
        case ScriptEvent::kAnswer:
          reportScriptLine(line->number, "no message box to answer");
          takeScriptLine();
          continue;
        case ScriptEvent::kWait: return wait(parsed.number, timeoutMs, event);
        default: break;
      }
      const int number = line->number;
      takeScriptLine();
      if (toEvent(parsed, number, event)) return true;
    }
    return false;
  }

  int messageBox(const char* title, const char* text, int) override {
    printf("[%s] %s\n", title, text);
    fflush(stdout);
    return scriptedAnswer();
  }

  void info(const std::string& text) override {
    if (text.empty()) return;
    printf("[Info] %s\n", text.c_str());
    fflush(stdout);
  }

  void reject(const Event& event, const std::string& why) override {
    if (event.line) reportScriptLine(event.line, why);
  }

 private:
  // A "wait" line lets real time pass, in steps no longer than the model
  // asked for, so that timers expire on time meanwhile.
  bool wait(long total, int timeoutMs, Event& event) {
    State& s = state();
    if (s.waitLeftMs < 0) s.waitLeftMs = total;
    long step = s.waitLeftMs;
    if (timeoutMs >= 0 && timeoutMs < step) step = timeoutMs;
    if (step > 0) std::this_thread::sleep_for(std::chrono::milliseconds(step));
    s.waitLeftMs -= step;
    if (s.waitLeftMs <= 0) takeScriptLine();
    event = Event();
    return true;
  }

  // The control a reference names in the window shown, or 0 (reported).
  uint16_t resolve(const ControlRef& ref, int line, bool menu) {
    if (ref.kind == ControlRef::kId) return static_cast<uint16_t>(ref.id);
    if (!shown_) {
      reportScriptLine(line, "no dialog is open");
      return 0;
    }
    if (ref.kind == ControlRef::kFocused) {
      if (!shown_->focus) reportScriptLine(line, "no control has the focus");
      return shown_->focus;
    }
    for (const auto& c : shown_->controls) {
      const bool isMenu = c->kind == kKindMenuBar || c->kind == kKindMenuItem;
      if (isMenu != menu || c->text.empty()) continue;
      if (!menu && !shownOnScreen(*c)) continue;
      if (sameCaption(c->text, ref.caption)) return c->id;
    }
    reportScriptLine(line, "no control \"" + ref.caption + "\" in this dialog");
    return 0;
  }

  bool toEvent(const ScriptEvent& parsed, int line, Event& event) {
    event = Event();
    event.line = line;
    switch (parsed.verb) {
      case ScriptEvent::kKey:
        if (parsed.key) {
          event.type = Event::kKey;
          event.key = parsed.key;
        } else {
          event.type = Event::kText;
          event.text = parsed.text;
        }
        return true;
      case ScriptEvent::kClose: event.type = Event::kClose; return true;
      case ScriptEvent::kTimer:
        event.type = Event::kTimer;
        event.control = static_cast<uint16_t>(parsed.number);
        return true;
      default: break;
    }
    event.control = resolve(parsed.control, line, parsed.verb == ScriptEvent::kMenu);
    if (!event.control) return false;
    event.text = parsed.text;
    event.number = parsed.number;
    switch (parsed.verb) {
      case ScriptEvent::kType: event.type = Event::kType; break;
      case ScriptEvent::kPress: event.type = Event::kPress; break;
      case ScriptEvent::kChoose: event.type = Event::kChoose; break;
      case ScriptEvent::kFocus: event.type = Event::kFocus; break;
      case ScriptEvent::kMenu: event.type = Event::kMenu; break;
      default: return false;
    }
    return true;
  }

  const Window* shown_ = nullptr;
};

}  // namespace

std::unique_ptr<Driver> makeHeadlessDriver() { return std::make_unique<HeadlessDriver>(); }

}  // namespace ui
