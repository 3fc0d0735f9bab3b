// String algorithms. Every result is a fresh std::string, a view into the
// argument or bytes written into the caller's buffer; nothing here allocates
// run-time values.
#include "text_ops.h"

#include <algorithm>
#include <cstring>

namespace lib {

namespace {

// Writes the fill repeated from its start, n characters.
void fillInto(char* out, std::string_view fill, size_t n) {
  for (size_t done = 0; done < n;) {
    size_t part = std::min(fill.size(), n - done);
    memcpy(out + done, fill.data(), part);
    done += part;
  }
}

}  // namespace

std::string_view trimLeft(std::string_view s) {
  size_t i = s.find_first_not_of(' ');
  return i == std::string_view::npos ? std::string_view() : s.substr(i);
}

std::string_view trimRight(std::string_view s) {
  size_t i = s.find_last_not_of(' ');
  return i == std::string_view::npos ? std::string_view() : s.substr(0, i + 1);
}

void upperInPlace(char* s, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (s[i] >= 'a' && s[i] <= 'z') s[i] = static_cast<char>(s[i] - 'a' + 'A');
}

void lowerInPlace(char* s, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (s[i] >= 'A' && s[i] <= 'Z') s[i] = static_cast<char>(s[i] - 'A' + 'a');
}

std::string upperAscii(std::string_view s) {
  std::string out(s);
  upperInPlace(out.data(), out.size());
  return out;
}

std::string lowerAscii(std::string_view s) {
  std::string out(s);
  lowerInPlace(out.data(), out.size());
  return out;
}

long findFirst(std::string_view needle, std::string_view s) {
  if (needle.empty()) return 1;
  size_t i = s.find(needle);
  return i == std::string_view::npos ? 0 : static_cast<long>(i) + 1;
}

long findLast(std::string_view needle, std::string_view s) {
  if (needle.empty()) return 0;
  size_t i = s.rfind(needle);
  return i == std::string_view::npos ? 0 : static_cast<long>(i) + 1;
}

std::string_view leftOf(std::string_view s, long n) {
  if (n <= 0 || static_cast<size_t>(n) >= s.size()) return s;
  return s.substr(0, n);
}

std::string_view rightOf(std::string_view s, long n) {
  if (n <= 0 || static_cast<size_t>(n) >= s.size()) return s;
  return s.substr(s.size() - n);
}

std::string_view subString(std::string_view s, long start, long count) {
  if (start < 1) start = 1;
  if (static_cast<size_t>(start) > s.size()) return s;
  if (count == kToEnd) return s.substr(start - 1);
  if (count < 1) return s;
  return s.substr(start - 1, count);
}

std::string pad(std::string_view s, long n, std::string_view fill, PadSide side) {
  if (n <= 0 || s.size() >= static_cast<size_t>(n)) return std::string(s);
  if (fill.empty()) fill = " ";
  std::string out(static_cast<size_t>(n), ' ');
  padInto(out.data(), s, static_cast<size_t>(n), fill, side);
  return out;
}

void padInto(char* out, std::string_view s, size_t n, std::string_view fill, PadSide side) {
  size_t missing = n - s.size();
  size_t before = side == PadSide::kLeft ? missing : side == PadSide::kCenter ? missing / 2 : 0;
  fillInto(out, fill, before);
  memcpy(out + before, s.data(), s.size());
  fillInto(out + before + s.size(), fill, missing - before);
}

std::string replicate(std::string_view s, long n) {
  std::string out;
  if (n <= 0) return out;
  out.resize(s.size() * static_cast<size_t>(n));
  replicateInto(out.data(), s, n);
  return out;
}

void replicateInto(char* out, std::string_view s, long n) {
  for (long i = 0; i < n; ++i, out += s.size()) memcpy(out, s.data(), s.size());
}

std::string replaceText(std::string_view s, std::string_view search, std::string_view replace, long start, long count) {
  if (start < 1) start = 1;
  if (search.empty() || static_cast<size_t>(start) > s.size()) return std::string(s);
  std::string out(s.substr(0, start - 1));
  size_t at = start - 1;
  for (;;) {
    size_t hit = s.find(search, at);
    if (hit == std::string_view::npos) break;
    out.append(s.substr(at, hit - at));
    out.append(replace);
    at = hit + search.size();
    if (count < 0) break;
  }
  out.append(s.substr(at));
  return out;
}

std::string stuff(std::string_view s, long pos, long del, std::string_view ins) {
  if (pos < 1) pos = 1;
  size_t at = static_cast<size_t>(pos) - 1 > s.size() ? s.size() : static_cast<size_t>(pos) - 1;
  size_t removed = del < 0 ? 0 : static_cast<size_t>(del);
  if (removed > s.size() - at) removed = s.size() - at;
  std::string out(s.substr(0, at));
  out.append(ins);
  out.append(s.substr(at + removed));
  return out;
}

}  // namespace lib
