// tarvo-convert to and from GDA2020: systems by name and by EPSG code, the second grid, what
// it refuses, and whole files against PROJ's tables (TARVO_SHARED_DATA).
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "tests/convert/converter_support.h"
#include "tests/support/csv_table.h"
#include "tests/support/proj_oracle.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"

namespace tarvo::convert_testing {
namespace {

// One MGA94 zone 56 point.
constexpr const char* kPoint = "P1,379291.796,6360161.142\n";

// Runs that are refused, each with the start of its message. The folder holds in.csv and a
// GDA94 -> GDA2020 grid whose header says so (gda2020.gsb) and an AGD66 one (agd66.gsb).
TEST(ConverterGda2020, RefusesWhatCannotGoTogetherAndSaysWhy) {
  const struct {
    const char* args;
    int status;
    const char* message;
  } cases[] = {
      {"--from EPSG:4326 --to MGA2020:56", 2,
       "invalid value 'EPSG:4326' for '--from': expected an EPSG code"},
      {"--from EPSG:28357 --to MGA2020:56", 2, "invalid value 'EPSG:28357'"},
      {"--from MGA2021:56 --to MGA:56", 2, "invalid value 'MGA2021:56'"},
      {"--from EPSG:4283 --input-units en --to MGA2020:56", 2,
       "EPSG:4283 (--from) has geographic coordinates: --input-units says otherwise"},
      {"--from MGA:56 --to MGA2020:56 -m medium --grid2020 gda2020.gsb", 2,
       "--grid2020 applies to the NTv2 method"},
      {"--from EPSG:20256 --to MGA2020:56 -m medium -p national", 1,
       "ERROR: EPSG:20256 is on AGD66, but the 7-parameter set in use transforms from AGD84: use "
       "--params nsw-vic"},
      {"--from AMG:56 --to EPSG:20356 -m medium -p tas", 1,
       "ERROR: EPSG:20356 is on AGD84, but the 7-parameter set in use transforms from AGD66: use "
       "--params national"},
      {"--from EPSG:20356 --to MGA2020:56 --grid agd66.gsb", 1,
       "ERROR: EPSG:20356 is on AGD84, but the grid in use (agd66.gsb) shifts from AGD66"},
      {"--from MGA:56 --to MGA2020:56 --grid2020 agd66.gsb", 1,
       "ERROR: Not a GDA94 to GDA2020 grid: agd66.gsb: SYSTEM_F 'AGD66   '"},
      {"--from MGA:56 --to MGA2020:56 --grid2020 missing.gsb", 1, "Open failed on Input file"},
  };
  ConverterFolder folder;
  folder.Write("in.csv", kPoint);
  ntv2::testing::ConstantShiftGrid(folder.path(), "agd66.gsb", 44, 10, 110, 160, 2.0, 3.0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const Outcome outcome = folder.Run(std::string("-i in.csv -o out.csv -T csv -F 2,3 ") + c.args);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "out.csv"));
  }
}

// The same file the same way, whichever way the systems are spelt; the header names the
// GDA2020 step. Only a run with a GDA2020 side gets that line.
TEST(ConverterGda2020, NamesAndCodesGiveOneResultAndTheHeaderNamesTheStep) {
  ConverterFolder folder;
  folder.Write("in.csv", kPoint);
  const struct {
    const char* args;
    const char* step;  // the header's line, "" for none
  } cases[] = {
      {"--from MGA:56 --to MGA2020:56 -m medium",
       "GDA2020 by 7 parameters (conformal, no distortion)\n"},
      {"--from EPSG:28356 --to EPSG:7856 -m medium",
       "GDA2020 by 7 parameters (conformal, no distortion)\n"},
      {"--from mga:56 --to mga2020:56 -m ntv2",
       "GDA2020 by 7 parameters (conformal, no distortion)\n"},
      {"--from MGA:56 --to MGA:56 -m medium", ""},
  };
  std::string first;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const Outcome outcome =
        folder.Run(std::string("-i in.csv -o out.csv -f -T csv -F 2,3 ") + c.args);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string output = folder.Read("out.csv");
    EXPECT_EQ(output.find("GDA2020 by") == std::string::npos, *c.step == '\0');
    if (*c.step == '\0') continue;
    EXPECT_NE(output.find(c.step), std::string::npos) << output;
    if (first.empty()) first = Records(output);
    EXPECT_EQ(Records(output), first);
  }
  // PROJ's MGA2020 for the point (379292.2925, 6360162.5500 by the pipeline of
  // mga94_to_mga2020.csv), to the millimetre written.
  EXPECT_EQ(first, "P1,379292.292,6360162.550\n");
}

