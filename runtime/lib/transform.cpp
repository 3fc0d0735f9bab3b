// __Transform and the other picture exports. The picture's function code
// picks the treatment; a value of a type the code does not format shows as
// blanks the width of the template.
#include "zeltastring.h"

#include "arguments.h"
#include "calendar.h"
#include "core.h"
#include "number_text.h"
#include "picture.h"
#include "text_ops.h"
#include "zeltaobjs2.h"

#include <cmath>

namespace {

// "@E" over a number. Without a template the number shows as __Str shows it,
// trimmed, rather than vanishing.
std::string numberPicture(std::string_view tmpl, double x) {
  if (tmpl.empty()) {
    // floor, not a cast: a cast of a number beyond the integer range is undefined.
    int decimals = !std::isfinite(x) || std::floor(x) == x ? 0 : 2;
    return lib::formatNumber(x, decimals, true, lib::decimalSeparator());
  }
  return lib::applyNumberTemplate(tmpl, x, lib::decimalSeparator());
}

}  // namespace

int __GetMaskType(const char* picture) { return picture ? lib::maskType(picture) : 0; }

pObj_Node __Transform(pObj_Node value, pObj_Node picture) {
  if (!value) return __INIT_NIL();
  if (__GET_BOOL(__Empty(value))) return core::newText("");
  std::string_view pict = core::checkText(picture);
  lib::MaskType mask = lib::maskType(pict);
  if (mask == lib::kMaskNone) return value;
  std::string_view tmpl = lib::pictureTemplate(pict);
  switch (value->objType) {
    case T_CHARPTR: {
      std::string_view text = core::textOf(value);
      switch (mask) {
        case lib::kMaskDate: {
          std::string t(text);
          long day = lib::parseDate(t.c_str(), core::dateFormatSetting(), core::epochSetting());
          return core::newText(core::formatDate(day, core::dateFormatSetting()));
        }
        case lib::kMaskUpper: return core::newText(lib::upperAscii(text));
        case lib::kMaskTemplate: return core::newText(lib::applyTextTemplate(tmpl, text));
        case lib::kMaskNumeric: return core::newText(numberPicture(tmpl, lib::numberOfDigits(text)));
        default: break;
      }
      break;
    }
    case T_DATE:
      if (mask == lib::kMaskDate)
        return core::newText(core::formatDate(core::toWhole(value->objData.dValue), core::dateFormatSetting()));
      break;
    case T_DOUBLE:
      if (mask == lib::kMaskNumeric) return core::newText(numberPicture(tmpl, value->objData.dValue));
      break;
    default: break;
  }
  return core::newText(std::string(tmpl.size(), ' '));
}

pObj_Node NOROUND(pObj_Node x, pObj_Node n) {
  double value = core::checkNumber(x);
  long decimals = core::checkWhole(n);
  return core::newNumber(lib::cutDecimals(value, static_cast<int>(decimals)));
}

pObj_Node __ValidCPF(pObj_Node text) { return __INIT_BOOL(lib::validCpf(core::checkText(text))); }

pObj_Node __ValidCGC(pObj_Node text) { return __INIT_BOOL(lib::validCgc(core::checkText(text))); }
