// RC4: key scheduling over a 256-byte state, then one keystream byte per
// data byte.
#include "rc4.h"

#include <utility>

namespace wire {

void rc4Transform(const uint8_t* key, size_t keyLength, uint8_t* data, size_t n) {
  if (keyLength == 0) return;
  uint8_t s[256];
  for (int i = 0; i < 256; ++i) s[i] = static_cast<uint8_t>(i);
  uint8_t j = 0;
  for (int i = 0; i < 256; ++i) {
    j = static_cast<uint8_t>(j + s[i] + key[static_cast<size_t>(i) % keyLength]);
    std::swap(s[i], s[j]);
  }
  uint8_t a = 0, b = 0;
  for (size_t k = 0; k < n; ++k) {
    a = static_cast<uint8_t>(a + 1);
    b = static_cast<uint8_t>(b + s[a]);
    std::swap(s[a], s[b]);
    data[k] ^= s[static_cast<uint8_t>(s[a] + s[b])];
  }
}

}  // namespace wire
