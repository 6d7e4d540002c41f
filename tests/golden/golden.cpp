#include "tests/golden/golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <stdexcept>

#include "ntv2/grid_layout.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"

namespace tarvo::golden {
namespace {

namespace fs = std::filesystem;
using ntv2::testing::ExactField;
using ntv2::testing::SyntheticGrid;

constexpr std::string_view kDateLabel = "Date Computed: ";
constexpr std::string_view kDateMask = "(date)";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// The first line where `actual` departs from `expected`, for the failure message.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  const std::vector<std::string> want = Lines(expected);
  const std::vector<std::string> got = Lines(actual);
  std::size_t line = 0;
  while (line < want.size() && line < got.size() && want[line] == got[line]) ++line;
  const auto shown = [line](const std::vector<std::string>& lines) {
    return line < lines.size() ? "\"" + Escaped(lines[line]) + "\"" : std::string("(end of file)");
  };
  if (line == want.size() && line == got.size()) {
    return "the last line end: expected " + std::to_string(expected.size()) + " bytes, made " +
           std::to_string(actual.size());
  }
  return "line " + std::to_string(line + 1) + ":\n  expected " + shown(want) + "\n  made     " +
         shown(got);
}

std::set<std::string> FileNames(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

void CopyFiles(const fs::path& from, const fs::path& to) {
  for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
    if (entry.is_regular_file()) fs::copy_file(entry.path(), to / entry.path().filename());
  }
}

// One degree over the continent, and five minutes near Sydney (AGD66) or Brisbane (AGD84),
// in the file convention: arc seconds, north and west positive. The sub-grid names tell the
// datum (NSW: AGD66, QLD: AGD84), so no file name or question decides it.
SyntheticGrid Australia(bool agd84) {
  constexpr double kDegree = 3600.0;
  SyntheticGrid grid;
  const std::string parent = agd84 ? "QLD_84AU" : "NSW_66AU";
  const ExactField coarse = agd84 ? ExactField{4.0, -3.5} : ExactField{5.0, -4.0};
  const ExactField fine = agd84 ? ExactField{4.25, -3.75} : ExactField{5.5, -4.5};
  grid.subGrids.push_back({parent, "NONE", -44 * kDegree, -10 * kDegree, -155 * kDegree,
                           -112 * kDegree, kDegree, kDegree, coarse.Nodes()});
  if (agd84) {
    grid.subGrids.push_back({"BNE_84", parent, -28.5 * kDegree, -27 * kDegree, -153.5 * kDegree,
                             -152.5 * kDegree, 300.0, 300.0, fine.Nodes()});
  } else {
    grid.subGrids.push_back({"SYD_66", parent, -35 * kDegree, -32 * kDegree, -152 * kDegree,
                             -150 * kDegree, 300.0, 300.0, fine.Nodes()});
  }
  return grid;
}

}  // namespace

fs::path SourceFolder() {
  return fs::path(TARVO_SOURCE_DIR) / "tests" / "golden";
}

bool Recording() {
  const char* value = std::getenv("TARVO_GOLDEN_RECORD");
  return value != nullptr && std::string_view(value) == "1";
}

std::string MaskDates(std::string text) {
  for (std::size_t at = text.find(kDateLabel); at != std::string::npos;
       at = text.find(kDateLabel, at)) {
    at += kDateLabel.size();
    const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    text.replace(at, end - at, kDateMask);
  }
  return text;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  if (from.empty()) return text;
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 32 || byte > 126) {
      out += text::Format("\\x%02X", byte);
    } else {
      out += c;
    }
  }
  return out;
}

void Check(const std::string& set, const std::string& name, const std::string& text) {
  const std::string made = MaskDates(text);
  const std::string file = name + ".txt";
  const fs::path built = fs::path(TARVO_BUILD_DIR) / "golden" / set / file;
  fs::create_directories(built.parent_path());
  testing::WriteFile(built, made);

  const fs::path committed = SourceFolder() / "expected" / set / file;
  if (Recording()) {
    fs::create_directories(committed.parent_path());
    testing::WriteFile(committed, made);
    return;
  }
  if (!fs::exists(committed)) {
    ADD_FAILURE() << "no golden file " << committed << " for " << built
                  << "\n(a new case: record it with scripts/make-golden.sh)";
    return;
  }
  const std::string expected = testing::ReadFile(committed);
  if (expected != made) {
    ADD_FAILURE() << "the output " << built << " differs from the golden file " << committed
                  << " at " << FirstDifference(expected, made)
                  << "\n(a deliberate change of output is recorded with scripts/make-golden.sh)";
  }
}

