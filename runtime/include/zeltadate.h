// Dates and times. A DATE holds a day number: days since 30 December 1899,
// which is day 0 and also the empty date. Times are "hh:mm:ss" texts. The
// date format, the two-digit-year epoch and the century switch are settings
// (__Set 4, 5 and 12).
#ifndef ZELTADATE_H
#define ZELTADATE_H

#include "zeltaobjs.h"

// Milliseconds of the day and days since 1 January of year 1.
struct TimeStamp {
  int time;
  int date;
};

ZELTA_EXPORT int __IsLeapYear(int year);
ZELTA_EXPORT double __EncodeDate(int year, int month, int day);  // 0 when invalid
// Writes the day number plus `offset` days into result; 1 on success.
ZELTA_EXPORT int __DoEncodeDate(int year, int month, int day, double* result, int offset);
ZELTA_EXPORT void __DecodeDate(double dayNumber, int* year, int* month, int* day);
ZELTA_EXPORT void __DateTimeToTimeStamp(TimeStamp* stamp, double value);

ZELTA_EXPORT pObj_Node __Date();
ZELTA_EXPORT pObj_Node __Time();
ZELTA_EXPORT pObj_Node __Seconds();
ZELTA_EXPORT pObj_Node __ElapTime(pObj_Node t1, pObj_Node t2);
ZELTA_EXPORT pObj_Node __Day(pObj_Node d);
ZELTA_EXPORT pObj_Node __Month(pObj_Node d);
ZELTA_EXPORT pObj_Node __Year(pObj_Node d);
ZELTA_EXPORT pObj_Node __Dow(pObj_Node d);
ZELTA_EXPORT pObj_Node __CDow(pObj_Node d);
ZELTA_EXPORT pObj_Node __CMonth(pObj_Node d);
ZELTA_EXPORT pObj_Node __Dtos(pObj_Node d);
ZELTA_EXPORT pObj_Node __Dtoc(pObj_Node d, pObj_Node format = NULL);
ZELTA_EXPORT pObj_Node __Ctod(pObj_Node text, pObj_Node format = NULL);
ZELTA_EXPORT int __IsValidDate(pObj_Node text, pObj_Node format);
ZELTA_EXPORT pObj_Node __JulianDate(pObj_Node d);
ZELTA_EXPORT pObj_Node __GenTMS(pObj_Node n);
ZELTA_EXPORT void __Set_DateFormat(pObj_Node format);
ZELTA_EXPORT void __SetEpoch(pObj_Node epoch);

#endif
