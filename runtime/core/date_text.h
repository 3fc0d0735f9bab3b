// The date text: a day number written in a date format ("mm/dd/yy"), as
// __Dtoc returns it and the console prints it. The format is scanned once:
// the first "d"/"D", "m"/"M" and "y"/"Y" mark where each field starts and
// every further letter of the same kind lengthens its run; the separator is
// the format's last character that is none of these letters.
#ifndef ZELTA_CORE_DATE_TEXT_H
#define ZELTA_CORE_DATE_TEXT_H

#include <string>

namespace core {

// Where each field of a date format sits.
struct DateLayout {
  int dayPos = -1, dayLen = 0;
  int monthPos = -1, monthLen = 0;
  int yearPos = -1, yearLen = 0;
  char separator = 0;  // 0 when the format has none
  int length = 0;
};
DateLayout scanDateFormat(const char* format);

// The three fields in the order their runs start, each padded with zeros to
// its run's length (a year run shorter than 4 prints the year modulo 100),
// joined by the separator. The empty date (day 0) is blanks of the format's
// length.
std::string formatDate(long dayNumber, const char* format);

// Appends value as "%0*ld" writes it.
void appendPadded(std::string& text, long value, int width);

}  // namespace core

#endif
