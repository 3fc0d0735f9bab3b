// The number formatter, __Val's reader, pictures and check digits.
#include "number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "picture.h"

namespace {

struct FormatCase {
  double x;
  int decimals;
  bool round;
  const char* text;
};

TEST(NumberText, FormatsNumbers) {
  // clang-format off
  const FormatCase cases[] = {
      {5, 0, true, "5"},           {-5, 0, true, "-5"},          {2.5, 0, true, "3"},
      {-2.5, 0, true, "-3"},       {1.125, 2, true, "1.13"},     {2.675, 2, true, "2.68"},
      {1234.5678, 2, true, "1234.57"}, {0.3, 1, true, "0.3"},     {-0.3, 1, true, "-0.3"},
      {-0.001, 2, true, "0.00"},   {2.999, 2, false, "2.99"},    {0.29, 2, false, "0.29"},
      {123456789012.0, 0, true, "123456789012"}, {0.999, 2, true, "1.00"}, {7, 3, true, "7.000"},
  };
  // clang-format on
  for (const FormatCase& c : cases) EXPECT_EQ(lib::formatNumber(c.x, c.decimals, c.round, '.'), c.text) << c.x;
  EXPECT_EQ(lib::formatNumber(1.5, 2, true, ','), "1,50");
}

TEST(NumberText, FormatsWholeNumbersOfEveryMagnitude) {
  const struct {
    double x;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {9007199254740993.0, "9007199254740992"},  // the nearest double
      {-1e17, "-100000000000000000"},
      {18446744073709549568.0, "18446744073709549568"},  // the largest double below 2^64
      {18446744073709551616.0, "18446744073709551616"},
      {1e22, "10000000000000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(lib::formatNumber(c.x, 0, true, '.'), c.text) << c.text;
  EXPECT_EQ(lib::formatNumber(123456789.125, 2, true, '.'), "123456789.13");
  EXPECT_EQ(lib::formatNumber(0.5, 15, true, '.'), "0.500000000000000");
}

TEST(NumberText, StrAndStrZero) {
  lib::setDecimalSeparator('.');
  EXPECT_EQ(lib::strOfNumber(5, 10, 0), "         5");
  EXPECT_EQ(lib::strOfNumber(3.14159, 8, 2), "    3.14");
  EXPECT_EQ(lib::strOfNumber(123456, 3, 0), "123456");  // never cut
  EXPECT_EQ(lib::strZeroOfNumber(7, 3, 0), "007");
  EXPECT_EQ(lib::strZeroOfNumber(-5, 5, 0), "-0005");
  EXPECT_EQ(lib::strZeroOfNumber(1.25, 7, 2), "0001.25");
  EXPECT_EQ(lib::strZeroOfNumber(1.5, 8, 3), "0001.50");  // a zero third decimal is cut
  lib::setDecimalSeparator(',');
  EXPECT_EQ(lib::strOfNumber(2.5, 6, 1), "   2,5");
  lib::setDecimalSeparator('.');
}

TEST(NumberText, ReadsValues) {
  const struct {
    const char* text;
    double value;
    // clang-format off
  } cases[] = {
      {"123", 123},       {"  12.5 ", 12.5}, {"-12.5", -12.5}, {"1.234,56", 1234.56}, {"1,234.56", 1234.56},
      {"1 234", 1234},    {"", 0},           {"abc", 0},       {"12abc", 12},         {"R$ -7,50", -7.5},
      {"- 3", -3},        {".5", 0.5},       {"1.23", 1.23},   {"...", 0},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(lib::valueOfText(c.text), c.value) << c.text;
  // Long texts and long fractions read the same way.
  EXPECT_EQ(lib::valueOfText(std::string(100, ' ') + "-4" + std::string(100, ' ') + "2.5"), -42.5);
  EXPECT_EQ(lib::valueOfText("0.0000000000000000000000025"), 25 / std::pow(10.0, 25));
}

TEST(NumberText, CutsDecimals) {
  EXPECT_EQ(lib::cutDecimals(2.999, 2), 2.99);
  EXPECT_EQ(lib::cutDecimals(-2.999, 2), -2.99);
  EXPECT_EQ(lib::cutDecimals(0.29, 2), 0.29);
  EXPECT_EQ(lib::cutDecimals(7.9, 0), 7);
}

TEST(Picture, MaskTypes) {
  EXPECT_EQ(lib::maskType("@!"), lib::kMaskUpper);
  EXPECT_EQ(lib::maskType("@R 999"), lib::kMaskTemplate);
  EXPECT_EQ(lib::maskType("@E 999.99"), lib::kMaskNumeric);
  EXPECT_EQ(lib::maskType("@D"), lib::kMaskDate);
  EXPECT_EQ(lib::maskType("999.99"), lib::kMaskNone);
  EXPECT_EQ(lib::maskType("@"), lib::kMaskNone);
  EXPECT_EQ(lib::pictureTemplate("@R   99-9"), "99-9");
}

TEST(Picture, TextTemplates) {
  const struct {
    const char *tmpl, *text, *out;
  } cases[] = {
      {"99.999-999", "12345678", "12.345-678"},
      {"99.999-999", "12.345-678", "12.345-678"},  // literals already in the text are consumed
      {"!!-999", "ab123", "AB-123"},
      {"!!-999", "a1", "A"},  // a digit cannot fill a letter position
      {"(99) 9999", "1234", "(12) 34"},
      {"XXX", "a b", "a b"},
  };
  for (const auto& c : cases) EXPECT_EQ(lib::applyTextTemplate(c.tmpl, c.text), c.out) << c.text;
}

TEST(Picture, NumberTemplates) {
  const struct {
    const char* tmpl;
    double x;
    char sep;
    const char* out;
  } cases[] = {
      {"999,999.99", 1234.5, '.', "  1,234.50"},
      {"999,999.99", 1234.5, ',', "  1.234,50"},
      {"999.99", 0.5, '.', "  0.50"},
      {"999.99", -12.345, '.', "-12.35"},
      {"9999", -12, '.', " -12"},
      {"99", -12, '.', "-12"},       // no room: the sign goes in front
      {"99.9", 123.4, '.', "**.*"},  // too many digits
      {"999,999", 12, '.', "     12"},
      // More decimals than a number is written with read past its text.
      {"9.9999999999999999999999999", 1.5, '.', "1.5000000000000000000000000"},
      {"999.99", 1.0 / 0.0, '.', "***.**"},  // no digits to show
      {"999.99", 0.0 / 0.0, '.', "***.**"},
  };
  for (const auto& c : cases) EXPECT_EQ(lib::applyNumberTemplate(c.tmpl, c.x, c.sep), c.out) << c.tmpl << " " << c.x;
  EXPECT_EQ(lib::numberOfDigits("1-234"), -1234);
}

TEST(Picture, CheckDigits) {
  EXPECT_TRUE(lib::validCpf("11144477735"));
  EXPECT_FALSE(lib::validCpf("11144477736"));
  EXPECT_FALSE(lib::validCpf("11144477745"));
  EXPECT_FALSE(lib::validCpf("111.444.777-35"));
  EXPECT_FALSE(lib::validCpf("1114447773"));
  EXPECT_TRUE(lib::validCgc("11222333000181"));
  EXPECT_FALSE(lib::validCgc("11222333000182"));
  EXPECT_FALSE(lib::validCgc("11.222.333/0001-81"));
}

}  // namespace
