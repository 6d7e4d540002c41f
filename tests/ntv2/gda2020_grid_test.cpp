// GDA94 -> GDA2020 grids: which grids are GDA2020 ones, and the shift through them against
// PROJ: the islands' real grids (TARVO_SHARED_DATA) by PROJ's table and live, and a synthetic
// GDA2020 grid with a distortion field, each read in both header layouts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

#include "angles/packed_angle.h"
#include "engine/ellipsoid.h"
#include "ntv2/grid_datum.h"
#include "ntv2/grid_file.h"
#include "tests/support/csv_table.h"
#include "tests/support/proj_oracle.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"

namespace tarvo::ntv2 {
namespace {

using engine::kGrs80SemiMajorAxis;
using testing::GridBytes;
using testing::SyntheticGrid;
using testing::SyntheticSubGrid;

constexpr double kToleranceDegrees = 1e-9;
constexpr double kToleranceMetres = 0.001;

// ---------------------------------------------------------------------------------------------
// Which grids are GDA94 -> GDA2020 grids.

TEST(Gda2020GridFrom, TheHeaderDecidesAndOnlyASilentOneLeavesItToTheFileName) {
  using enum Gda2020Grid;
  const struct {
    std::string_view from, to;
    const char* path;
    Gda2020Grid expected;
  } cases[] = {
      {"GDA94   ", "GDA2020 ", "C:\\grids\\national.gsb", kGda94ToGda2020},  // the ICSM grids
      {"gda94", " Gda2020", "", kGda94ToGda2020},                            // any case, blanks
      {std::string_view("GDA94\0\0\0", 8), std::string_view("GDA2020\0", 8), "", kGda94ToGda2020},
      {"GDA2020 ", "GDA94   ", "GDA94_GDA2020.gsb", kUnusable},  // the reverse direction
      {"AGD66   ", "GDA2020 ", "", kUnusable},
      {"AGD66   ", "GDA94   ", "/grids/GDA94_GDA2020_conformal.gsb", kNone},
      {"AGD84   ", "        ", "GDA2020.gsb", kNone},
      {"        ", "        ", "/grids/GDA94_GDA2020_conformal_and_distortion.gsb",
       kGda94ToGda2020},
      {"", "", "C:\\data\\gda2020_christmas.GSB", kGda94ToGda2020},
      {"", "", "C:\\GDA2020 work\\A66_National.gsb", kNone},  // a folder's name tells nothing
      {"", "", "/home/gda2020/nat.gsb", kNone},
      {"", "", "A66_National_13_09_01.gsb", kNone},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Gda2020GridFrom(c.from, c.to, c.path), c.expected)
        << "SYSTEM_F '" << c.from << "' SYSTEM_T '" << c.to << "' at " << c.path;
  }
}

// ---------------------------------------------------------------------------------------------
// Grids under test, each opened from its file in the standard (Canadian) layout, which PROJ
// reads, and from the same grid written in the Australian layout.

struct GridPair {
  std::string name;
  std::string canadianPath;
  std::unique_ptr<GridFile> canadian;
  std::unique_ptr<GridFile> australian;
};

std::unique_ptr<GridFile> OpenGrid(const std::filesystem::path& path) {
  GridOpenStatus status;
  auto grid = GridFile::Open(path, status);
  EXPECT_TRUE(grid) << path << ": " << status.detail;
  return grid;
}

// `grid` node for node, with its header's datums and axis, as the synthetic writer gives it.
SyntheticGrid CopyOf(const GridFile& grid) {
  SyntheticGrid copy;
  copy.sourceSemiMajorAxis = grid.sourceSemiMajorAxis();
  copy.systemFrom = grid.systemFrom();
  copy.systemTo = grid.systemTo();
  for (std::size_t i = 0; i < grid.subGrids().size(); ++i) {
    const SubGrid& s = grid.subGrids()[i];
    copy.subGrids.push_back(
        {s.name, s.parent, s.south, s.north, s.east, s.west, s.latitudeIncrement,
         s.longitudeIncrement,
         [&grid, i](int row, int column) { return grid.Node(static_cast<int>(i), row, column); }});
  }
  return copy;
}

GridPair OpenBothLayouts(const std::string& name, const std::filesystem::path& canadianPath,
                         const tarvo::testing::TempDir& dir) {
  GridPair pair{name, canadianPath.string(), OpenGrid(canadianPath), nullptr};
  if (!pair.canadian) return pair;
  const auto australianPath = dir / (name + "_australian.gsb");
  tarvo::testing::WriteFile(australianPath, GridBytes(CopyOf(*pair.canadian), kAustralianLayout));
  pair.australian = OpenGrid(australianPath);
  if (pair.australian) {
    EXPECT_EQ(pair.australian->layout().label, "Australian NTv2");
  }
  return pair;
}

// A GDA94 -> GDA2020 grid as the national "conformal and distortion" ones are made: the
// conformal shift (1.4 m north, 1.1 m east) and a distortion of up to 0.3 m that changes
// within a few cells. 33 to 34 S, 151 to 152 E at 60"; a child at 15" over 33 20' to
// 33 40' S, 151 20' to 151 40' E.
SyntheticGrid SyntheticGda2020Grid() {
  auto field = [](double scale) {
    return [scale](int row, int column) {
      return GridNode{
          static_cast<float>(0.045 + scale * 0.01 * std::sin(row / 1.7) * std::cos(column / 2.3)),
          static_cast<float>(-0.035 + scale * 0.008 * std::cos(row / 2.9 + column / 1.3)), -1.0f,
          -1.0f};
    };
  };
  SyntheticGrid grid{
      {SyntheticSubGrid{"AU_DIST", "NONE", -122400, -118800, -547200, -543600, 60, 60, field(1.0)},
       SyntheticSubGrid{"AU_CHILD", "AU_DIST", -121200, -120000, -546000, -544800, 15, 15,
                        field(1.2)}},
      kGrs80SemiMajorAxis,
      "GDA94",
      "GDA2020"};
  return grid;
}

// ---------------------------------------------------------------------------------------------
// Shifting points and comparing with PROJ.

struct Point {
  double latitude;   // degrees, north positive
  double longitude;  // degrees, east positive
};

std::optional<GridShift> ShiftPoint(const GridFile& grid, const Point& p, bool reverse) {
  return grid.Shift(angles::DecimalDegreesToPacked(std::fabs(p.latitude), 7),
                    angles::DecimalDegreesToPacked(p.longitude, 7), reverse);
}

// Checks our shift of `p` through both layouts against PROJ's `expected` (nothing where PROJ
// refused the point): the same refusal, identical results in both layouts, forward within
// 1e-9 degree and reverse within a millimetre. Adds the distance to `spread`.
void CheckShift(const GridPair& grid, const Point& p, bool reverse,
                const std::optional<Point>& expected, tarvo::testing::Spread& spread) {
  const std::string where = text::Format("%s %s %.9f %.9f", grid.name.c_str(),
                                         reverse ? "reverse" : "forward", p.latitude, p.longitude);
  const auto shift = ShiftPoint(*grid.canadian, p, reverse);
  const auto australian = ShiftPoint(*grid.australian, p, reverse);
  ASSERT_EQ(shift.has_value(), expected.has_value()) << where << ": PROJ and we refuse alike";
  ASSERT_EQ(australian.has_value(), expected.has_value()) << where;
  if (!shift) return;
  EXPECT_EQ(shift->latitude, australian->latitude) << where;
  EXPECT_EQ(shift->longitude, australian->longitude) << where;
  EXPECT_EQ(AccuracyText(*shift), "No Accuracy Available") << where;

  const double latitude = -shift->latitude * angles::kDegreesPerRadian;
  const double longitude = shift->longitude * angles::kDegreesPerRadian;
  const double radians = 1.0 / angles::kDegreesPerRadian;
  const double north = (latitude - expected->latitude) * radians * kGrs80SemiMajorAxis;
  const double east = (longitude - expected->longitude) * radians * kGrs80SemiMajorAxis *
                      std::cos(expected->latitude * radians);
  spread.Add(std::hypot(north, east));
  if (reverse) {
    EXPECT_LT(std::hypot(north, east), kToleranceMetres) << where;
  } else {
    EXPECT_NEAR(latitude, expected->latitude, kToleranceDegrees) << where;
    EXPECT_NEAR(longitude, expected->longitude, kToleranceDegrees) << where;
  }
}

// PROJ's cs2cs through the grid file; nothing for a point it refuses ("*").
std::vector<std::optional<Point>> RunProj(const std::string& gridPath, bool reverse,
                                          const std::vector<Point>& points) {
  const std::string withGrid = "+proj=longlat +ellps=GRS80 +nadgrids=" + gridPath;
  const std::string gda2020 = "+proj=longlat +ellps=GRS80 +towgs84=0,0,0";
  const std::string command =
      "cs2cs -f %.12f " + (reverse ? gda2020 + " +to " + withGrid : withGrid + " +to " + gda2020);
  std::vector<tarvo::testing::Row> rows;
  for (const Point& p : points) rows.push_back({p.longitude, p.latitude});
  std::vector<std::optional<Point>> results;
  for (const auto& row : tarvo::testing::RunProjRows(command, rows)) {
    const bool refused = row.size() < 3 || !std::isfinite(row[2]);
    results.push_back(refused ? std::nullopt : std::optional<Point>(Point{row[1], row[0]}));
  }
  return results;
}

// Random points over the first sub-grid (away from the limits of the others, where PROJ's
// choice of sub-grid for a reverse estimate may differ from ours), and points on, just
// inside and just outside (0.01", 0.3 m) each limit of the first sub-grid. Near its south
// and west limits a reverse estimate leaves the grid: PROJ then returns its first estimate,
// we extrapolate the edge cell (GridFile::Shift); on the synthetic field the two are
// 0.12 mm apart there, on the islands' grids less than a micrometre.
std::vector<Point> TestPoints(const GridFile& grid, int count, std::mt19937_64& random) {
  const auto& subGrids = grid.subGrids();
  const SubGrid& outer = subGrids.front();
  std::uniform_real_distribution<double> latitude(outer.south, outer.north);
  std::uniform_real_distribution<double> longitude(outer.east, outer.west);
  auto nearInnerLimit = [&subGrids](double phi, double lambda) {
    constexpr double kMargin = 1.0;  // seconds: 30 m, twenty times the shift
    return std::any_of(subGrids.begin() + 1, subGrids.end(), [&](const SubGrid& s) {
      return std::min({std::fabs(phi - s.south), std::fabs(phi - s.north)}) < kMargin ||
             std::min({std::fabs(lambda - s.east), std::fabs(lambda - s.west)}) < kMargin;
    });
  };
  auto degrees = [](double phi, double lambda) {
    return Point{std::round(phi / 3600.0 * 1e9) / 1e9, std::round(-lambda / 3600.0 * 1e9) / 1e9};
  };
  std::vector<Point> points;
  while (static_cast<int>(points.size()) < count) {
    const double phi = latitude(random);
    const double lambda = longitude(random);
    if (!nearInnerLimit(phi, lambda)) points.push_back(degrees(phi, lambda));
  }
  const double middlePhi = (outer.south + outer.north) / 2.0;
  const double middleLambda = (outer.east + outer.west) / 2.0;
  for (const double offset : {0.0, 0.01, -0.01}) {  // on, inside, outside
    points.push_back(degrees(outer.south + offset, middleLambda));
    points.push_back(degrees(outer.north - offset, middleLambda));
    points.push_back(degrees(middlePhi, outer.east + offset));
    points.push_back(degrees(middlePhi, outer.west - offset));
  }
  return points;
}

class Gda2020Grids : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto synthetic = dir_ / "synthetic_gda2020.gsb";
    tarvo::testing::WriteFile(synthetic, GridBytes(SyntheticGda2020Grid(), kCanadianLayout));
    grids_.push_back(OpenBothLayouts("synthetic", synthetic, dir_));
    if (const auto shared = tarvo::testing::SharedData()) {
      for (const char* island : {"christmas", "cocos"}) {
        const std::string file = text::Format("GDA94_GDA2020_conformal_%s_island.gsb", island);
        grids_.push_back(OpenBothLayouts(island, *shared / "grids" / file, dir_));
      }
    }
    for (const GridPair& grid : grids_) ASSERT_TRUE(grid.canadian && grid.australian);
  }

  tarvo::testing::TempDir dir_;
  std::vector<GridPair> grids_;
};