// A GDA94 -> GDA2020 grid under the NTv2 method makes the GDA2020 step, both ways, and the
// header names it; an MGA94 to MGA94 run does not need it.
TEST(ConverterGda2020, TheSecondGridMakesTheGda2020Step) {
  ConverterFolder folder;
  // Every node 0.036" (1e-5 degree) north and east.
  ntv2::testing::SyntheticSubGrid subGrid{"CONSTANT",
                                          "NONE",
                                          -44 * 3600.0,
                                          -10 * 3600.0,
                                          -160 * 3600.0,
                                          -110 * 3600.0,
                                          3600.0,
                                          3600.0,
                                          [](int, int) {
                                            return ntv2::GridNode{0.036f, -0.036f, -1.0f, -1.0f};
                                          }};
  ntv2::testing::SyntheticGrid grid{{subGrid}, 6378137.0, "GDA94", "GDA2020"};
  testing::WriteFile(folder / "g.gsb", ntv2::testing::GridBytes(grid, ntv2::kCanadianLayout));
  folder.Write("in.csv", "P1,33.0,148.0\n");
  const std::string common =
      "-i in.csv -o out.csv -f -T csv -F 2,3 --input-units geo --output-units geo "
      "--input-format degrees --output-format degrees --grid2020 g.gsb ";
  const struct {
    const char* sides;
    const char* record;
  } cases[] = {
      {"--from MGA:55 --to MGA2020:55", "P1,32.999990000,148.000010000\n"},
      {"--from MGA2020:55 --to MGA:55", "P1,33.000010000,147.999990000\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sides);
    const Outcome outcome = folder.Run(common + c.sides);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string output = folder.Read("out.csv");
    EXPECT_NE(output.find("GDA2020 by grid g.gsb\n"), std::string::npos) << output;
    EXPECT_EQ(Records(output), c.record);
  }
}

// Whole files against PROJ's tables: MGA94 -> MGA2020 by the codes, AMG66 -> MGA2020 by the
// national A66 grid and the similarity. The converter writes millimetres, so a result is
// within 1 mm of PROJ's (0.66 mm at most) plus the last digit's half millimetre.
TEST(ConverterGda2020, FilesAgreeWithPROJsTables) {
  TARVO_REQUIRE_SHARED_DATA(shared);
  const std::filesystem::path tables = shared / "testdata" / "gda2020";
  const std::string grid = (shared / "grids" / "A66_National_13_09_01.gsb").string();
  const struct {
    const char* table;
    const char* in;
    const char* expected;
    std::string options;  // %d: the zone
  } cases[] = {
      {"mga94_to_mga2020.csv", "E_mga94 N_mga94", "E_mga2020 N_mga2020",
       "--from EPSG:283%d --to EPSG:78%d -m medium"},
      {"amg66_to_mga2020.csv", "E_amg66 N_amg66", "E_mga2020 N_mga2020",
       "--from EPSG:202%d --to MGA2020:%d --grid " + grid},
  };
  ConverterFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.table);
    std::map<int, std::vector<testing::CsvRow>> zones;
    for (auto& row : testing::ReadCsvTable(tables / c.table)) {
      zones[static_cast<int>(row.Number("zone"))].push_back(row);
    }
    std::istringstream in(c.in), expected(c.expected);
    std::string east, north, expectedEast, expectedNorth;
    in >> east >> north;
    expected >> expectedEast >> expectedNorth;
    testing::Spread spread;
    for (const auto& [zone, rows] : zones) {
      std::string input;
      for (const auto& row : rows) input += row.Text(east) + "," + row.Text(north) + "\n";
      folder.Write("in.csv", input);
      const Outcome outcome = folder.Run("-i in.csv -o out.csv -f -T csv -F 1,2 " +
                                         text::Format(c.options.c_str(), zone, zone));
      ASSERT_EQ(outcome.status, 0) << outcome.err;
      std::istringstream records(Records(folder.Read("out.csv")));
      std::string line;
      for (const auto& row : rows) {
        ASSERT_TRUE(std::getline(records, line));
        const double e = text::ToDouble(line.substr(0, line.find(',')));
        const double n = text::ToDouble(line.substr(line.find(',') + 1));
        const double off = std::hypot(e - row.Number(expectedEast), n - row.Number(expectedNorth));
        spread.Add(off);
        EXPECT_LT(off, 0.0015) << line;
      }
    }
    spread.Print(c.table);
  }
}

}  // namespace
}  // namespace tarvo::convert_testing
