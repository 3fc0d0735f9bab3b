// Shared set-up of the user-interface tests: a fresh application per test
// with the fatal-error trap turned into an exception, and a driver of the
// test's own that hands the model a list of events, so the tests drive the
// same model both real drivers use.
#ifndef ZELTA_TESTS_UI_FIXTURE_H
#define ZELTA_TESTS_UI_FIXTURE_H

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "core.h"
#include "driver.h"
#include "ui_state.h"
#include "zeltaobjs2.h"
#include "zeltaui.h"

struct RuntimeFailure {
  int code;
};

inline void throwFailure(int code, int, const std::string&) { throw RuntimeFailure{code}; }

// The error code a call raises, or -1 when it returns.
template <typename F>
int errorOf(F&& call) {
  try {
    call();
  } catch (const RuntimeFailure& f) {
    return f.code;
  }
  return -1;
}

// Events in, draws and rejections counted; runs out like a script does.
class FakeDriver : public ui::Driver {
 public:
  bool headless() const override { return true; }
  void enter() override { ++entered; }
  void leave() override { ++left; }
  void draw(const ui::Window&) override { ++draws; }
  bool nextEvent(ui::Event& event, int timeoutMs) override {
    lastTimeout = timeoutMs;
    if (events.empty()) return false;
    event = events.front();
    events.pop_front();
    return true;
  }
  int messageBox(const char* title, const char* text, int) override {
    boxes.push_back(std::string(title) + ": " + text);
    if (answers.empty()) return 1;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
  void info(const std::string& text) override { infos.push_back(text); }
  void reject(const ui::Event& event, const std::string& why) override {
    rejected.push_back(std::to_string(event.line) + ": " + why);
  }

  std::deque<ui::Event> events;
  std::deque<int> answers;
  std::vector<std::string> boxes, infos, rejected;
  int entered = 0, left = 0, draws = 0, lastTimeout = -2;
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    core::setFatalTrap(throwFailure);
    ASSERT_TRUE(__BeginGlobal());
    auto fake = std::make_unique<FakeDriver>();
    driver_ = fake.get();
    ui::state().driver = std::move(fake);
  }
  void TearDown() override {
    __EndGlobal();
    EXPECT_EQ(core::liveAllocations(), 0) << "records or buffers leaked";
  }
  FakeDriver& fake() { return *driver_; }

  static pObj_Node D(double x) { return __INIT_DOUBLE(x); }
  static pObj_Node S(const char* s) { return __INIT_CHARPTR(s); }
  static pObj_Node B(ui::Block f) { return __INIT_VOIDPTR(reinterpret_cast<void*>(f)); }
  static uint16_t id(pObj_Node x) { return static_cast<uint16_t>(x->objData.dValue); }
  static pObj_Node window(const char* title = "W") {
    return __ObjWin(D(0), D(0), S(title), D(160), D(160), __INIT_BOOL(1));
  }

  static ui::Event key(int k) {
    ui::Event e;
    e.type = ui::Event::kKey;
    e.key = k;
    return e;
  }
  static ui::Event on(ui::Event::Type type, uint16_t control, const std::string& text = "", long number = 0) {
    ui::Event e;
    e.type = type;
    e.control = control;
    e.text = text;
    e.number = number;
    return e;
  }

 private:
  FakeDriver* driver_ = nullptr;
};

#endif
