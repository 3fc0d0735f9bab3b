// Stored records, index keys, upload rows and day numbers (the layouts are
// drawn in table_rows.h).
#include "table_rows.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

namespace wire {

namespace {

// Days from 1970-01-01 of a civil date (proleptic Gregorian calendar).
long daysFromCivil(long y, long m, long d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

constexpr long kEpochShift = 25569;  // 1970-01-01 is day 25569 from 1899-12-30

// Halves round away from zero, as the devices round.
double roundAway(double x, int decimals) {
  const double scale = pow(10.0, decimals);
  const double scaled = x * scale;
  const double r = scaled < 0 ? -floor(-scaled + 0.5 + 1e-9) : floor(scaled + 0.5 + 1e-9);
  return r / scale;
}

std::string trimRight(const std::string& s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

void putDouble(double x, std::vector<uint8_t>& out) {
  uint64_t bits;
  memcpy(&bits, &x, 8);
  uint8_t bytes[8];
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
  out.insert(out.end(), bytes, bytes + 8);
}

double getDouble(const uint8_t* p) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits = bits << 8 | p[i];
  double x;
  memcpy(&x, &bits, 8);
  return x;
}

bool parseNumber(std::string text, double& x) {
  while (!text.empty() && text.front() == ' ') text.erase(text.begin());
  text = trimRight(text);
  if (text.empty()) {
    x = 0;
    return true;
  }
  if (text.find('.') == std::string::npos) {
    const size_t comma = text.find(',');
    if (comma != std::string::npos) text[comma] = '.';
  }
  char* end = nullptr;
  x = strtod(text.c_str(), &end);
  return end && *end == 0 && isfinite(x);
}

}  // namespace

long dayNumber(int year, int month, int day) { return daysFromCivil(year, month, day) + kEpochShift; }

void civilDate(long n, int& year, int& month, int& day) {
  const long z = n - kEpochShift + 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

std::string dateDigits(long n) {
  if (n == 0) return "00000000";
  int y, m, d;
  civilDate(n, y, m, d);
  char text[16];
  snprintf(text, sizeof text, "%04d%02d%02d", y, m, d);
  return text;
}

bool parseDateDigits(const std::string& digits, long& n) {
  if (digits.empty() || digits == "00000000") {
    n = 0;
    return true;
  }
  if (digits.size() != 8 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  const int y = atoi(digits.substr(0, 4).c_str()), m = atoi(digits.substr(4, 2).c_str()),
            d = atoi(digits.substr(6, 2).c_str());
  if (y < 1 || m < 1 || m > 12 || d < 1 || d > 31) return false;
  n = dayNumber(y, m, d);
  int cy, cm, cd;
  civilDate(n, cy, cm, cd);
  return cy == y && cm == m && cd == d;
}

void appendStoredNumber(double x, std::vector<uint8_t>& out) { putDouble(x, out); }

void appendStoredText(const FieldDef& f, const char* text, size_t n, std::vector<uint8_t>& out) {
  while (n > 0 && text[n - 1] == ' ') --n;
  if (f.length >= 0 && n > static_cast<size_t>(f.length)) n = static_cast<size_t>(f.length);
  out.insert(out.end(), text, text + n);
  out.push_back(0);
}

void appendStoredRecord(const std::vector<FieldDef>& fields, const Row& row, std::vector<uint8_t>& out) {
  for (size_t i = 0; i < fields.size(); ++i) {
    const FieldDef& f = fields[i];
    const Value& v = row[i];
    switch (f.type) {
      case 'N':
      case 'D': putDouble(v.number, out); break;
      case 'L': out.push_back(v.logical ? 1 : 0); break;
      default: appendStoredText(f, v.text.data(), v.text.size(), out);
    }
  }
}

bool readStoredRecord(const std::vector<FieldDef>& fields, const uint8_t* data, size_t n, Row& row) {
  row.assign(fields.size(), Value());
  size_t at = 0;
  for (size_t i = 0; i < fields.size(); ++i) {
    const FieldDef& f = fields[i];
    switch (f.type) {
      case 'N':
      case 'D':
        if (at > n || n - at < 8) return false;
        row[i].number = getDouble(data + at);
        at += 8;
        break;
      case 'L':
        if (at >= n) return false;
        row[i].logical = data[at++] != 0;
        break;
      default: {
        const size_t limit = std::min(n - at, static_cast<size_t>(f.length) + 1);
        const void* zero = memchr(data + at, 0, limit);
        if (!zero) return false;
        const size_t len = static_cast<size_t>(static_cast<const uint8_t*>(zero) - (data + at));
        row[i].text.assign(reinterpret_cast<const char*>(data + at), len);
        at += len + 1;
      }
    }
  }
  return true;
}

size_t keyLength(const std::vector<FieldDef>& fields, const std::vector<int>& keyFields) {
  size_t n = 0;
  for (int k : keyFields) {
    const FieldDef& f = fields[static_cast<size_t>(k)];
    n += f.type == 'D' ? 8 : f.type == 'L' ? 1 : static_cast<size_t>(f.length);
  }
  return n;
}

std::string indexKey(const std::vector<FieldDef>& fields, const std::vector<int>& keyFields, const Row& row) {
  std::string key;
  for (int k : keyFields) {
    const FieldDef& f = fields[static_cast<size_t>(k)];
    const Value& v = row[static_cast<size_t>(k)];
    const size_t length = static_cast<size_t>(f.length);
    switch (f.type) {
      case 'N': {
        char text[400];
        snprintf(text, sizeof text, "%*.*f", f.length, f.decimals, roundAway(v.number, f.decimals));
        std::string part = text;
        if (part.size() > length) part.assign(length, '*');
        key += part;
        break;
      }
      case 'D': key += dateDigits(static_cast<long>(v.number)); break;
      case 'L': key += static_cast<char>(v.logical ? 1 : 0); break;
      default: {
        std::string part = v.text.substr(0, length);
        part.resize(length, ' ');
        key += part;
      }
    }
  }
  return key;
}

bool readUploadFields(const std::vector<FieldDef>& fields, const uint8_t* data, size_t n, Row& row) {
  row.assign(fields.size(), Value());
  size_t at = 0;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (at >= n) return false;
    const void* zero = memchr(data + at, 0, n - at);
    if (!zero) return false;
    const size_t len = static_cast<size_t>(static_cast<const uint8_t*>(zero) - (data + at));
    const std::string text(reinterpret_cast<const char*>(data + at), len);
    at += len + 1;
    if (!parseValueText(fields[i], text, row[i])) return false;
  }
  return true;
}

void appendUploadRow(const std::vector<FieldDef>& fields, const Row& row, std::vector<uint8_t>& out) {
  const size_t start = out.size();
  out.insert(out.end(), {0, 0, 1});
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::string text = fields[i].type == 'C' ? row[i].text : valueText(fields[i], row[i]);
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
  }
  const size_t length = out.size() - start;
  out[start] = static_cast<uint8_t>(length >> 8);
  out[start + 1] = static_cast<uint8_t>(length);
}

std::string valueText(const FieldDef& field, const Value& v) {
  switch (field.type) {
    case 'N': {
      char text[400];
      snprintf(text, sizeof text, "%.*f", field.decimals, roundAway(v.number, field.decimals));
      return text;
    }
    case 'D': return v.number == 0 ? std::string() : dateDigits(static_cast<long>(v.number));
    case 'L': return v.logical ? "T" : "F";
    default: return trimRight(v.text);
  }
}

bool parseValueText(const FieldDef& field, const std::string& text, Value& v) {
  switch (field.type) {
    case 'N': return parseNumber(text, v.number);
    case 'D': {
      long n = 0;
      if (!parseDateDigits(text, n)) return false;
      v.number = static_cast<double>(n);
      return true;
    }
    case 'L':
      if (text == "T" || text == "t" || text == "Y" || text == "y") {
        v.logical = true;
        return true;
      }
      v.logical = false;
      return text == "F" || text == "f" || text == "N" || text == "n" || text.empty();
    default:
      v.text = trimRight(text);
      if (v.text.size() > static_cast<size_t>(field.length)) v.text.resize(static_cast<size_t>(field.length));
      return true;
  }
}

}  // namespace wire
