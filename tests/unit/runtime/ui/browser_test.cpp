// The database browser over a real table: the page shown, the movements,
// deleted records, searching, appending and deleting, and the writing of an
// edited row when the row changes.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "grid.h"
#include "model.h"
#include "ui_fixture.h"
#include "zeltaarray.h"
#include "zeltardd.h"

namespace fs = std::filesystem;

namespace {

using ui::Event;

struct Seen {
  int validations = 0;
  bool refuse = false;
} seen;

pObj_Node rowValid(pObj_Node, pObj_Node, pObj_Node) {
  ++seen.validations;
  return __INIT_BOOL(!seen.refuse);
}

class BrowserTest : public UiTest {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zelta_ui_browser_XXXXXX";
    dir_ = mkdtemp(pattern);
    setenv("ZELTA_APPDIR", dir_.c_str(), 1);
    UiTest::SetUp();
    seen = Seen();
  }
  void TearDown() override {
    UiTest::TearDown();
    fs::remove_all(dir_);
    unsetenv("ZELTA_APPDIR");
  }
  // A table of `n` records CODE "Cnnn", QTY n, indexed on CODE, with the
  // records in `dead` deleted.
  void table(int n, std::initializer_list<int> dead = {}) {
    pObj_Node code = __CreateArray(S("CODE"), S("C"), D(4), D(0), __INIT_NUL());
    pObj_Node qty = __CreateArray(S("QTY"), S("N"), D(4), D(0), __INIT_NUL());
    __DBCREATE(S("items"), __CreateArray(code, qty, __INIT_NUL()));
    __DBUSEAREA(__INIT_BOOL(1), nullptr, S("items"), S("ITM"), __INIT_BOOL(0), __INIT_BOOL(0));
    for (int i = 1; i <= n; ++i) {
      __DBAPPEND(nullptr);
      char text[8];
      snprintf(text, sizeof text, "C%03d", i);
      __SetField(nullptr, D(1), S(text));
      __SetField(nullptr, D(2), D(i));
    }
    __Commit(nullptr);
    for (int r : dead) {
      __TBL_GoTo(nullptr, D(r));
      __TBL_Delete(nullptr);
    }
    __Commit(nullptr);
    __DBCREATEINDEX(nullptr, S("itmcode"), S("CODE"));
    __TBL_GoTop(nullptr);
  }
  // A browser of 5 rows over ITM with its two columns. Ids are kept as
  // numbers: the browser reads records into many temporaries.
  uint16_t browser(ui::Block valid = nullptr) {
    windowId_ = id(window());
    const int height = 13 + 6 * 12;
    const uint16_t b = id(__new_DBBrowser(D(windowId_), D(0), D(0), D(height), D(160), __INIT_BOOL(1),
                                          valid ? B(valid) : nullptr, nullptr, S("ITM")));
    __addcol_DBBrowser(D(b), S("Code"), D(1), D(40));
    __addcol_DBBrowser(D(b), S("Qty"), D(2), D(30), S("9999"));
    return b;
  }
  ui::Control& grid(uint16_t b) { return *ui::findControl(id(__getGridID_DBBrowse(D(b)))); }
  // The codes of the rows shown, and the current row.
  std::string page(uint16_t b) {
    const ui::Grid* g = ui::gridOf(grid(b));
    std::string text;
    for (size_t r = 0; r < g->rows.size(); ++r)
      text += (r ? " " : "") + std::string(static_cast<int>(r) + 1 == g->row ? ">" : "") + g->rows[r][0].text;
    return text;
  }
  pObj_Node button(uint16_t b, int n) { return D(b + 1 + n); }  // the grid, then the ten buttons
  pObj_Node win() { return D(windowId_); }
  double recno() { return __TBL_RecNo(nullptr)->objData.dValue; }

  fs::path dir_;
  uint16_t windowId_ = 0;
};

TEST_F(BrowserTest, PagesSkipDeletedRecordsAndReadOnlyWhatTheyShow) {
  table(20, {2, 7});
  const uint16_t b = browser();
  EXPECT_EQ(page(b), ">C001 C003 C004 C005 C006");
  const struct {
    int action;
    const char* shown;
  } moves[] = {
      {1, ">C008 C009 C010 C011 C012"},  // a page down: C007 is deleted
      {5, "C009 C010 C011 C012 >C013"},  // a record further
      {7, ">C008 C009 C010 C011 C012"},  // a record back
      {5, "C009 C010 C011 C012 >C013"},
      {2, ">C003 C004 C005 C006 C008"},  // a page up: the five live records before C009
      {4, "C016 C017 C018 C019 >C020"},  // the last page
      {1, "C016 C017 C018 C019 >C020"},  // nothing after it
      {5, "C016 C017 C018 C019 >C020"},
      {3, ">C001 C003 C004 C005 C006"},  // the first page
      {7, ">C001 C003 C004 C005 C006"},  // nothing before it
  };
  for (const auto& m : moves) {
    __actionl_DBBrowse(D(b), D(m.action));
    EXPECT_EQ(page(b), m.shown) << "action " << m.action;
  }
  EXPECT_EQ(recno(), 1);  // the work area stands on the current row's record
}

