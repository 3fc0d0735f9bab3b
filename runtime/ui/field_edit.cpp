// Pictures applied to fields (field_edit.h). The edit text of a template
// field holds only the characters of its template positions; the literals
// are shown around them and never stored.
#include "field_edit.h"

#include <cstdio>

#include "arguments.h"
#include "calendar.h"
#include "number_text.h"
#include "picture.h"
#include "text_ops.h"

namespace ui {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isPlaceholder(char c) { return c == '9' || c == '!' || c == 'A' || c == 'X'; }

// The template of a picture: after its function code, or the whole picture
// when it has none.
std::string templateOf(const std::string& picture) {
  if (!picture.empty() && picture[0] == '@') return std::string(lib::pictureTemplate(picture));
  return picture;
}

std::string placeholders(const std::string& tmpl) {
  std::string out;
  for (char c : tmpl)
    if (isPlaceholder(c)) out += c;
  return out;
}

std::string dateText(double day) { return core::formatDate(core::toWhole(day), core::dateFormatSetting()); }

std::string numberText(double x, const std::string& picture) {
  const std::string tmpl = templateOf(picture);
  if (!tmpl.empty()) return lib::applyNumberTemplate(tmpl, x, lib::decimalSeparator());
  if (lib::maskType(picture) == lib::kMaskNumeric) {
    const int decimals = x == static_cast<double>(static_cast<long long>(x)) ? 0 : 2;
    return lib::formatNumber(x, decimals, true, lib::decimalSeparator());
  }
  char text[64];
  snprintf(text, sizeof text, "%f", x);
  return text;
}

std::string upperText(const std::string& text) { return lib::upperAscii(text); }

}  // namespace

size_t characterCount(const std::string& text) {
  size_t n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

size_t previousBoundary(const std::string& text, size_t offset) {
  if (offset == 0) return 0;
  size_t at = offset - 1;
  while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
  return at;
}

size_t nextBoundary(const std::string& text, size_t offset) {
  if (offset >= text.size()) return text.size();
  size_t at = offset + 1;
  while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
  return at;
}

std::string displayText(const Value& value, const std::string& picture) {
  const lib::MaskType mask = lib::maskType(picture);
  switch (value.type) {
    case T_CHARPTR: {
      const std::string tmpl = templateOf(picture);
      std::string text = mask == lib::kMaskUpper ? upperText(value.text) : value.text;
      if (mask == lib::kMaskDate)
        return dateText(lib::parseDate(text, core::dateFormatSetting(), core::epochSetting()));
      if (mask == lib::kMaskNumeric) return numberText(lib::numberOfDigits(text), picture);
      if (!tmpl.empty()) return lib::applyTextTemplate(tmpl, text);
      return text;
    }
    case T_DOUBLE: return numberText(value.number, picture);
    case T_DATE: return dateText(value.number);
    case T_BOOL: return value.flag ? "T" : "F";
    default: return "";
  }
}

std::string editText(const Value& value, const std::string& picture) {
  switch (value.type) {
    case T_CHARPTR: {
      std::string text(lib::trimRight(value.text));
      if (lib::maskType(picture) == lib::kMaskUpper) text = upperText(text);
      return text;
    }
    case T_DOUBLE: return std::string(lib::trimLeft(lib::trimRight(numberText(value.number, picture))));
    case T_DATE: return value.number == 0 ? "" : dateText(value.number);
    case T_BOOL: return value.flag ? "T" : "F";
    default: return "";
  }
}

size_t editLimit(const Value& value, const std::string& picture) {
  const std::string tmpl = templateOf(picture);
  switch (value.type) {
    case T_CHARPTR: {
      const lib::MaskType mask = lib::maskType(picture);
      if (!tmpl.empty() && mask != lib::kMaskNumeric && mask != lib::kMaskDate) return placeholders(tmpl).size();
      return characterCount(value.text);
    }
    case T_DOUBLE: return tmpl.size();
    case T_DATE: return static_cast<size_t>(core::scanDateFormat(core::dateFormatSetting()).length);
    case T_BOOL: return 1;
    default: return 0;
  }
}

std::string acceptTyped(const Value& value, const std::string& picture, size_t position, const std::string& typed) {
  if (typed.empty()) return "";
  const char c = typed[0];
  const bool ascii = typed.size() == 1;
  switch (value.type) {
    case T_DOUBLE: return ascii && (isDigit(c) || c == '-' || c == '+' || c == '.' || c == ',') ? typed : "";
    case T_DATE: return ascii && (isDigit(c) || c == '/' || c == '-' || c == '.') ? typed : "";
    case T_BOOL: {
      const char u = static_cast<char>(ascii && c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
      return ascii && (u == 'T' || u == 'F' || u == 'Y' || u == 'N' || u == 'S') ? std::string(1, u) : "";
    }
    default: break;
  }
  const lib::MaskType mask = lib::maskType(picture);
  std::string shown = mask == lib::kMaskUpper ? upperText(typed) : typed;
  if (mask == lib::kMaskNumeric || mask == lib::kMaskDate) return shown;
  const std::string slots = placeholders(templateOf(picture));
  if (slots.empty()) return shown;
  if (position >= slots.size()) return "";
  switch (slots[position]) {
    case '9': return ascii && isDigit(c) ? shown : "";
    case '!': return ascii && (isLetter(c) || c == ' ') ? upperText(shown) : "";
    default: return shown;
  }
}

Value commitText(const std::string& edit, const Value& original, const std::string& picture) {
  Value v;
  v.type = original.type == T_NIL ? static_cast<uint32_t>(T_CHARPTR) : original.type;
  switch (v.type) {
    case T_DOUBLE: v.number = lib::valueOfText(edit); break;
    case T_DATE:
      v.number = static_cast<double>(lib::parseDate(edit, core::dateFormatSetting(), core::epochSetting()));
      break;
    case T_BOOL: {
      const char c = edit.empty() ? 'F' : edit[0];
      v.flag = c == 'T' || c == 't' || c == 'Y' || c == 'y' || c == 'S' || c == 's';
      break;
    }
    default: {
      v.text = lib::maskType(picture) == lib::kMaskUpper ? upperText(edit) : edit;
      const size_t length = characterCount(original.text);
      const size_t have = characterCount(v.text);
      if (original.type == T_CHARPTR && length > have) v.text.append(length - have, ' ');
      break;
    }
  }
  return v;
}

int pictureSize(const std::string& picture) {
  const lib::MaskType mask = lib::maskType(picture);
  if (mask != lib::kMaskTemplate && mask != lib::kMaskNumeric) return 0;
  int count = 0;
  for (size_t i = picture.size(); i-- > 0;) {
    const char c = picture[i];
    if (c == ' ' || c == '@') break;
    if (c == '!' || c == '9' || c == 'A' || c == 'X') ++count;
  }
  return count;
}

}  // namespace ui
