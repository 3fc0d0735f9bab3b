// Calendar arithmetic: proleptic Gregorian day counts, shifted so that
// 30 December 1899 is day 0. Encoding counts whole years from year 1; decoding
// peels off 400-, 100-, 4- and 1-year periods and then walks the month table.
#include "calendar.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace lib {

namespace {

const int kMonthDays[2][12] = {
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

bool isDayLetter(char c) { return c == 'd' || c == 'D'; }
bool isMonthLetter(char c) { return c == 'm' || c == 'M'; }
bool isYearLetter(char c) { return c == 'y' || c == 'Y'; }

// Reads the field [pos, pos+len) of text as a decimal integer; a field that
// lies beyond the text, or holds no digits, reads as 0.
long readField(const char *text, int pos, int len) {
  if (pos < 0 || len <= 0) return 0;
  size_t size = strlen(text);
  if (static_cast<size_t>(pos) >= size) return 0;
  char buf[16] = {};
  size_t n = size - pos < static_cast<size_t>(len) ? size - pos : static_cast<size_t>(len);
  if (n >= sizeof buf) n = sizeof buf - 1;
  memcpy(buf, text + pos, n);
  return strtol(buf, nullptr, 10);
}

// Two-digit hours, minutes and seconds at fixed places of "hh:mm:ss".
long twoDigits(const char *text, size_t at) {
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

bool encodeDate(long year, long month, long day, long epoch, long offset, long &result) {
  result = 0;
  if (month == 0 || day == 0) return year == 0 && month == 0 && day == 0;
  if (epoch < 1900) epoch = 1900;
  year = completeYear(year, epoch);
  if (year < 1 || year >= 10000 || month < 1 || month > 12) return false;
  if (day < 1 || day > monthLength(year, static_cast<int>(month))) return false;
  long n = day;
  for (int m = 1; m < month; ++m) n += monthLength(year, m);
  long y = year - 1;
  result = y * 365 + y / 4 - y / 100 + y / 400 + n + offset - kDaysToOrigin;
  return true;
}

DateParts decodeDate(long dayNumber) {
  DateParts parts;
  long t = dayNumber + kDaysToOrigin - 1;
  if (dayNumber == 0 || t < 0) return parts;
  long year = 1;
  year += t / 146097 * 400;
  t %= 146097;
  long i = t / 36524;
  if (i == 4) i = 3;
  t -= i * 36524;
  year += i * 100;
  year += t / 1461 * 4;
  t %= 1461;
  i = t / 365;
  if (i == 4) i = 3;
  t -= i * 365;
  year += i;
  int month = 1;
  while (t >= monthLength(year, month)) t -= monthLength(year, month++);
  parts.year = year;
  parts.month = month;
  parts.day = static_cast<int>(t) + 1;
  return parts;
}

DateLayout scanDateFormat(const char *format) {
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

std::string formatDate(long dayNumber, const char *format) {
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
  for (const Field &f : fields) {
    if (f.pos < 0) continue;
    if (!text.empty() && layout.separator) text += layout.separator;
    char buf[32];
    snprintf(buf, sizeof buf, "%0*ld", f.len, f.value);
    text += buf;
  }
  return text;
}

long parseDate(const char *text, const char *format, long epoch) {
  if (strlen(text) < 8) return 0;
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

bool isValidDateText(const char *text, const char *format) {
  if (!*text) return true;
  DateLayout layout = scanDateFormat(format);
  long day = readField(text, layout.dayPos, layout.dayLen);
  long month = readField(text, layout.monthPos, layout.monthLen);
  long year = readField(text, layout.yearPos, layout.yearLen);
  if (year == 0 && month == 0) return day == 0;
  return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

long secondsOfTime(const char *text) {
  return twoDigits(text, 0) * 3600 + twoDigits(text, 3) * 60 + twoDigits(text, 6);
}

std::string elapsedTime(const char *t1, const char *t2) {
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

std::string timeStamp(long n, const LocalTime &now) {
  // Seconds since the start of the month: grows with the time of day.
  long long seconds = ((static_cast<long long>(now.day) * 24 + now.hour) * 60 + now.minute) * 60 + now.second;
  char digits[64];
  snprintf(digits, sizeof digits, "%ld%lld", n - 2000, seconds);
  char buf[64];
  snprintf(buf, sizeof buf, "%llx", static_cast<unsigned long long>(strtoll(digits, nullptr, 10)));
  return buf;
}

namespace {
LocalTime (*clockOverride)() = nullptr;
}  // namespace

void setClock(LocalTime (*clock)()) { clockOverride = clock; }

LocalTime localTimeNow() {
  if (clockOverride) return clockOverride();
  time_t t = time(nullptr);
  struct tm tmv;
  localtime_r(&t, &tmv);
  return LocalTime{tmv.tm_year + 1900L, tmv.tm_mon + 1, tmv.tm_mday, tmv.tm_hour, tmv.tm_min, tmv.tm_sec};
}

long todayDayNumber() {
  LocalTime now = localTimeNow();
  long result = 0;
  encodeDate(now.year, now.month, now.day, 1900, 0, result);
  return result;
}

}  // namespace lib
