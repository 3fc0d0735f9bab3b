// The modal loop driven by a driver of the test's own: validation keeping
// the focus, buttons, Esc and Cancel, lists, nested dialogs, menus, key
// bindings, timers and in-place grid editing.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "dialog.h"
#include "model.h"
#include "ui_fixture.h"
#include "zeltaarray.h"

namespace {

using ui::Event;
using ui::findControl;

// What the blocks saw.
struct Seen {
  int validations = 0;
  int actions = 0;
  double lastValue = 0;
  uint16_t lastWindow = 0, lastControl = 0;
  int timerCount = 0;
  uint16_t timer = 0;
  uint16_t nestedWindow = 0;
} seen;

pObj_Node positive(pObj_Node, pObj_Node, pObj_Node value) {
  ++seen.validations;
  return __INIT_BOOL(value->objType == T_DOUBLE && value->objData.dValue > 0);
}

pObj_Node record(pObj_Node window, pObj_Node control, pObj_Node value) {
  ++seen.actions;
  seen.lastWindow = static_cast<uint16_t>(window->objData.dValue);
  seen.lastControl = static_cast<uint16_t>(control->objData.dValue);
  seen.lastValue = value && value->objType == T_DOUBLE ? value->objData.dValue : -1;
  return __INIT_BOOL(1);
}

pObj_Node closeIt(pObj_Node, pObj_Node, pObj_Node) { return __CloseDialog(); }

class DialogLoopTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    seen = Seen();
  }
  void run(pObj_Node w) { __ActivateWin(w); }
  void push(const Event& e) { fake().events.push_back(e); }
};

TEST_F(DialogLoopTest, AFieldThatRefusesItsValueKeepsTheFocus) {
  pObj_Node w = window();
  pObj_Node qty = __fcpObj_CT(vVariable);
  __SET_OBJECT(qty, D(0));
  __ByRef(&qty);
  const uint16_t field = id(__NewField(w, D(10), D(10), qty, S("999"), B(positive)));
  const uint16_t ok = id(__NewButtom(w, D(100), D(10), S("OK"), B(closeIt)));
  push(on(Event::kType, field, "0"));
  push(key(ui::kKeyTab));               // refused: stays
  push(on(Event::kPress, ok));          // refused again: the press does not happen
  push(on(Event::kType, field, "7x"));  // the picture drops the letter
  push(on(Event::kPress, ok));          // accepted, pressed, closed
  push(on(Event::kType, field, "9"));   // never reached
  run(w);
  EXPECT_EQ(seen.validations, 3);
  EXPECT_EQ(qty->objData.dValue, 7);  // written back into the variable given by reference
  ASSERT_EQ(fake().rejected.size(), 1u);
  EXPECT_NE(fake().rejected[0].find("keeps the focus"), std::string::npos);
  EXPECT_EQ(fake().events.size(), 1u);
  EXPECT_FALSE(ui::findWindow(id(w))->open);
}

TEST_F(DialogLoopTest, EscPressesCancelWithoutAskingTheField) {
  pObj_Node w = window();
  const uint16_t field = id(__NewField(w, D(10), D(10), D(1), S("9"), B(positive)));
  id(__NewButtom(w, D(100), D(10), S("Cancelar"), B(record)));
  __NewButtom(w, D(100), D(60), S("Close"), B(closeIt));
  push(on(Event::kType, field, "0"));
  push(key(ui::kKeyEsc));
  push(on(Event::kPress, 6002));  // Cancel again with the mouse or the script: no validation either
  run(w);
  EXPECT_EQ(seen.validations, 0);
  EXPECT_EQ(seen.actions, 2);
  EXPECT_EQ(seen.lastControl, 6002);
  EXPECT_EQ(findControl(field)->value.number, 1);  // the edit was dropped
}

TEST_F(DialogLoopTest, EscWithoutCancelClosesTheDialog) {
  pObj_Node w = window();
  __NewButtom(w, D(100), D(10), S("OK"), B(record));
  push(key(ui::kKeyEsc));
  push(key(ui::kKeyEnter));  // never reached
  run(w);
  EXPECT_EQ(seen.actions, 0);
  EXPECT_EQ(ui::currentWindow(), nullptr);
}

TEST_F(DialogLoopTest, ListsMoveTheirSelectionAndCallTheirAction) {
  pObj_Node w = window();
  pObj_Node row = __fcpObj_CT(vVariable);
  __SET_OBJECT(row, D(1));
  __ByRef(&row);
  pObj_Node items = __CreateArray(S("a"), S("b"), S("c"), S("d"), __INIT_NUL());
  const uint16_t list = id(__NewList(w, D(10), D(10), items, row, B(record)));
  push(key(ui::kKeyDown));
  push(key(ui::kKeyEnd));
  push(key(ui::kKeyDown));  // at the end: nothing changes, no action
  push(on(Event::kChoose, list, "", 2));
  push(on(Event::kChoose, list, "", 9));  // no such row
  push(on(Event::kText, 0, "d"));         // jumps to the row starting with d
  run(w);
  EXPECT_EQ(seen.actions, 4);
  EXPECT_EQ(seen.lastValue, 4);
  EXPECT_EQ(seen.lastWindow, id(w));
  EXPECT_EQ(row->objData.dValue, 4);
  EXPECT_EQ(fake().rejected.size(), 1u);
}

