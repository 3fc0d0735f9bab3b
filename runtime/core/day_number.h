// Day numbers: dates are counted in days from 30 December 1899 (day 0), so a
// date's arithmetic is plain day arithmetic. Year, month and day convert both
// ways over the proleptic Gregorian calendar.
#ifndef ZELTA_CORE_DAY_NUMBER_H
#define ZELTA_CORE_DAY_NUMBER_H

namespace core {

struct CivilDate {
  int year;
  int month;  // 1..12
  int day;    // 1..31
};

// Day number of year/month/day. `day` may lie outside the month (0, 40,
// -3): the count simply runs on, which is how days are added to a date.
// `month` outside 1..12 is carried into the year the same way.
long encodeDayNumber(int year, int month, int day);

// The civil date of a day number (its integer part, towards minus infinity).
CivilDate decodeDayNumber(double dayNumber);

bool isLeapYear(int year);
int daysInMonth(int year, int month);

// True when year/month/day name a real calendar day.
bool isValidDate(int year, int month, int day);

}  // namespace core

#endif
