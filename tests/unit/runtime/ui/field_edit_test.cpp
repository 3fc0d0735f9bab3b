// Pictures applied to fields: what a field shows, what editing starts from,
// what may be typed where, and the value an edited text stands for.
#include "field_edit.h"

#include <gtest/gtest.h>

#include "number_text.h"
#include "ui_fixture.h"

namespace {

using ui::Value;

Value text(const char* s) { return Value{T_CHARPTR, 0, s, false}; }
Value number(double x) { return Value{T_DOUBLE, x, "", false}; }
Value date(double day) { return Value{T_DATE, day, "", false}; }
Value logical(bool b) { return Value{T_BOOL, 0, "", b}; }

class FieldEditTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    lib::setDecimalSeparator('.');
  }
  void TearDown() override {
    lib::setDecimalSeparator(0);
    UiTest::TearDown();
  }
};

TEST_F(FieldEditTest, DisplayTextFollowsThePicture) {
  const struct {
    Value value;
    const char* picture;
    const char* shown;
  } cases[] = {
      {text("abc"), "@!", "ABC"},
      {text("12345678"), "@R 99.999-999", "12.345-678"},
      {text("abc"), "!!!", "ABC"},  // a template without a code
      {text("abc"), "", "abc"},
      {number(5), "999", "  5"},
      {number(1234.5), "@E 9,999.99", "1,234.50"},
      {number(-3), "@E 999", " -3"},
      {number(5), "", "5.000000"},  // no picture: "%f"
      {date(36526), "", "01/01/00"},
      {date(0), "", "        "},  // the empty date: blanks of the format
      {logical(true), "", "T"},
      {logical(false), "", "F"},
      {Value{}, "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ui::displayText(c.value, c.picture), c.shown) << c.picture;
}

TEST_F(FieldEditTest, EditingStartsFromTheBareText) {
  const struct {
    Value value;
    const char* picture;
    const char* edit;
    size_t limit;
  } cases[] = {
      {text("ab   "), "", "ab", 5},                        // trailing blanks trimmed, the length kept as the limit
      {text(""), "", "", 0},                               // no length: no limit
      {text("12345678"), "@R 99.999-999", "12345678", 8},  // only the template positions
      {text("ab"), "@!", "AB", 2},
      {number(5), "999", "5", 3},
      {number(2.5), "@E 999.99", "2.50", 6},
      {date(0), "", "", 8},
      {date(36526), "", "01/01/00", 8},
      {logical(true), "", "T", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ui::editText(c.value, c.picture), c.edit) << c.picture;
    EXPECT_EQ(ui::editLimit(c.value, c.picture), c.limit) << c.picture;
  }
}

TEST_F(FieldEditTest, TypedCharactersAreFilteredByTheirPosition) {
  const struct {
    Value value;
    const char* picture;
    size_t position;
    const char* typed;
    const char* kept;
  } cases[] = {
      {text(""), "@R 99-AA", 0, "5", "5"}, {text(""), "@R 99-AA", 1, "x", ""},  // a digit position refuses a letter
      {text(""), "@R 99-AA", 2, "x", "x"},  // the literal is skipped: position 2 is the first A
      {text(""), "@R 99-AA", 4, "x", ""},   // past the template
      {text(""), "!!", 0, "a", "A"},       {text(""), "!!", 0, "1", ""},
      {text(""), "@!", 7, "b", "B"},       {text(""), "@!", 0, "\xC3\xA7", "\xC3\xA7"},  // not ASCII: left as typed
      {text(""), "", 0, "?", "?"},         {number(0), "999", 0, "-", "-"},
      {number(0), "999", 0, "x", ""},      {date(0), "", 0, "/", "/"},
      {date(0), "", 0, "a", ""},           {logical(false), "", 0, "y", "Y"},
      {logical(false), "", 0, "q", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ui::acceptTyped(c.value, c.picture, c.position, c.typed), c.kept) << c.picture << " at " << c.position;
}

TEST_F(FieldEditTest, TheEditedTextKeepsTheOriginalType) {
  const struct {
    const char* edit;
    Value original;
    const char* picture;
    Value want;
  } cases[] = {
      {"12", number(0), "999", number(12)},
      {"1,5", number(0), "", number(1.5)},  // the rightmost separator is the decimal one
      {"", number(7), "", number(0)},
      {"01/02/00", date(0), "", date(36527)},
      {"garbage", date(5), "", date(0)},
      {"ab", text("abcde"), "", text("ab   ")},  // padded to the length it had
      {"ab", text("abcde"), "@!", text("AB   ")},
      {"abcdef", text(""), "", text("abcdef")},
      {"s", logical(false), "", logical(true)},
      {"N", logical(true), "", logical(false)},
      {"x", Value{}, "", text("x")},  // a field without a value edits a text
  };
  for (const auto& c : cases) {
    const Value v = ui::commitText(c.edit, c.original, c.picture);
    EXPECT_EQ(v.type, c.want.type) << c.edit;
    EXPECT_EQ(v.number, c.want.number) << c.edit;
    EXPECT_EQ(v.text, c.want.text) << c.edit;
    EXPECT_EQ(v.flag, c.want.flag) << c.edit;
  }
}

TEST_F(FieldEditTest, PictureSizeCountsBackToTheFirstBlank) {
  const struct {
    const char* picture;
    int size;
  } cases[] = {
      {"@R 99.999-999", 8}, {"@E 9,999.99", 6}, {"@R 999 AA", 2}, {"@R", 0}, {"@! XXX", 0}, {"999", 0}, {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ui::pictureSize(c.picture), c.size) << c.picture;
}

TEST_F(FieldEditTest, EditTextsAreWalkedByCharacter) {
  const std::string s =
      "\xC3\xA7"
      "a\xC3\xA3o";  // ç a ã o
  EXPECT_EQ(ui::characterCount(s), 4u);
  EXPECT_EQ(ui::previousBoundary(s, 2), 0u);
  EXPECT_EQ(ui::nextBoundary(s, 0), 2u);
  EXPECT_EQ(ui::nextBoundary(s, 3), 5u);
  EXPECT_EQ(ui::previousBoundary(s, 0), 0u);
  EXPECT_EQ(ui::nextBoundary(s, s.size()), s.size());
}

}  // namespace
