// Numbers as text: the one formatter behind __Str, __StrZero, NOROUND and the
// "@E" pictures, and the reader behind __Val. The decimal separator is the
// user's locale's, read once; tests set it explicitly.
#ifndef ZELTA_RUNTIME_LIB_NUMBER_TEXT_H
#define ZELTA_RUNTIME_LIB_NUMBER_TEXT_H

#include <string>
#include <string_view>

namespace lib {

char decimalSeparator();
void setDecimalSeparator(char separator);  // 0 reads the locale again

// x with `decimals` decimals; with `round` half a unit of the last decimal is
// added away from zero first, otherwise the decimals are cut.
std::string formatNumber(double x, int decimals, bool round, char separator);

// __Str and __StrZero: the number padded on the left to `width`, never cut.
std::string strOfNumber(double x, int width, int decimals);
std::string strZeroOfNumber(double x, int width, int decimals);

// __Val: blanks are dropped, the first run of digits, "." and "," is read and
// its rightmost "." or "," is the decimal separator; a "-" just before the
// run makes the value negative.
double valueOfText(std::string_view text);

// NOROUND: x cut to `decimals` decimals.
double cutDecimals(double x, int decimals);

}  // namespace lib

#endif
