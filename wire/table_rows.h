// Table rows as the devices store and exchange them, for the server and the
// tests: field definitions, the stored-record layout, index keys, upload rows
// and day numbers.
//
//   stored record (no trailer): fields in order
//     N, D   8-byte IEEE double, most significant byte first (D: day number)
//     C      text without trailing blanks, at most `length` bytes, then a zero
//     L      1 byte, 0 or 1
//   index key: the key fields in order, blank-filled to the key length
//     N      "%*.*f" with the field's length and decimals, right-aligned
//     D      eight digits, year, month, day ("00000000" for the empty date)
//     C      the text blank-padded (or cut) to `length`
//     L      1 byte
//   upload row fields: zero-terminated texts
//     C as stored; D eight digits or "" (empty date); N the number; L "T"/"F"
#ifndef ZELTA_WIRE_TABLE_ROWS_H
#define ZELTA_WIRE_TABLE_ROWS_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace wire {

struct FieldDef {
  std::string name;
  char type = 'C';  // N, D, C or L
  int length = 1;
  int decimals = 0;
};

// One field's value: N the number, D the day number (0: empty), C the text,
// L the logical.
struct Value {
  double number = 0;
  std::string text;
  bool logical = false;
};

using Row = std::vector<Value>;

// Day numbers count from 30 December 1899 (day 0, the empty date).
long dayNumber(int year, int month, int day);
void civilDate(long dayNumber, int& year, int& month, int& day);
// "YYYYMMDD" of a day number; "00000000" for 0.
std::string dateDigits(long dayNumber);
// The day number of eight digits; false when they are not a valid date
// ("00000000" and "" give 0 and true).
bool parseDateDigits(const std::string& digits, long& dayNumber);

// One field's stored bytes: a number or a date as 8 bytes, a text without
// its trailing blanks, cut to the field's length, then a NUL.
void appendStoredNumber(double x, std::vector<uint8_t>& out);
void appendStoredText(const FieldDef& f, const char* text, size_t n, std::vector<uint8_t>& out);
// Appends the stored-record bytes of `row`.
void appendStoredRecord(const std::vector<FieldDef>& fields, const Row& row, std::vector<uint8_t>& out);
// Reads a stored record; false when the bytes end before the last field.
bool readStoredRecord(const std::vector<FieldDef>& fields, const uint8_t* data, size_t n, Row& row);

// The index key of `row` over the fields at `keyFields` (0-based).
std::string indexKey(const std::vector<FieldDef>& fields, const std::vector<int>& keyFields, const Row& row);
// The key length a key over `keyFields` takes.
size_t keyLength(const std::vector<FieldDef>& fields, const std::vector<int>& keyFields);

// The fields of an upload row's body (after its 3-byte prefix); false when a
// field is missing or does not read as its type.
bool readUploadFields(const std::vector<FieldDef>& fields, const uint8_t* data, size_t n, Row& row);
// Appends one upload row, prefix included (numbers with their decimals).
void appendUploadRow(const std::vector<FieldDef>& fields, const Row& row, std::vector<uint8_t>& out);

// A field's value as text for CSV files and key look-ups: C trimmed, N with
// its decimals, D eight digits or "", L "T"/"F".
std::string valueText(const FieldDef& field, const Value& v);
// The reverse; false when the text does not read as the field's type.
bool parseValueText(const FieldDef& field, const std::string& text, Value& v);

}  // namespace wire

#endif
