// tarvo-convert with settings and files no user means to give: every setting a check refuses
// is named with its file and line or its option, control bytes are shown escaped, hostile
// grids and parameter sets are refused, no result that is not a number is written, and
// --on-bad-record=skip converts past the lines without coordinates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/transform_settings.h"
#include "fileconv/file_conversion_settings.h"
#include "mainwindow/saved_settings.h"
#include "ntv2/grid_choice.h"
#include "params/parameter_sets.h"
#include "tests/convert/converter_support.h"
#include "tests/support/synthetic_grid.h"

namespace tarvo::convert_testing {
namespace {

using fileconv::FileConversionSettings;
using ntv2::testing::ExactField;

constexpr const char* kPoints =
    "P1,379185.968,6359970.566,12.350\n"
    "P2,380000.000,6360000.000,8.100\n";

// The folder as the program left it: tarvo_prm.dat of the Medium Accuracy method, Tarvo.var
// of the National set, tarvofile.dat converting in.csv (fields 2 and 3) from AGD/AMG 56 to
// GDA/MGA 56; each changed by the case.
struct Files {
  std::function<void(FileConversionSettings&)> conversion = {};
  std::function<void(params::ParameterTexts&)> parameters = {};
  std::function<void(std::string&)> saved = {};

  void WriteTo(const ConverterFolder& folder) const {
    FileConversionSettings s;
    s.inputZone = "56";
    s.outputZone = "56";
    s.inputFileName = "in.csv";
    s.outputFileName = "out.csv";
    s.firstFieldNumber = "2";
    s.secondFieldNumber = "3";
    if (conversion) conversion(s);
    fileconv::SaveFileConversionSettings(folder.path(), s);
    params::ParameterTexts texts = params::ApplyPreset(0)->texts;
    if (parameters) parameters(texts);
    params::SaveParameterFile(folder.path(), texts);
    engine::TransformSettings transform;
    transform.accuracyMethod = engine::AccuracyMethod::Medium;
    std::string prm =
        mainwindow::FormatSavedSettings(mainwindow::WindowTexts{}, transform, ntv2::GridChoice{});
    if (saved) saved(prm);
    folder.Write("tarvo_prm.dat", prm);
    folder.Write("in.csv", kPoints);
  }
};

// Replaces line `number` (from 1) of a file's text.
void ReplaceLine(std::string& file, int number, const std::string& value) {
  std::size_t start = 0;
  for (int i = 1; i < number; ++i) start = file.find('\n', start) + 1;
  file.replace(start, file.find('\n', start) - start, value);
}

// A grid over New South Wales whose first node holds `latitudeShift`.
std::string HostileGrid(float latitudeShift) {
  ntv2::testing::SyntheticGrid grid{{{"NSW_0701", "NONE", -126000, -111600, -554400, -536400, 1800,
                                      1800, [latitudeShift](int row, int column) {
                                        ntv2::GridNode node = ExactField{}.Nodes()(row, column);
                                        if (row == 0 && column == 0) {
                                          node.latitudeShift = latitudeShift;
                                        }
                                        return node;
                                      }}}};
  return ntv2::testing::GridBytes(grid, ntv2::kCanadianLayout);
}

TEST(ConverterMessages, NameTheFileAndLineOrTheOptionOfWhatTheyRefuse) {
  struct Case {
    const char* what;
    Files files;
    std::string args;
    std::string message;  // standard error, or its start
    int status;
  };
  const std::vector<Case> cases = {
      {"input units that are no units",
       {[](auto& s) { s.inputUnits = "1e308"; }},
       "",
       "tarvo-convert: ERROR: 1e308: set by tarvofile.dat line 5\n",
       1},
      {"control bytes in a system",
       {[](auto& s) { s.inputSystem = "\x1b[31mAGD\x07"; }},
       "",
       "tarvo-convert: ERROR: \\x1B[31mAGD\\x07: set by tarvofile.dat line 1\n",
       1},
      {"a zone of no system",
       {[](auto& s) { s.outputZone = "57"; }},
       "",
       "tarvo-convert: ERROR: Output Zone 57 is not a zone of GDA/MGA: set by tarvofile.dat "
       "line 4\n",
       1},
      {"no field numbers",
       {[](auto& s) { s.firstFieldNumber = ""; }},
       "",
       "tarvo-convert: ERROR: Please Select CSV fields that contain the values: set by "
       "tarvofile.dat lines 12, 13 and 15\n",
       1},
      {"an input file name with a control byte",
       {[](auto& s) { s.inputFileName = "in\x1b.csv"; }},
       "",
       "tarvo-convert: ERROR - File (in\\x1B.csv) does not exist\n",
       1},
      {"a notation no SSV file can hold",
       {},
       "-T ssv --input-units geo -F 2,3 --input-format dms",
       "tarvo-convert: ERROR: Latitudes and Longitudes in DDD MM SS.ssss format can only be read "
       "from CSV files: set by option --input-format\n",
       1},
      {"a notation from tarvo_prm.dat",
       {{}, {}, [](std::string& prm) { ReplaceLine(prm, 28, "DDD MM SS.ssss"); }},
       "-T ssv --input-units geo -F 2,3",
       "tarvo-convert: ERROR: Latitudes and Longitudes in DDD MM SS.ssss format can only be read "
       "from CSV files: set by tarvo_prm.dat line 28\n",
       1},
      {"an unknown method",
       {{}, {}, [](std::string& prm) { ReplaceLine(prm, 21, "7"); }},
       "-q",
       "tarvo-convert: ERROR: No accuracy specified: set by tarvo_prm.dat line 21\n",
       0},
      {"the NSW programs as the grid method",
       {{},
        {},
        [](std::string& prm) {
          ReplaceLine(prm, 21, "-1");
          ReplaceLine(prm, 31, "5");
        }},
       "",
       "tarvo-convert: ERROR: The NSW (MRE) method is not available for file conversion: set by "
       "tarvo_prm.dat lines 31 and 32\n",
       1},
      {"a damaged tarvo_prm.dat",
       {{}, {}, [](std::string& prm) { ReplaceLine(prm, 2, "1e300"); }},
       "-q -m medium",
       "tarvo-convert: WARNING: The saved settings are not used: tarvo_prm.dat line 2 "
       "(\"1e300\") is no coordinate\n",
       0},
      {"a NaN in Tarvo.var",
       {{}, [](auto& p) { p[2] = "nan"; }},
       "",
       "tarvo-convert: ERROR: Invalid X Shift: nan Must be a finite number: set by Tarvo.var "
       "line 3\n",
       1},
      {"an ellipsoid that is none in Tarvo.var",
       {{}, [](auto& p) { p[1] = "0.00335"; }},
       "",
       "tarvo-convert: ERROR: Invalid Inverse Flattening: 0.00335 Must be a number greater than "
       "1: set by Tarvo.var line 2\n",
       1},
      {"Tarvo.var replaced by a preset",
       {{}, [](auto& p) { p[2] = "nan"; }},
       "-q -p national",
       "",
       0},
      {"a parameter file of the option",
       {},
       "-p bad.var",
       "tarvo-convert: ERROR: Invalid Semi-major Axis: -1 Must be a positive number of metres: "
       "set by bad.var line 1 (option --params)\n",
       1},
      {"a grid of NaN shifts",
       {},
       "--grid nan.gsb",
       "tarvo-convert: ERROR: Invalid GSB File (4320): nan.gsb: sub-grid NSW_0701, node of row 1, "
       "column 1: latitude shift nan is not a number\n",
       1},
      {"a grid of absurd shifts",
       {},
       "--grid huge.gsb",
       "tarvo-convert: ERROR: Invalid GSB File (4320): huge.gsb: sub-grid NSW_0701, node of row "
       "1, column 1: latitude shift of 3e+38\" is beyond 3600\"\n",
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ConverterFolder folder;
    c.files.WriteTo(folder);
    folder.Write("bad.var", "-1\n298.257222101\n0\n0\n0\n0\n0\n0\n0\n");
    folder.Write("nan.gsb", HostileGrid(NAN));
    folder.Write("huge.gsb", HostileGrid(3e38f));
    const Outcome outcome = folder.Run(c.args);
    EXPECT_EQ(outcome.err.substr(0, c.message.size()), c.message);
    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    if (c.status != 0) {
      EXPECT_FALSE(std::filesystem::exists(folder / "out.csv"));
    }
  }
}

// Records whose results are no coordinates are dropped and counted; nothing written is NaN
// (a record of 1e308 was cut at the 'e' and converted as 1, or written as NaN).
TEST(ConverterMessages, RecordsWithoutAValidResultAreDroppedAndCounted) {
  ConverterFolder folder;
  Files{}.WriteTo(folder);
  folder.Write("in.csv", std::string(kPoints) + "P3,1e308,6360000.000,1\n");
  const Outcome outcome = folder.Run("");
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err,
            "Total of 2 coordinates have been converted\n"
            "1 points without a valid result were not converted\n");
  const std::string output = folder.Read("out.csv");
  EXPECT_EQ(output.find("nan"), std::string::npos) << output;
  EXPECT_EQ(output.find("P3"), std::string::npos) << output;
}

TEST(ConverterMessages, OnBadRecordSkipConvertsPastLinesWithoutCoordinates) {
  ConverterFolder folder;
  Files{}.WriteTo(folder);
  folder.Write("in.csv", std::string("Point,East,North\n") + kPoints + "\nP3,East?,0\n" + kPoints);
  const Outcome stop = folder.Run("-f");
  EXPECT_EQ(stop.status, 1);
  EXPECT_EQ(stop.err,
            "Total of 0 coordinates have been converted\n"
            "Conversion stopped at line 1: no coordinate in its field\n"
            "tarvo-convert: no record was converted: nothing was written to out.csv\n");

  const Outcome skip = folder.Run("-f --on-bad-record=skip");
  EXPECT_EQ(skip.status, 0) << skip.err;
  EXPECT_EQ(skip.err,
            "Total of 4 coordinates have been converted\n"
            "2 lines without coordinates were skipped: lines 1, 5\n");
  const std::string records = Records(folder.Read("out.csv"));
  EXPECT_EQ(std::count(records.begin(), records.end(), '\n'), 4) << records;

  const Outcome help = folder.Run("--help");
  EXPECT_NE(help.out.find("--on-bad-record=WHAT"), std::string::npos);
  EXPECT_EQ(folder.Run("--on-bad-record=ignore").status, 2);
}

}  // namespace
}  // namespace tarvo::convert_testing
