// GDA94 <-> GDA2020 by the similarity EPSG:8048 against PROJ: the shared PROJ-made tables and
// PROJ's cct run live on random points, in geographic, Cartesian and MGA grid form, both ways.
#include "engine/gda2020.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "engine/projection_constants.h"
#include "engine/transverse_mercator.h"
#include "tests/support/csv_table.h"
#include "tests/support/proj_oracle.h"
#include "tests/support/support.h"
#include "text/number_text.h"

namespace tarvo::engine {
namespace {

constexpr double kMillimetre = 0.001;

double Radians(double degrees) {
  return degrees * kRadiansPerDegree;
}
double Degrees(double radians) {
  return radians / kRadiansPerDegree;
}

// The three forms of a position; each test case works in one.
enum class Form { kGeographic, kCartesian, kMga };

// A position in its form: latitude (degrees, north positive), longitude, height; or X, Y, Z;
// or easting, northing and the zone.
using Position = std::array<double, 3>;

// The similarity in `form`. Geographic heights go through three-dimensionally; an MGA
// position goes to geographic on its zone, through the similarity at height 0 (as PROJ's
// two-dimensional EPSG:8048 does) and back onto the same zone.
Position Transform(Form form, bool reverse, const Position& in) {
  auto geographic = [reverse](double latitude, double longitude, double height) {
    return reverse ? Gda2020ToGda94(latitude, longitude, height)
                   : Gda94ToGda2020(latitude, longitude, height);
  };
  switch (form) {
    case Form::kGeographic: {
      const GeodeticPoint p = geographic(Radians(-in[0]), Radians(in[1]), in[2]);
      return {-Degrees(p.latitude), Degrees(p.longitude), p.height};
    }
    case Form::kCartesian: {
      const CartesianPoint c{in[0], in[1], in[2]};
      const CartesianPoint p = reverse ? Gda2020ToGda94(c) : Gda94ToGda2020(c);
      return {p.x, p.y, p.z};
    }
    case Form::kMga: {
      const ProjectionConstants zone = SetZoneConstants(static_cast<int>(in[2]), true);
      const GeographicPosition from = GridToGeographic(zone, in[0], in[1]);
      const GeodeticPoint p = geographic(from.latitude, from.longitude, 0.0);
      const GridPosition to = GeographicToGrid(zone, p.latitude, p.longitude);
      return {to.easting, to.northing, in[2]};
    }
  }
  return {};
}

// How far `a` lies from the expected `b`, in metres: in space for Cartesian positions and
// geographic ones with an expected height, horizontally for the others (height NaN) and for
// grid positions.
double Separation(Form form, const Position& a, const Position& b) {
  switch (form) {
    case Form::kGeographic: {
      const double north = Radians(a[0] - b[0]) * kGrs80SemiMajorAxis;
      const double east = Radians(a[1] - b[1]) * kGrs80SemiMajorAxis * std::cos(Radians(a[0]));
      return std::hypot(north, east, std::isnan(b[2]) ? 0.0 : a[2] - b[2]);
    }
    case Form::kCartesian:
      return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
    case Form::kMga:
      return std::hypot(a[0] - b[0], a[1] - b[1]);
  }
  return 0.0;
}

// ---------------------------------------------------------------------------------------------
// The shared tables (TARVO_SHARED_DATA/testdata/gda2020; README.md there says how PROJ made
// them). One line per check: the file and which of its rows, the form and direction, the
// input and expected columns, the tolerance and the count of rows.

struct TableCheck {
  const char* file;
  const char* rows;  // "column=value": the rows that hold it; "" for every row
  Form form;
  bool reverse;
  // Two or three columns, blank-separated: a missing input height is 0; the third input of
  // an MGA position is its zone; no third expected column: the height is not compared.
  const char* in;
  const char* expected;
  double tolerance;  // metres
  std::size_t count;
};

constexpr const char* kHelmertTable = "helmert_gda94_gda2020.csv";
constexpr const char* kMgaTable = "mga94_to_mga2020.csv";
constexpr const char* kIslandsTable = "islands_grid.csv";
constexpr const char* kExampleTable = "gda2020_example.csv";
constexpr Form kGeo = Form::kGeographic;

constexpr TableCheck kTableChecks[] = {
    // 3D Helmert on 200 points, h -30 to 2200 m: the height changes by a few centimetres.
    {kHelmertTable, "direction=forward", kGeo, false, "lat_in lon_in h_in", "lat_out lon_out h_out",
     kMillimetre, 200},
    {kHelmertTable, "direction=reverse", kGeo, true, "lat_in lon_in h_in", "lat_out lon_out h_out",
     kMillimetre, 200},
    {kHelmertTable, "direction=forward", Form::kCartesian, false, "X_in Y_in Z_in",
     "X_out Y_out Z_out", kMillimetre, 200},
    {kHelmertTable, "direction=reverse", Form::kCartesian, true, "X_in Y_in Z_in",
     "X_out Y_out Z_out", kMillimetre, 200},
    // 2D as EPSG:8048 in PROJ's database, at height 0; the grid through our Transverse
    // Mercator, zones 49 to 56.
    {kMgaTable, "", kGeo, false, "lat_gda94 lon_gda94", "lat_gda2020 lon_gda2020", kMillimetre,
     160},
    {kMgaTable, "", kGeo, true, "lat_gda2020 lon_gda2020", "lat_gda94 lon_gda94", kMillimetre, 160},
    {kMgaTable, "", Form::kMga, false, "E_mga94 N_mga94 zone", "E_mga2020 N_mga2020", kMillimetre,
     160},
    {kMgaTable, "", Form::kMga, true, "E_mga2020 N_mga2020 zone", "E_mga94 N_mga94", kMillimetre,
     160},
    {"amg66_to_mga2020.csv", "", Form::kMga, false, "E_mga94 N_mga94 zone", "E_mga2020 N_mga2020",
     kMillimetre, 60},
    // The islands' points (2D), whose grids reproduce the similarity.
    {kIslandsTable, "direction=forward", kGeo, false, "lat_in lon_in", "lat_helmert lon_helmert",
     kMillimetre, 32},
    {kIslandsTable, "direction=reverse", kGeo, true, "lat_in lon_in", "lat_helmert lon_helmert",
     kMillimetre, 32},
    // The Alice Springs (ALIC) example of the GDA2020 Technical Manual: PROJ's result, and the
    // published one within the tolerances the table gives for its rounding.
    {kExampleTable, "form=geographic", kGeo, false, "in_1 in_2 in_3", "proj_1 proj_2 proj_3",
     kMillimetre, 1},
    {kExampleTable, "form=geographic", kGeo, false, "in_1 in_2 in_3",
     "published_1 published_2 published_3", 0.002, 1},
    {kExampleTable, "form=cartesian", Form::kCartesian, false, "in_1 in_2 in_3",
     "proj_1 proj_2 proj_3", kMillimetre, 1},
    {kExampleTable, "form=cartesian", Form::kCartesian, false, "in_1 in_2 in_3",
     "published_1 published_2 published_3", 0.000075, 1},
};

TEST(Gda2020AgainstSharedTables, EveryCheckWithinItsTolerance) {
  TARVO_REQUIRE_SHARED_DATA(shared);
  for (const TableCheck& check : kTableChecks) {
    const std::string what =
        text::Format("%s %s: %s to %s", check.file, check.rows, check.in, check.expected);
    SCOPED_TRACE(what);
    const std::string rows = check.rows;
    const std::string column = rows.substr(0, rows.find('='));
    const std::string value = rows.substr(rows.find('=') + 1);
    const std::vector<std::string> inputs = testing::Words(check.in);
    testing::Spread spread;
    std::size_t count = 0;
    for (const auto& row : testing::ReadCsvTable(shared / "testdata" / "gda2020" / check.file)) {
      if (!rows.empty() && row.Text(column) != value) continue;
      ++count;
      const Position expected = row.Numbers(check.expected, std::nan(""));
      const Position actual = Transform(check.form, check.reverse, row.Numbers(check.in, 0.0));
      const double separation = Separation(check.form, actual, expected);
      spread.Add(separation);
      EXPECT_LT(separation, check.tolerance)
          << "input " << row.Text(inputs[0]) << " " << row.Text(inputs[1]);
    }
    EXPECT_EQ(count, check.count);
    spread.Print(what);
  }
}

// ---------------------------------------------------------------------------------------------
// PROJ live: random points over Australia (10 to 44 degrees south, 112 to 154 east, heights
// -50 to 2200 m; grid points in every MGA zone), one line per form and direction.

const std::string kHelmert =
    "+proj=helmert +x=0.06155 +y=-0.01087 +z=-0.04019 +rx=-0.0394924 +ry=-0.0327221 "
    "+rz=-0.0328979 +s=-0.009994 +convention=coordinate_frame";

// The cct command for `form` in one direction (`zone` for grid positions).
std::string CctCommand(Form form, bool reverse, int zone) {
  const std::string helmert = (reverse ? "+inv " : "") + kHelmert;
  const std::string utm = text::Format("+proj=utm +zone=%d +south +ellps=GRS80", zone);
  switch (form) {
    case Form::kGeographic:
      return "cct -d 12 +proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad +step "
             "+proj=cart +ellps=GRS80 +step " +
             helmert +
             " +step +inv +proj=cart +ellps=GRS80 +step +proj=unitconvert +xy_in=rad "
             "+xy_out=deg";
    case Form::kCartesian:
      return "cct -d 9 " + helmert;
    case Form::kMga:
      return "cct -d 7 +proj=pipeline +step +inv " + utm +
             " +step +proj=push +v_3 +step +proj=cart +ellps=GRS80 +step " + helmert +
             " +step +inv +proj=cart +ellps=GRS80 +step +proj=pop +v_3 +step " + utm;
  }
  return {};
}

// `count` random positions of `form` (grid positions in `zone`).
std::vector<Position> RandomPositions(Form form, int zone, int count, std::mt19937_64& random) {
  std::uniform_real_distribution<double> latitudes(-44.0, -10.0);
  std::uniform_real_distribution<double> longitudes(112.0, 154.0);
  std::uniform_real_distribution<double> offsets(-3.0, 3.0);  // from the central meridian
  std::uniform_real_distribution<double> heights(-50.0, 2200.0);
  std::vector<Position> positions;
  for (int i = 0; i < count; ++i) {
    const double latitude = latitudes(random);
    switch (form) {
      case Form::kGeographic:
        positions.push_back({latitude, longitudes(random), heights(random)});
        break;
      case Form::kCartesian: {
        const CartesianPoint c = GeographicToCartesian(
            kGrs80Ellipsoid, Radians(-latitude), Radians(longitudes(random)), heights(random));
        positions.push_back({c.x, c.y, c.z});
        break;
      }
      case Form::kMga: {
        const double longitude = 6.0 * zone - 183.0 + offsets(random);
        const GridPosition grid =
            GeographicToGrid(SetZoneConstants(zone, true), Radians(-latitude), Radians(longitude));
        positions.push_back({std::round(grid.easting * 1e3) / 1e3,
                             std::round(grid.northing * 1e3) / 1e3, static_cast<double>(zone)});
        break;
      }
    }
  }
  return positions;
}

struct OracleCase {
  const char* name;
  Form form;
  bool reverse;
};

constexpr OracleCase kOracleCases[] = {
    {"geographic GDA94->GDA2020", Form::kGeographic, false},
    {"geographic GDA2020->GDA94", Form::kGeographic, true},
    {"Cartesian GDA94->GDA2020", Form::kCartesian, false},
    {"Cartesian GDA2020->GDA94", Form::kCartesian, true},
    {"MGA94->MGA2020", Form::kMga, false},
    {"MGA2020->MGA94", Form::kMga, true},
};

TEST(Gda2020AgainstProj, RandomPointsInEveryFormAndDirection) {
  if (!testing::HaveProj()) GTEST_SKIP() << "PROJ (proj-bin) is not installed";
  std::mt19937_64 random(2020);
  for (const OracleCase& c : kOracleCases) {
    SCOPED_TRACE(c.name);
    testing::Spread spread;
    // Geographic and Cartesian points in one call; grid points per zone, 49 to 56.
    const bool grid = c.form == Form::kMga;
    for (int zone = grid ? 49 : 0; zone <= (grid ? 56 : 0); ++zone) {
      const std::vector<Position> positions =
          RandomPositions(c.form, zone, grid ? 25 : 200, random);
      std::vector<testing::Row> rows;  // PROJ order: longitude before latitude
      for (const Position& p : positions) {
        rows.push_back(c.form == Form::kGeographic
                           ? testing::Row{p[1], p[0], p[2], 0.0}
                           : testing::Row{p[0], p[1], grid ? 0.0 : p[2], 0.0});
      }
      const auto proj = testing::RunProjRows(CctCommand(c.form, c.reverse, zone), rows);
      for (std::size_t i = 0; i < positions.size(); ++i) {
        ASSERT_GE(proj[i].size(), 3u);
        const Position expected = c.form == Form::kGeographic
                                      ? Position{proj[i][1], proj[i][0], proj[i][2]}
                                      : Position{proj[i][0], proj[i][1], proj[i][2]};
        const Position actual = Transform(c.form, c.reverse, positions[i]);
        const double separation = Separation(c.form, actual, expected);
        spread.Add(separation);
        EXPECT_LT(separation, kMillimetre) << text::Format("input %.9f %.9f %.3f", positions[i][0],
                                                           positions[i][1], positions[i][2]);
      }
    }
    spread.Print(c.name);
  }
}

// ---------------------------------------------------------------------------------------------
// The reverse is the exact inverse, not the first-order one of the AGD transformation.

TEST(Gda2020Similarity, ReverseUndoesTheForwardToTheRoundingOfTheArithmetic) {
  std::mt19937_64 random(8048);
  testing::Spread cartesian;
  testing::Spread geographic;
  for (const Position& p : RandomPositions(Form::kGeographic, 0, 1000, random)) {
    const CartesianPoint c =
        GeographicToCartesian(kGrs80Ellipsoid, Radians(-p[0]), Radians(p[1]), p[2]);
    const CartesianPoint back = Gda2020ToGda94(Gda94ToGda2020(c));
    cartesian.Add(std::hypot(back.x - c.x, back.y - c.y, back.z - c.z));
    const Position there = Transform(Form::kGeographic, false, p);
    geographic.Add(Separation(Form::kGeographic, Transform(Form::kGeographic, true, there), p));
  }
  cartesian.Print("Cartesian round trip");
  geographic.Print("geographic round trip, with heights");
  EXPECT_LT(cartesian.max(), 1e-8) << "metres";
  EXPECT_LT(geographic.max(), 1e-7) << "metres, with the latitude iteration's rounding";
}

}  // namespace
}  // namespace tarvo::engine
