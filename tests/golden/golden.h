// Golden outputs: what the program writes today for fixed inputs, kept in tests/golden/expected
// and compared byte for byte, so that a change of the code under them that should change
// nothing can be shown to change nothing.
//
// Each output belongs to a set (a folder of expected/) and a case (its file <case>.txt). A
// test makes the output afresh, masks what differs from run to run (the date of a header),
// writes it into <build>/golden/<set>/<case>.txt, and compares it with the committed file; a
// difference fails with the file's name and its first differing line. With the environment
// variable TARVO_GOLDEN_RECORD=1 (scripts/make-golden.sh) the outputs replace the committed
// files instead, and committed files that no case makes any more are removed.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/convert/converter_support.h"

namespace tarvo::golden {

// tests/golden in the source tree: the cases, the inputs and the expected outputs.
std::filesystem::path SourceFolder();

// True when the outputs are recorded rather than compared.
bool Recording();

// `text` with the rest of every line after "Date Computed: " replaced by a fixed mark.
std::string MaskDates(std::string text);

// `text` with every occurrence of `from` replaced by `to` (a temporary folder's path by a
// fixed name, so that messages quoting it compare).
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

// A text of one line for a message: control characters and bytes above 126 as escapes.
std::string Escaped(std::string_view text);

// Masks the dates of `text`, keeps it in the build folder, and compares it with (or records
// it as) expected/<set>/<name>.txt.
void Check(const std::string& set, const std::string& name, const std::string& text);

// Fails for every committed file of expected/<set> that belongs to none of the cases
// `names`; when recording, removes it.
void CheckNoOtherFiles(const std::string& set, const std::vector<std::string>& names);

// One case of a table in cases/: a name (letters, digits and '_') and the fields after it.
struct TableRow {
  std::string name;
  std::vector<std::string> fields;
};

// A case in the test's name and messages.
void PrintTo(const TableRow& row, std::ostream* out);

// The lines of cases/<file> but blank lines and comments (lines starting with '#'). Throws
// when the file cannot be read (the cases are read before any test runs).
std::vector<std::string> CaseLines(const std::string& file);

// The rows of cases/<file>: one per line, fields separated by '|' and trimmed.
std::vector<TableRow> ReadTable(const std::string& file);

// The names of `rows`, for CheckNoOtherFiles.
std::vector<std::string> Names(const std::vector<TableRow>& rows);

// Copies the coordinate files of inputs/files and, unless `settings` is "-", the settings
// files of inputs/settings/<settings> into `folder`, and writes the four synthetic NTv2 grids
// there. With the shared data present, links the national grids in too.
void PrepareRunFolder(const std::filesystem::path& folder, const std::string& settings);

// Writes the synthetic grid `name` into `folder`: grid66.gsb or grid66_au.gsb (AGD66),
// grid84.gsb or grid84_au.gsb (AGD84), "_au" in the Australian header layout, the others in
// the Canadian one. Each covers Australia (10 to 44 degrees south, 112 to 155 east) at one
// degree, with a finer sub-grid near Sydney (AGD66) or Brisbane (AGD84).
void WriteSyntheticGrid(const std::filesystem::path& folder, const std::string& name);

// A part of a record: a line "--- TITLE (N bytes)", then `contents`, with a line end added
// when it has none at its end (the byte count tells).
std::string Section(std::string_view title, const std::string& contents);

// Runs "tarvo-convert ARGS" in `folder` (prepared by PrepareRunFolder) and returns the record
// of the run: the command, the exit status, what it wrote to standard error and standard
// output, and every file it created, each a section. `input` is its standard input.
std::string ConverterRecord(const convert_testing::ConverterFolder& folder, const std::string& args,
                            const std::string& input);

}  // namespace tarvo::golden
