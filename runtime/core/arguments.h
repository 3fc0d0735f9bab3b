// Argument checks and result constructors shared by the exports of every
// run-time folder. Each check raises ARGUMENT ERROR! on a wrong or missing
// value, so an export checks once on entry and then trusts what it got.
#ifndef ZELTA_CORE_ARGUMENTS_H
#define ZELTA_CORE_ARGUMENTS_H

#include <cmath>
#include <string>
#include <string_view>

#include "core.h"
#include "zeltaobjs.h"

namespace core {

[[noreturn]] void argumentError();

inline bool isType(pObj_Node v, uint32_t type) { return v && v->objType == type; }
inline bool isGiven(pObj_Node v) { return v && v->objType != T_NIL; }  // neither null nor NIL

// The text of a CHARPTR: the bytes before its first zero, never past its
// buffer. A string without a buffer reads as "".
std::string_view textOf(pObj_Node v);
// The same, or all objLength - 1 bytes while the binary-buffer switch is on.
std::string_view bytesOf(pObj_Node v);
std::string_view checkText(pObj_Node v);  // CHARPTR required

// Truncated towards zero, clamped to the 32-bit range; NaN gives 0.
inline long toWhole(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return 2147483647L;
  if (x <= -2147483648.0) return -2147483647L - 1;
  return static_cast<long>(x);
}

// Checks are inline: generated code makes one or more per array index.
inline double checkNumber(pObj_Node v) {  // DOUBLE required
  if (!isType(v, T_DOUBLE)) argumentError();
  return v->objData.dValue;
}
inline long checkWhole(pObj_Node v) { return toWhole(checkNumber(v)); }  // truncated
inline long wholeOr(pObj_Node v, long fallback) { return isGiven(v) ? checkWhole(v) : fallback; }
inline double checkDate(pObj_Node v) {  // DATE required
  if (!isType(v, T_DATE)) argumentError();
  return v->objData.dValue;
}

pObj_Node newText(std::string_view text);  // a string temporary

// A string temporary wrapping `buffer` (from core::allocStringBuffer, of
// `size` bytes with the zero). Callers fill the buffer first and take the
// temporary last: the slot taken may be the one an argument's text lives in,
// and taking it frees that text.
pObj_Node adoptText(char* buffer, int32_t size);

// A string temporary of `length` bytes written by `fill(buffer)`.
template <typename Fill>
pObj_Node newFilledText(size_t length, Fill fill) {
  if (length >= static_cast<size_t>(INT32_MAX - 2)) __RuntimeError(LOW_MEMORY, -1);
  const int32_t size = static_cast<int32_t>(length) + 1;
  char* buffer = allocStringBuffer(size);
  fill(buffer);
  return adoptText(buffer, size);
}
inline pObj_Node newNumber(double x) { return __INIT_DOUBLE(x); }
inline pObj_Node newDate(double dayNumber) { return __INIT_DATE(dayNumber); }

// The date settings as the date functions read them.
const char* dateFormatSetting();
long epochSetting();  // truncated towards zero, clamped to the long range

}  // namespace core

#endif
