// Phonetic keys. A name is first folded to words of the letters A-Z and the
// digits (accents dropped, Ç already an S); each word is then rewritten
// left to right into sound codes, a letter or two at a time:
//
//   C  before E, I, Y -> S; CH -> X; otherwise K      Ç, Z, SS, SC(E,I) -> S
//   G  before E, I, Y -> J; GU(E,I) -> G; otherwise G  QU, Q, K -> K
//   PH -> F    TH -> T    SH, SCH -> X    LH -> LI    NH -> NI
//   W -> V     Y -> I     H alone is silent    M before a consonant or at the end -> N
//
// A doubled letter is read as one before the rules run, and a code that
// repeats the one before it is written once.
#include "phonetic_key.h"

#include <vector>

namespace phonetic {

namespace {

// Latin-1 code points 0xC0 to 0xFF as unaccented upper-case letters; 0 for
// the signs among them.
const char kLatin1Letters[] =
    "AAAAAAESEEEEIIII"    // C0-CF: À Á Â Ã Ä Å Æ Ç È É Ê Ë Ì Í Î Ï
    "DNOOOOO\0OUUUUITS"   // D0-DF: Ð Ñ Ò Ó Ô Õ Ö × Ø Ù Ú Û Ü Ý Þ ß
    "AAAAAAESEEEEIIII"    // E0-EF
    "DNOOOOO\0OUUUUITI";  // F0-FF: ... ÷ ... ÿ

char foldCode(unsigned code) {
  if (code >= 'a' && code <= 'z') return static_cast<char>(code - 'a' + 'A');
  if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) return static_cast<char>(code);
  if (code >= 0xC0 && code <= 0xFF) return kLatin1Letters[code - 0xC0];
  return 0;
}

// The words of the text, folded. A UTF-8 pair that encodes a Latin-1 code
// point is read as that code point; any other byte above 0x7F as Latin-1.
std::vector<std::string> foldedWords(const std::string& text) {
  std::vector<std::string> words(1);
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned code = static_cast<unsigned char>(text[i]);
    const unsigned next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if ((code == 0xC2 || code == 0xC3) && next >= 0x80 && next <= 0xBF) {
      code = ((code & 0x1F) << 6) | (next & 0x3F);
      ++i;
    }
    const char c = foldCode(code);
    if (c) {
      words.back() += c;
    } else if (!words.back().empty()) {
      words.emplace_back();
    }
  }
  if (words.back().empty()) words.pop_back();
  return words;
}

bool isVowel(char c) { return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U' || c == 'Y'; }
bool softens(char c) { return c == 'E' || c == 'I' || c == 'Y'; }

bool isParticle(const std::string& word) {
  static const char* const kParticles[] = {"DA", "DAS", "DE", "DES", "DI", "DO", "DOS", "DU", "E", "Y"};
  for (const char* p : kParticles) {
    if (word == p) return true;
  }
  return false;
}

std::string wordKey(const std::string& word) {
  // A doubled letter sounds as one (SS, LL, RR, MM).
  std::string w;
  for (char c : word) {
    if (w.empty() || w.back() != c) w += c;
  }
  std::string out;
  auto emit = [&out](char c) {
    if (out.empty() || out.back() != c) out += c;
  };
  const size_t n = w.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = w[i];
    const char next = i + 1 < n ? w[i + 1] : 0;
    const char after = i + 2 < n ? w[i + 2] : 0;
    switch (c) {
      case 'Y': emit('I'); break;
      case 'H': break;
      case 'C':
        if (next == 'H') {
          emit('X');
          ++i;
        } else {
          emit(softens(next) ? 'S' : 'K');
        }
        break;
      case 'G':
        if (next == 'U' && softens(after)) {
          emit('G');
          ++i;
        } else {
          emit(softens(next) ? 'J' : 'G');
        }
        break;
      case 'Q':
        emit('K');
        if (next == 'U') ++i;
        break;
      case 'P':
        if (next == 'H') ++i;
        emit(next == 'H' ? 'F' : 'P');
        break;
      case 'T':
        if (next == 'H') ++i;
        emit('T');
        break;
      case 'L':
      case 'N':
        emit(c);
        if (next == 'H') {
          emit('I');
          ++i;
        }
        break;
      case 'S':
        if (next == 'H' || (next == 'C' && after == 'H')) {
          emit('X');
          i += next == 'H' ? 1 : 2;
        } else {
          emit('S');
          if (next == 'C' && softens(after)) ++i;
        }
        break;
      case 'Z': emit('S'); break;
      case 'W': emit('V'); break;
      case 'M': emit(next == 0 || !isVowel(next) ? 'N' : 'M'); break;
      default: emit(c); break;
    }
  }
  return out;
}

}  // namespace

std::string phoneticKey(const std::string& text, bool allWords) {
  std::string key;
  for (const std::string& word : foldedWords(text)) {
    if (!allWords && isParticle(word)) continue;
    const std::string code = wordKey(word);
    if (code.empty()) continue;
    if (!key.empty()) key += ' ';
    key += code;
  }
  return key;
}

}  // namespace phonetic