TEST_F(DialogLoopTest, TabSkipsHiddenDisabledAndReadOnlyControls) {
  pObj_Node w = window();
  const uint16_t a = id(__NewField(w, D(1), D(1), S("a")));
  const uint16_t hidden = id(__NewField(w, D(2), D(1), S("b")));
  const uint16_t disabled = id(__NewButtom(w, D(3), D(1), S("x")));
  __NewField(w, D(4), D(1), S("r"), nullptr, nullptr, nullptr, nullptr, __INIT_BOOL(0));
  const uint16_t last = id(__NewButtom(w, D(5), D(1), S("y")));
  HideControl(D(hidden));
  DisableControl(D(disabled));
  push(key(ui::kKeyTab));
  run(w);
  EXPECT_EQ(ui::findWindow(id(w))->focus, last);
  push(key(ui::kKeyTab));  // wraps round to the first
  run(w);
  EXPECT_EQ(ui::findWindow(id(w))->focus, a);
}

pObj_Node openNested(pObj_Node, pObj_Node, pObj_Node) {
  pObj_Node inner = __ObjWin(__INIT_DOUBLE(0), __INIT_DOUBLE(0), __INIT_CHARPTR("inner"), __INIT_DOUBLE(160),
                             __INIT_DOUBLE(160), __INIT_BOOL(1));
  seen.nestedWindow = static_cast<uint16_t>(inner->objData.dValue);
  __NewButtom(inner, __INIT_DOUBLE(1), __INIT_DOUBLE(1), __INIT_CHARPTR("Done"),
              __INIT_VOIDPTR(reinterpret_cast<void*>(closeIt)));
  __ActivateWin(inner);
  return __INIT_BOOL(1);
}

TEST_F(DialogLoopTest, ANestedDialogContinuesTheIdsAndGivesTheOuterOneBack) {
  pObj_Node w = window();
  const uint16_t open = id(__NewButtom(w, D(1), D(1), S("Open"), B(openNested)));
  push(on(Event::kPress, open));
  push(on(Event::kPress, 6004));  // the inner window 6003 (the outer's menu bar took 6002), its button 6004
  push(on(Event::kPress, open));
  run(w);
  // The first inner window took 6003, its button 6004 and its menu bar 6005;
  // it was freed with its action's context, the second one follows on.
  EXPECT_EQ(seen.nestedWindow, 6006);
  EXPECT_TRUE(fake().rejected.empty()) << fake().rejected[0];
  EXPECT_EQ(fake().entered, 1);  // one screen for the whole nest
  EXPECT_EQ(fake().left, 1);
  EXPECT_EQ(ui::findWindow(6003), nullptr);
  EXPECT_EQ(ui::windows().size(), 1u);
}

TEST_F(DialogLoopTest, TheMenuBarOpensWithF10) {
  pObj_Node w = window();
  __AddMenuBar(w, S("File"));
  pObj_Node edit = __AddMenuBar(w, S("Edit"));
  __AddMenuItem(edit, S("Copy"), B(record));
  const uint16_t paste = id(__AddMenuItem(edit, S("Paste"), B(record)));
  push(key(ui::kKeyF10));
  push(key(ui::kKeyRight));  // Edit
  push(key(ui::kKeyDown));   // Copy
  push(key(ui::kKeyDown));   // Paste
  push(key(ui::kKeyEnter));
  push(on(Event::kMenu, paste));  // the script's way, straight to the item
  run(w);
  EXPECT_EQ(seen.actions, 2);
  EXPECT_EQ(seen.lastControl, paste);
  EXPECT_EQ(seen.lastValue, 2);  // its place in its menu
  EXPECT_EQ(ui::findWindow(id(w))->menuEntry, 0);
}

TEST_F(DialogLoopTest, AKeyBindingComesBeforeTheFocusedControl) {
  pObj_Node w = window();
  pObj_Node items = __CreateArray(S("a"), S("b"), __INIT_NUL());
  const uint16_t list = id(__NewList(w, D(10), D(10), items, D(2)));
  SETKEY(D(77), D(11), B(record));  // 11: the up key
  push(key(ui::kKeyUp));
  push(key(ui::kKeyDevice + 38));  // the same key by its code
  run(w);
  EXPECT_EQ(seen.actions, 2);
  EXPECT_EQ(seen.lastValue, 77);  // the binding's argument
  EXPECT_EQ(findControl(list)->selected, 2);
}

pObj_Node countTicks(pObj_Node, pObj_Node timer, pObj_Node) {
  if (++seen.timerCount == 3) DEACTIVETIMER(timer);
  return __INIT_NIL();
}

