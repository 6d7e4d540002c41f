// The shared PROJ-made tables: CSV with a header line, fields found by column name.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tarvo::testing {

struct CsvRow {
  std::map<std::string, std::string, std::less<>> fields;

  // The field of `column`; a column the table lacks fails the test and gives "".
  const std::string& Text(const std::string& column) const;
  // The field as a C-locale number.
  double Number(const std::string& column) const;
};

// Every data line of the file; a file that cannot be read fails the test and gives none.
std::vector<CsvRow> ReadCsvTable(const std::filesystem::path& path);

}  // namespace tarvo::testing
