// Message boxes on the headless driver: printed on standard output and
// answered from the ZELTA_UI_SCRIPT file, which each application reads anew.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "core.h"
#include "headless_script.h"
#include "zeltamisc.h"
#include "zeltaui.h"

namespace {

class HeadlessScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zelta_script_XXXXXX";
    const int fd = mkstemp(pattern);
    ASSERT_GE(fd, 0);
    close(fd);
    path_ = pattern;
    setenv("ZELTA_UI", "headless", 1);
  }
  void TearDown() override {
    if (glob) __EndGlobal();
    unsetenv("ZELTA_UI_SCRIPT");
    unsetenv("ZELTA_UI");
    unlink(path_.c_str());
  }
  void script(const char* text) {
    std::ofstream(path_) << text;
    setenv("ZELTA_UI_SCRIPT", path_.c_str(), 1);
  }
  static int yesNo(const char* text) { return __GET_BOOL(__MsgYesNo(__INIT_CHARPTR(text), nullptr)) ? 1 : 0; }
  std::string path_;
};

}  // namespace

TEST_F(HeadlessScriptTest, AnswersComeFromTheScriptInOrder) {
  script("answer no\nanswer yes\nanswer NO thanks\npress OK\nanswer no\n");
  ASSERT_TRUE(__BeginGlobal());
  testing::internal::CaptureStdout();
  const struct {
    bool alert;
    int want;
  } boxes[] = {
      {false, 0},  // answer no
      {true, 1},   // an alert takes the next answer too
      {false, 0},  // "no" is a prefix, in any case
      {false, 1},  // not an answer line: OK, and the line stays
      {false, 1},  // ... for every box after it
  };
  for (const auto& b : boxes) {
    const int got = b.alert ? __GET_BOOL(__MsgAlert(__INIT_CHARPTR("note"), __INIT_CHARPTR("Info"))) : yesNo("go?");
    EXPECT_EQ(got, b.want);
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "[Please, select] go?\n[Info] note\n[Please, select] go?\n[Please, select] go?\n[Please, select] go?\n");
}

TEST_F(HeadlessScriptTest, EachApplicationReadsTheScriptFromItsStart) {
  script("answer no\n");
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(__BeginGlobal());
    testing::internal::CaptureStdout();
    EXPECT_EQ(yesNo("first"), 0) << "round " << round;
    EXPECT_EQ(yesNo("second"), 1) << "round " << round;
    testing::internal::GetCapturedStdout();
    __EndGlobal();
  }
}

TEST_F(HeadlessScriptTest, WithoutAScriptEveryBoxIsAnsweredYes) {
  for (const char* setting : {"", "/tmp/zelta_no_such_script"}) {
    setenv("ZELTA_UI_SCRIPT", setting, 1);
    ASSERT_TRUE(__BeginGlobal());
    testing::internal::CaptureStdout();
    EXPECT_EQ(yesNo("go?"), 1) << "'" << setting << "'";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "[Please, select] go?\n");
    __EndGlobal();
  }
}

TEST(ScriptLineTest, LinesReadAsEvents) {
  using ui::ControlRef;
  using ui::ScriptEvent;
  const struct {
    const char* line;
    ScriptEvent::Verb verb;
    ControlRef::Kind control;
    long id;
    const char* text;
    long number;
  } cases[] = {
      {"", ScriptEvent::kComment, ControlRef::kNone, 0, "", 0},
      {"   # a note", ScriptEvent::kComment, ControlRef::kNone, 0, "", 0},
      {"type 6002 12,50", ScriptEvent::kType, ControlRef::kId, 6002, "12,50", 0},
      {"TYPE 6002  two words ", ScriptEvent::kType, ControlRef::kId, 6002, " two words ", 0},
      {"type * \"  padded  \"", ScriptEvent::kType, ControlRef::kFocused, 0, "  padded  ", 0},
      {"type 6002", ScriptEvent::kType, ControlRef::kId, 6002, "", 0},
      {"press \"Cancel\"", ScriptEvent::kPress, ControlRef::kCaption, 0, "", 0},
      {"press \"Two words\"", ScriptEvent::kPress, ControlRef::kCaption, 0, "", 0},
      {"choose 6003 2", ScriptEvent::kChoose, ControlRef::kId, 6003, "", 2},
      {"focus *", ScriptEvent::kFocus, ControlRef::kFocused, 0, "", 0},
      {"key tab", ScriptEvent::kKey, ControlRef::kNone, 0, "", 0},
      {"key x", ScriptEvent::kKey, ControlRef::kNone, 0, "x", 0},
      {"menu \"Open\"", ScriptEvent::kMenu, ControlRef::kCaption, 0, "", 0},
      {"timer 6010", ScriptEvent::kTimer, ControlRef::kNone, 0, "", 6010},
      {"wait 250", ScriptEvent::kWait, ControlRef::kNone, 0, "", 250},
      {"answer No", ScriptEvent::kAnswer, ControlRef::kNone, 0, "No", 0},
      {"dump", ScriptEvent::kDump, ControlRef::kNone, 0, "", 0},
      {"close", ScriptEvent::kClose, ControlRef::kNone, 0, "", 0},
  };
  for (const auto& c : cases) {
    ScriptEvent e;
    std::string error;
    ASSERT_TRUE(ui::parseScriptLine(c.line, e, error)) << c.line << ": " << error;
    EXPECT_EQ(e.verb, c.verb) << c.line;
    EXPECT_EQ(e.control.kind, c.control) << c.line;
    EXPECT_EQ(e.control.id, c.id) << c.line;
    EXPECT_EQ(e.text, c.text) << c.line;
    EXPECT_EQ(e.number, c.number) << c.line;
  }
  ScriptEvent caption;
  std::string error;
  ASSERT_TRUE(ui::parseScriptLine("press \"Two words\"", caption, error));
  EXPECT_EQ(caption.control.caption, "Two words");
}

