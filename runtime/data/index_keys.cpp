// Index keys: the key expression ("NAME", "STR(QTY)+DTOS(DUE)", "CLI->CODE")
// read into key fields, and the key bytes built from a record buffer. Key
// parts, one per key field, blank-padded:
//
//   N   the number as text in `length` bytes, right-aligned, '.' for the
//       decimals; a negative number is one byte 0x1F and then the digits of
//       its magnitude, zero-padded and each replaced by 9 minus itself, so
//       byte order is number order ("-12" before "-5" before "  3")
//   D   8 characters year, month, day, as DToS writes them
//   C   the text, `length` bytes
//   L   'T' or 'F'
//
// The key length is the sum of those widths, the bytes the builder writes
// and the bytes entries are compared over.
#include <ctype.h>
#include <string.h>

#include <string>
#include <vector>

#include "calendar.h"
#include "core.h"
#include "index_layer.h"
#include "number_text.h"

namespace data {

namespace {

constexpr char kNegative = 0x1F;

uint32_t partLength(const FieldDef& f) {
  switch (f.type) {
    case kTypeN:
    case kTypeC: return f.length;
    case kTypeD: return 8;
    case kTypeL: return 1;
    default: return 0;
  }
}

void numberKey(double x, const FieldDef& f, char* out) {
  const int width = static_cast<int>(f.length);
  const int decimals = static_cast<int>(f.decimals);
  if (x < 0) {
    std::string digits = lib::formatNumber(-x, decimals, true, '.');
    if (static_cast<int>(digits.size()) < width - 1)
      digits.insert(0, static_cast<size_t>(width - 1) - digits.size(), '0');
    if (width < 1 || static_cast<int>(digits.size()) > width - 1) {
      memset(out, kNegative, f.length);
      return;
    }
    out[0] = kNegative;
    for (int i = 0; i < width - 1; ++i) {
      const char c = digits[static_cast<size_t>(i)];
      out[i + 1] = isdigit(static_cast<unsigned char>(c)) ? static_cast<char>('9' - (c - '0')) : c;
    }
    return;
  }
  // A whole number of a field without decimals, the usual key, is written
  // here as formatNumber writes it, without building a string.
  if (decimals == 0 && x < 1e15 && x == static_cast<double>(static_cast<uint64_t>(x))) {
    uint64_t n = static_cast<uint64_t>(x);
    int at = width;
    do {
      if (at == 0) {
        memset(out, '*', f.length);
        return;
      }
      out[--at] = static_cast<char>('0' + n % 10);
      n /= 10;
    } while (n);
    memset(out, ' ', static_cast<size_t>(at));
    return;
  }
  std::string text = lib::formatNumber(x, decimals, true, '.');
  if (static_cast<int>(text.size()) > width) {
    memset(out, '*', f.length);
    return;
  }
  memset(out, ' ', f.length - text.size());
  memcpy(out + f.length - text.size(), text.data(), text.size());
}

}  // namespace

std::vector<std::string> parseKeyExpression(const std::string& expression) {
  std::string text;
  for (char c : expression) text += static_cast<char>(toupper(static_cast<unsigned char>(c)));
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  std::vector<std::string> names;
  size_t at = 0;
  while (at <= text.size()) {
    size_t end = text.find('+', at);
    if (end == std::string::npos) end = text.size();
    std::string part = text.substr(at, end - at);
    const size_t arrow = part.find("->");
    if (arrow != std::string::npos) part = part.substr(arrow + 2);
    size_t p = part.find_first_not_of(' ');
    part = p == std::string::npos ? std::string() : part.substr(p);
    if (part.compare(0, 4, "STR(") == 0) part = part.substr(4);
    if (part.compare(0, 5, "DTOS(") == 0) part = part.substr(5);
    // The name runs over letters, digits and '_', passing blanks and ')'.
    std::string name;
    for (char c : part) {
      if (isalnum(static_cast<unsigned char>(c)) || c == '_')
        name += c;
      else if (c != ' ' && c != ')')
        break;
    }
    if (!name.empty()) names.push_back(name);
    at = end + 1;
  }
  return names;
}

uint32_t keyLengthOf(const TableDescriptor& schema, const std::vector<int>& fields) {
  uint32_t length = 0;
  for (int f : fields) length += partLength(schema.fields[static_cast<size_t>(f)]);
  return length;
}

bool keyableType(uint8_t type) { return type == kTypeN || type == kTypeD || type == kTypeC || type == kTypeL; }

void buildKey(const TableDescriptor& schema, const IndexDef& index, const char* buffer, char* out) {
  for (int position : index.keyFields) {
    const FieldDef& f = schema.fields[static_cast<size_t>(position)];
    const char* slot = buffer + f.offset;
    switch (f.type) {
      case kTypeN: {
        double x;
        memcpy(&x, slot, 8);
        numberKey(x, f, out);
        break;
      }
      case kTypeD: {
        double day;
        memcpy(&day, slot, 8);
        const std::string stamp = lib::dateStamp(static_cast<long>(day));
        memcpy(out, stamp.data(), 8);
        break;
      }
      case kTypeC: {
        const size_t n = strnlen(slot, f.length);
        memcpy(out, slot, n);
        memset(out + n, ' ', f.length - n);
        break;
      }
      case kTypeL: out[0] = slot[0] ? 'T' : 'F'; break;
      default: __RuntimeError(RUNTIME_ERROR, 20);
    }
    out += partLength(f);
  }
}

std::string seekKey(const TableDescriptor& schema, const IndexDef& index, const std::string& text) {
  if (index.keyFields.empty()) return text;
  const FieldDef& f = schema.fields[static_cast<size_t>(index.keyFields[0])];
  if (f.type != kTypeN || text.size() < f.length) return text;
  // A whole number written as Str() writes it, in the key's own form.
  std::string segment = text.substr(0, f.length);
  if (segment.find_first_not_of(" -.,0123456789") != std::string::npos) return text;
  std::string out = text;
  numberKey(lib::valueOfText(segment), f, &out[0]);
  return out;
}

}  // namespace data
