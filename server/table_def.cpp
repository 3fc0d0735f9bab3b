// Structure files, key expressions and the catalog tables (see table_def.h).
#include "table_def.h"

#include <ctype.h>
#include <stdlib.h>

#include <sstream>

namespace server {

namespace {

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

bool plainName(const std::string& s, size_t longest) {
  if (s.empty() || s.size() > longest || isdigit(static_cast<unsigned char>(s[0]))) return false;
  for (unsigned char c : s)
    if (!isalnum(c) && c != '_') return false;
  return true;
}

bool wholeNumber(const std::string& s, int low, int high, int& out) {
  if (s.empty() || s.size() > 4 || s.find_first_not_of("0123456789") != std::string::npos) return false;
  out = atoi(s.c_str());
  return out >= low && out <= high;
}

wire::FieldDef field(const char* name, char type, int length, int decimals = 0) {
  wire::FieldDef f;
  f.name = name;
  f.type = type;
  f.length = length;
  f.decimals = decimals;
  return f;
}

TableDef catalogTable(const char* name, std::vector<wire::FieldDef> fields,
                      std::vector<std::pair<const char*, const char*>> indexes) {
  TableDef t;
  t.name = name;
  t.fields = std::move(fields);
  for (const auto& [index, expression] : indexes) {
    IndexDef d;
    d.name = index;
    d.expression = expression;
    std::string ignored;
    parseKeyExpression(expression, t.fields, d.fields, ignored);
    t.indexes.push_back(d);
  }
  return t;
}

wire::Value number(double x) {
  wire::Value v;
  v.number = x;
  return v;
}

wire::Value text(const std::string& s) {
  wire::Value v;
  v.text = s;
  return v;
}

}  // namespace

std::string TableDef::structureText() const {
  std::ostringstream out;
  out << "table " << name;
  if (!description.empty()) out << " " << description;
  out << "\nupload " << (toHost ? "yes" : "no") << "\n";
  for (const wire::FieldDef& f : fields) {
    out << "field " << f.name << " " << f.type;
    if (f.type == 'C' || f.type == 'N') out << " " << f.length;
    if (f.type == 'N') out << " " << f.decimals;
    out << "\n";
  }
  for (const IndexDef& i : indexes) out << "index " << i.name << " " << i.expression << "\n";
  return out.str();
}

std::string TableDef::rowKey(const wire::Row& row) const {
  return keyed() ? wire::indexKey(fields, indexes[0].fields, row) : std::string();
}

int TableDef::fieldIndex(const std::string& n) const {
  const std::string u = upper(n);
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name == u) return static_cast<int>(i);
  return -1;
}

bool parseKeyExpression(const std::string& expression, const std::vector<wire::FieldDef>& fields,
                        std::vector<int>& keyFields, std::string& error) {
  keyFields.clear();
  std::string rest = upper(trim(expression));
  if (rest.empty()) {
    error = "an index needs a key";
    return false;
  }
  std::stringstream parts(rest);
  for (std::string part; std::getline(parts, part, '+');) {
    const size_t arrow = part.find("->");
    if (arrow != std::string::npos) part = part.substr(arrow + 2);
    part = trim(part);
    if (part.rfind("STR(", 0) == 0)
      part = part.substr(4);
    else if (part.rfind("DTOS(", 0) == 0)
      part = part.substr(5);
    std::string name;
    for (char c : part)
      if (isalnum(static_cast<unsigned char>(c)) || c == '_') name += c;
    int found = -1;
    for (size_t i = 0; i < fields.size(); ++i)
      if (fields[i].name == name) found = static_cast<int>(i);
    if (found < 0) {
      error = "the key names " + (name.empty() ? std::string("nothing") : name) + ", which is not a field";
      return false;
    }
    keyFields.push_back(found);
  }
  return true;
}

