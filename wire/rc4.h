// The RC4 stream transformation: the same call encrypts and decrypts.
#ifndef ZELTA_WIRE_RC4_H
#define ZELTA_WIRE_RC4_H

#include <stddef.h>
#include <stdint.h>

namespace wire {

// XORs `n` bytes of `data` in place with the keystream of `key`. An empty
// key leaves the data as they are.
void rc4Transform(const uint8_t* key, size_t keyLength, uint8_t* data, size_t n);

}  // namespace wire

#endif
