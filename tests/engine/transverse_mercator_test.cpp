#include "engine/transverse_mercator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/ellipsoid.h"
#include "engine/grid_system.h"
#include "tests/support/proj_oracle.h"
#include "tests/support/support.h"
#include "text/number_text.h"

namespace tarvo::engine {
namespace {

constexpr double kMillimetre = 0.001;
constexpr double kConvergenceTolerance = 0.01 * kRadiansPerArcSecond;
constexpr double kPointScaleTolerance = 2e-8;

double Radians(double degrees) {
  return degrees * kRadiansPerDegree;
}
double Dms(int degrees, int minutes, double seconds) {
  return Radians(degrees + minutes / 60.0 + seconds / 3600.0);
}

// Ground distance between two nearby positions, metres.
double GroundDistance(double latitude1, double longitude1, double latitude2, double longitude2) {
  const double north = (latitude1 - latitude2) * kGrs80SemiMajorAxis;
  const double east = (longitude1 - longitude2) * kGrs80SemiMajorAxis * std::cos(latitude1);
  return std::hypot(north, east);
}

// ---------------------------------------------------------------------------------------------
// The published worked values.

TEST(GeographicToGrid, PointOnTheCentralMeridianHasFalseEastingNoConvergenceAndScaleK0) {
  const auto grid = GeographicToGrid(SetZoneConstants(56, true), Radians(33), Radians(153));
  EXPECT_EQ(grid.easting, 500000.0);
  EXPECT_NEAR(grid.northing, 6348713.056, 0.0005);
  EXPECT_EQ(grid.convergence, 0.0);
  EXPECT_EQ(grid.pointScale, 0.9996);
}

TEST(GeographicToGrid, GdaTechnicalManualExampleInZone55) {
  const auto grid =
      GeographicToGrid(SetZoneConstants(55, true), Dms(37, 57, 3.7203), Dms(144, 25, 29.5244));
  EXPECT_NEAR(grid.easting, 273741.297, 0.0005);
  EXPECT_NEAR(grid.northing, 5796489.777, 0.0005);
  EXPECT_NEAR(grid.convergence / kRadiansPerDegree, -1.584346, 5e-7)
      << "west of the central meridian 147 E the convergence is negative";
  EXPECT_NEAR(grid.pointScale, 1.00023056, 5e-9);
}

TEST(GridToGeographic, GdaTechnicalManualExampleProjectsBack) {
  const auto constants = SetZoneConstants(55, true);
  const double latitude = Dms(37, 57, 3.7203);
  const double longitude = Dms(144, 25, 29.5244);
  const auto grid = GeographicToGrid(constants, latitude, longitude);
  const auto geographic = GridToGeographic(constants, grid.easting, grid.northing);
  EXPECT_NEAR(geographic.latitude, latitude, Radians(1e-9));
  EXPECT_NEAR(geographic.longitude, longitude, Radians(1e-9));
  EXPECT_NEAR(geographic.convergence, grid.convergence, 1e-12);
}

TEST(GeographicToGrid, IsgZone561Example) {
  const auto grid = GeographicToGrid(SetZoneConstants(561, false), Radians(33), Radians(151.5));
  EXPECT_NEAR(grid.easting, 346724.217, 0.0005);
  EXPECT_NEAR(grid.northing, 1347347.415, 0.0005);
  EXPECT_NEAR(grid.pointScale, 0.99996691, 5e-9);
}

TEST(GridToGeographic, ConvergenceAndLongitudeFollowTheSideOfTheCentralMeridian) {
  const auto constants = SetZoneConstants(56, true);
  const auto west = GridToGeographic(constants, 400000.0, 6300000.0);
  const auto east = GridToGeographic(constants, 600000.0, 6300000.0);
  EXPECT_LT(west.longitude, constants.centralMeridian);
  EXPECT_LT(west.convergence, 0.0);
  EXPECT_GT(east.longitude, constants.centralMeridian);
  EXPECT_GT(east.convergence, 0.0);
  EXPECT_GT(west.latitude, 0.0) << "latitudes come back south positive";
}

// The zones of 10 or less count their northing the other way; the inverse must still find
// the latitude.
TEST(GridToGeographic, LegacyZoneRoundTripsWithItsOppositeNorthing) {
  const auto constants = SetZoneConstants(5, false);
  const auto grid = GeographicToGrid(constants, Radians(30), Radians(137));
  EXPECT_GT(grid.northing, constants.falseNorthing) << "the northing grows southwards";
  const auto geographic = GridToGeographic(constants, grid.easting, grid.northing);
  EXPECT_LT(GroundDistance(geographic.latitude, geographic.longitude, Radians(30), Radians(137)),
            kMillimetre);
  EXPECT_NEAR(geographic.convergence, grid.convergence, kConvergenceTolerance);
}

// ---------------------------------------------------------------------------------------------
// PROJ's exact Transverse Mercator as the oracle, inside every zone of every grid system.

struct ZoneCase {
  std::string system;
  int zone;
};

std::string ProjDefinition(const ZoneCase& c) {
  if (c.system == GridSystem::kIsg) {
    const double cm = SetZoneConstants(c.zone, false).centralMeridian / kRadiansPerDegree;
    return text::Format(
        "+proj=tmerc +lat_0=0 +lon_0=%.0f +k=0.99994 +x_0=300000 +y_0=5000000 +ellps=aust_SA", cm);
  }
  return text::Format("+proj=utm +south +zone=%d +ellps=%s", c.zone,
                      IsGda(c.system) ? "GRS80" : "aust_SA");
}

std::vector<ZoneCase> EveryZone() {
  std::vector<ZoneCase> cases;
  for (std::string_view system : {GridSystem::kMga, GridSystem::kAmg, GridSystem::kIsg}) {
    for (const std::string& zone : ZonesOffered(system)) {
      cases.push_back({std::string(system), text::ToInt(zone)});
    }
  }
  return cases;
}

TEST(ProjectionAgainstProj, EveryZoneAgreesInsideTheZoneInBothDirections) {
  if (!testing::HaveProj()) GTEST_SKIP() << "PROJ (proj-bin) is not installed";
  std::mt19937_64 random(20240607);
  for (const ZoneCase& c : EveryZone()) {
    SCOPED_TRACE(c.system + " zone " + std::to_string(c.zone));
    const auto constants = SetZoneConstants(c.zone, IsGda(c.system));
    const double halfWidth = c.system == GridSystem::kIsg ? 1.0 : 3.0;
    const double cm = constants.centralMeridian / kRadiansPerDegree;
    // Southern latitudes from the equator to the 50 degrees the angle checks allow.
    std::uniform_real_distribution<double> latitudes(0.5, 50.0);
    std::uniform_real_distribution<double> longitudes(cm - halfWidth, cm + halfWidth);
    std::vector<testing::Row> points;  // PROJ order: longitude, signed latitude
    for (int i = 0; i < 40; ++i) points.push_back({longitudes(random), -latitudes(random)});

    const std::string definition = ProjDefinition(c);
    const auto projected = testing::RunProjRows("proj -f %.6f " + definition, points);
    const auto factors = testing::RunProjFactors(definition, points);
    for (size_t i = 0; i < points.size(); ++i) {
      const double latitude = Radians(-points[i][1]);
      const double longitude = Radians(points[i][0]);
      const double easting = projected[i].at(0);
      const double northing = projected[i].at(1);
      const double convergence = -Radians(factors[i].convergenceDegrees);
      SCOPED_TRACE(text::Format("point %.9f S %.9f E", -points[i][1], points[i][0]));

      const auto grid = GeographicToGrid(constants, latitude, longitude);
      EXPECT_NEAR(grid.easting, easting, kMillimetre);
      EXPECT_NEAR(grid.northing, northing, kMillimetre);
      EXPECT_NEAR(grid.convergence, convergence, kConvergenceTolerance);
      EXPECT_NEAR(grid.pointScale, factors[i].pointScale, kPointScaleTolerance);

      // PROJ's grid coordinates of the point, projected back, give the point itself.
      const auto geographic = GridToGeographic(constants, easting, northing);
      EXPECT_LT(GroundDistance(geographic.latitude, geographic.longitude, latitude, longitude),
                kMillimetre);
      EXPECT_NEAR(geographic.convergence, convergence, kConvergenceTolerance);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The PROJ-made tables of the shared test data. Their neighbour-zone points lie up to 1.5
// degrees past the zone edge, where the series still holds the millimetre.

struct TableRow {
  double latitude;   // radians, south positive
  double longitude;  // radians
  int zone;
  double easting;
  double northing;
  double convergence;  // radians, this engine's sign
  double pointScale;
};

std::vector<TableRow> ReadTmTable(const std::filesystem::path& path) {
  std::ifstream in(path);
  EXPECT_TRUE(in) << "cannot read " << path;
  std::vector<TableRow> rows;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<double> v;
    std::istringstream fields(line);
    std::string field;
    while (std::getline(fields, field, ',')) v.push_back(text::ToDouble(field));
    if (v.size() < 7) continue;
    rows.push_back(
        {Radians(-v[0]), Radians(v[1]), static_cast<int>(v[2]), v[3], v[4], -Radians(v[5]), v[6]});
  }
  return rows;
}

void CheckTmTable(const std::filesystem::path& path, bool datumIsGda) {
  const auto rows = ReadTmTable(path);
  ASSERT_GT(rows.size(), 700u) << path;
  for (const TableRow& row : rows) {
    SCOPED_TRACE(text::Format("zone %d, %.9f S %.9f E", row.zone, row.latitude / kRadiansPerDegree,
                              row.longitude / kRadiansPerDegree));
    const auto constants = SetZoneConstants(row.zone, datumIsGda);
    const auto grid = GeographicToGrid(constants, row.latitude, row.longitude);
    EXPECT_NEAR(grid.easting, row.easting, kMillimetre);
    EXPECT_NEAR(grid.northing, row.northing, kMillimetre);
    const auto geographic = GridToGeographic(constants, row.easting, row.northing);
    EXPECT_LT(
        GroundDistance(geographic.latitude, geographic.longitude, row.latitude, row.longitude),
        kMillimetre);
    EXPECT_NEAR(grid.convergence, row.convergence, kConvergenceTolerance);
    EXPECT_NEAR(grid.pointScale, row.pointScale, kPointScaleTolerance);
  }
}

TEST(ProjectionAgainstSharedTables, GdaTechnicalManualExample) {
  TARVO_REQUIRE_SHARED_DATA(shared);
  std::ifstream in(shared / "testdata" / "gda_example.csv");
  std::string line;
  ASSERT_TRUE(std::getline(in, line) && std::getline(in, line));
  std::vector<std::string> fields;
  std::istringstream parts(line);
  for (std::string field; std::getline(parts, field, ',');) fields.push_back(field);
  ASSERT_EQ(fields.size(), 13u) << line;
  const auto grid =
      GeographicToGrid(SetZoneConstants(text::ToInt(fields[4]), true),
                       Radians(-text::ToDouble(fields[2])), Radians(text::ToDouble(fields[3])));
  EXPECT_NEAR(grid.easting, text::ToDouble(fields[5]), kMillimetre);
  EXPECT_NEAR(grid.northing, text::ToDouble(fields[6]), kMillimetre);
  EXPECT_NEAR(grid.convergence, -Radians(text::ToDouble(fields[11])), kConvergenceTolerance);
  EXPECT_NEAR(grid.pointScale, text::ToDouble(fields[12]), kPointScaleTolerance);
}

TEST(ProjectionAgainstSharedTables, MgaAmgAndIsgTables) {
  TARVO_REQUIRE_SHARED_DATA(shared);
  {
    SCOPED_TRACE("MGA");
    CheckTmTable(shared / "testdata" / "tm_forward.csv", true);
  }
  {
    SCOPED_TRACE("AMG");
    CheckTmTable(shared / "testdata" / "tm_forward_amg.csv", false);
  }
  {
    SCOPED_TRACE("ISG");
    CheckTmTable(shared / "testdata" / "tm_forward_isg.csv", false);
  }
}

}  // namespace
}  // namespace tarvo::engine
