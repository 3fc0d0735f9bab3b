// The date and time functions' arithmetic over the core's calendar
// (day_number.h) and date text (date_text.h): the two-digit-year epoch, the
// checked encoding of a date, reading a date text in a format as __Ctod
// does, and time texts. Nothing here touches Obj_Node, so it is tested on
// plain values.
#ifndef ZELTA_RUNTIME_LIB_CALENDAR_H
#define ZELTA_RUNTIME_LIB_CALENDAR_H

#include <cstdint>
#include <string>
#include <string_view>

#include "date_text.h"
#include "day_number.h"
#include "host.h"

namespace lib {

// Days from 1 January of year 1 up to the day-number origin.
constexpr long kDaysToOrigin = 693594;
constexpr long kMillisPerDay = 86400000;

// A year below 100 is placed in the century window that starts at epoch.
long completeYear(long year, long epoch);

// Day number of the date plus offset days. All three parts 0 give the empty
// date and succeed; any other invalid date fails and leaves result 0.
bool encodeDate(long year, long month, long day, long epoch, long offset, long& result);

using DateParts = core::CivilDate;
inline DateParts decodeDate(long dayNumber) { return core::dateOf(dayNumber); }

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