bool parseStructure(const std::string& text, TableDef& def, std::string& error) {
  def = TableDef();
  std::istringstream in(text);
  int lineNumber = 0;
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(lineNumber) + ": " + why;
    return false;
  };
  for (std::string line; std::getline(in, line);) {
    ++lineNumber;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string keyword;
    if (!(words >> keyword)) continue;
    keyword = upper(keyword);
    std::vector<std::string> args;
    for (std::string w; words >> w;) args.push_back(w);
    if (keyword == "TABLE") {
      if (!def.name.empty()) return fail("a second table line");
      if (args.empty() || !plainName(upper(args[0]), 15))
        return fail("a table name of letters, digits and _, up to 15");
      def.name = upper(args[0]);
      if (isCatalogTable(def.name)) return fail(def.name + " is a catalog table");
      for (size_t i = 1; i < args.size(); ++i) def.description += (i > 1 ? " " : "") + args[i];
      if (def.description.size() > 15) return fail("a description of up to 15 characters");
    } else if (keyword == "UPLOAD") {
      const std::string v = args.size() == 1 ? upper(args[0]) : "";
      if (v != "YES" && v != "NO") return fail("upload takes yes or no");
      def.toHost = v == "YES";
    } else if (keyword == "FIELD") {
      if (args.size() < 2 || args.size() > 4) return fail("field NAME TYPE [LENGTH [DECIMALS]]");
      wire::FieldDef f;
      f.name = upper(args[0]);
      if (!plainName(f.name, 30) || f.name == "D_E_L_E_T_")
        return fail("a field name of letters, digits and _, up to 30");
      if (def.fieldIndex(f.name) >= 0) return fail("the field " + f.name + " twice");
      const std::string type = upper(args[1]);
      if (type.size() != 1 || std::string("CNDL").find(type[0]) == std::string::npos)
        return fail("a field type C, N, D or L");
      f.type = type[0];
      f.length = f.type == 'D' ? 8 : f.type == 'L' ? 1 : 10;
      if (args.size() > 2 && f.type != 'D' && f.type != 'L' &&
          !wholeNumber(args[2], 1, f.type == 'C' ? 250 : 20, f.length))
        return fail("a length of 1 to " + std::string(f.type == 'C' ? "250" : "20"));
      if (args.size() > 3 && (f.type != 'N' || !wholeNumber(args[3], 0, f.length > 1 ? f.length - 1 : 0, f.decimals)))
        return fail("decimals only for N, fewer than its length");
      def.fields.push_back(f);
    } else if (keyword == "INDEX") {
      if (args.size() < 2) return fail("index NAME KEY");
      IndexDef d;
      d.name = upper(args[0]);
      if (!plainName(d.name, 30)) return fail("an index name of letters, digits and _, up to 30");
      for (size_t i = 1; i < args.size(); ++i) d.expression += args[i];
      d.expression = upper(d.expression);
      if (d.expression.size() > 250) return fail("a key expression of up to 250 characters");
      std::string why;
      if (!parseKeyExpression(d.expression, def.fields, d.fields, why)) return fail(why);
      for (const IndexDef& other : def.indexes)
        if (other.name == d.name) return fail("the index " + d.name + " twice");
      def.indexes.push_back(d);
    } else {
      return fail("unknown statement " + keyword);
    }
  }
  lineNumber = 0;
  if (def.name.empty()) return fail("no table line");
  if (def.fields.empty()) return fail("a table without fields");
  if (def.indexes.empty()) return fail("a table needs an index: its first identifies a row");
  size_t row = 0;
  for (const wire::FieldDef& f : def.fields) row += f.type == 'C' ? static_cast<size_t>(f.length) + 1 : 8;
  if (row > 11000) return fail("a row of more than 11,000 bytes");
  return true;
}

const std::vector<TableDef>& catalogTables() {
  static const std::vector<TableDef> tables = {
      catalogTable("ZEL_TBL",
                   {field("TABLEID", 'N', 4), field("TBLNAME", 'C', 15), field("DESCR", 'C', 15),
                    field("TBLTOHOST", 'C', 1), field("TBL_EMP", 'C', 2), field("TBLTP", 'C', 15),
                    field("AUX_TBL1", 'C', 15), field("AUX_TBL2", 'C', 15), field("AUX_TBL3", 'C', 15)},
                   {{"SYNC_IDX", "TBL_EMP+TBLNAME"}}),
      catalogTable("ZEL_COLS",
                   {field("TABLEID", 'N', 4), field("FLDPOS", 'C', 3), field("FLDNAME", 'C', 30),
                    field("FLDTYPE", 'C', 1), field("FLDLEN", 'N', 20), field("FLDLENDEC", 'N', 20)},
                   {{"ZEL_COLS_IDX", "TABLEID+FLDPOS"}, {"ZEL_COLS_FLD", "FLDNAME+TABLEID+FLDPOS"}}),
      catalogTable(
          "ZEL_IND",
          {field("TABLEID", 'N', 4), field("NOME_IDX", 'C', 30), field("EXPRE", 'C', 250), field("PK", 'C', 1)},
          {{"ZEL_IND_IDX", "TABLEID+NOME_IDX"}}),
  };
  return tables;
}

bool isCatalogTable(const std::string& name) {
  for (const TableDef& t : catalogTables())
    if (t.name == name) return true;
  return false;
}

std::vector<std::vector<wire::Row>> catalogRows(const std::vector<TableDef>& tables) {
  std::vector<std::vector<wire::Row>> out(3);
  for (const TableDef& t : tables) {
    out[0].push_back({number(static_cast<double>(t.id)), text(t.name), text(t.description), text(t.toHost ? "T" : "F"),
                      text(""), text(""), text(""), text(""), text("")});
    for (size_t i = 0; i < t.fields.size(); ++i) {
      char position[24];
      snprintf(position, sizeof position, "%03zu", i + 1);
      const wire::FieldDef& f = t.fields[i];
      out[1].push_back({number(static_cast<double>(t.id)), text(position), text(f.name), text(std::string(1, f.type)),
                        number(f.length), number(f.decimals)});
    }
    for (size_t i = 0; i < t.indexes.size(); ++i)
      out[2].push_back({number(static_cast<double>(t.id)), text(t.indexes[i].name), text(t.indexes[i].expression),
                        text(i == 0 ? "T" : "F")});
  }
  return out;
}

std::string hexKey(const std::string& key) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  out.reserve(key.size() * 2);
  for (unsigned char c : key) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string unhexKey(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out += static_cast<char>(strtol(hex.substr(i, 2).c_str(), nullptr, 16));
  return out;
}

}  // namespace server
