// Pictures: a two-character function code ("@!", "@R", "@E", "@D") and a
// template of digit ("9"), letter ("!"), any ("A", "X"), decimal (".") and
// thousands (",") positions, every other template character a literal.
// Also the check digits of Brazilian CPF and CGC numbers.
#ifndef ZELTA_RUNTIME_LIB_PICTURE_H
#define ZELTA_RUNTIME_LIB_PICTURE_H

#include <string>
#include <string_view>

namespace lib {

enum MaskType { kMaskNone = 0, kMaskUpper = 1, kMaskTemplate = 2, kMaskNumeric = 3, kMaskDate = 4 };

MaskType maskType(std::string_view picture);
std::string_view pictureTemplate(std::string_view picture);  // after the code, blanks skipped

// "@R": the template walked against the text, literals inserted.
std::string applyTextTemplate(std::string_view tmpl, std::string_view text);

// "@E": the number right-aligned into the template's digit positions.
std::string applyNumberTemplate(std::string_view tmpl, double x, char decimalSeparator);

// "@E" over a text: its digits as a whole number, negative when it holds a "-".
double numberOfDigits(std::string_view text);

bool validCpf(std::string_view text);
bool validCgc(std::string_view text);

}  // namespace lib

#endif