TEST_F(BrowserTest, TheGridsKeysLeaveThePageAtItsEdges) {
  table(12);
  const uint16_t b = browser();
  ui::Control& g = grid(b);
  ui::Window& w = *ui::findWindow(windowId_);
  for (int i = 0; i < 5; ++i) ui::gridKey(w, g, ui::kKeyDown);
  EXPECT_EQ(page(b), "C002 C003 C004 C005 >C006");
  EXPECT_EQ(recno(), 6);
  ui::gridKey(w, g, ui::kKeyEnd);
  EXPECT_EQ(page(b), "C008 C009 C010 C011 >C012");
  ui::gridKey(w, g, ui::kKeyPageUp);
  EXPECT_EQ(page(b), ">C003 C004 C005 C006 C007");
  ui::gridKey(w, g, ui::kKeyHome);
  EXPECT_EQ(page(b), ">C001 C002 C003 C004 C005");
}

TEST_F(BrowserTest, ASearchFindsItsKeyAndACancelledOneChangesNothing) {
  table(30);
  const uint16_t b = browser();
  __actionl_DBBrowse(D(b), D(1));
  const std::string before = page(b);
  fake().events.push_back(on(Event::kClose, 0));  // the search box cancelled
  __SEARCH_DBBrowse(win(), button(b, 10), nullptr);
  EXPECT_EQ(page(b), before);
  fake().events.push_back(on(Event::kType, 0, "C021"));
  fake().events.push_back(key(ui::kKeyEnter));  // from the field to OK
  fake().events.push_back(key(ui::kKeyEnter));
  // The ids of the box are not known before it opens: type at the focus.
  fake().events[0].type = Event::kText;
  __SEARCH_DBBrowse(win(), button(b, 10), nullptr);
  EXPECT_EQ(page(b), ">C021 C022 C023 C024 C025");
  EXPECT_EQ(recno(), 21);
  fake().events.push_back(on(Event::kText, 0, "Z"));
  fake().events.push_back(key(ui::kKeyEnter));
  fake().events.push_back(key(ui::kKeyEnter));
  __SEARCH_DBBrowse(win(), button(b, 10), nullptr);  // not found: as it was
  EXPECT_EQ(page(b), ">C021 C022 C023 C024 C025");
  EXPECT_EQ(recno(), 21);
}

TEST_F(BrowserTest, CommandsEndAnAppendByWritingTheRowFirst) {
  table(3);
  const uint16_t b = browser();
  for (int command : {1, 7, 8, 10}) {  // top, append, delete, search
    __APPEND_DBBrowse(win(), button(b, 7), nullptr);
    const ui::Grid* g = ui::gridOf(grid(b));
    ASSERT_EQ(g->rows.back()[0].text, "    ") << command;  // an empty row of the field's length
    ui::gridType(grid(b), "A00" + std::to_string(command));
    const double count = __TBL_RecCount(nullptr)->objData.dValue;
    fake().events.push_back(on(Event::kClose, 0));  // the search box, if it opens
    switch (command) {
      case 1: __TOP_DBBrowse(win(), button(b, 1), nullptr); break;
      case 7: __APPEND_DBBrowse(win(), button(b, 7), nullptr); break;
      case 8: __DELETE_DBBrowse(win(), button(b, 8), nullptr); break;
      case 10: __SEARCH_DBBrowse(win(), button(b, 10), nullptr); break;
    }
    fake().events.clear();
    EXPECT_EQ(__TBL_RecCount(nullptr)->objData.dValue, count + 1) << command;
    EXPECT_TRUE(__GET_BOOL(__Seek(nullptr, S(("A00" + std::to_string(command)).c_str())))) << command;
    __REFRESH_DBBrowse(win(), button(b, 9), nullptr);  // ends the append the second command began
  }
}

TEST_F(BrowserTest, DeletedRowsLeaveThePage) {
  table(8);
  const uint16_t b = browser();
  __GridSetRow(__getGridID_DBBrowse(D(b)), D(2));
  __DELETE_DBBrowse(win(), button(b, 8), nullptr);
  EXPECT_EQ(page(b), "C001 >C003 C004 C005 C006");
  __TBL_GoTo(nullptr, D(2));
  EXPECT_TRUE(__GET_BOOL(__TBL_Deleted(nullptr)));
}

