// Date and time exports over calendar.cpp. The date format and the epoch are
// read from the settings table on every call, so __Set takes effect at once.
#include "zeltadate.h"

#include <cstdio>
#include <cstring>

#include "arguments.h"
#include "calendar.h"
#include "core.h"

namespace {

const char* const kDayNames[] = {"sunday", "monday", "tuesday", "wednesday", "thursday", "friday", "saturday"};
const char* const kMonthNames[] = {"january", "february", "march",     "april",   "may",      "june",
                                   "july",    "august",   "september", "octuber", "november", "december"};

// The format argument of __Dtoc and __Ctod: the setting unless a text is given.
const char* formatOr(pObj_Node format) {
  if (!core::isGiven(format)) return core::dateFormatSetting();
  if (format->objType != T_CHARPTR) core::argumentError();
  return format->objData.mbuff ? format->objData.mbuff : "";
}

long dayNumberOf(pObj_Node d) { return core::toWhole(core::checkDate(d)); }

std::string timeNow() {
  lib::LocalTime now = lib::localTimeNow();
  char buf[16];
  snprintf(buf, sizeof buf, "%02d:%02d:%02d", now.hour, now.minute, now.second);
  return buf;
}

// The text of a time argument, which must be a string.
std::string timeText(pObj_Node t) { return std::string(core::checkText(t)); }

}  // namespace

int __IsLeapYear(int year) { return core::isLeapYear(year) ? 1 : 0; }

double __EncodeDate(int year, int month, int day) {
  double result = 0;
  __DoEncodeDate(year, month, day, &result, 0);
  return result;
}

int __DoEncodeDate(int year, int month, int day, double* result, int offset) {
  long n = 0;
  bool ok = lib::encodeDate(year, month, day, core::epochSetting(), offset, n);
  if (result) *result = static_cast<double>(n);
  return ok ? 1 : 0;
}

void __DecodeDate(double dayNumber, int* year, int* month, int* day) {
  lib::DateParts d = lib::decodeDate(core::toWhole(dayNumber));
  if (year) *year = static_cast<int>(d.year);
  if (month) *month = d.month;
  if (day) *day = d.day;
}

void __DateTimeToTimeStamp(TimeStamp* stamp, double value) {
  if (!stamp) return;
  if (value == 0) {
    stamp->time = stamp->date = 0;
    return;
  }
  long whole = core::toWhole(value);
  double fraction = value - static_cast<double>(whole);
  if (fraction < 0) fraction = -fraction;
  stamp->time = static_cast<int>(fraction * lib::kMillisPerDay);
  stamp->date = static_cast<int>(whole + lib::kDaysToOrigin);
}

pObj_Node __Date() { return core::newDate(static_cast<double>(lib::todayDayNumber())); }

pObj_Node __Time() { return core::newText(timeNow()); }

pObj_Node __Seconds() { return core::newText(lib::elapsedTime("00:00:00", timeNow().c_str())); }

pObj_Node __ElapTime(pObj_Node t1, pObj_Node t2) {
  std::string from = timeText(t1), to = timeText(t2);
  return core::newText(lib::elapsedTime(from.c_str(), to.c_str()));
}

pObj_Node __Day(pObj_Node d) { return core::newNumber(lib::decodeDate(dayNumberOf(d)).day); }
pObj_Node __Month(pObj_Node d) { return core::newNumber(lib::decodeDate(dayNumberOf(d)).month); }
pObj_Node __Year(pObj_Node d) { return core::newNumber(static_cast<double>(lib::decodeDate(dayNumberOf(d)).year)); }

pObj_Node __Dow(pObj_Node d) {
  if (!core::isType(d, T_DATE)) return core::newNumber(0);
  long n = core::toWhole(d->objData.dValue) % 7;
  if (n < 0) n += 7;
  return core::newNumber(n == 0 ? 7 : static_cast<double>(n));
}

pObj_Node __CDow(pObj_Node d) {
  core::checkDate(d);
  int dow = static_cast<int>(__Dow(d)->objData.dValue);
  return core::newText(kDayNames[dow - 1]);
}

pObj_Node __CMonth(pObj_Node d) {
  int month = lib::decodeDate(dayNumberOf(d)).month;
  // The empty date has no month: its name is empty.
  return core::newText(month ? kMonthNames[month - 1] : "");
}

pObj_Node __Dtos(pObj_Node d) { return core::newText(lib::dateStamp(dayNumberOf(d))); }

pObj_Node __Dtoc(pObj_Node d, pObj_Node format) {
  long n = dayNumberOf(d);
  return core::newText(core::formatDate(n, formatOr(format)));
}

pObj_Node __Ctod(pObj_Node text, pObj_Node format) {
  std::string_view t = core::checkText(text);
  return core::newDate(static_cast<double>(lib::parseDate(t, formatOr(format), core::epochSetting())));
}

int __IsValidDate(pObj_Node text, pObj_Node format) {
  std::string_view t = core::checkText(text);
  std::string f(core::checkText(format));
  return lib::isValidDateText(t, f.c_str()) ? 1 : 0;
}

pObj_Node __JulianDate(pObj_Node d) { return core::newNumber(lib::julianDate(dayNumberOf(d))); }

pObj_Node __GenTMS(pObj_Node n) { return core::newText(lib::timeStamp(core::checkWhole(n), lib::localTimeNow())); }

void __Set_DateFormat(pObj_Node format) {
  if (!format) return;
  std::string_view text = core::checkText(format);
  // Copied before the old setting is freed: `format` may be that setting.
  const int32_t size = static_cast<int32_t>(text.size()) + 1;
  char* copy = core::allocStringBuffer(size);
  memcpy(copy, text.data(), text.size());
  pObj_Node slot = glob->settings[kSetDateFormat];
  if (!slot) {
    slot = glob->settings[kSetDateFormat] = __fcpObj_CT(vVariable);
    slot->level = -1;  // settings live as long as the application
  } else if (slot->objType == T_CHARPTR && slot->objLength > 0) {
    xfree(slot->objData.mbuff);
  }
  slot->objType = T_CHARPTR;
  slot->objData.mbuff = copy;
  slot->objLength = size;
}

// The epoch is set with __Set(5, year).
void __SetEpoch(pObj_Node) {}
