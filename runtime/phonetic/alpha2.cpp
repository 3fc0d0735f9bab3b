// The ALPHA2 call of the phonetic library, the library's only export:
//
//   int ALPHA2(int* length, const char* mode, char* buffer);
//
//   length  in: the length of the text at the start of buffer;
//           out: the length of the key written there
//   mode    "0": every word of the text; "1": the particles of names left out
//   buffer  the text followed by 128 blanks: the key and its zero byte are
//           written over it, never past those length + 128 bytes
//
// Returns 0 when the key was written, -1 for a null argument or a negative
// length, -2 for an unknown mode; the buffer is then left as it was.
#include <string.h>

#include <string>

#include "phonetic_key.h"

extern "C" __attribute__((visibility("default"))) int ALPHA2(int* length, const char* mode, char* buffer) {
  if (!length || !mode || !buffer || *length < 0) return -1;
  if ((mode[0] != '0' && mode[0] != '1') || mode[1] != 0) return -2;
  const std::string key = phonetic::phoneticKey(std::string(buffer, static_cast<size_t>(*length)), mode[0] == '0');
  // Keys are never longer than their text, so the padding always holds the zero byte.
  memcpy(buffer, key.data(), key.size());
  buffer[key.size()] = 0;
  *length = static_cast<int>(key.size());
  return 0;
}