TEST_F(Gda2020Grids, HeadersTellAGda94ToGda2020Grid) {
  for (const GridPair& grid : grids_) {
    for (const GridFile* file : {grid.canadian.get(), grid.australian.get()}) {
      EXPECT_EQ(Gda2020GridFrom(file->systemFrom(), file->systemTo(), "grid.gsb"),
                Gda2020Grid::kGda94ToGda2020)
          << grid.name;
      EXPECT_EQ(file->sourceSemiMajorAxis(), kGrs80SemiMajorAxis) << grid.name;
    }
  }
}

TEST_F(Gda2020Grids, AgreeWithProjLiveInBothDirectionsAndBothLayouts) {
  if (!tarvo::testing::HaveProgram("cs2cs")) GTEST_SKIP() << "PROJ's cs2cs is not installed";
  if (grids_.size() < 3) std::printf("TARVO_SHARED_DATA is not set: the synthetic grid only\n");
  std::mt19937_64 random(2017);
  for (const GridPair& grid : grids_) {
    for (const bool reverse : {false, true}) {
      const std::vector<Point> points = TestPoints(*grid.canadian, 200, random);
      const auto expected = RunProj(grid.canadianPath, reverse, points);
      tarvo::testing::Spread spread;
      for (std::size_t i = 0; i < points.size(); ++i) {
        CheckShift(grid, points[i], reverse, expected[i], spread);
      }
      spread.Print(grid.name +
                   (reverse ? " GDA2020->GDA94 (PROJ live)" : " GDA94->GDA2020 (PROJ live)"));
    }
  }
}