TEST_F(BrowserTest, AnEditedRowIsWrittenWhenTheRowChangesUnlessRefused) {
  table(6);
  const uint16_t b = browser(rowValid);
  const uint16_t gridId = id(__getGridID_DBBrowse(D(b)));
  ui::Control& g = grid(b);
  ui::gridChoose(g, 2);
  ui::Grid* gr = ui::gridOf(g);
  gr->column = 2;
  ui::gridType(g, "77");
  EXPECT_EQ(__getedtrow_DBBrowse(D(b), D(2))->objData.dValue, 77);
  EXPECT_EQ(__getedtrow_DBBrowse(D(b), D(9))->objType, T_NIL);
  seen.refuse = true;
  ui::gridChoose(g, 3);
  EXPECT_EQ(seen.validations, 1);
  __TBL_GoTo(nullptr, D(2));
  EXPECT_EQ(__GetFieldByID(nullptr, D(2))->objData.dValue, 2);  // refused: not written
  seen.refuse = false;
  ui::gridChoose(g, 2);
  ui::gridType(g, "88");
  ui::gridChoose(g, 4);
  EXPECT_EQ(seen.validations, 2);
  __TBL_GoTo(nullptr, D(2));
  EXPECT_EQ(__GetFieldByID(nullptr, D(2))->objData.dValue, 88);
  EXPECT_EQ(__GridRow(D(gridId))->objData.dValue, 4);
}

// Whichever way the focus leaves an edited row, the edit lands in that
// row's record and nowhere else; a refused one lands nowhere.
TEST_F(BrowserTest, AnEditedRowIsWrittenToItsOwnRecordWhicheverWayItIsLeft) {
  const struct {
    const char* how;
    bool refuse;
  } cases[] = {{"row", false}, {"pgdn", false}, {"down button", false}, {"end", false}, {"pgdn", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.how) + (c.refuse ? " refused" : ""));
    table(12);
    const uint16_t b = browser(rowValid);
    seen.refuse = c.refuse;
    ui::Control& g = grid(b);
    ui::Window& w = *ui::findWindow(windowId_);
    ui::gridOf(g)->column = 2;
    ui::gridType(g, "55");  // the first row, C001, edited at once
    const std::string how = c.how;
    if (how == "row") ui::gridChoose(g, 3);
    if (how == "pgdn") ui::gridKey(w, g, ui::kKeyPageDown);
    if (how == "down button") __DOWN_DBBrowse(win(), button(b, 5), nullptr);
    if (how == "end") ui::gridKey(w, g, ui::kKeyEnd);
    EXPECT_EQ(seen.validations, 1);
    for (int r = 1; r <= 12; ++r) {
      __TBL_GoTo(nullptr, D(r));
      EXPECT_EQ(__GetFieldByID(nullptr, D(2))->objData.dValue, r == 1 && !c.refuse ? 55 : r) << "record " << r;
    }
    EXPECT_EQ(__getedtrow_DBBrowse(D(b), D(2))->objType, T_NIL);  // nothing left to write
    ui::gridChoose(g, 2);                                         // and nothing written by the next change
    __TBL_GoTo(nullptr, D(1));
    EXPECT_EQ(__GetFieldByID(nullptr, D(2))->objData.dValue, c.refuse ? 1 : 55);
    TearDown();
    SetUp();
  }
}

TEST_F(BrowserTest, ABlankSearchChangesNothing) {
  table(10);
  const uint16_t b = browser();
  __actionl_DBBrowse(D(b), D(1));
  const std::string before = page(b);
  const double at = recno();
  fake().events.push_back(key(ui::kKeyEnter));  // the 15 blanks, confirmed
  fake().events.push_back(key(ui::kKeyEnter));
  __SEARCH_DBBrowse(win(), button(b, 10), nullptr);
  EXPECT_EQ(page(b), before);
  EXPECT_EQ(recno(), at);
}