// A driver that lets time pass: every idle event sleeps as long as the loop
// would wait.
class SleepingDriver : public FakeDriver {
 public:
  bool nextEvent(Event& event, int timeoutMs) override {
    if (!FakeDriver::nextEvent(event, timeoutMs)) return false;
    if (event.type == Event::kIdle && timeoutMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    return true;
  }
};

TEST_F(DialogLoopTest, ATimerFiresOnRealTimeUntilItDeactivatesItself) {
  auto driver = std::make_unique<SleepingDriver>();
  for (int i = 0; i < 12; ++i) driver->events.push_back(Event());
  ui::state().driver = std::move(driver);
  pObj_Node w = window();
  pObj_Node timer = ADDTIMER(D(5), B(countTicks));
  ACTIVETIMER(timer);
  run(w);
  EXPECT_EQ(seen.timerCount, 3);
  ASSERT_EQ(ui::state().systemTimers.size(), 1u);  // deactivated, the system timer still runs
}

TEST_F(DialogLoopTest, ReactivatingATimerStartsItWithItsCurrentInterval) {
  pObj_Node w = window();
  pObj_Node timer = ADDTIMER(D(100000), B(countTicks));
  ACTIVETIMER(timer);
  __SetTimerInt(timer, D(50000));
  ASSERT_EQ(ui::state().systemTimers.size(), 1u);
  EXPECT_EQ(ui::state().systemTimers[0].intervalMs, 100000);  // not before the next ACTIVETIMER
  DEACTIVETIMER(timer);
  push(on(Event::kTimer, id(timer)));  // ignored while inactive
  run(w);
  EXPECT_EQ(seen.timerCount, 0);
  ACTIVETIMER(timer);
  EXPECT_EQ(ui::state().systemTimers[0].intervalMs, 50000);
  push(on(Event::kTimer, id(timer)));
  run(w);
  EXPECT_EQ(seen.timerCount, 1);
  __TimerDestroy(timer);
  EXPECT_TRUE(ui::state().systemTimers.empty());
  push(Event());
  run(w);
  EXPECT_LT(fake().lastTimeout, 0);  // nothing left to wait for
}

TEST_F(DialogLoopTest, TimersWaitWhileAMessageBoxIsUp) {
  pObj_Node w = window();
  pObj_Node timer = ADDTIMER(D(0), B(countTicks));
  ACTIVETIMER(timer);
  ui::state().boxDepth = 1;
  push(Event());
  run(w);
  EXPECT_EQ(seen.timerCount, 0);
  ui::state().boxDepth = 0;
  push(Event());
  run(w);
  EXPECT_EQ(seen.timerCount, 1);
}

TEST_F(DialogLoopTest, AGridCellIsEditedInPlaceAndWrittenBack) {
  pObj_Node w = window();
  pObj_Node rows =
      __CreateArray(__CreateArray(S("a"), D(1), __INIT_NUL()), __CreateArray(S("b"), D(2), __INIT_NUL()), __INIT_NUL());
  pObj_Node grid = __NewGrid(w, D(10), D(0), D(80), D(160), B(record), __INIT_BOOL(1));
  __GridColumn(grid, S("Name"));
  __GridColumn(grid, S("Qty"), D(2), nullptr, S("999"));
  SetArray(grid, rows);
  EXPECT_EQ(__GridRows(grid)->objData.dValue, 2);
  push(on(Event::kChoose, id(grid), "", 2));  // row change: the action hears of it
  push(key(ui::kKeyRight));                   // the Qty column
  push(key(ui::kKeyEnter));
  push(on(Event::kText, 0, "4"));
  push(on(Event::kText, 0, "2"));
  push(key(ui::kKeyEnter));
  run(w);
  EXPECT_EQ(seen.actions, 1);
  EXPECT_EQ(seen.lastValue, 2);
  EXPECT_EQ(__GridRow(grid)->objData.dValue, 2);
  EXPECT_EQ(__GridCol(grid)->objData.dValue, 2);
  pObj_Node second = __GET_ARRAY_EL(rows, 1);
  EXPECT_EQ(__GET_ARRAY_EL(second, 1)->objData.dValue, 42);
  __GridReset(grid);
  EXPECT_EQ(__GridRows(grid)->objData.dValue, 0);
}

TEST_F(DialogLoopTest, ValidationSeesTheVariablesBoundToItsField) {
  static pObj_Node fetched = nullptr;
  fetched = nullptr;
  pObj_Node w = window();
  const uint16_t field =
      id(__NewField(w, D(1), D(1), D(3), nullptr, B([](pObj_Node window, pObj_Node control, pObj_Node) {
                      pObj_Node end = __INIT_NUL();
                      __GetValidFuncParam(window, control, __INIT_DOUBLE(2), &fetched, &end);
                      return __INIT_BOOL(1);
                    })));
  pObj_Node bound = __fcpObj_CT(vVariable);
  __SET_OBJECT(bound, S("seen"));
  __SetValidFuncParam(D(field), D(2), bound, __INIT_NUL());
  __NewButtom(w, D(2), D(1), S("x"));
  push(key(ui::kKeyTab));
  run(w);
  EXPECT_EQ(fetched, bound);
}

}  // namespace
