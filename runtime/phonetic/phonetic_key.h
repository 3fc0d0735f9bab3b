// The Portuguese phonetic key behind the ALPHA2 call: names that sound alike
// ("Souza" and "Sousa", "Luis" and "Luiz", "Thiago" and "Tiago") get the
// same key.
#ifndef ZELTA_PHONETIC_PHONETIC_KEY_H
#define ZELTA_PHONETIC_PHONETIC_KEY_H

#include <string>

namespace phonetic {

// The key of `text`: one code per word, joined by single blanks. The text
// may be ASCII, Latin-1 or UTF-8; accents are folded, and anything but a
// letter or digit separates words. With allWords false the particles of
// names (da, das, de, do, dos, e ...) are left out.
std::string phoneticKey(const std::string& text, bool allWords);

}  // namespace phonetic

#endif
