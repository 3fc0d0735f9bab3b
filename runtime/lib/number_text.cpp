// Numbers as text. Digits are taken from the value scaled by 10^decimals as a
// whole number, so the integer part and the decimals always agree; rounding
// happens on that scaled value with the same half threshold as __Round.
#include "number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host.h"
#include "lib_state.h"

namespace lib {

namespace {

constexpr int kMaxDecimals = 20;
constexpr double kExactLimit = 9007199254740992.0;  // 2^53
constexpr double kHalf = 0.49999999999999;

// Exact powers of ten: every one up to 10^22 is a double.
constexpr double kPowersOfTen[kMaxDecimals + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9, 1e10,
                                                   1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20};

// Appends the decimal digits of a whole, non-negative double exactly as
// printf's "%.0f" writes them.
void appendWhole(std::string& text, double whole) {
  if (!std::signbit(whole) && whole < 18446744073709551616.0) {  // below 2^64 the conversion is exact
    char digits[20];
    char *end = digits + sizeof digits, *p = end;
    unsigned long long n = static_cast<unsigned long long>(whole);
    do {
      *--p = static_cast<char>('0' + n % 10);
      n /= 10;
    } while (n);
    text.append(p, static_cast<size_t>(end - p));
    return;
  }
  char buf[400];
  snprintf(buf, sizeof buf, "%.0f", whole);
  text += buf;
}

// Whole number of units of the last decimal in a (a >= 0).
double scaledUnits(double a, double p, bool round) {
  double y = a * p;
  double i = std::floor(y);
  if (round) return y - i >= kHalf ? i + 1 : i;
  // A cut must not lose a unit to binary noise (0.29 * 100 is 28.999...).
  return std::floor(y + std::max(1e-9, y * 1e-14));
}

}  // namespace

char decimalSeparator() {
  if (!state().decimalSeparator) state().decimalSeparator = core::host::localeDecimalSeparator();
  return state().decimalSeparator;
}

void setDecimalSeparator(char separator) { state().decimalSeparator = separator; }

std::string formatNumber(double x, int decimals, bool round, char separator) {
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
  const int wanted = std::max(decimals, 0);
  decimals = std::min(wanted, kMaxDecimals);
  double a = std::fabs(x);
  // Decimals past a double's precision are zeros: only as many as keep the
  // scaled value exact are computed (1.5 with 25 decimals is 1.5000...).
  while (decimals > 0 && a * kPowersOfTen[decimals] >= kExactLimit) --decimals;
  double p = kPowersOfTen[decimals];
  double whole, fraction;
  if (a * p < kExactLimit) {
    double units = scaledUnits(a, p, round);
    whole = std::floor(units / p);
    fraction = units - whole * p;
    if (fraction < 0) {
      whole -= 1;
      fraction += p;
    } else if (fraction >= p) {
      whole += 1;
      fraction -= p;
    }
  } else {
    whole = scaledUnits(a, 1.0, round && decimals == 0);
    fraction = 0;
  }
  std::string text;
  if (x < 0 && (whole > 0 || fraction > 0)) text += '-';
  appendWhole(text, whole);
  if (decimals > 0) {
    std::string digits(decimals, '0');
    for (int i = decimals - 1; i >= 0 && fraction > 0; --i) {
      digits[i] = static_cast<char>('0' + static_cast<int>(std::fmod(fraction, 10.0)));
      fraction = std::floor(fraction / 10.0);
    }
    text += separator;
    text += digits;
  }
  if (wanted > decimals) {
    if (decimals == 0) text += separator;
    text.append(static_cast<size_t>(wanted - decimals), '0');
  }
  return text;
}

std::string strOfNumber(double x, int width, int decimals) {
  std::string text = formatNumber(x, decimals, true, decimalSeparator());
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string strZeroOfNumber(double x, int width, int decimals) {
  char separator = decimalSeparator();
  std::string text = formatNumber(x, decimals, true, separator);
  if (static_cast<int>(text.size()) < width) {
    // The zeros go after the sign: -0005, not 000-5.
    size_t at = text[0] == '-' ? 1 : 0;
    text.insert(at, width - text.size(), '0');
  }
  if (decimals > 0) {
    size_t dot = text.rfind(separator);
    if (dot != std::string::npos && dot + 3 < text.size() && text[dot + 3] == '0') text.resize(dot + 3);
  }
  return text;
}

double valueOfText(std::string_view text) {
  // Short texts, the usual case, are packed on the stack.
  char small[64];
  std::string large;
  char* out = small;
  if (text.size() > sizeof small) {
    large.resize(text.size());
    out = large.data();
  }
  size_t size = 0;
  for (char c : text)
    if (c != ' ') out[size++] = c;
  std::string_view packed(out, size);
  size_t start = 0;
  auto isNumberChar = [](char c) { return (c >= '0' && c <= '9') || c == '.' || c == ','; };
  // The first run that holds a digit is the number; letters before it are skipped.
  for (;;) {
    while (start < packed.size() && !isNumberChar(packed[start])) ++start;
    size_t end = start;
    bool hasDigit = false;
    for (; end < packed.size() && isNumberChar(packed[end]); ++end)
      if (packed[end] >= '0' && packed[end] <= '9') hasDigit = true;
    if (start >= packed.size()) return 0;
    if (!hasDigit) {
      start = end;
      continue;
    }
    size_t point = std::string::npos;
    for (size_t i = start; i < end; ++i)
      if (packed[i] == '.' || packed[i] == ',') point = i;
    // One division at the end keeps "1.23" exactly the double nearest 1.23.
    double mantissa = 0;
    int decimals = 0;
    for (size_t i = start; i < end; ++i) {
      char c = packed[i];
      if (c == '.' || c == ',') continue;
      mantissa = mantissa * 10 + (c - '0');
      if (point != std::string::npos && i > point) ++decimals;
    }
    double value = mantissa / (decimals <= kMaxDecimals ? kPowersOfTen[decimals] : std::pow(10.0, decimals));
    return start > 0 && packed[start - 1] == '-' ? -value : value;
  }
}

double cutDecimals(double x, int decimals) {
  return valueOfText(formatNumber(x, decimals < 0 ? 0 : decimals, false, '.'));
}

}  // namespace lib
