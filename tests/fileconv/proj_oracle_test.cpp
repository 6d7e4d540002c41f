// Whole runs checked point by point against PROJ. The 7-parameter method: AGD/AMG grid
// (inverse Transverse Mercator on aust_SA), the National set as a coordinate-frame Helmert,
// GDA/MGA grid (Transverse Mercator on GRS80) or GDA94 latitude and longitude. The NTv2
// method: AGD/AMG grid to GDA/MGA grid through a synthetic grid file that cs2cs reads too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "angles/angle_format.h"
#include "angles/angle_reading.h"
#include "angles/packed_angle.h"
#include "fileconv/batch_run.h"
#include "fileconv/run_grid.h"
#include "ntv2/grid_interpolate.h"
#include "tests/support/dialog_run.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::fileconv {
namespace {

using tarvo::testing::HaveProgram;
using tarvo::testing::RunCommand;
using tarvo::testing::TempDir;

constexpr double kTwoMillimetres = 0.002;

// The National AGD84 -> GDA94 set, as TransformSettings holds it by default.
const std::string kHelmert =
    "+proj=helmert +x=-117.763 +y=-51.510 +z=139.061 +rx=-0.292 +ry=-0.443 +rz=-0.277 "
    "+s=-0.191 +convention=coordinate_frame";
const std::string kFromAmg55 =
    "cct -d 10 +proj=pipeline +step +inv +proj=utm +zone=55 +south +ellps=aust_SA "
    "+step +proj=cart +ellps=aust_SA +step " +
    kHelmert + " +step +inv +proj=cart +ellps=GRS80 ";
const std::string kToMga55 = kFromAmg55 + "+step +proj=utm +zone=55 +south +ellps=GRS80";
const std::string kToDegrees = kFromAmg55 + "+step +proj=unitconvert +xy_in=rad +xy_out=deg";

struct Point {
  double east, north, height;
};

// Points of AGD/AMG zone 55 from 10 to 43 degrees south, inside the zone, 0 to 2000 m high.
std::vector<Point> RandomPoints(std::size_t count) {
  std::mt19937 random(20020301);
  std::uniform_real_distribution<double> east(250000.0, 750000.0);
  std::uniform_real_distribution<double> north(5200000.0, 8890000.0);
  std::uniform_real_distribution<double> height(0.0, 2000.0);
  std::vector<Point> points(count);
  for (Point& p : points) {
    // Millimetre values, as a file holds them.
    p = {std::round(east(random) * 1000) / 1000, std::round(north(random) * 1000) / 1000,
         std::round(height(random) * 1000) / 1000};
  }
  return points;
}

std::string CsvOf(const std::vector<Point>& points) {
  std::string csv;
  for (std::size_t i = 0; i < points.size(); ++i) {
    csv +=
        text::Format("P%zu,%.3f,%.3f,%.3f\n", i, points[i].east, points[i].north, points[i].height);
  }
  return csv;
}

// Each line of PROJ's output for "E N h" input lines, as numbers.
std::vector<std::vector<double>> RunProj(const std::string& command,
                                         const std::vector<Point>& points) {
  std::string input;
  for (const Point& p : points)
    input += text::Format("%.3f %.3f %.3f\n", p.east, p.north, p.height);
  const auto result = RunCommand(command, input);
  EXPECT_EQ(result.status, 0) << command;
  std::vector<std::vector<double>> rows;
  std::istringstream lines(result.output);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::vector<double> row;
    std::string field;
    while (fields >> field) row.push_back(text::ToDouble(field));
    rows.push_back(row);
  }
  EXPECT_EQ(rows.size(), points.size());
  rows.resize(points.size());
  return rows;
}

// The fields of the output records (lines starting with the point identifiers).
std::vector<std::vector<std::string>> RunAndSplit(const std::vector<Point>& points,
                                                  std::string_view outputUnits,
                                                  std::string_view outputFormat) {
  TempDir dir;
  tarvo::testing::WriteFile(dir / "in.csv", CsvOf(points));
  FileConversionSettings settings;
  settings.inputZone = "55";
  settings.outputZone = "55";
  settings.firstFieldNumber = "2";
  settings.secondFieldNumber = "3";
  settings.heightField = "4";
  settings.outputUnits = outputUnits;
  settings.outputFormat = outputFormat;
  settings.inputFileName = (dir / "in.csv").string();
  settings.outputFileName = (dir / "out.csv").string();
  BatchValues batch;
  engine::TransformSettings transform;
  transform.accuracyMethod = engine::AccuracyMethod::Medium;
  JobChoices choices;
  choices.contents = OutputContents::ResultsWithInput;
  ui::testing::ScriptedDesktop desktop;
  const BatchRunResult result =
      testing::RunDialogSettings(settings, batch, transform, choices, {}, desktop);
  EXPECT_EQ(result.count, points.size());

  std::vector<std::vector<std::string>> records;
  std::istringstream lines(tarvo::testing::ReadFile(dir / "out.csv"));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] != 'P') continue;
    std::vector<std::string> fields;
    std::istringstream parts(line);
    std::string field;
    while (std::getline(parts, field, ',')) fields.push_back(field);
    records.push_back(fields);
  }
  EXPECT_EQ(records.size(), points.size());
  records.resize(points.size());
  return records;
}