// PROJ's table of the islands' points (testdata/gda2020/islands_grid.csv), whose 7-parameter
// columns the engine's tests check.
TEST_F(Gda2020Grids, IslandsAgreeWithProjsTable) {
  TARVO_REQUIRE_SHARED_DATA(shared);
  tarvo::testing::Spread spreads[2];
  int rows = 0;
  for (const auto& row :
       tarvo::testing::ReadCsvTable(shared / "testdata" / "gda2020" / "islands_grid.csv")) {
    const auto grid = std::find_if(grids_.begin(), grids_.end(), [&row](const GridPair& g) {
      return row.Text("grid").find(g.name) != std::string::npos;
    });
    ASSERT_NE(grid, grids_.end()) << row.Text("grid");
    const bool reverse = row.Text("direction") == "reverse";
    CheckShift(*grid, {row.Number("lat_in"), row.Number("lon_in")}, reverse,
               Point{row.Number("lat_grid"), row.Number("lon_grid")}, spreads[reverse]);
    ++rows;
  }
  EXPECT_EQ(rows, 64);
  spreads[0].Print("islands_grid.csv GDA94->GDA2020");
  spreads[1].Print("islands_grid.csv GDA2020->GDA94");
}

}  // namespace
}  // namespace tarvo::ntv2
