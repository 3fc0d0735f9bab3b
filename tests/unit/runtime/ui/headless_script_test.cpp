// Message boxes on the headless driver: printed on standard output and
// answered from the ZELTA_UI_SCRIPT file, which each application reads anew.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "core.h"
#include "zeltamisc.h"

namespace {

class HeadlessScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zelta_script_XXXXXX";
    const int fd = mkstemp(pattern);
    ASSERT_GE(fd, 0);
    close(fd);
    path_ = pattern;
  }
  void TearDown() override {
    if (glob) __EndGlobal();
    unsetenv("ZELTA_UI_SCRIPT");
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