TEST(ProjOracle, SevenParameterGridRunAgreesWithinTwoMillimetres) {
  if (!HaveProgram("cct")) GTEST_SKIP() << "PROJ's cct is not installed";
  const std::vector<Point> points = RandomPoints(10000);
  const auto expected = RunProj(kToMga55, points);
  const auto records = RunAndSplit(points, kGridUnits, "DDD.MMSSsssss");

  double worst = 0.0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    ASSERT_EQ(records[i].size(), 7u) << "id, E, N, h and the three results";
    ASSERT_GE(expected[i].size(), 3u);
    const double dEast = text::ToDouble(records[i][4]) - expected[i][0];
    const double dNorth = text::ToDouble(records[i][5]) - expected[i][1];
    const double dHeight = text::ToDouble(records[i][6]) - expected[i][2];
    worst = std::max({worst, std::fabs(dEast), std::fabs(dNorth), std::fabs(dHeight)});
    ASSERT_LE(std::max({std::fabs(dEast), std::fabs(dNorth), std::fabs(dHeight)}), kTwoMillimetres)
        << "record " << i << ": E " << points[i].east << " N " << points[i].north << " differs by "
        << dEast << ", " << dNorth << ", " << dHeight << " m";
  }
  RecordProperty("worst_difference_mm", text::Format("%.3f", worst * 1000));
}

TEST(ProjOracle, GeographicOutputInEveryNotationReadsBackToTheSamePosition) {
  if (!HaveProgram("cct")) GTEST_SKIP() << "PROJ's cct is not installed";
  const std::vector<Point> points = RandomPoints(1000);
  const auto expected = RunProj(kToDegrees, points);  // longitude, latitude (north positive)

  // Tolerance in arc seconds: PROJ agreement (0.00007" is 2 mm) plus half the last digit of
  // the notation, plus the four decimals of seconds it is read back with.
  struct Notation {
    angles::AngleFormat format;
    double tolerance;
  };
  const Notation notations[] = {
      {angles::AngleFormat::Packed, 0.00015},
      {angles::AngleFormat::DmsBlanks, 0.00015},
      {angles::AngleFormat::DecimalDegrees, 0.00015},
      {angles::AngleFormat::DegreesMinutes, 0.00015},
      {angles::AngleFormat::Radians, 0.0012},
      {angles::AngleFormat::Seconds, 0.00015},
      {angles::AngleFormat::Minutes, 0.00015},
  };
  for (const Notation& notation : notations) {
    const std::string label(angles::Label(notation.format));
    SCOPED_TRACE(label);
    const auto records = RunAndSplit(points, kGeographicUnits, label);
    for (std::size_t i = 0; i < points.size(); ++i) {
      ASSERT_EQ(records[i].size(), 7u);
      const auto latitude = angles::ReadAngleText(records[i][4], notation.format, 4);
      const auto longitude = angles::ReadAngleText(records[i][5], notation.format, 4);
      ASSERT_TRUE(latitude && longitude);
      const double latitudeSeconds =
          angles::PackedToRadians(*latitude) * angles::kSecondsPerRadian + expected[i][1] * 3600;
      const double longitudeSeconds =
          angles::PackedToRadians(*longitude) * angles::kSecondsPerRadian - expected[i][0] * 3600;
      ASSERT_LE(std::fabs(latitudeSeconds), notation.tolerance)
          << "record " << i << " latitude " << records[i][4];
      ASSERT_LE(std::fabs(longitudeSeconds), notation.tolerance)
          << "record " << i << " longitude " << records[i][5];
    }
  }
}

