// The run-time's one calendar. Dates are counted in days from 30 December
// 1899 (day 0, also the empty date), so a date's arithmetic is plain day
// arithmetic. Year, month and day convert both ways over the proleptic
// Gregorian calendar; the library's date functions, the date operators and
// the console all convert here.
#ifndef ZELTA_CORE_DAY_NUMBER_H
#define ZELTA_CORE_DAY_NUMBER_H

namespace core {

struct CivilDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

// 1 January of year 1, the first day that has a civil date for the date
// functions.
constexpr long kFirstDayNumber = -693593;

// Day number of year/month/day. `day` may lie outside the month (0, 40,
// -3): the count simply runs on, which is how days are added to a date.
// `month` outside 1..12 is carried into the year the same way.
long encodeDayNumber(int year, int month, int day);

// The civil date of a day number (its integer part, towards minus infinity).
CivilDate decodeDayNumber(double dayNumber);
// The date of a day number as the date functions show it: the empty date and
// days before 1 January of year 1 give {0, 0, 0}.
CivilDate dateOf(long dayNumber);

bool isLeapYear(long year);
int daysInMonth(long year, int month);  // 0 for a month outside 1..12

// True when year/month/day name a real calendar day.
bool isValidDate(int year, int month, int day);

}  // namespace core

#endif
