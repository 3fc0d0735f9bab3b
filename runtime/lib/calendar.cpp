// Calendar arithmetic: proleptic Gregorian day counts, shifted so that
// 30 December 1899 is day 0. Encoding counts whole years from year 1; decoding
// works in years that start on 1 March, where month lengths repeat.
#include "calendar.h"

#include "lib_state.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace lib {

namespace {

const int kMonthDays[2][12] = {
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

// Days of a common year before the first of each month.
const int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// Days from 1 March of year 0 to 1 January of year 1.
constexpr long kDaysFromMarchOfYear0 = 306;

bool isDayLetter(char c) { return c == 'd' || c == 'D'; }
bool isMonthLetter(char c) { return c == 'm' || c == 'M'; }
bool isYearLetter(char c) { return c == 'y' || c == 'Y'; }

// The white space of the C locale, which the run-time never leaves.
bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads the field [pos, pos+len) of text as strtol reads a decimal integer
// (leading blanks, a sign, then digits); a field that lies beyond the text,
// or holds no digits, reads as 0.
long readField(std::string_view text, int pos, int len) {
  if (pos < 0 || len <= 0 || static_cast<size_t>(pos) >= text.size()) return 0;
  std::string_view field = text.substr(static_cast<size_t>(pos), std::min<size_t>(static_cast<size_t>(len), 15));
  size_t i = 0;
  while (i < field.size() && isBlank(field[i])) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
  long value = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) value = value * 10 + (field[i] - '0');
  return negative ? -value : value;
}

// Appends value as "%0*ld" writes it.
void appendPadded(std::string& text, long value, int width) {
  if (value < 0) {
    char buf[32];
    snprintf(buf, sizeof buf, "%0*ld", width, value);
    text += buf;
    return;
  }
  char digits[24];
  char *end = digits + sizeof digits, *p = end;
  do {
    *--p = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value);
  if (end - p < width) text.append(static_cast<size_t>(width - (end - p)), '0');
  text.append(p, static_cast<size_t>(end - p));
}

// Two-digit hours, minutes and seconds at fixed places of "hh:mm:ss".
long twoDigits(const char* text, size_t at) {
  size_t size = strlen(text);
  if (at >= size) return 0;
  char buf[3] = {text[at], at + 1 < size ? text[at + 1] : '\0', '\0'};
  return strtol(buf, nullptr, 10);
}

}  // namespace

