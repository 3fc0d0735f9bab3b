// Argument checks and result constructors of the library exports.
#include "arguments.h"

#include <cmath>
#include <cstring>

#include "core.h"

namespace lib {

void argumentError() { __RuntimeError(ARGUMENT_ERROR, -1); }

bool isType(pObj_Node v, uint32_t type) { return v && v->objType == type; }

bool isGiven(pObj_Node v) { return v && v->objType != T_NIL; }

std::string_view textOf(pObj_Node v) {
  const char *text = v->objData.mbuff;
  if (!text) return {};
  if (v->objLength <= 0) return std::string_view(text);  // constants and foreign buffers
  return std::string_view(text, strnlen(text, static_cast<size_t>(v->objLength - 1)));
}

std::string_view bytesOf(pObj_Node v) {
  if (!core::binaryBuffers() || !v->objData.mbuff || v->objLength < 1) return textOf(v);
  return std::string_view(v->objData.mbuff, static_cast<size_t>(v->objLength - 1));
}

std::string_view checkText(pObj_Node v) {
  if (!isType(v, T_CHARPTR)) argumentError();
  return textOf(v);
}

double checkNumber(pObj_Node v) {
  if (!isType(v, T_DOUBLE)) argumentError();
  return v->objData.dValue;
}

long checkWhole(pObj_Node v) { return toWhole(checkNumber(v)); }

long wholeOr(pObj_Node v, long fallback) { return isGiven(v) ? checkWhole(v) : fallback; }

double checkDate(pObj_Node v) {
  if (!isType(v, T_DATE)) argumentError();
  return v->objData.dValue;
}

pObj_Node newText(std::string_view text) {
  if (text.size() >= static_cast<size_t>(INT32_MAX - 2)) __RuntimeError(LOW_MEMORY, -1);
  pObj_Node t = __ALLOC_CHARPTR(static_cast<int>(text.size()));
  if (!text.empty()) memcpy(t->objData.mbuff, text.data(), text.size());
  return t;
}

pObj_Node newNumber(double x) { return __INIT_DOUBLE(x); }

pObj_Node newDate(double dayNumber) { return __INIT_DATE(dayNumber); }

long toWhole(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return 2147483647L;
  if (x <= -2147483648.0) return -2147483647L - 1;
  return static_cast<long>(x);
}

const char *dateFormatSetting() {
  pObj_Node f = core::setting(kSetDateFormat);
  return f && f->objType == T_CHARPTR && f->objData.mbuff ? f->objData.mbuff : "mm/dd/yy";
}

long epochSetting() {
  pObj_Node e = core::setting(kSetEpoch);
  return e && e->objType == T_DOUBLE ? toWhole(e->objData.dValue) : 1940;
}

}  // namespace lib
