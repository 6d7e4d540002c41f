// The real national AGD66 grid (TARVO_SHARED_DATA): both header layouts give identical
// results, and they agree with PROJ's table of 300 forward and 300 reverse points.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <vector>

#include "angles/packed_angle.h"
#include "ntv2/grid_file.h"
#include "ntv2/grid_header.h"
#include "tests/support/support.h"
#include "text/number_text.h"
#include "text/text_file.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::ntv2 {
namespace {

constexpr double kToleranceDegrees = 1e-9;
constexpr double kToleranceMetres = 0.001;
constexpr double kGrs80SemiMajorAxis = 6378137.0;

struct Row {
  bool reverse;
  std::string subGrid;
  double latitudeIn;  // degrees, north positive
  double longitudeIn;
  double latitudeOut;
  double longitudeOut;
};

std::vector<Row> ReadTable(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::string line;
  text::ReadLine(in, line);  // header
  std::vector<Row> rows;
  while (text::ReadLine(in, line)) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos;
         start = comma + 1) {
      fields.push_back(line.substr(start, comma - start));
    }
    fields.push_back(line.substr(start));
    if (fields.size() != 6) continue;
    rows.push_back({fields[0] == "reverse", fields[1], text::ToDouble(fields[2]),
                    text::ToDouble(fields[3]), text::ToDouble(fields[4]),
                    text::ToDouble(fields[5])});
  }
  return rows;
}

std::string Trimmed(std::string name) {
  while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
  return name;
}

std::optional<GridShift> ShiftRow(const GridFile& grid, const Row& row) {
  return grid.Shift(angles::DecimalDegreesToPacked(std::fabs(row.latitudeIn), 7),
                    angles::DecimalDegreesToPacked(row.longitudeIn, 7), row.reverse);
}

class NationalGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    TARVO_REQUIRE_SHARED_DATA(shared);
    shared_ = shared;
    for (const char* name :
         {"A66_National_13_09_01.gsb", "A66_National_13_09_01_australian_layout.gsb"}) {
      GridOpenStatus status;
      grids_.push_back(GridFile::Open(shared / "grids" / name, status));
      ASSERT_TRUE(grids_.back()) << name << ": " << status.detail;
    }
    rows_ = ReadTable(shared / "testdata" / "ntv2.csv");
    ASSERT_EQ(rows_.size(), 600u);
  }

  std::filesystem::path shared_;
  std::vector<std::unique_ptr<GridFile>> grids_;
  std::vector<Row> rows_;
};

TEST_F(NationalGrid, BothLayoutsHoldTheSameGridAndGiveIdenticalResults) {
  const GridFile& canadian = *grids_[0];
  const GridFile& australian = *grids_[1];
  EXPECT_EQ(canadian.layout().label, "Canadian NTv2");
  EXPECT_EQ(australian.layout().label, "Australian NTv2");
  ASSERT_EQ(canadian.subGrids().size(), 20u);
  ASSERT_EQ(australian.subGrids().size(), 20u);
  for (const Row& row : rows_) {
    const auto a = ShiftRow(canadian, row);
    const auto b = ShiftRow(australian, row);
    ASSERT_TRUE(a && b) << row.latitudeIn << " " << row.longitudeIn;
    EXPECT_EQ(a->latitude, b->latitude);
    EXPECT_EQ(a->longitude, b->longitude);
    EXPECT_EQ(a->subGrid, b->subGrid);
    EXPECT_EQ(AccuracyText(*a), AccuracyText(*b));
  }
}

TEST_F(NationalGrid, AgreesWithProjForwardAndReverseInTheSameSubGrid) {
  for (const auto& grid : grids_) {
    for (const Row& row : rows_) {
      const auto shift = ShiftRow(*grid, row);
      ASSERT_TRUE(shift) << row.latitudeIn << " " << row.longitudeIn;
      const std::string where = text::Format("%s %.9f %.9f %s", row.reverse ? "reverse" : "forward",
                                             row.latitudeIn, row.longitudeIn, row.subGrid.c_str());
      EXPECT_EQ(Trimmed(grid->subGrids()[static_cast<std::size_t>(shift->subGrid)].name),
                row.subGrid)
          << where;
      const double latitude = -shift->latitude * angles::kDegreesPerRadian;
      const double longitude = shift->longitude * angles::kDegreesPerRadian;
      if (!row.reverse) {
        EXPECT_NEAR(latitude, row.latitudeOut, kToleranceDegrees) << where;
        EXPECT_NEAR(longitude, row.longitudeOut, kToleranceDegrees) << where;
      } else {
        const double radians = 1.0 / angles::kDegreesPerRadian;
        const double north = (latitude - row.latitudeOut) * radians * kGrs80SemiMajorAxis;
        const double east = (longitude - row.longitudeOut) * radians * kGrs80SemiMajorAxis *
                            std::cos(row.latitudeOut * radians);
        EXPECT_LT(std::hypot(north, east), kToleranceMetres) << where;
      }
    }
  }
}