bool isLeapYear(long year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int monthLength(long year, int month) {
  if (month < 1 || month > 12) return 0;
  return kMonthDays[isLeapYear(year) ? 1 : 0][month - 1];
}

long completeYear(long year, long epoch) {
  if (year >= 100) return year;
  long century = epoch / 100 * 100;
  year += century;
  if (year < epoch) year += 100;
  return year;
}

bool encodeDate(long year, long month, long day, long epoch, long offset, long& result) {
  result = 0;
  if (month == 0 || day == 0) return year == 0 && month == 0 && day == 0;
  if (epoch < 1900) epoch = 1900;
  year = completeYear(year, epoch);
  if (year < 1 || year >= 10000 || month < 1 || month > 12) return false;
  if (day < 1 || day > monthLength(year, static_cast<int>(month))) return false;
  long n = day + kDaysBeforeMonth[month - 1] + (month > 2 && isLeapYear(year) ? 1 : 0);
  long y = year - 1;
  result = y * 365 + y / 4 - y / 100 + y / 400 + n + offset - kDaysToOrigin;
  return true;
}

DateParts decodeDate(long dayNumber) {
  // A statement usually takes several parts of one date in a row.
  State& s = state();
  if (dayNumber == s.lastDayNumber) return s.lastParts;
  DateParts parts;
  long t = dayNumber + kDaysToOrigin - 1;
  if (dayNumber == 0 || t < 0) return parts;
  // Counted from 1 March of year 0, leap days fall at the end of each year,
  // so a day's place within its 400-year era fixes the year by division.
  const long z = t + kDaysFromMarchOfYear0;
  const long era = z / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  parts.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  parts.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  parts.year = yoe + era * 400 + (parts.month <= 2 ? 1 : 0);
  s.lastDayNumber = dayNumber;
  s.lastParts = parts;
  return parts;
}

DateLayout scanDateFormat(const char* format) {
  DateLayout layout;
  int i = 0;
  for (; format[i]; ++i) {
    char c = format[i];
    int *pos = nullptr, *len = nullptr;
    if (isDayLetter(c)) {
      pos = &layout.dayPos;
      len = &layout.dayLen;
    } else if (isMonthLetter(c)) {
      pos = &layout.monthPos;
      len = &layout.monthLen;
    } else if (isYearLetter(c)) {
      pos = &layout.yearPos;
      len = &layout.yearLen;
    } else {
      layout.separator = c;
      continue;
    }
    if (*pos < 0) *pos = i;
    ++*len;
  }
  layout.length = i;
  return layout;
}

std::string formatDate(long dayNumber, const char* format) {
  DateLayout layout = scanDateFormat(format);
  if (dayNumber == 0) return std::string(layout.length, ' ');
  DateParts date = decodeDate(dayNumber);
  struct Field {
    int pos, len;
    long value;
  } fields[3] = {
      {layout.dayPos, layout.dayLen, date.day},
      {layout.monthPos, layout.monthLen, date.month},
      {layout.yearPos, layout.yearLen, layout.yearLen < 4 ? date.year % 100 : date.year},
  };
  // Print in the order in which the runs start in the format.
  for (int a = 0; a < 3; ++a)
    for (int b = a + 1; b < 3; ++b)
      if (fields[b].pos >= 0 && (fields[a].pos < 0 || fields[b].pos < fields[a].pos)) {
        Field swap = fields[a];
        fields[a] = fields[b];
        fields[b] = swap;
      }
  std::string text;
  for (const Field& f : fields) {
    if (f.pos < 0) continue;
    if (!text.empty() && layout.separator) text += layout.separator;
    appendPadded(text, f.value, f.len);
  }
  return text;
}

std::string dateStamp(long dayNumber) {
  DateParts date = decodeDate(dayNumber);
  std::string text;
  appendPadded(text, date.year, 4);
  appendPadded(text, date.month, 2);
  appendPadded(text, date.day, 2);
  return text;
}

long parseDate(std::string_view text, const char* format, long epoch) {
  if (text.size() < 8) return 0;
  DateLayout layout = scanDateFormat(format);
  long day = readField(text, layout.dayPos, layout.dayLen);
  long month = readField(text, layout.monthPos, layout.monthLen);
  long year = readField(text, layout.yearPos, layout.yearLen);
  if (year == 0 && month == 0) return 0;
  if (month < 1 || month > 12 || day < 1 || day > 31) return 0;
  long result = 0;
  encodeDate(year, month, day, epoch, 0, result);
  return result;
}

bool isValidDateText(std::string_view text, const char* format) {
  if (text.empty()) return true;
  DateLayout layout = scanDateFormat(format);
  long day = readField(text, layout.dayPos, layout.dayLen);
  long month = readField(text, layout.monthPos, layout.monthLen);
  long year = readField(text, layout.yearPos, layout.yearLen);
  if (year == 0 && month == 0) return day == 0;
  return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

long secondsOfTime(const char* text) {
  return twoDigits(text, 0) * 3600 + twoDigits(text, 3) * 60 + twoDigits(text, 6);
}

std::string elapsedTime(const char* t1, const char* t2) {
  long s = secondsOfTime(t2) - secondsOfTime(t1);
  // One sign in front reads better than a sign on every field.
  bool negative = s < 0;
  if (negative) s = -s;
  char buf[40];
  snprintf(buf, sizeof buf, "%s%02ld:%02ld:%02ld", negative ? "-" : "", s / 3600, s % 3600 / 60, s % 60);
  return buf;
}

double julianDate(long dayNumber) {
  DateParts d = decodeDate(dayNumber);
  long days = d.day + static_cast<long>(monthLength(d.year, d.month)) * (d.month - 1);
  return static_cast<double>(days) * 10000.0 + static_cast<double>(d.year);
}

std::string timeStamp(long n, const LocalTime& now) {
  // Seconds since the start of the month: grows with the time of day.
  long long seconds = ((static_cast<long long>(now.day) * 24 + now.hour) * 60 + now.minute) * 60 + now.second;
  char digits[64];
  snprintf(digits, sizeof digits, "%ld%lld", n - 2000, seconds);
  char buf[64];
  snprintf(buf, sizeof buf, "%llx", static_cast<unsigned long long>(strtoll(digits, nullptr, 10)));
  return buf;
}

void setClock(LocalTime (*clock)()) { core::host::setClock(clock); }

LocalTime localTimeNow() { return core::host::localTime(); }

long todayDayNumber() {
  LocalTime now = localTimeNow();
  long result = 0;
  encodeDate(now.year, now.month, now.day, 1900, 0, result);
  return result;
}

}  // namespace lib
