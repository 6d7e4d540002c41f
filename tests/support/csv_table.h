// The shared PROJ-made tables: CSV with a header line, fields found by column name.
#pragma once

#include <array>
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
  // The numbers of two or three columns named in `columns`, blank-separated ("E N zone");
  // `missing` for a third that is not named.
  std::array<double, 3> Numbers(const std::string& columns, double missing) const;
};

// The blank-separated words of `text`.
std::vector<std::string> Words(const std::string& text);

// Every data line of the file; a file that cannot be read fails the test and gives none.
std::vector<CsvRow> ReadCsvTable(const std::filesystem::path& path);

}  // namespace tarvo::testing