// A batch run keeps the last point's sub-grid as a hint for the next. Walked along every
// sub-grid's limits (on them, a ten-thousandth of a second inside and outside, corners
// included, where nested and neighbouring sub-grids meet), with the hint carried from point
// to point, each shift is the one without a hint, to the bit; without the accuracy it is
// the same position.
TEST_F(NationalGrid, ASubGridHintChangesNoResult) {
  const GridFile& grid = *grids_[0];
  std::vector<std::pair<double, double>> points;  // file units: seconds, north and west positive
  for (const SubGrid& s : grid.subGrids()) {
    for (const double off : {0.0, 1e-4, -1e-4}) {
      for (int k = 0; k <= 8; ++k) {
        const double phi = s.south + (s.north - s.south) * k / 8;
        const double lambda = s.east + (s.west - s.east) * k / 8;
        points.insert(points.end(), {{s.south - off, lambda},
                                     {s.north + off, lambda},
                                     {phi, s.east - off},
                                     {phi, s.west + off}});
      }
    }
  }
  for (const bool reverse : {false, true}) {
    SubGridHint hint;
    int shifted = 0;
    for (const auto& [phi, lambda] : points) {
      const double latitude = angles::DecimalDegreesToPacked(-phi / 3600, 5);
      const double longitude = angles::DecimalDegreesToPacked(-lambda / 3600, 5);
      const auto plain = grid.Shift(latitude, longitude, reverse);
      const auto hinted = grid.Shift(latitude, longitude, reverse, hint, ShiftAccuracy::Computed);
      const auto bare = grid.Shift(latitude, longitude, reverse, hint, ShiftAccuracy::Skipped);
      const std::string where = text::Format("%.9f %.9f", latitude, longitude);
      ASSERT_EQ(plain.has_value(), hinted.has_value()) << where;
      ASSERT_EQ(plain.has_value(), bare.has_value()) << where;
      if (!plain) continue;
      ++shifted;
      EXPECT_EQ(hinted->subGrid, plain->subGrid) << where;
      EXPECT_EQ(hinted->latitude, plain->latitude) << where;
      EXPECT_EQ(hinted->longitude, plain->longitude) << where;
      EXPECT_EQ(AccuracyText(*hinted), AccuracyText(*plain)) << where;
      EXPECT_EQ(bare->latitude, plain->latitude) << where;
      EXPECT_EQ(bare->longitude, plain->longitude) << where;
      EXPECT_FALSE(bare->accuracyKnown) << where;
    }
    EXPECT_GT(shifted, 1000);
  }
}

TEST_F(NationalGrid, SubGridsWithoutAccuracyReportNone) {
  int without = 0;
  int with = 0;
  for (const Row& row : rows_) {
    const auto shift = ShiftRow(*grids_[0], row);
    ASSERT_TRUE(shift);
    const bool unknown = row.subGrid == "EX4_0601" || row.subGrid == "EX5_0601" ||
                         row.subGrid == "EX6_0601" || row.subGrid == "EX9_0801";
    if (unknown) {
      EXPECT_EQ(AccuracyText(*shift), "No Accuracy Available") << row.subGrid;
      ++without;
    } else if (shift->accuracyKnown) {
      // A few centimetres to a few decimetres.
      EXPECT_GT(shift->latitudeAccuracy, 0.0);
      EXPECT_LT(shift->latitudeAccuracy, 5.0);
      ++with;
    }
  }
  EXPECT_GT(without, 0);
  EXPECT_GT(with, 100);
}

TEST_F(NationalGrid, HeaderExtentsCoverEverySubGrid) {
  ui::testing::ScriptedDesktop desktop;
  GridChoice grid;
  GridHeaderTexts texts;
  const std::string path = (shared_ / "grids" / "A66_National_13_09_01.gsb").string();
  ASSERT_TRUE(ReadGridHeader(path, GridCaller::kStoredPath, texts, grid, desktop));
  EXPECT_EQ(texts.format, "Canadian NTv2");
  EXPECT_EQ(texts.maxLatitude, "-48\xB0 09' 00.000\"");
  EXPECT_EQ(texts.minLatitude, "-8\xB0 33' 00.000\"");
  EXPECT_EQ(texts.maxLongitude, "164\xB0 00' 00.000\"");
  EXPECT_EQ(texts.minLongitude, "104\xB0 00' 00.000\"");

  const SubGridExtents extents = ReadSubGridExtents(path, desktop);
  ASSERT_EQ(extents.count, 20);
  EXPECT_EQ(extents.subGrids[0].south, 13.35);
  EXPECT_EQ(extents.subGrids[0].north, 10.05);
  EXPECT_EQ(extents.subGrids[0].east, 128.9);
  EXPECT_EQ(extents.subGrids[0].west, 104.0);
}

}  // namespace
}  // namespace tarvo::ntv2
