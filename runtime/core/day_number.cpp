// Day-number conversions over whole eras of 400 years (146,097 days), so no
// loop runs over years and any year from -32767 to 32767 converts exactly.
// Counted from 1 March of year 0, leap days fall at the end of each year, so
// a day's place within its era fixes the year by division.
#include "day_number.h"

#include "core_state.h"

#include <cmath>

namespace core {

namespace {

// Days from 1 March of year 0 to 30 December 1899.
constexpr long kEpochShift = 693899;

long daysFromCivil(long y, long m, long d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

CivilDate decodeDays(long dayNumber) {
  const long z = dayNumber + kEpochShift;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2));
  return CivilDate{year, month, day};
}

}  // namespace

long encodeDayNumber(int year, int month, int day) {
  long y = year, m = month;
  if (m < 1 || m > 12) {  // carried into the year
    const long carry = m >= 1 ? (m - 1) / 12 : -((12 - m) / 12);
    y += carry;
    m -= carry * 12;
  }
  return daysFromCivil(y, m, day) - kEpochShift;
}

CivilDate decodeDayNumber(double dayNumber) { return decodeDays(static_cast<long>(std::floor(dayNumber))); }

CivilDate dateOf(long dayNumber) {
  State& s = state();
  if (dayNumber == s.lastDayNumber) return s.lastDate;
  const bool none = dayNumber == 0 || dayNumber < kFirstDayNumber;
  s.lastDate = none ? CivilDate() : decodeDays(dayNumber);
  s.lastDayNumber = dayNumber;
  return s.lastDate;
}

bool isLeapYear(long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(long year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool isValidDate(int year, int month, int day) {
  return month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

}  // namespace core
