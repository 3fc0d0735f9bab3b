// The string functions. Arguments are checked on entry; the work is done on
// byte views by text_ops.cpp and the result copied into a temporary.
#include "zeltastring.h"

#include <cstring>

#include "arguments.h"
#include "core.h"
#include "number_text.h"
#include "text_ops.h"
#include "zeltautil.h"

namespace {

using core::checkText;
using core::newNumber;
using core::newText;

// The fill of the paddings: one blank unless a text is given.
std::string_view fillOf(pObj_Node fill) {
  if (!core::isGiven(fill)) return " ";
  std::string_view f = checkText(fill);
  return f.empty() ? std::string_view(" ") : f;
}

pObj_Node padded(pObj_Node s, pObj_Node n, pObj_Node fill, lib::PadSide side) {
  std::string_view text = checkText(s);
  long width = core::checkWhole(n);
  std::string_view f = fillOf(fill);
  if (width <= 0 || text.size() >= static_cast<size_t>(width)) return newText(text);
  return core::newFilledText(static_cast<size_t>(width),
                             [&](char* out) { lib::padInto(out, text, static_cast<size_t>(width), f, side); });
}

// Decimals and width of __Str: missing, NIL or negative take the default.
long strSetting(pObj_Node v, long fallback) {
  long n = core::wholeOr(v, fallback);
  return n < 0 ? fallback : n;
}

bool firstByteIs(pObj_Node s, bool (*test)(unsigned char)) {
  std::string_view text = checkText(s);
  return !text.empty() && test(static_cast<unsigned char>(text[0]));
}

}  // namespace

pObj_Node __AllTrim(pObj_Node s) { return newText(lib::trimLeft(lib::trimRight(checkText(s)))); }
pObj_Node __LTrim(pObj_Node s) { return newText(lib::trimLeft(checkText(s))); }
pObj_Node __RTrim(pObj_Node s) { return newText(lib::trimRight(checkText(s))); }

pObj_Node __Upper(pObj_Node s) {
  if (!s) {
    Alert2("Sem var");
    return nullptr;
  }
  std::string_view text = checkText(s);
  pObj_Node t = newText(text);
  lib::upperInPlace(t->objData.mbuff, text.size());
  return t;
}

pObj_Node __Lower(pObj_Node s) {
  if (!s) return nullptr;
  std::string_view text = checkText(s);
  pObj_Node t = newText(text);
  lib::lowerInPlace(t->objData.mbuff, text.size());
  return t;
}

pObj_Node __Asc(pObj_Node s) {
  std::string_view text = checkText(s);
  return newNumber(text.empty() ? 0 : static_cast<unsigned char>(text[0]));
}

pObj_Node __Chr(pObj_Node n) {
  char byte = static_cast<char>(core::checkWhole(n) & 0xFF);
  return newText(std::string_view(&byte, 1));
}

pObj_Node __At(pObj_Node needle, pObj_Node s) {
  checkText(needle);
  checkText(s);
  // With binary buffers a one-byte needle (even a zero byte) is looked for
  // over the whole buffer.
  if (core::binaryBuffers() && needle->objLength >= 1 && needle->objLength <= 2 && needle->objData.mbuff) {
    if (needle->objLength == 1) return newNumber(1);
    std::string_view bytes = core::bytesOf(s);
    size_t at = bytes.find(needle->objData.mbuff[0]);
    return newNumber(at == std::string_view::npos ? 0 : static_cast<double>(at + 1));
  }
  return newNumber(static_cast<double>(lib::findFirst(core::textOf(needle), core::textOf(s))));
}

pObj_Node __Rat(pObj_Node needle, pObj_Node s) {
  return newNumber(static_cast<double>(lib::findLast(checkText(needle), checkText(s))));
}

pObj_Node __Left(pObj_Node s, pObj_Node n) { return newText(lib::leftOf(checkText(s), core::checkWhole(n))); }
pObj_Node __Right(pObj_Node s, pObj_Node n) { return newText(lib::rightOf(checkText(s), core::checkWhole(n))); }

