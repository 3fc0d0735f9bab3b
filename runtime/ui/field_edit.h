// What a field shows and what may be typed into it: the picture rules of
// the language applied to a field's value, its edit text and the value an
// edited text stands for. Plain functions over Value, so that both drivers
// and the tests see the same rules.
//
// A field keeps the type of the value it was given: a number stays a number
// (read back as __Val reads), a date a date (in the date format), a logical
// a logical (T, Y or S for true), a text a text, padded with blanks to the
// length it had. A picture without a function code ("999.99", "!!!") is a
// template as with "@R" for texts and "@E" for numbers.
#ifndef ZELTA_UI_FIELD_EDIT_H
#define ZELTA_UI_FIELD_EDIT_H

#include <cstddef>
#include <string>

#include "model.h"

namespace ui {

// The text a field shows without the focus.
std::string displayText(const Value& value, const std::string& picture);
// The text editing starts from when the field takes the focus.
std::string editText(const Value& value, const std::string& picture);
// The longest edit text in characters (0: no limit).
size_t editLimit(const Value& value, const std::string& picture);
// The character to put at character position `position` of the edit text
// when `typed` is typed (upper-cased where the picture says so), or "" when
// the picture refuses it there. `typed` is one UTF-8 character.
std::string acceptTyped(const Value& value, const std::string& picture, size_t position, const std::string& typed);
// The value the edit text stands for, of the original value's type.
Value commitText(const std::string& edit, const Value& original, const std::string& picture);
// __PictureSize: the template positions counted back from the end of an
// "@R" or "@E" picture to its first blank or "@"; 0 for other pictures.
int pictureSize(const std::string& picture);

// UTF-8 helpers for edit texts: characters, and the byte offset of the
// character boundary before or after `offset`.
size_t characterCount(const std::string& text);
size_t previousBoundary(const std::string& text, size_t offset);
size_t nextBoundary(const std::string& text, size_t offset);

}  // namespace ui

#endif
