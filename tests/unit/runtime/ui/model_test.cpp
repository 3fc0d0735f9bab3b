// The window and control model: the id counter, the validation variables,
// closing and freeing windows, argument checks and ids that name nothing.
#include <gtest/gtest.h>

#include <functional>

#include "keys.h"
#include "menus.h"
#include "model.h"
#include "zeltaarray.h"
#include "ui_fixture.h"

namespace {

using ui::Control;
using ui::findControl;
using ui::findWindow;

class ModelTest : public UiTest {};

pObj_Node field(pObj_Node window, pObj_Node value) {
  return __NewField(window, __INIT_DOUBLE(10), __INIT_DOUBLE(10), value);
}

TEST_F(ModelTest, WindowsAndControlsShareOneCounterFrom6000) {
  pObj_Node first = window();
  EXPECT_EQ(id(first), 6000);
  EXPECT_EQ(id(__NewButtom(first, D(1), D(1), S("OK"))), 6001);
  EXPECT_EQ(id(field(first, S("x"))), 6002);
  pObj_Node second = window("second");
  EXPECT_EQ(id(second), 6003);
  EXPECT_EQ(id(__NewLabel(second, D(1), D(1), S("l"))), 6004);
  EXPECT_EQ(id(__NewObjID(second, __INIT_BOOL(1), D(0), D(5))), 6005);
  EXPECT_EQ(findControl(6005)->kind, ui::kKindButton);
  EXPECT_EQ(id(__NewObjID(nullptr)), 6006);  // an id alone, no control
  EXPECT_EQ(findControl(6006), nullptr);
}

TEST_F(ModelTest, TheCounterWrapsPastIdsStillInUse) {
  pObj_Node first = window();             // 6000
  __NewLabel(first, D(1), D(1), S("a"));  // 6001
  ui::state().lastId = 65534;
  EXPECT_EQ(id(__NewLabel(first, D(1), D(1), S("b"))), 65535);
  EXPECT_EQ(id(__NewLabel(first, D(1), D(1), S("c"))), 6002);
}

TEST_F(ModelTest, ValidationVariablesBindOnlyInTheCurrentWindow) {
  pObj_Node w1 = window("one");
  const uint16_t f1 = id(field(w1, S("a")));
  pObj_Node w2 = window("two");
  const uint16_t f2 = id(field(w2, S("b")));
  pObj_Node x = __fcpObj_CT(vVariable);
  pObj_Node y = __fcpObj_CT(vVariable);
  __SetValidFuncParam(D(f1), D(1), x, __INIT_NUL());  // a control of another window
  EXPECT_TRUE(findControl(f1)->validVars[0].empty());
  __SetValidFuncParam(D(f2), D(0), x, y, __INIT_NUL());  // kind 0 counts as 1
  EXPECT_EQ(findControl(f2)->validVars[0].size(), 2u);
  __SetValidFuncParam(D(f2), D(2), y, __INIT_NUL());
  ASSERT_EQ(findControl(f2)->validVars[1].size(), 1u);
  EXPECT_EQ(findControl(f2)->validVars[1][0], y);
  __SetValidFuncParam(D(9999), D(1), x, __INIT_NUL());  // names nothing
  EXPECT_EQ(errorOf([&] { __SetValidFuncParam(S("6001"), D(1), x, __INIT_NUL()); }), ARGUMENT_ERROR);
  (void)w2;
}

TEST_F(ModelTest, FetchingFillsOnlyThePlacesThatHaveAVariable) {
  pObj_Node w = window();
  const uint16_t f = id(field(w, S("a")));
  pObj_Node x = __fcpObj_CT(vVariable);
  __SetValidFuncParam(D(f), D(1), x, __INIT_NUL());
  pObj_Node keep = __fcpObj_CT(vVariable);
  pObj_Node a = nullptr, b = keep, end = __INIT_NUL();
  __GetValidFuncParam(D(id(w)), D(f), D(1), &a, &b, &end);
  EXPECT_EQ(a, x);
  EXPECT_EQ(b, keep);  // fewer variables than places: the rest stay as they were
  pObj_Node c = keep;
  __GetValidFuncParam(D(id(w)), D(f), D(2), &c, &end);  // the second list is empty
  EXPECT_EQ(c, keep);
  __GetValidFuncParam(D(id(w) + 50), D(f), D(1), &c, &end);  // not that control's window
  EXPECT_EQ(c, keep);
  EXPECT_EQ(errorOf([&] { __GetValidFuncParam(D(id(w)), S("x"), D(1), &c, &end); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __GetValidFuncParam(D(id(w)), D(f), nullptr, &c, &end); }), ARGUMENT_ERROR);
}

TEST_F(ModelTest, BoundVariablesLiveAsLongAsTheWindow) {
  pObj_Node w = window();
  const uint16_t f = id(field(w, S("a")));
  __begin_context();
  pObj_Node deeper = __fcpObj_CT(vVariable);
  __SET_OBJECT(deeper, D(41));
  pObj_Node temporary = D(42);
  __SetValidFuncParam(D(f), D(1), deeper, temporary, __INIT_NUL());
  __end_context(nullptr);
  const auto& vars = findControl(f)->validVars[0];
  ASSERT_EQ(vars.size(), 2u);
  EXPECT_EQ(vars[0], deeper);
  EXPECT_EQ(vars[0]->objData.dValue, 41);  // not freed with the inner context
  EXPECT_NE(vars[1], temporary);           // a temporary is copied, not kept
  EXPECT_EQ(vars[1]->objData.dValue, 42);
}

TEST_F(ModelTest, ClosingTheOnlyWindowClearsTheCurrentWindow) {
  pObj_Node w1 = window("one");
  pObj_Node w2 = window("two");
  EXPECT_EQ(ui::currentWindow()->id, id(w2));
  EXPECT_TRUE(__GET_BOOL(__CloseDialog()));
  EXPECT_EQ(ui::currentWindow()->id, id(w1));
  EXPECT_FALSE(findWindow(id(w2))->open);
  __CloseDialog();
  EXPECT_EQ(ui::currentWindow(), nullptr);
  EXPECT_TRUE(__GET_BOOL(__CloseDialog()));  // nothing left: still TRUE
}

TEST_F(ModelTest, AContextEndFreesTheWindowsItMade) {
  pObj_Node outer = window("outer");
  const uint16_t outerId = id(outer);
  __begin_context();
  const uint16_t innerId = id(window("inner"));
  const uint16_t button = id(__NewButtom(D(innerId), D(1), D(1), S("x")));
  EXPECT_EQ(glob->windowFlag, 2);
  __end_context(nullptr);
  EXPECT_EQ(findWindow(innerId), nullptr);
  EXPECT_EQ(findControl(button), nullptr);
  ASSERT_NE(findWindow(outerId), nullptr);
  EXPECT_EQ(ui::currentWindow()->id, outerId);
  EXPECT_EQ(glob->windowFlag, 1);
}

TEST_F(ModelTest, WrongArgumentTypesRaiseErrorZero) {
  pObj_Node w = window();
  pObj_Node block = B([](pObj_Node, pObj_Node, pObj_Node) { return __INIT_NIL(); });
  const struct {
    const char* what;
    std::function<void()> call;
  } cases[] = {
      {"window title", [] { __ObjWin(D(0), D(0), D(1), D(160), D(160)); }},
      {"window size", [] { __ObjWin(D(0), D(0), S("t"), S("160"), D(160)); }},
      {"modal flag", [] { __ObjWin(D(0), D(0), S("t"), D(160), D(160), D(1)); }},
      {"field row", [&] { __NewField(w, S("1"), D(1), S("v")); }},
      {"field picture", [&] { __NewField(w, D(1), D(1), S("v"), D(9)); }},
      {"field valid", [&] { __NewField(w, D(1), D(1), S("v"), nullptr, S("no block")); }},
      {"field option", [&] { __NewField(w, D(1), D(1), S("v"), nullptr, nullptr, nullptr, nullptr, D(1)); }},
      {"field in no window", [] { __NewField(D(9999), D(1), D(1), S("v")); }},
      {"button caption", [&] { __NewButtom(w, D(1), D(1), D(5)); }},
      {"check box value", [&] { __NewButtom(w, D(1), D(1), S("c"), block, nullptr, nullptr, nullptr, D(1)); }},
      {"list items", [&] { __NewList(w, D(1), D(1), S("not an array")); }},
      {"combo selection", [&] { __NewComboBox(w, D(1), D(1), __CreateArray(S("a"), __INIT_NUL()), S("1")); }},
      {"label picture", [&] { __NewLabel(w, D(1), D(1), S("x"), D(1)); }},
      {"folder pages", [&] { __NewFolder(w, D(1), D(1), S("x")); }},
      {"menu caption", [&] { __AddMenuBar(w, D(1)); }},
      {"timer interval", [] { ADDTIMER(S("100")); }},
      {"timer id", [] { ACTIVETIMER(S("x")); }},
      {"key without action", [] { SETKEY(nullptr, D(11)); }},
      {"key number", [&] { SETKEY(nullptr, S("a"), block); }},
      {"set text id", [] { SetText(S("x"), S("y")); }},
      {"move control", [] { MoveControl(D(6001), S("1"), D(1)); }},
      {"info text", [] { __SetInfoWindow(D(1)); }},
      {"sleep", [] { SLEEP(S("10")); }},
      {"execute", [] { __Execute(D(1)); }},
  };
  for (const auto& c : cases) EXPECT_EQ(errorOf(c.call), ARGUMENT_ERROR) << c.what;
}

TEST_F(ModelTest, IdsThatNameNothingDoNothing) {
  window();
  pObj_Node nobody = D(9999);
  EXPECT_EQ(ShowControl(nobody)->objData.dValue, 0);
  EXPECT_EQ(HideControl(nobody)->objData.dValue, 0);
  EXPECT_EQ(EnableControl(nobody)->objData.dValue, 0);
  EXPECT_EQ(DisableControl(nobody)->objData.dValue, 0);
  EXPECT_FALSE(__GET_BOOL(SetText(nobody, S("x"))));
  EXPECT_FALSE(__GET_BOOL(MoveControl(nobody, D(1), D(1))));
  EXPECT_FALSE(__GET_BOOL(__SetFocus(nobody)));
  EXPECT_EQ(__GetObjValue(nobody)->objType, T_NIL);
  EXPECT_EQ(__PictureSize(nobody), core::systemRecord(kSysZero));
  EXPECT_EQ(GetCtrlPos(nobody)->objType, T_NIL);
  EXPECT_EQ(__ActivateWin(nobody), __INIT_BOOL(0));
  EXPECT_EQ(fake().entered, 0);
}

TEST_F(ModelTest, ControlCallsWorkOnTheRecords) {
  pObj_Node w = window();
  pObj_Node f = __NewField(w, D(20), D(30), D(5), S("@E 999.99"));
  EXPECT_EQ(HideControl(f)->objData.dValue, id(w));
  EXPECT_FALSE(findControl(id(f))->visible);
  EXPECT_EQ(ShowControl(f)->objData.dValue, id(w));
  MoveControl(f, D(40), D(50));
  ResizeControl(f, D(12), D(80));
  pObj_Node pos = GetCtrlPos(f);
  pObj_Node size = GetCtrlSz(f);
  EXPECT_EQ(__GET_ARRAY_EL(pos, 0)->objData.dValue, 40);
  EXPECT_EQ(__GET_ARRAY_EL(pos, 1)->objData.dValue, 50);
  EXPECT_EQ(__GET_ARRAY_EL(size, 0)->objData.dValue, 12);
  EXPECT_EQ(__GET_ARRAY_EL(size, 1)->objData.dValue, 80);
  EXPECT_EQ(__PictureSize(f)->objData.dValue, 5);
  SetText(f, S("12.5"));
  EXPECT_EQ(__GetObjValue(f)->objData.dValue, 12.5);  // a number field stays a number
  _SetObjColor(f, D(255), D(0));
  EXPECT_EQ(findControl(id(f))->textColor, 255);
  pObj_Node list = __NewList(w, D(1), D(1), __CreateArray(S("a"), S("b"), S("c"), __INIT_NUL()), D(3));
  SetArray(list, __CreateArray(S("x"), __INIT_NUL()));
  EXPECT_EQ(__GetObjValue(list)->objData.dValue, 1);  // the selection is kept within the rows
  EXPECT_EQ(__ListRows(list)->objData.dValue, 1);
  SetText(w, S("renamed"));
  EXPECT_EQ(findWindow(id(w))->title, "renamed");
}

TEST_F(ModelTest, AFieldWithoutEditingAndMarkedAsLabelIsALabel) {
  pObj_Node w = window();
  const Control* label = findControl(
      id(__NewField(w, D(1), D(1), S("x"), nullptr, nullptr, nullptr, nullptr, __INIT_BOOL(0), __INIT_BOOL(1))));
  EXPECT_EQ(label->kind, ui::kKindLabel);
  const Control* readOnly = findControl(
      id(__NewField(w, D(1), D(1), S("x"), nullptr, nullptr, nullptr, nullptr, __INIT_BOOL(0), __INIT_BOOL(0))));
  EXPECT_EQ(readOnly->kind, ui::kKindField);
  EXPECT_TRUE(readOnly->readOnly);
  EXPECT_FALSE(ui::focusable(*readOnly));
}

TEST_F(ModelTest, MenuItemsGoOnlyOntoTheLastBarEntry) {
  pObj_Node w = window();
  pObj_Node file = __AddMenuBar(w, S("File"));
  pObj_Node edit = __AddMenuBar(w, S("Edit"));
  EXPECT_EQ(__AddMenuItem(file, S("Open"))->objType, T_NIL);  // not the last entry
  EXPECT_EQ(__AddMenuItem(edit, S("Copy"))->objType, T_DOUBLE);
  std::vector<Control*> items = ui::menuItems(*findWindow(id(w)), *findControl(id(edit)));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0]->text, "Copy");
  EXPECT_TRUE(ui::menuItems(*findWindow(id(w)), *findControl(id(file))).empty());
}