pObj_Node __SubStr(pObj_Node s, pObj_Node start, pObj_Node count) {
  checkText(s);
  std::string_view bytes = core::bytesOf(s);
  return newText(
      lib::subString(bytes, core::wholeOr(start, 1), core::isGiven(count) ? core::checkWhole(count) : lib::kToEnd));
}

pObj_Node __PadR(pObj_Node s, pObj_Node n, pObj_Node fill) { return padded(s, n, fill, lib::PadSide::kRight); }
pObj_Node __PadL(pObj_Node s, pObj_Node n, pObj_Node fill) { return padded(s, n, fill, lib::PadSide::kLeft); }
pObj_Node __PadC(pObj_Node s, pObj_Node n, pObj_Node fill) { return padded(s, n, fill, lib::PadSide::kCenter); }
// The second entry of the family pads on the right, like __PadR.
pObj_Node __Pad(pObj_Node s, pObj_Node n, pObj_Node fill) { return padded(s, n, fill, lib::PadSide::kRight); }

pObj_Node __Replicate(pObj_Node s, pObj_Node n) {
  std::string_view text = checkText(s);
  long times = core::checkWhole(n);
  if (times > 0 && text.size() > static_cast<size_t>(INT32_MAX / 2) / static_cast<size_t>(times))
    __RuntimeError(LOW_MEMORY, -1);
  if (times <= 0 || text.empty()) return newText({});
  return core::newFilledText(text.size() * static_cast<size_t>(times),
                             [&](char* out) { lib::replicateInto(out, text, times); });
}

pObj_Node __Space(pObj_Node n) {
  long count = core::checkWhole(n);
  if (count < 0) count = 0;
  if (count > INT32_MAX / 2) __RuntimeError(LOW_MEMORY, -1);
  pObj_Node t = __ALLOC_CHARPTR(static_cast<int>(count));
  memset(t->objData.mbuff, ' ', static_cast<size_t>(count));
  return t;
}

pObj_Node __StrTran(pObj_Node s, pObj_Node search, pObj_Node replace, pObj_Node start, pObj_Node count) {
  std::string_view text = checkText(s);
  std::string_view what = checkText(search);
  std::string_view with;
  if (core::isGiven(replace)) with = checkText(replace);  // no buffer reads as ""
  long from = core::wholeOr(start, 1);
  long limit = core::wholeOr(count, 0);
  return newText(lib::replaceText(text, what, with, from, limit));
}

pObj_Node __Stuff(pObj_Node s, pObj_Node pos, pObj_Node del, pObj_Node ins) {
  std::string_view text = checkText(s);
  std::string_view insert;
  if (core::isGiven(ins)) insert = checkText(ins);
  return newText(lib::stuff(text, core::wholeOr(pos, 1), core::wholeOr(del, 0), insert));
}

pObj_Node __Str(pObj_Node n, pObj_Node len, pObj_Node dec) {
  double x = core::checkNumber(n);
  return newText(lib::strOfNumber(x, static_cast<int>(strSetting(len, 10)), static_cast<int>(strSetting(dec, 0))));
}

pObj_Node __StrZero(pObj_Node n, pObj_Node len, pObj_Node dec) {
  double x = core::checkNumber(n);
  return newText(lib::strZeroOfNumber(x, static_cast<int>(strSetting(len, 10)), static_cast<int>(strSetting(dec, 0))));
}

pObj_Node __Val(pObj_Node s) {
  if (!s) return nullptr;
  if (s->objType != T_CHARPTR) return newNumber(0);
  return newNumber(lib::valueOfText(core::textOf(s)));
}

pObj_Node __IsAlpha(pObj_Node s) {
  return __INIT_BOOL(firstByteIs(s, [](unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }));
}

pObj_Node __IsDigit(pObj_Node s) {
  return __INIT_BOOL(firstByteIs(s, [](unsigned char c) { return c >= '0' && c <= '9'; }));
}

char* printDouble(char* buffer, int size, double x, int decimals) {
  if (!buffer || size <= 0) return buffer;
  std::string text = lib::formatNumber(x, decimals, true, lib::decimalSeparator());
  snprintf(buffer, static_cast<size_t>(size), "%s", text.c_str());
  return buffer;
}
