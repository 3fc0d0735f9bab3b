// Base64 with the standard alphabet (A-Z, a-z, 0-9, '+', '/') and '='
// padding. Both directions write into a bounded buffer and stop at its end.
#ifndef ZELTA_WIRE_BASE64_H
#define ZELTA_WIRE_BASE64_H

#include <stddef.h>
#include <stdint.h>

namespace wire {

// Characters the encoding of n bytes takes (no terminator).
constexpr size_t base64EncodedSize(size_t n) { return (n + 2) / 3 * 4; }

// Encodes three bytes at a time into four characters; stops before a group
// that would pass `capacity`. Returns the characters written (no zero byte).
size_t base64Encode(const uint8_t* data, size_t n, char* out, size_t capacity);

// Decodes groups of four characters. A group ending in "=" or "==" gives two
// or one bytes; a short last group gives the bytes its characters carry (one
// fewer than its characters); a character outside the alphabet counts as 0.
// Returns the bytes written, at most `capacity`.
size_t base64Decode(const char* text, size_t n, uint8_t* out, size_t capacity);

}  // namespace wire

#endif