TEST_F(ModelTest, KeyNumbersMapToTheHandheldsCodes) {
  const struct {
    long number;
    int code;
  } cases[] = {{11, 38}, {12, 40}, {517, 194}, {518, 195}, {519, 196}, {5, 5}, {516, 516}, {520, 520}};
  for (const auto& c : cases) EXPECT_EQ(ui::mappedKeyNumber(c.number), c.code) << c.number;
  EXPECT_EQ(ui::deviceKeyCode(ui::kKeyUp), 38);
  EXPECT_EQ(ui::deviceKeyCode(ui::kKeyF1 + 2), 114);
  EXPECT_EQ(ui::deviceKeyCode(ui::kKeyShiftF1 + 1), 194);
  EXPECT_EQ(ui::deviceKeyCode(ui::kKeyDevice + 517), 517);
  EXPECT_EQ(ui::ordinaryKey(ui::kKeyDevice + 40), ui::kKeyDown);
}

TEST_F(ModelTest, SwitchesKeepWhatTheProgramSets) {
  EXPECT_EQ(__SetSipStatus(__INIT_BOOL(1))->objData.dValue, 0);
  EXPECT_EQ(__SetSipStatus(D(0))->objData.dValue, 1);
  EXPECT_EQ(__SetTbStatus(D(3))->objData.dValue, 0);
  EXPECT_EQ(__SetTbStatus(D(0))->objData.dValue, 3);
  EXPECT_EQ(GetProcessorType()->objData.dValue, 7);
  EXPECT_TRUE(__GET_BOOL(__IsTouch()));
  pObj_Node model = __GetPdaModel();
  EXPECT_EQ(__Array_Get_Amnt_Itens(model), 2);
  EXPECT_EQ(SLEEP(nullptr)->objData.dValue, 0);
}

}  // namespace
