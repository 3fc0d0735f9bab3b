// CSV files of table rows, as the administration command loads and exports
// them: a header line of field names, then one line per row; fields with a
// comma, a quote or a line break are quoted, quotes doubled.
#ifndef ZELTA_SERVER_CSV_H
#define ZELTA_SERVER_CSV_H

#include <string>
#include <vector>

#include "table_def.h"

namespace server {

// Splits CSV text into records of fields; false with "line N: ..." when a
// quoted field does not end.
bool readCsv(const std::string& text, std::vector<std::vector<std::string>>& records, std::string& error);
std::string csvLine(const std::vector<std::string>& fields);

// The rows of a CSV file for `def`: the header names the columns (any
// order, each a field of the table; missing fields stay empty).
bool csvRows(const TableDef& def, const std::string& text, std::vector<wire::Row>& rows, std::string& error);
std::string rowsCsv(const TableDef& def, const std::vector<wire::Row>& rows);

}  // namespace server

#endif
