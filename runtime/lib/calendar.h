// Calendar arithmetic behind the date and time functions: day numbers counted
// from 30 December 1899 (day 0, also the empty date), the two-digit-year epoch,
// and the "dd/mm/yy"-style formats that __Dtoc writes and __Ctod reads.
// Nothing here touches Obj_Node, so it is tested on plain values.
#ifndef ZELTA_RUNTIME_LIB_CALENDAR_H
#define ZELTA_RUNTIME_LIB_CALENDAR_H

#include <cstdint>
#include <string>
#include <string_view>

#include "host.h"

namespace lib {

// Days from 1 January of year 1 up to the day-number origin.
constexpr long kDaysToOrigin = 693594;
constexpr long kMillisPerDay = 86400000;

bool isLeapYear(long year);
int monthLength(long year, int month);  // 0 for a month outside 1..12

// A year below 100 is placed in the century window that starts at epoch.
long completeYear(long year, long epoch);

// Day number of the date plus offset days. All three parts 0 give the empty
// date and succeed; any other invalid date fails and leaves result 0.
bool encodeDate(long year, long month, long day, long epoch, long offset, long& result);

struct DateParts {
  long year = 0;
  int month = 0;
  int day = 0;
};
DateParts decodeDate(long dayNumber);  // the empty date gives {0, 0, 0}

// Where each field of a date format sits: the first letter of a kind starts its
// run and every further letter of that kind lengthens it.
struct DateLayout {
  int dayPos = -1, dayLen = 0;
  int monthPos = -1, monthLen = 0;
  int yearPos = -1, yearLen = 0;
  char separator = 0;  // 0 when the format has none
  int length = 0;
};
DateLayout scanDateFormat(const char* format);

std::string formatDate(long dayNumber, const char* format);
long parseDate(std::string_view text, const char* format, long epoch);  // 0 when unreadable
bool isValidDateText(std::string_view text, const char* format);
// "yyyymmdd" of a day number; the empty date gives "00000000".
std::string dateStamp(long dayNumber);

// hh:mm:ss texts; the difference t2 - t1, a negative one as "-hh:mm:ss".
std::string elapsedTime(const char* t1, const char* t2);
long secondsOfTime(const char* text);

double julianDate(long dayNumber);

using LocalTime = core::host::LocalTime;
std::string timeStamp(long n, const LocalTime& now);
LocalTime localTimeNow();
// Tests fix the clock; null restores the system clock.
void setClock(LocalTime (*clock)());
long todayDayNumber();

}  // namespace lib

#endif
