// PROJ's cs2cs as a live oracle for the grid shift: the same synthetic grid file (standard
// layout, a parent sub-grid with a finer child), the same points, forward within 1e-9
// degree and reverse (PROJ's exact inverse against our three passes) within a millimetre.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

#include "angles/packed_angle.h"
#include "ntv2/grid_file.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"

namespace tarvo::ntv2 {
namespace {

using testing::GridBytes;
using testing::PackedFromSeconds;
using testing::SyntheticGrid;
using testing::SyntheticSubGrid;

constexpr double kToleranceDegrees = 1e-9;
constexpr double kToleranceMetres = 0.001;
constexpr double kGrs80SemiMajorAxis = 6378137.0;

// Smooth shifts of a few seconds that no bilinear surface reproduces.
std::function<GridNode(int, int)> WavyField(double scale) {
  return [scale](int row, int column) {
    return GridNode{static_cast<float>(
                        5.0 + scale * (0.8 * std::sin(row / 3.0) + 0.3 * std::cos(column / 4.0))),
                    static_cast<float>(
                        -4.0 + scale * (0.5 * std::cos(row / 5.0) - 0.4 * std::sin(column / 2.5))),
                    0.1f, 0.1f};
  };
}

// 35 to 36 S, 150 to 151 E at 2'; a child at 30" over 35 20' to 35 40' S, 150 20' to 150
// 40' E.
SyntheticGrid OracleGrid() {
  return {{SyntheticSubGrid{"PARENT", "NONE", -129600, -126000, -543600, -540000, 120, 120,
                            WavyField(1.0)},
           SyntheticSubGrid{"CHILD", "PARENT", -128400, -127200, -542400, -541200, 30, 30,
                            WavyField(1.3)}}};
}

struct Point {
  double latitudeSeconds;   // south positive
  double longitudeSeconds;  // east positive
};

// Points at least 40" from every limit of both sub-grids (so that PROJ and we agree on the
// sub-grid whatever the shift), with four decimals of seconds.
std::vector<Point> OraclePoints(int count) {
  std::mt19937_64 random(4320);
  std::uniform_real_distribution<double> latitude(126040, 129560);
  std::uniform_real_distribution<double> longitude(540040, 543560);
  auto nearChildLimit = [](double value, double low, double high) {
    return std::fabs(value - low) < 40 || std::fabs(value - high) < 40;
  };
  std::vector<Point> points;
  while (static_cast<int>(points.size()) < count) {
    const Point p{std::round(latitude(random) * 1e4) / 1e4,
                  std::round(longitude(random) * 1e4) / 1e4};
    if (nearChildLimit(p.latitudeSeconds, 127200, 128400) ||
        nearChildLimit(p.longitudeSeconds, 541200, 542400)) {
      continue;
    }
    points.push_back(p);
  }
  return points;
}

// Longitude and latitude in degrees (east and north positive) of each output line.
std::vector<std::pair<double, double>> RunCs2cs(const std::string& arguments,
                                                const std::vector<Point>& points) {
  std::string input;
  for (const Point& p : points) {
    input +=
        text::Format("%.12f %.12f\n", p.longitudeSeconds / 3600.0, -p.latitudeSeconds / 3600.0);
  }
  const auto result = tarvo::testing::RunCommand("cs2cs -f %.12f " + arguments, input);
  EXPECT_EQ(result.status, 0) << "cs2cs " << arguments;
  std::vector<std::pair<double, double>> out;
  std::istringstream lines(result.output);
  std::string line;
  while (std::getline(lines, line)) {
    const char* text = line.c_str();
    char* end = nullptr;
    const double longitude = std::strtod(text, &end);
    const double latitude = std::strtod(end, &end);
    out.emplace_back(longitude, latitude);
  }
  EXPECT_EQ(out.size(), points.size()) << result.output;
  return out;
}

class ProjOracle : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tarvo::testing::HaveProgram("cs2cs")) GTEST_SKIP() << "PROJ's cs2cs is not installed";
    path_ = (dir_ / "oracle.gsb").string();
    tarvo::testing::WriteFile(path_, GridBytes(OracleGrid(), kCanadianLayout));
    GridOpenStatus status;
    grid_ = GridFile::Open(path_, status);
    ASSERT_TRUE(grid_) << status.detail;
  }
  std::string Agd() const { return "+proj=longlat +ellps=aust_SA +nadgrids=" + path_; }
  static std::string Gda() { return "+proj=longlat +ellps=GRS80 +towgs84=0,0,0"; }

  tarvo::testing::TempDir dir_;
  std::string path_;
  std::unique_ptr<GridFile> grid_;
};

TEST_F(ProjOracle, ForwardAgreesWithin1e9Degree) {
  const auto points = OraclePoints(300);
  const auto proj = RunCs2cs(Agd() + " +to " + Gda(), points);
  ASSERT_EQ(proj.size(), points.size());
  int inChild = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const auto shift = grid_->Shift(PackedFromSeconds(points[i].latitudeSeconds),
                                    PackedFromSeconds(points[i].longitudeSeconds), false);
    ASSERT_TRUE(shift);
    inChild += shift->subGrid == 1;
    const double latitude = -shift->latitude * angles::kDegreesPerRadian;
    const double longitude = shift->longitude * angles::kDegreesPerRadian;
    EXPECT_NEAR(latitude, proj[i].second, kToleranceDegrees) << "point " << i;
    EXPECT_NEAR(longitude, proj[i].first, kToleranceDegrees) << "point " << i;
  }
  EXPECT_GT(inChild, 10) << "the child sub-grid is exercised";
}

TEST_F(ProjOracle, ReverseAgreesWithinAMillimetre) {
  const auto points = OraclePoints(300);
  const auto proj = RunCs2cs(Gda() + " +to " + Agd(), points);
  ASSERT_EQ(proj.size(), points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    const auto shift = grid_->Shift(PackedFromSeconds(points[i].latitudeSeconds),
                                    PackedFromSeconds(points[i].longitudeSeconds), true);
    ASSERT_TRUE(shift);
    const double projLatitude = -proj[i].second * angles::kRadiansPerSecond * 3600.0;
    const double projLongitude = proj[i].first * angles::kRadiansPerSecond * 3600.0;
    const double north = (shift->latitude - projLatitude) * kGrs80SemiMajorAxis;
    const double east =
        (shift->longitude - projLongitude) * kGrs80SemiMajorAxis * std::cos(projLatitude);
    EXPECT_LT(std::hypot(north, east), kToleranceMetres) << "point " << i;
  }
}

}  // namespace
}  // namespace tarvo::ntv2