// An appended row that is left is written, and becomes the current record:
// deleting while appending takes the new record, never a neighbour.
TEST_F(BrowserTest, AnAppendedRowIsWrittenWhenLeftAndDeleteTakesIt) {
  table(4);
  const uint16_t b = browser();
  ui::Control& g = grid(b);
  __APPEND_DBBrowse(win(), button(b, 7), nullptr);
  ui::gridType(g, "B001");
  ui::gridChoose(g, 2);
  EXPECT_EQ(__TBL_RecCount(nullptr)->objData.dValue, 5);
  EXPECT_EQ(page(b), "C001 >C002 C003 C004");  // B001 comes before C001 in the index
  EXPECT_EQ(recno(), 2);
  __TOP_DBBrowse(win(), button(b, 1), nullptr);
  EXPECT_EQ(page(b), ">B001 C001 C002 C003 C004");
  __APPEND_DBBrowse(win(), button(b, 7), nullptr);
  ui::gridType(g, "Z001");
  __DELETE_DBBrowse(win(), button(b, 8), nullptr);
  EXPECT_EQ(__TBL_RecCount(nullptr)->objData.dValue, 6);
  __TBL_GoTo(nullptr, D(6));
  EXPECT_TRUE(__GET_BOOL(__TBL_Deleted(nullptr)));
  for (int r = 1; r <= 5; ++r) {
    __TBL_GoTo(nullptr, D(r));
    EXPECT_FALSE(__GET_BOOL(__TBL_Deleted(nullptr))) << "record " << r;
  }
}

pObj_Node searchFor(pObj_Node, pObj_Node, pObj_Node) {
  ++seen.validations;
  return seen.refuse ? __INIT_NIL() : __INIT_CHARPTR("C007");
}

// The program's own search function takes the place of the search box:
// the value it gives is sought, NIL searches nothing.
TEST_F(BrowserTest, AUserSearchFunctionGivesTheKey) {
  table(10);
  const uint16_t b = browser();
  __set_DBBrowser_search(D(b), B(searchFor));
  seen.refuse = true;
  __SEARCH_DBBrowse(win(), button(b, 10), nullptr);
  EXPECT_EQ(page(b), ">C001 C002 C003 C004 C005");
  seen.refuse = false;
  __SEARCH_DBBrowse(win(), button(b, 10), nullptr);
  EXPECT_EQ(seen.validations, 2);
  EXPECT_EQ(page(b), ">C007 C008 C009 C010");
  EXPECT_TRUE(fake().events.empty());  // no box was opened to take events
  EXPECT_EQ(errorOf([&] { __set_DBBrowser_search(D(b), S("C007")); }), ARGUMENT_ERROR);
}

// Ten captions given at creation replace the buttons' own; fewer do not.
TEST_F(BrowserTest, CaptionsReplaceTheButtonsOwnOnlyWhenThereAreTen) {
  table(1);
  windowId_ = id(window());
  for (int count : {10, 9}) {
    pObj_Node captions = __CreateArray(__INIT_NUL());
    for (int i = 0; i < count; ++i) __AAdd(captions, S(("b" + std::to_string(i)).c_str()));
    const uint16_t b =
        id(__new_DBBrowser(D(windowId_), D(0), D(0), D(80), D(160), nullptr, nullptr, nullptr, S("ITM"), captions));
    const ui::Control* top = ui::findControl(static_cast<uint16_t>(b + 2));
    const ui::Control* search = ui::findControl(static_cast<uint16_t>(b + 11));
    ASSERT_TRUE(top && search);
    EXPECT_EQ(top->text, count == 10 ? "b0" : "|^") << count;
    EXPECT_EQ(search->text, count == 10 ? "b9" : "?") << count;
    EXPECT_EQ(ui::gridOf(grid(b))->rows.size(), 1u);
  }
  EXPECT_TRUE(__GET_BOOL(SETBRWFNT(D(windowId_ + 1), S("Courier"))));
  EXPECT_FALSE(__GET_BOOL(SETBRWFNT(D(windowId_ + 2), S("Courier"))));  // a grid is no browser
}

TEST_F(BrowserTest, BadFieldsAndAreasAreErrors) {
  table(2);
  const uint16_t b = browser();
  EXPECT_EQ(errorOf([&] { __addcol_DBBrowser(D(b), S("x"), D(0)); }), INVALID_FIELD);
  EXPECT_EQ(errorOf([&] { __new_DBBrowser(win(), D(0), D(0), D(80), D(160), nullptr, nullptr, nullptr, S("NONE")); }),
            ALIAS_DOES_NOT_EXISTS);
  EXPECT_EQ(errorOf([&] { __new_DBBrowser(win(), S("0"), D(0), D(80), D(160)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __getedtrow_DBBrowse(S("6001"), D(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __TOP_DBBrowse(win(), nullptr, nullptr); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __actionl_DBBrowse(D(b), S("1")); }), ARGUMENT_ERROR);
  EXPECT_TRUE(__GET_BOOL(__KillBrowser(__getbrowseptr_DBBrowse(D(b)))));
  EXPECT_EQ(errorOf([&] { __KillBrowser(D(b)); }), ARGUMENT_ERROR);
  EXPECT_EQ(__getedtrow_DBBrowse(D(b), D(1))->objType, T_NIL);
  EXPECT_EQ(__DrawDBBrowser()->objType, T_NIL);
}

}  // namespace
