// Argument checks and result constructors of the run-time exports.
#include "arguments.h"

#include <cmath>
#include <cstring>

#include "core.h"

namespace core {

void argumentError() { __RuntimeError(ARGUMENT_ERROR, -1); }

std::string_view textOf(pObj_Node v) {
  const char* text = v->objData.mbuff;
  if (!text) return {};
  if (v->objLength <= 0) return std::string_view(text);  // constants and foreign buffers
  return std::string_view(text, strnlen(text, static_cast<size_t>(v->objLength - 1)));
}

std::string_view bytesOf(pObj_Node v) {
  if (!binaryBuffers() || !v->objData.mbuff || v->objLength < 1) return textOf(v);
  return std::string_view(v->objData.mbuff, static_cast<size_t>(v->objLength - 1));
}

std::string_view checkText(pObj_Node v) {
  if (!isType(v, T_CHARPTR)) argumentError();
  return textOf(v);
}

pObj_Node adoptText(char* buffer, int32_t size) {
  pObj_Node t = takeTemporary();
  t->objType = T_CHARPTR;
  t->objData.mbuff = buffer;
  t->objLength = size;
  return t;
}

pObj_Node newText(std::string_view text) {
  return newFilledText(text.size(), [text](char* out) {
    if (!text.empty()) memcpy(out, text.data(), text.size());
  });
}

const char* dateFormatSetting() {
  pObj_Node f = setting(kSetDateFormat);
  return f && f->objType == T_CHARPTR && f->objData.mbuff ? f->objData.mbuff : "mm/dd/yy";
}

long epochSetting() {
  pObj_Node e = setting(kSetEpoch);
  return e && e->objType == T_DOUBLE ? toWhole(e->objData.dValue) : 1940;
}

}  // namespace core
