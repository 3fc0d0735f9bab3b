// String algorithms of the language on plain byte strings. Positions taken
// here are already 1-based integers; the exports turn language values into
// them and back. Only the ASCII letters have case.
#ifndef ZELTA_RUNTIME_LIB_TEXT_OPS_H
#define ZELTA_RUNTIME_LIB_TEXT_OPS_H

#include <string>
#include <string_view>

namespace lib {

std::string_view trimLeft(std::string_view s);
std::string_view trimRight(std::string_view s);

std::string upperAscii(std::string_view s);
std::string lowerAscii(std::string_view s);
void upperInPlace(char* s, size_t n);
void lowerInPlace(char* s, size_t n);

// 1-based position, 0 when absent. An empty needle is found at 1 by findFirst.
long findFirst(std::string_view needle, std::string_view s);
long findLast(std::string_view needle, std::string_view s);

// A count not above 0 keeps the whole of s.
std::string_view leftOf(std::string_view s, long n);
std::string_view rightOf(std::string_view s, long n);
// A start beyond the end or a count below 1 keeps the whole of s; count < 0
// as "no count given" is the caller's to pass as kToEnd.
constexpr long kToEnd = -1;
std::string_view subString(std::string_view s, long start, long count);

enum class PadSide { kRight, kLeft, kCenter };
// s of n or more characters comes back unchanged; an empty fill counts as a blank.
std::string pad(std::string_view s, long n, std::string_view fill, PadSide side);
// The same written into out[0, n), for n above s.size() and a fill not empty.
void padInto(char* out, std::string_view s, size_t n, std::string_view fill, PadSide side);

std::string replicate(std::string_view s, long n);
void replicateInto(char* out, std::string_view s, long n);  // out holds s.size() * n bytes

// Replaces search from position start on; a negative count replaces only the
// first occurrence.
std::string replaceText(std::string_view s, std::string_view search, std::string_view replace, long start, long count);

// Removes del characters at pos and inserts ins there; pos past the end appends.
std::string stuff(std::string_view s, long pos, long del, std::string_view ins);

}  // namespace lib

#endif
