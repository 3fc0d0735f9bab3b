// Base64 both ways (see base64.h for the rules at the edges).
#include "base64.h"

namespace wire {

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

uint32_t sextet(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<uint32_t>(c - 'A');
  if (c >= 'a' && c <= 'z') return static_cast<uint32_t>(c - 'a' + 26);
  if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0' + 52);
  if (c == '+') return 62;
  if (c == '/') return 63;
  return 0;
}

}  // namespace

size_t base64Encode(const uint8_t* data, size_t n, char* out, size_t capacity) {
  size_t written = 0;
  for (size_t i = 0; i < n; i += 3) {
    if (capacity - written < 4 || written > capacity) break;
    const size_t left = n - i;
    const uint32_t group =
        static_cast<uint32_t>(data[i]) << 16 | (left > 1 ? data[i + 1] << 8 : 0) | (left > 2 ? data[i + 2] : 0);
    out[written++] = kAlphabet[group >> 18 & 63];
    out[written++] = kAlphabet[group >> 12 & 63];
    out[written++] = left > 1 ? kAlphabet[group >> 6 & 63] : '=';
    out[written++] = left > 2 ? kAlphabet[group & 63] : '=';
  }
  return written;
}

size_t base64Decode(const char* text, size_t n, uint8_t* out, size_t capacity) {
  size_t written = 0;
  for (size_t i = 0; i < n && written < capacity; i += 4) {
    const size_t chars = n - i < 4 ? n - i : 4;
    size_t padding = 0;
    while (padding < chars && text[i + chars - 1 - padding] == '=') ++padding;
    const size_t carried = chars - padding;  // characters that carry bits
    uint32_t group = 0;
    for (size_t k = 0; k < 4; ++k) group = group << 6 | (k < carried ? sextet(text[i + k]) : 0);
    const size_t bytes = carried > 1 ? carried - 1 : 0;
    for (size_t k = 0; k < bytes && written < capacity; ++k)
      out[written++] = static_cast<uint8_t>(group >> (16 - 8 * k));
  }
  return written;
}

}  // namespace wire
