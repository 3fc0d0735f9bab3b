// Writing a day number in a date format.
#include "date_text.h"

#include <cstdio>

#include "day_number.h"

namespace core {

namespace {

bool isDayLetter(char c) { return c == 'd' || c == 'D'; }
bool isMonthLetter(char c) { return c == 'm' || c == 'M'; }
bool isYearLetter(char c) { return c == 'y' || c == 'Y'; }

}  // namespace

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
  if (dayNumber == 0) return std::string(static_cast<size_t>(layout.length), ' ');
  const CivilDate date = dateOf(dayNumber);
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

}  // namespace core
