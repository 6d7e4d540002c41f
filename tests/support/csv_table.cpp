#include "tests/support/csv_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "text/number_text.h"
#include "text/text_file.h"

namespace tarvo::testing {
namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

}  // namespace

const std::string& CsvRow::Text(const std::string& column) const {
  static const std::string kMissing;
  const auto found = fields.find(column);
  if (found == fields.end()) {
    ADD_FAILURE() << "the table has no column " << column;
    return kMissing;
  }
  return found->second;
}

double CsvRow::Number(const std::string& column) const {
  return text::ToDouble(Text(column));
}

std::array<double, 3> CsvRow::Numbers(const std::string& columns, double missing) const {
  const std::vector<std::string> names = Words(columns);
  if (names.size() < 2) {
    ADD_FAILURE() << "two or three columns expected in '" << columns << "'";
    return {missing, missing, missing};
  }
  return {Number(names[0]), Number(names[1]), names.size() > 2 ? Number(names[2]) : missing};
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::vector<CsvRow> ReadCsvTable(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::string line;
  if (!in || !text::ReadLine(in, line)) {
    ADD_FAILURE() << "cannot read " << path;
    return {};
  }
  const std::vector<std::string> columns = Fields(line);
  std::vector<CsvRow> rows;
  while (text::ReadLine(in, line)) {
    const std::vector<std::string> values = Fields(line);
    if (values.size() != columns.size()) {
      ADD_FAILURE() << path << ": " << columns.size() << " fields expected in " << line;
      continue;
    }
    CsvRow& row = rows.emplace_back();
    for (std::size_t i = 0; i < columns.size(); ++i) row.fields[columns[i]] = values[i];
  }
  return rows;
}

}  // namespace tarvo::testing