TEST(ScriptLineTest, UnreadableLinesSayWhy) {
  const struct {
    const char* line;
    const char* error;
  } cases[] = {
      {"typo 6002", "unknown event: typo"},
      {"press", "a control is missing"},
      {"press OK", "not a control: OK"},
      {"press \"OK", "a caption lacks its closing quote"},
      {"press 6003 extra", "unexpected text: extra"},
      {"choose 6003", "a row number is missing"},
      {"choose 6003 0", "not a row number: 0"},
      {"choose 6003 two", "not a row number: two"},
      {"key", "a key is missing"},
      {"key shift", "not a key: shift"},
      {"wait soon", "not a number: soon"},
      {"timer", "a number is missing"},
      {"dump now", "unexpected text: now"},
  };
  for (const auto& c : cases) {
    ui::ScriptEvent e;
    std::string error;
    EXPECT_FALSE(ui::parseScriptLine(c.line, e, error)) << c.line;
    EXPECT_EQ(error, c.error) << c.line;
  }
}

TEST(ScriptLineTest, KeyNames) {
  const struct {
    const char* name;
    int key;
  } cases[] = {{"Tab", ui::kKeyTab},
               {"shift-tab", ui::kKeyBackTab},
               {"ENTER", ui::kKeyEnter},
               {"esc", ui::kKeyEsc},
               {"pgdn", ui::kKeyPageDown},
               {"f1", ui::kKeyF1},
               {"F12", ui::kKeyF12},
               {"f13", 0},
               {"shift-f2", ui::kKeyShiftF1 + 1},
               {"38", ui::kKeyDevice + 38},
               {"7", 0},
               {"space", ui::kKeySpace},
               {"what", 0}};
  for (const auto& c : cases) EXPECT_EQ(ui::scriptKey(c.name), c.key) << c.name;
}

TEST_F(HeadlessScriptTest, TheHeadlessDriverPlaysTheScriptAndReportsBadLines) {
  script("# fill in the form\ntype * 42\nbogus line\npress 7777\ndump\npress \"Nope\"\npress \"ok\"\ntype * lost\n");
  ASSERT_TRUE(__BeginGlobal());
  pObj_Node w = __ObjWin(__INIT_DOUBLE(0), __INIT_DOUBLE(0), __INIT_CHARPTR("Form"), __INIT_DOUBLE(160),
                         __INIT_DOUBLE(160), __INIT_BOOL(1));
  __NewField(w, __INIT_DOUBLE(1), __INIT_DOUBLE(1), __INIT_DOUBLE(0), __INIT_CHARPTR("999"));
  __NewButtom(
      w, __INIT_DOUBLE(20), __INIT_DOUBLE(1), __INIT_CHARPTR("OK"),
      __INIT_VOIDPTR(reinterpret_cast<void*>(+[](pObj_Node, pObj_Node, pObj_Node) { return __CloseDialog(); })));
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  __ActivateWin(w);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(out, "\n--- 6000 \"Form\" ---\n6001 field \"42\" focus\n6002 button \"OK\"\n---\n");
  EXPECT_EQ(err, path_ + ":3: unknown event: bogus: bogus line\n" + path_ + ":4: no control 7777\n" + path_ +
                     ":6: no control \"Nope\" in this dialog\n");
  __ActivateWin(w);  // the last line is for the next dialog
  EXPECT_EQ(ui::state().scriptPos, ui::state().scriptLines.size());
}