// Smooth shifts of the size of AGD66 -> GDA94 (about 5" north, 4" east) that no bilinear
// surface reproduces, over 34.5 to 36.5 S and 145.5 to 148.5 E at 5'.
ntv2::testing::SyntheticGrid WavyGrid() {
  const auto node = [](int row, int column) {
    return ntv2::GridNode{
        static_cast<float>(5.0 + 0.8 * std::sin(row / 3.0) + 0.3 * std::cos(column / 4.0)),
        static_cast<float>(-4.0 + 0.5 * std::cos(row / 5.0) - 0.4 * std::sin(column / 2.5)), 0.1f,
        0.1f};
  };
  return {{ntv2::testing::SyntheticSubGrid{"VICNSW", "NONE", -131400, -124200, -534600, -523800,
                                           300, 300, node}}};
}

TEST(ProjOracle, NtV2GridRunAgreesWithinTwoMillimetres) {
  if (!HaveProgram("cs2cs")) GTEST_SKIP() << "PROJ's cs2cs is not installed";
  TempDir dir;
  const std::string gridPath = (dir / "wavy.gsb").string();
  tarvo::testing::WriteFile(gridPath, ntv2::testing::GridBytes(WavyGrid(), ntv2::kCanadianLayout));
  ntv2::GridInterpolator interpolator;
  ui::testing::ScriptedDesktop gridDesktop;
  const auto grid = ntv2::OpenGridForInterpolation(interpolator, gridPath, gridDesktop);
  ASSERT_TRUE(grid);

  // AGD/AMG zone 55 between 35.1 and 35.9 S, 146.1 and 147.9 E: well inside the grid.
  std::mt19937 random(4320);
  std::uniform_real_distribution<double> east(420000.0, 580000.0);
  std::uniform_real_distribution<double> north(6030000.0, 6110000.0);
  std::vector<Point> points(10000);
  for (Point& p : points) {
    p = {std::round(east(random) * 1000) / 1000, std::round(north(random) * 1000) / 1000, 0.0};
  }
  const auto expected =
      RunProj("cs2cs -f %.4f +proj=utm +zone=55 +south +ellps=aust_SA +nadgrids=" + gridPath +
                  " +to +proj=utm +zone=55 +south +ellps=GRS80 +towgs84=0,0,0",
              points);

  std::string csv;
  for (std::size_t i = 0; i < points.size(); ++i) {
    csv += text::Format("P%zu,%.3f,%.3f\n", i, points[i].east, points[i].north);
  }
  tarvo::testing::WriteFile(dir / "in.csv", csv);
  engine::TransformSettings transform;
  transform.accuracyMethod = engine::AccuracyMethod::High;
  FileConversionSettings settings;
  TakeMethodSettings(settings, transform, {ntv2::GridMethod::GridFileAgd66, gridPath});
  settings.firstFieldNumber = "2";
  settings.secondFieldNumber = "3";
  settings.inputFileName = (dir / "in.csv").string();
  settings.outputFileName = (dir / "out.csv").string();
  BatchValues batch;
  JobChoices choices;
  choices.contents = OutputContents::ResultsWithInput;
  choices.grid = grid;
  ui::testing::ScriptedDesktop desktop;
  const BatchRunResult result =
      testing::RunDialogSettings(settings, batch, transform, choices, {}, desktop);
  EXPECT_EQ(result.count, points.size());
  EXPECT_TRUE(desktop.messages().empty());

  std::istringstream lines(tarvo::testing::ReadFile(dir / "out.csv"));
  std::string line;
  std::size_t i = 0;
  double worst = 0.0;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] != 'P') continue;
    ASSERT_LT(i, points.size());
    std::vector<std::string> fields;
    std::istringstream parts(line);
    for (std::string field; std::getline(parts, field, ',');) fields.push_back(field);
    ASSERT_EQ(fields.size(), 5u) << "id, E, N and the two results: " << line;
    ASSERT_GE(expected[i].size(), 2u);
    const double dEast = text::ToDouble(fields[3]) - expected[i][0];
    const double dNorth = text::ToDouble(fields[4]) - expected[i][1];
    worst = std::max({worst, std::fabs(dEast), std::fabs(dNorth)});
    ASSERT_LE(std::max(std::fabs(dEast), std::fabs(dNorth)), kTwoMillimetres)
        << "record " << i << ": E " << points[i].east << " N " << points[i].north << " differs by "
        << dEast << ", " << dNorth << " m";
    ++i;
  }
  EXPECT_EQ(i, points.size());
  RecordProperty("worst_difference_mm", text::Format("%.3f", worst * 1000));
}

}  // namespace
}  // namespace tarvo::fileconv
