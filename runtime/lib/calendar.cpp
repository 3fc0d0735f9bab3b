// The date functions' arithmetic: the epoch, checked encoding, reading date
// texts and time texts. Day numbers and date texts come from the core.
#include "calendar.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace lib {

namespace {

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

// Two-digit hours, minutes and seconds at fixed places of "hh:mm:ss".
long twoDigits(const char* text, size_t at) {
  size_t size = strlen(text);
  if (at >= size) return 0;
  char buf[3] = {text[at], at + 1 < size ? text[at + 1] : '\0', '\0'};
  return strtol(buf, nullptr, 10);
}

}  // namespace

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
  if (day < 1 || day > core::daysInMonth(year, static_cast<int>(month))) return false;
  result = core::encodeDayNumber(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)) + offset;
  return true;
}

std::string dateStamp(long dayNumber) {
  DateParts date = decodeDate(dayNumber);
  std::string text;
  core::appendPadded(text, date.year, 4);
  core::appendPadded(text, date.month, 2);
  core::appendPadded(text, date.day, 2);
  return text;
}

long parseDate(std::string_view text, const char* format, long epoch) {
  if (text.size() < 8) return 0;
  core::DateLayout layout = core::scanDateFormat(format);
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
  core::DateLayout layout = core::scanDateFormat(format);
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
  long days = d.day + static_cast<long>(core::daysInMonth(d.year, d.month)) * (d.month - 1);
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
