// Pictures and check digits. A numeric template is filled from its decimal
// position outwards: decimals to the right, the integer digits right-aligned
// to the left of it, thousands marks only between digits.
#include "picture.h"

#include "number_text.h"

#include <cmath>

namespace lib {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Check digit of the modulo-11 rule over text[0, weights count).
int checkDigit(std::string_view text, const int* weights, size_t count) {
  int sum = 0;
  for (size_t i = 0; i < count; ++i) sum += (text[i] - '0') * weights[i];
  int rest = sum % 11;
  return rest < 2 ? 0 : 11 - rest;
}

bool allDigits(std::string_view text) {
  for (char c : text)
    if (!isDigit(c)) return false;
  return true;
}

}  // namespace

MaskType maskType(std::string_view picture) {
  if (picture.size() < 2 || picture[0] != '@') return kMaskNone;
  switch (upper(picture[1])) {
    case '!': return kMaskUpper;
    case 'R': return kMaskTemplate;
    case 'E': return kMaskNumeric;
    case 'D': return kMaskDate;
    default: return kMaskNone;
  }
}

std::string_view pictureTemplate(std::string_view picture) {
  if (picture.size() <= 2) return {};
  std::string_view rest = picture.substr(2);
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  return rest;
}

std::string applyTextTemplate(std::string_view tmpl, std::string_view text) {
  std::string out;
  size_t at = 0;
  for (char c : tmpl) {
    if (at >= text.size()) break;
    char ch = text[at];
    if (c == '!') {
      if (!isLetter(ch) && ch != ' ') break;
      out += upper(ch);
      ++at;
    } else if (c == '9') {
      if (!isDigit(ch)) break;
      out += ch;
      ++at;
    } else if (c == 'A' || c == 'X') {
      out += ch;
      ++at;
    } else {
      out += c;
      if (ch == c) ++at;
    }
  }
  return out;
}

std::string applyNumberTemplate(std::string_view tmpl, double x, char decimalSeparator) {
  size_t point = tmpl.find('.');
  int decimals = 0;
  if (point != std::string_view::npos)
    for (size_t i = point + 1; i < tmpl.size(); ++i) decimals += tmpl[i] == '9';
  std::string digits = formatNumber(std::fabs(x), decimals, true, '.');
  size_t dot = digits.find('.');
  std::string whole = digits.substr(0, dot);
  std::string fraction = dot == std::string::npos ? "" : digits.substr(dot + 1);
  char thousands = decimalSeparator == ',' ? '.' : ',';

  std::string out(tmpl);
  if (!std::isfinite(x)) {
    for (char& c : out)
      if (c == '9') c = '*';
    return out;
  }
  size_t end = point == std::string_view::npos ? tmpl.size() : point;
  if (point != std::string_view::npos) {
    out[point] = decimalSeparator;
    // A template may ask for more decimals than a number is written with.
    size_t next = 0;
    for (size_t i = point + 1; i < tmpl.size(); ++i)
      if (tmpl[i] == '9') out[i] = next < fraction.size() ? fraction[next++] : '0';
  }
  size_t left = whole.size();  // integer digits still to place
  long firstDigit = -1;
  for (size_t i = end; i-- > 0;) {
    if (tmpl[i] == '9') {
      out[i] = left > 0 ? whole[--left] : ' ';
      if (out[i] != ' ') firstDigit = static_cast<long>(i);
    } else if (tmpl[i] == ',') {
      out[i] = left > 0 ? thousands : ' ';
    }
  }
  if (left > 0) {
    // Too many digits for the template: show stars rather than a wrong value.
    for (size_t i = 0; i < tmpl.size(); ++i)
      if (tmpl[i] == '9') out[i] = '*';
    return out;
  }
  if (x < 0 && firstDigit >= 0) {
    if (firstDigit > 0 && out[firstDigit - 1] == ' ')
      out[firstDigit - 1] = '-';
    else
      out.insert(0, 1, '-');
  }
  return out;
}

double numberOfDigits(std::string_view text) {
  double value = 0;
  bool negative = false;
  for (char c : text) {
    if (isDigit(c)) value = value * 10 + (c - '0');
    if (c == '-') negative = true;
  }
  return negative ? -value : value;
}

bool validCpf(std::string_view text) {
  static const int first[] = {10, 9, 8, 7, 6, 5, 4, 3, 2};
  static const int second[] = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
  if (text.size() != 11 || !allDigits(text)) return false;
  return checkDigit(text, first, 9) == text[9] - '0' && checkDigit(text, second, 10) == text[10] - '0';
}

bool validCgc(std::string_view text) {
  static const int first[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  static const int second[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  if (text.size() != 14 || !allDigits(text)) return false;
  return checkDigit(text, first, 12) == text[12] - '0' && checkDigit(text, second, 13) == text[13] - '0';
}

}  // namespace lib
