// Argument checks and result constructors shared by the exports of this
// folder. Each check raises ARGUMENT ERROR! on a wrong or missing value, so an
// export checks once on entry and then trusts what it got.
#ifndef ZELTA_RUNTIME_LIB_ARGUMENTS_H
#define ZELTA_RUNTIME_LIB_ARGUMENTS_H

#include <string>
#include <string_view>

#include "zeltaobjs.h"

namespace lib {

[[noreturn]] void argumentError();

bool isType(pObj_Node v, uint32_t type);
bool isGiven(pObj_Node v);  // neither null nor NIL

// The text of a CHARPTR: the bytes before its first zero, never past its
// buffer. A string without a buffer reads as "".
std::string_view textOf(pObj_Node v);
// The same, or all objLength - 1 bytes while the binary-buffer switch is on.
std::string_view bytesOf(pObj_Node v);
std::string_view checkText(pObj_Node v);  // CHARPTR required

double checkNumber(pObj_Node v);            // DOUBLE required
long checkWhole(pObj_Node v);               // DOUBLE required, truncated
long wholeOr(pObj_Node v, long fallback);   // null or NIL: fallback
double checkDate(pObj_Node v);              // DATE required

pObj_Node newText(std::string_view text);   // a string temporary
pObj_Node newNumber(double x);
pObj_Node newDate(double dayNumber);

long toWhole(double x);

// The date settings as the date functions read them.
const char *dateFormatSetting();
long epochSetting();  // truncated towards zero, clamped to the long range

}  // namespace lib

#endif
