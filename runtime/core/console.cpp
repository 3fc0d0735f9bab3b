// Host console output and the plain C-buffer helpers of generated code.
// Values print as the language shows them: strings as they are, numbers in
// their shortest exact decimal form, dates as __Dtoc writes them in the
// date-format setting, logicals as .T./.F., NIL as NIL, arrays as {a, b}.
#include "core.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "arguments.h"
#include "date_text.h"
#include "host.h"
#include "zeltautil.h"

namespace {

std::string formatNumber(double x) {
  if (x != x) return "NaN";
  if (x == 0) return "0";
  char text[40];
  for (int precision = 1; precision <= 17; ++precision) {
    snprintf(text, sizeof text, "%.*g", precision, x);
    if (strtod(text, nullptr) == x) break;
  }
  // Plain decimal notation for the everyday range.
  if (strchr(text, 'e') && x > -1e16 && x < 1e16 && (x >= 1e-5 || x <= -1e-5)) {
    snprintf(text, sizeof text, "%.17f", x);
    std::string s = text;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
  }
  return text;
}

// An array may hold itself (AAdd( a, a )), or hold one array at many
// places: an array already being written, one nested deeper than
// kMaxArrayDepth, and whatever follows once the text reaches kMaxArrayText
// are shown as "{...}" and "..." instead of being written again.
constexpr size_t kMaxArrayDepth = 64;
constexpr size_t kMaxArrayText = 1 << 20;

void formatArray(pObj_Node array, std::vector<const ArrayHeader*>& path, std::string& out) {
  const ArrayHeader* header = array->objData.header;
  if (path.size() >= kMaxArrayDepth || std::find(path.begin(), path.end(), header) != path.end()) {
    out += "{...}";
    return;
  }
  path.push_back(header);
  out += "{";
  for (int32_t i = 0; header && i < header->count; ++i) {
    if (i) out += ", ";
    if (out.size() > kMaxArrayText) {
      out += "...";
      break;
    }
    const ArrayCell* c = zeltaCell(header, i);
    if (c->type == T_ARRAY) {
      if (c->data.array)
        formatArray(c->data.array, path, out);
      else
        out += "{}";
    } else {
      out += core::formatValue(core::takeElementAlias(const_cast<ArrayHeader*>(header), i, array->level));
    }
  }
  out += "}";
  path.pop_back();
}

std::string formatArray(pObj_Node array) {
  std::vector<const ArrayHeader*> path;
  std::string out;
  formatArray(array, path, out);
  return out;
}

void writeValues(FILE* out, bool newLine, pObj_Node* args, int count) {
  int last = count - 1;
  while (last >= 0 && !args[last]) --last;
  std::string line = newLine ? "\n" : "";
  for (int i = 0; i <= last; ++i) {
    if (i) line += ' ';
    line += args[i] ? core::formatValue(args[i]) : "NIL";
  }
  fwrite(line.data(), 1, line.size(), out);
  fflush(out);
}

}  // namespace

namespace core {

std::string formatValue(pObj_Node v) {
  if (!v) return "NIL";
  if (v->objKind == vArray) return formatArray(v);
  switch (v->objType) {
    case T_CHARPTR: {
      if (!v->objData.mbuff) return "";
      size_t n = strlen(v->objData.mbuff);
      return std::string(v->objData.mbuff, n);
    }
    case T_DOUBLE: return formatNumber(v->objData.dValue);
    case T_DATE: return formatDate(toWhole(v->objData.dValue), dateFormatSetting());
    case T_BOOL: return __GET_BOOL(v) ? ".T." : ".F.";
    case T_LONG: return std::to_string(v->objData.lValue);
    case T_ARRAY: return v->objData.array ? formatArray(v->objData.array) : "{}";
    case T_VOIDPTR:
    case T_HANDLE: {
      char text[32];
      snprintf(text, sizeof text, "%p", v->objData.pValue);
      return text;
    }
    default: return "NIL";
  }
}

}  // namespace core

#define ZELTA_OUTPUT(name, stream, newLine)                                                                        \
  pObj_Node name(pObj_Node a1, pObj_Node a2, pObj_Node a3, pObj_Node a4, pObj_Node a5, pObj_Node a6, pObj_Node a7, \
                 pObj_Node a8, pObj_Node a9, pObj_Node a10, pObj_Node a11, pObj_Node a12, pObj_Node a13,           \
                 pObj_Node a14, pObj_Node a15, pObj_Node a16) {                                                    \
    pObj_Node args[] = {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14, a15, a16};                    \
    writeValues(stream, newLine, args, 16);                                                                        \
    return __INIT_NIL();                                                                                           \
  }

ZELTA_OUTPUT(QOUT, stdout, true)
ZELTA_OUTPUT(QQOUT, stdout, false)
ZELTA_OUTPUT(OUTSTD, stdout, false)
ZELTA_OUTPUT(OUTERR, stderr, false)

char* xstrcpy(char* target, const char* source) { return strcpy(target, source ? source : ""); }

char* xstrncpy(char* target, const char* source, size_t n) { return strncpy(target, source ? source : "", n); }

void* xmemcpy(void* target, const void* source, size_t n) { return source ? memcpy(target, source, n) : target; }

void* xmemset(void* target, int value, size_t n) { return memset(target, value, n); }

size_t xstrlen(const char* text) { return text ? strlen(text) : 0; }

void __SetVarDegubgInfo(pObj_Node, const char*, const char*, int) {}

void __SetCrtID(const char*) {}

HANDLE FindWindow(const char* windowName, const char*) {
  // A hidden file, kept after exit: removing a lock file others may have
  // opened would let two instances run. Without a lock file there is no
  // check, and the program runs.
  const std::string path = core::instanceLockPath(core::appDirectory(), windowName);
  const bool busy = core::host::lockInstance(path) == core::host::InstanceLock::Busy;
  return busy ? reinterpret_cast<HANDLE>(1) : nullptr;
}

int SetForegroundWindow(HWND) { return 1; }

void RegisterInstance(HINSTANCE) {}
