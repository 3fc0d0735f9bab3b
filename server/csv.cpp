// Reading and writing CSV (see csv.h).
#include "csv.h"

namespace server {

bool readCsv(const std::string& text, std::vector<std::vector<std::string>>& records, std::string& error) {
  records.clear();
  std::vector<std::string> record;
  std::string field;
  bool quoted = false, any = false;
  int line = 1, quoteLine = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line;
        field += c;
      }
      continue;
    }
    if (c == '"') {
      quoted = true;
      quoteLine = line;
      any = true;
    } else if (c == ',') {
      record.push_back(field);
      field.clear();
      any = true;
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++line;
      if (any || !field.empty()) {
        record.push_back(field);
        records.push_back(record);
      }
      record.clear();
      field.clear();
      any = false;
    } else {
      field += c;
      any = true;
    }
  }
  if (quoted) {
    error = "line " + std::to_string(quoteLine) + ": a quoted field does not end";
    return false;
  }
  if (any || !field.empty()) {
    record.push_back(field);
    records.push_back(record);
  }
  return true;
}

std::string csvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) line += ',';
    const std::string& f = fields[i];
    if (f.find_first_of(",\"\r\n") == std::string::npos && (f.empty() || (f.front() != ' ' && f.back() != ' '))) {
      line += f;
      continue;
    }
    line += '"';
    for (char c : f) {
      if (c == '"') line += '"';
      line += c;
    }
    line += '"';
  }
  return line + "\n";
}

bool csvRows(const TableDef& def, const std::string& text, std::vector<wire::Row>& rows, std::string& error) {
  rows.clear();
  std::vector<std::vector<std::string>> records;
  if (!readCsv(text, records, error)) return false;
  if (records.empty()) {
    error = "no header line";
    return false;
  }
  std::vector<int> columns;
  for (const std::string& name : records[0]) {
    const int at = def.fieldIndex(name);
    if (at < 0) {
      error = "line 1: " + name + " is not a field of " + def.name;
      return false;
    }
    columns.push_back(at);
  }
  for (size_t r = 1; r < records.size(); ++r) {
    const std::vector<std::string>& record = records[r];
    if (record.size() != columns.size()) {
      error = "record " + std::to_string(r + 1) + ": " + std::to_string(record.size()) + " fields, the header has " +
              std::to_string(columns.size());
      return false;
    }
    wire::Row row(def.fields.size());
    for (size_t c = 0; c < columns.size(); ++c) {
      const wire::FieldDef& f = def.fields[static_cast<size_t>(columns[c])];
      if (!wire::parseValueText(f, record[c], row[static_cast<size_t>(columns[c])])) {
        error = "record " + std::to_string(r + 1) + ": " + f.name + " \"" + record[c] + "\" is not of type " +
                std::string(1, f.type);
        return false;
      }
    }
    rows.push_back(std::move(row));
  }
  return true;
}

std::string rowsCsv(const TableDef& def, const std::vector<wire::Row>& rows) {
  std::vector<std::string> header;
  for (const wire::FieldDef& f : def.fields) header.push_back(f.name);
  std::string out = csvLine(header);
  for (const wire::Row& row : rows) {
    std::vector<std::string> fields;
    for (size_t i = 0; i < def.fields.size(); ++i) fields.push_back(wire::valueText(def.fields[i], row[i]));
    out += csvLine(fields);
  }
  return out;
}

}  // namespace server