void CheckNoOtherFiles(const std::string& set, const std::vector<std::string>& names) {
  const fs::path folder = SourceFolder() / "expected" / set;
  if (!fs::exists(folder)) return;
  std::set<std::string> known;
  for (const std::string& name : names) known.insert(name + ".txt");
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (known.count(entry.path().filename().string()) != 0) continue;
    if (Recording()) {
      fs::remove(entry.path());
    } else {
      ADD_FAILURE() << "the golden file " << entry.path() << " belongs to no case";
    }
  }
}

void PrintTo(const TableRow& row, std::ostream* out) {
  *out << row.name;
}

std::vector<std::string> CaseLines(const std::string& file) {
  const fs::path path = SourceFolder() / "cases" / file;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (line.find_first_not_of(' ') != std::string::npos && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

std::vector<TableRow> ReadTable(const std::string& file) {
  std::vector<TableRow> rows;
  for (const std::string& line : CaseLines(file)) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (start <= line.size()) {
      const std::size_t end = std::min(line.find('|', start), line.size());
      const std::string field = line.substr(start, end - start);
      const std::size_t first = field.find_first_not_of(' ');
      fields.push_back(first == std::string::npos
                           ? std::string()
                           : field.substr(first, field.find_last_not_of(' ') - first + 1));
      start = end + 1;
    }
    rows.push_back({fields.front(), {fields.begin() + 1, fields.end()}});
  }
  return rows;
}

std::vector<std::string> Names(const std::vector<TableRow>& rows) {
  std::vector<std::string> names;
  for (const TableRow& row : rows) names.push_back(row.name);
  return names;
}

void WriteSyntheticGrid(const fs::path& folder, const std::string& name) {
  const bool agd84 = name.find("84") != std::string::npos;
  const bool australian = name.find("_au") != std::string::npos;
  testing::WriteFile(folder / name, ntv2::testing::GridBytes(Australia(agd84),
                                                             australian ? ntv2::kAustralianLayout
                                                                        : ntv2::kCanadianLayout));
}

void PrepareRunFolder(const fs::path& folder, const std::string& settings) {
  CopyFiles(SourceFolder() / "inputs" / "files", folder);
  if (settings != "-") CopyFiles(SourceFolder() / "inputs" / "settings" / settings, folder);
  for (const char* name : {"grid66.gsb", "grid66_au.gsb", "grid84.gsb", "grid84_au.gsb"}) {
    WriteSyntheticGrid(folder, name);
  }
  if (const auto shared = testing::SharedData()) {
    for (const char* name :
         {"A66_National_13_09_01.gsb", "A66_National_13_09_01_australian_layout.gsb"}) {
      fs::create_symlink(*shared / "grids" / name, folder / name);
    }
  }
}

// The size is that of the contents with their dates masked: the length of a date (the name
// of the day and month) must not decide whether the output is as before.
std::string Section(std::string_view title, const std::string& contents) {
  const std::string shown = MaskDates(contents);
  std::string section =
      "--- " + std::string(title) + " (" + std::to_string(shown.size()) + " bytes)\n" + shown;
  if (!shown.empty() && shown.back() != '\n') section += '\n';
  return section;
}

std::string ConverterRecord(const convert_testing::ConverterFolder& folder, const std::string& args,
                            const std::string& input) {
  const std::set<std::string> before = FileNames(folder.path());
  const convert_testing::Outcome outcome = folder.Run(args, input);
  std::string record =
      "$ tarvo-convert " + args + "\nexit status " + std::to_string(outcome.status) + "\n";
  record += Section("standard error", outcome.err);
  if (!outcome.out.empty()) record += Section("standard output", outcome.out);
  for (const std::string& name : FileNames(folder.path())) {
    if (before.count(name) == 0) record += Section("file " + name, folder.Read(name));
  }
  return record;
}

}  // namespace tarvo::golden
