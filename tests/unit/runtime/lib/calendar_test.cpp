// Day numbers, the epoch window, date formats and times, on plain values.
#include "calendar.h"

#include <gtest/gtest.h>

namespace {

struct EncodeCase {
  long year, month, day;
  long expected;  // 0: the encoding fails (or is the empty date)
};

TEST(Calendar, EncodesDayNumbers) {
  // clang-format off
  const EncodeCase cases[] = {
      {1899, 12, 30, 0},      {1899, 12, 31, 1},     {1900, 1, 1, 2},      {2000, 1, 1, 36526},
      {2000, 2, 29, 36585},   {1900, 2, 29, 0},      {2100, 2, 29, 0},     {2009, 3, 5, 39877},
      {2009, 4, 31, 0},       {2009, 13, 1, 0},      {9999, 12, 31, 2958465}, {10000, 1, 1, 0},
      {39, 2, 1, 50802},      {45, 1, 1, 16438},     {0, 0, 0, 0},
  };
  // clang-format on
  for (const EncodeCase& c : cases) {
    long n = -1;
    lib::encodeDate(c.year, c.month, c.day, 1940, 0, n);
    EXPECT_EQ(n, c.expected) << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(Calendar, EncodingReportsFailureAndTheEmptyDate) {
  long n = 7;
  EXPECT_TRUE(lib::encodeDate(0, 0, 0, 1940, 0, n));
  EXPECT_EQ(n, 0);
  EXPECT_FALSE(lib::encodeDate(2000, 0, 5, 1940, 0, n));
  EXPECT_FALSE(lib::encodeDate(2000, 2, 30, 1940, 0, n));
  EXPECT_TRUE(lib::encodeDate(2000, 1, 31, 1940, 1, n));  // the offset runs past the month
  EXPECT_EQ(n, 36557);
}

TEST(Calendar, EpochPlacesTwoDigitYears) {
  EXPECT_EQ(lib::completeYear(39, 1940), 2039);
  EXPECT_EQ(lib::completeYear(40, 1940), 1940);
  EXPECT_EQ(lib::completeYear(45, 1940), 1945);
  EXPECT_EQ(lib::completeYear(5, 1980), 2005);
  EXPECT_EQ(lib::completeYear(99, 2000), 2099);
  EXPECT_EQ(lib::completeYear(1999, 1940), 1999);
  long n = 0;
  lib::encodeDate(10, 1, 1, 1800, 0, n);  // an epoch below 1900 counts as 1900
  EXPECT_EQ(lib::decodeDate(n).year, 1910);
}

TEST(Calendar, DecodeInvertsEncodeOverFourCenturies) {
  long previous = 1;  // 31 December 1899
  for (long year = 1900; year <= 2401; ++year)
    for (int month = 1; month <= 12; ++month)
      for (int day = 1; day <= core::daysInMonth(year, month); ++day) {
        long n = 0;
        ASSERT_TRUE(lib::encodeDate(year, month, day, 1940, 0, n));
        ASSERT_EQ(n, previous + 1);
        previous = n;
        lib::DateParts d = lib::decodeDate(n);
        ASSERT_TRUE(d.year == year && d.month == month && d.day == day) << n;
      }
  lib::DateParts empty = lib::decodeDate(0);
  EXPECT_EQ(empty.year + empty.month + empty.day, 0);
}

TEST(Calendar, DecodesEveryDayOfYearsOneTo9999) {
  long n = 1 - lib::kDaysToOrigin;            // 1 January of year 1
  EXPECT_EQ(lib::decodeDate(n - 1).year, 0);  // before the first day: the empty date
  for (long year = 1; year <= 9999; ++year)
    for (int month = 1; month <= 12; ++month)
      for (int day = 1; day <= core::daysInMonth(year, month); ++day, ++n) {
        if (n == 0) continue;  // 30 December 1899 is also the empty date
        lib::DateParts d = lib::decodeDate(n);
        ASSERT_TRUE(d.year == year && d.month == month && d.day == day) << n;
      }
  lib::DateParts after = lib::decodeDate(n);  // years past 9999 still decode
  EXPECT_TRUE(after.year == 10000 && after.month == 1 && after.day == 1);
}

struct FormatCase {
  long day;
  const char* format;
  const char* text;
};

TEST(Calendar, FormatsDates) {
  // clang-format off
  const FormatCase cases[] = {
      {39877, "mm/dd/yy", "03/05/09"},   {39877, "dd/mm/yyyy", "05/03/2009"}, {39877, "yyyy-mm-dd", "2009-03-05"},
      {39877, "dd.mm.yy", "05.03.09"},   {39877, "yyyymmdd", "20090305"},     {39877, "DD/MM/YYYY", "05/03/2009"},
      {0, "dd/mm/yyyy", "          "},   {0, "mm/dd/yy", "        "},        {2, "mm/dd/yy", "01/01/00"},
  };
  // clang-format on
  for (const FormatCase& c : cases) EXPECT_EQ(core::formatDate(c.day, c.format), c.text) << c.format;
  EXPECT_EQ(core::formatDate(2958466, "dd/mm/yyyy"), "01/01/10000");  // a wider year is not cut
  EXPECT_EQ(core::formatDate(-693593, "yyyy/mm/d"), "0001/01/1");
}

TEST(Calendar, StampsDates) {
  EXPECT_EQ(lib::dateStamp(39877), "20090305");
  EXPECT_EQ(lib::dateStamp(0), "00000000");
  EXPECT_EQ(lib::dateStamp(-693593), "00010101");
  EXPECT_EQ(lib::dateStamp(2958466), "100000101");
}

TEST(Calendar, ParsesDates) {
  // clang-format off
  const FormatCase cases[] = {
      {50802, "dd/mm/yy", "01/02/39"},     {39877, "mm/dd/yy", "03/05/09"},   {39877, "dd/mm/yyyy", "05/03/2009"},
      {39877, "yyyy-mm-dd", "2009-03-05"}, {0, "dd/mm/yy", "1/2/3"},          {0, "dd/mm/yy", "30/02/09"},
      {0, "dd/mm/yy", "  /  /  "},         {0, "dd/mm/yy", "32/01/09"},       {0, "dd/mm/yy", "01/13/09"},
      {0, "dd/mm/yy", "00/00/09"},         {39877, "mm/dd/yy", " 3/ 5/09"},  {39877, "mm/dd/yy", "+3/05/09"},
      {0, "mm/dd/yy", "-3/05/09"},         {39877, "mm/dd/yy", "03/05/09xyz"}, {39877, "mm/dd/yy", "3x/05/09"},
  };
  // clang-format on
  for (const FormatCase& c : cases) EXPECT_EQ(lib::parseDate(c.text, c.format, 1940), c.day) << c.text;
}

TEST(Calendar, ValidatesDateTexts) {
  EXPECT_TRUE(lib::isValidDateText("", "dd/mm/yy"));
  EXPECT_TRUE(lib::isValidDateText("  /  /  ", "dd/mm/yy"));
  EXPECT_TRUE(lib::isValidDateText("31/02/09", "dd/mm/yy"));  // month lengths are not checked
  EXPECT_FALSE(lib::isValidDateText("12/  /  ", "dd/mm/yy"));
  EXPECT_FALSE(lib::isValidDateText("12/13/09", "dd/mm/yy"));
  EXPECT_FALSE(lib::isValidDateText("00/12/09", "dd/mm/yy"));
  EXPECT_TRUE(lib::isValidDateText("\t1/12/09", "dd/mm/yy"));  // blanks before a field's digits
}

TEST(Calendar, ElapsedTimes) {
  EXPECT_EQ(lib::elapsedTime("10:00:00", "12:30:15"), "02:30:15");
  EXPECT_EQ(lib::elapsedTime("10:00:00", "09:59:30"), "-00:00:30");
  EXPECT_EQ(lib::elapsedTime("00:00:00", "23:59:59"), "23:59:59");
  EXPECT_EQ(lib::elapsedTime("", "01:00"), "01:00:00");
}

TEST(Calendar, JulianDateAndStamp) {
  EXPECT_EQ(lib::julianDate(39877), (5 + 31 * 2) * 10000.0 + 2009);  // March of 2009
  EXPECT_EQ(lib::julianDate(39816), 3 * 10000.0 + 2009);             // 3 January: no month term
  lib::LocalTime morning{2026, 5, 3, 8, 0, 0}, evening{2026, 5, 3, 20, 0, 0};
  std::string a = lib::timeStamp(2026, morning), b = lib::timeStamp(2026, evening);
  EXPECT_LT(std::stoull(a, nullptr, 16), std::stoull(b, nullptr, 16));
}

}  // namespace
