// Golden outputs of tarvo-convert: the file conversion tests' inputs (cases/file_conversion.txt),
// a matrix of settings over the coordinate files of make_inputs.py, and runs with the real
// national grid (cases/national_grid_files.txt, where the shared data is present).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/golden/golden.h"

namespace tarvo::golden {
namespace {

constexpr const char* kFileConversionSet = "file_conversion";
constexpr const char* kNationalGridSet = "national_grid_files";
constexpr const char* kMatrixSet = "converter_matrix";

std::string RecordOf(const TableRow& row) {
  convert_testing::ConverterFolder folder;
  PrepareRunFolder(folder.path(), row.fields.at(0));
  const std::string args = row.fields.size() > 1 ? row.fields[1] : "";
  const std::string input = row.fields.size() > 2 ? folder.Read(row.fields[2]) : "";
  return ConverterRecord(folder, args, input);
}

std::string RowName(const ::testing::TestParamInfo<TableRow>& info) {
  return info.param.name;
}

class FileConversion : public ::testing::TestWithParam<TableRow> {};

TEST_P(FileConversion, WritesAsBefore) {
  Check(kFileConversionSet, GetParam().name, RecordOf(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Cases, FileConversion,
                         ::testing::ValuesIn(ReadTable("file_conversion.txt")), RowName);

class NationalGrid : public ::testing::TestWithParam<TableRow> {};

TEST_P(NationalGrid, WritesAsBefore) {
  TARVO_REQUIRE_SHARED_DATA(shared);
  Check(kNationalGridSet, GetParam().name, RecordOf(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Cases, NationalGrid,
                         ::testing::ValuesIn(ReadTable("national_grid_files.txt")), RowName);

// --- The matrix ---------------------------------------------------------------------------
//
// File type x input units x output units x method x output contents, each cell one run over
// the file of its type and input units. The systems and zones of a run, and the notations of
// geographic input and output, go round their lists from cell to cell, so that together the
// cells take every pair of sides and every notation.

constexpr const char* kTypes[] = {"csv", "ssv", "t27"};
constexpr const char* kInputUnits[] = {"en", "geo", "xyz"};
constexpr const char* kOutputUnits[] = {"en", "geo", "both", "xyz"};
constexpr const char* kContents[] = {"with-input", "results-only"};
constexpr const char* kNotations[] = {"packed",  "dms",     "degrees", "degmin",
                                      "radians", "seconds", "minutes"};

struct Sides {
  const char* from;
  const char* to;
  const char* datumChange;  // the options of the method and its parameters or grid
};

// The 7-parameter method: AGD84 and AGD66 to GDA94 and back, ISG on either side, and a zone
// change within each datum.
constexpr Sides kSevenParameterSides[] = {
    {"AMG:56", "MGA:56", "-m medium -p national"}, {"MGA:55", "AMG:55", "-m medium -p nsw-vic"},
    {"ISG:562", "MGA:56", "-m medium -p act"},     {"AMG:55", "AMG:56", "-m medium -p tasmania"},
    {"MGA:56", "ISG:561", "-m medium -p nt"},      {"MGA:50", "MGA:51", "-m medium -p national"},
};

// The NTv2 method: each synthetic grid (AGD66 and AGD84, both header layouts) forward and
// reverse, and ISG, where no grid is needed.
constexpr Sides kGridSides[] = {
    {"AMG:56", "MGA:56", "--grid grid66.gsb"},     {"MGA:55", "AMG:55", "--grid grid84_au.gsb"},
    {"ISG:561", "MGA:56", "--grid grid66_au.gsb"}, {"MGA:56", "AMG:56", "--grid grid84.gsb"},
    {"AMG:54", "ISG:543", "--grid grid84.gsb"},
};

struct MatrixCell {
  std::string name;
  std::string args;
};

void PrintTo(const MatrixCell& cell, std::ostream* out) {
  *out << cell.name;
}

std::string Underscored(std::string text) {
  for (char& c : text) {
    if (c == '-') c = '_';
  }
  return text;
}

// The fields of each file type: CSV with a header line and zone fields, SSV with two header
// lines, T27 in its columns (the height carried only by the 7-parameter method).
std::string FieldOptions(const std::string& type, bool grid) {
  if (type == "csv") return " -H 1 -F 2,3,4 --zone-fields 5,6";
  if (type == "ssv") return " -H 2 -F 2,3,4";
  return grid ? " --t27-height no" : " --t27-height yes";
}

std::vector<MatrixCell> MatrixCells() {
  std::vector<MatrixCell> cells;
  std::size_t sevenParameterRuns = 0;
  std::size_t gridRuns = 0;
  std::size_t geographicInputs = 0;
  std::size_t geographicOutputs = 0;
  for (const std::string type : kTypes) {
    for (const std::string in : kInputUnits) {
      for (const std::string out : kOutputUnits) {
        for (const bool grid : {false, true}) {
          for (const std::string contents : kContents) {
            const Sides& sides =
                grid ? kGridSides[gridRuns++ % std::size(kGridSides)]
                     : kSevenParameterSides[sevenParameterRuns++ % std::size(kSevenParameterSides)];
            std::string input = in;
            std::string notations;
            if (in == "geo") {
              const std::string notation = kNotations[geographicInputs++ % std::size(kNotations)];
              input = "geo_" + notation;
              notations += " --input-format " + notation;
            } else if (in == "en" && std::string_view(sides.from).starts_with("ISG")) {
              input = "isg";
            }
            if (out == "geo") {
              notations += std::string(" --output-format ") +
                           kNotations[geographicOutputs++ % std::size(kNotations)];
            }
            const std::string args = "-i " + input + "." + type + " -o out." + type + " -T " +
                                     type + FieldOptions(type, grid) + " --from " + sides.from +
                                     " --to " + sides.to + " --input-units " + in +
                                     " --output-units " + out + notations + " " +
                                     sides.datumChange + " -c " + contents;
            const std::string name = type + "_" + in + "_to_" + out + "_" +
                                     (grid ? "ntv2" : "seven_parameter") + "_" +
                                     Underscored(contents);
            cells.push_back({name, args});
          }
        }
      }
    }
  }
  return cells;
}

class ConverterMatrix : public ::testing::TestWithParam<MatrixCell> {};

TEST_P(ConverterMatrix, WritesAsBefore) {
  convert_testing::ConverterFolder folder;
  PrepareRunFolder(folder.path(), "-");
  Check(kMatrixSet, GetParam().name, ConverterRecord(folder, GetParam().args, ""));
}

INSTANTIATE_TEST_SUITE_P(Cells, ConverterMatrix, ::testing::ValuesIn(MatrixCells()),
                         [](const auto& info) { return info.param.name; });

TEST(ConverterGoldenFiles, BelongToCases) {
  CheckNoOtherFiles(kFileConversionSet, Names(ReadTable("file_conversion.txt")));
  CheckNoOtherFiles(kNationalGridSet, Names(ReadTable("national_grid_files.txt")));
  std::vector<std::string> cells;
  for (const MatrixCell& cell : MatrixCells()) cells.push_back(cell.name);
  CheckNoOtherFiles(kMatrixSet, cells);
}

}  // namespace
}  // namespace tarvo::golden
