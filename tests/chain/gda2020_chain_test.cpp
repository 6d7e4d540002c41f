// GDA2020 in the chain: every datum pair with GDA2020 on one side, in each input and output
// form, against PROJ: the shared PROJ-made tables (TARVO_SHARED_DATA), and PROJ's cct live on
// random points with grids the test writes itself, so that a fresh clone checks every route.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "chain/point_chain.h"
#include "engine/ellipsoid.h"
#include "engine/transform_settings.h"
#include "ntv2/grid_file.h"
#include "tests/support/csv_table.h"
#include "tests/support/proj_oracle.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"

namespace tarvo::chain {
namespace {

using engine::kRadiansPerDegree;
using enum Datum;

constexpr double kMillimetre = 0.001;

enum class Form { Grid, Geographic, Cartesian };
constexpr const char* kFormNames[] = {"grid", "geographic", "cartesian"};

// The AGD step's method, and the GDA94 <-> GDA2020 step's.
enum class Route {
  Similarity,  // AGD84 by the National set; GDA2020 by EPSG:8048
  Grids,       // AGD66 by an AGD66 -> GDA94 grid; GDA2020 by a GDA94 -> GDA2020 grid
};

// A position as the tables write it: grid E, N (and the zone); latitude (degrees, north
// positive), longitude, height; or X, Y, Z.
using Position = std::array<double, 3>;

PointInput InputOf(Form form, const Position& p) {
  switch (form) {
    case Form::Grid:
      return {InputKind::Grid, p[0], p[1], p[2]};
    case Form::Geographic:
      return {InputKind::Geographic, -p[0] * kRadiansPerDegree, p[1] * kRadiansPerDegree, p[2]};
    case Form::Cartesian:
      break;
  }
  return {InputKind::Cartesian, p[0], p[1], p[2]};
}

// The result in the form asked, as the tables write it.
Position OutputOf(Form form, const PointResult& r) {
  switch (form) {
    case Form::Grid:
      return {r.grid.east, r.grid.north, 0.0};
    case Form::Geographic:
      return {-r.latitude / kRadiansPerDegree, r.longitude / kRadiansPerDegree, r.height};
    case Form::Cartesian:
      break;
  }
  return {r.cartesian.x, r.cartesian.y, r.cartesian.z};
}

// How far `a` lies from `expected`, in metres: horizontally for grid positions and for
// geographic ones without an expected height (NaN), in space otherwise.
double Separation(Form form, const Position& a, const Position& expected) {
  if (form == Form::Cartesian) {
    return std::hypot(a[0] - expected[0], a[1] - expected[1], a[2] - expected[2]);
  }
  if (form == Form::Grid) return std::hypot(a[0] - expected[0], a[1] - expected[1]);
  const double north = (a[0] - expected[0]) * kRadiansPerDegree * engine::kGrs80SemiMajorAxis;
  const double east = (a[1] - expected[1]) * kRadiansPerDegree * engine::kGrs80SemiMajorAxis *
                      std::cos(a[0] * kRadiansPerDegree);
  return std::hypot(north, east, std::isnan(expected[2]) ? 0.0 : a[2] - expected[2]);
}

ChainSettings Settings(Datum from, Datum to, int zone, Form output, Route route,
                       std::shared_ptr<const ntv2::GridFile> agdGrid,
                       std::shared_ptr<const ntv2::GridFile> grid2020) {
  ChainSettings settings;
  settings.source = {from, zone};
  settings.target = {to, zone};
  settings.parameters = engine::MakeDatumParameters(engine::TransformSettings{});
  // The held position of the AGD grid step to the grid's own resolution.
  settings.holding.decimals = 7;
  settings.outputs.targetGrid = output == Form::Grid;
  settings.outputs.targetCartesian = output == Form::Cartesian;
  if (route == Route::Grids) {
    settings.method = DatumMethod::Grid;
    settings.grid = std::move(agdGrid);
    settings.grid2020 = std::move(grid2020);
  }
  return settings;
}

// ---------------------------------------------------------------------------------------------
// The shared tables (README.md beside them says how PROJ made them). One line per check: the
// file and its rows, the datums, forms and route, the input and expected columns ("zone" is
// read for grid positions; no third expected column: the height is not compared).

struct TableCheck {
  const char* file;
  const char* rows;  // "column=value", or "" for every row
  Datum from, to;
  Form input, output;
  Route route;
  const char* in;
  const char* expected;
  double tolerance;  // metres
  std::size_t count;
};

constexpr const char* kHelmert = "helmert_gda94_gda2020.csv";
constexpr const char* kMga = "mga94_to_mga2020.csv";
constexpr const char* kAmg = "amg66_to_mga2020.csv";
constexpr const char* kIslands = "islands_grid.csv";
constexpr Form kGrid = Form::Grid;
constexpr Form kGeo = Form::Geographic;
constexpr Form kXyz = Form::Cartesian;
constexpr Route kSim = Route::Similarity;

constexpr TableCheck kTableChecks[] = {
    {kHelmert, "direction=forward", Gda94, Gda2020, kGeo, kGeo, kSim, "lat_in lon_in h_in",
     "lat_out lon_out h_out", kMillimetre, 200},
    {kHelmert, "direction=reverse", Gda2020, Gda94, kGeo, kGeo, kSim, "lat_in lon_in h_in",
     "lat_out lon_out h_out", kMillimetre, 200},
    {kHelmert, "direction=forward", Gda94, Gda2020, kXyz, kXyz, kSim, "X_in Y_in Z_in",
     "X_out Y_out Z_out", kMillimetre, 200},
    {kHelmert, "direction=reverse", Gda2020, Gda94, kXyz, kXyz, kSim, "X_in Y_in Z_in",
     "X_out Y_out Z_out", kMillimetre, 200},
    {kHelmert, "direction=forward", Gda94, Gda2020, kGeo, kXyz, kSim, "lat_in lon_in h_in",
     "X_out Y_out Z_out", kMillimetre, 200},
    {kHelmert, "direction=reverse", Gda2020, Gda94, kXyz, kGeo, kSim, "X_in Y_in Z_in",
     "lat_out lon_out h_out", kMillimetre, 200},
    // MGA94 <-> MGA2020, heights 0 (PROJ's two-dimensional EPSG:8048 gives the same E, N).
    {kMga, "", Gda94, Gda2020, kGrid, kGrid, kSim, "E_mga94 N_mga94", "E_mga2020 N_mga2020",
     kMillimetre, 160},
    {kMga, "", Gda2020, Gda94, kGrid, kGrid, kSim, "E_mga2020 N_mga2020", "E_mga94 N_mga94",
     kMillimetre, 160},
    {kMga, "", Gda94, Gda2020, kGrid, kGeo, kSim, "E_mga94 N_mga94", "lat_gda2020 lon_gda2020",
     kMillimetre, 160},
    {kMga, "", Gda2020, Gda94, kGeo, kGrid, kSim, "lat_gda2020 lon_gda2020", "E_mga94 N_mga94",
     kMillimetre, 160},
    // AMG66 -> MGA94 by the A66 national grid, then MGA2020 by the similarity, and back.
    {kAmg, "", Agd66, Gda2020, kGrid, kGrid, Route::Grids, "E_amg66 N_amg66", "E_mga2020 N_mga2020",
     0.002, 60},
    {kAmg, "", Gda2020, Agd66, kGrid, kGrid, Route::Grids, "E_mga2020 N_mga2020", "E_amg66 N_amg66",
     0.002, 60},
    // The island grids: 1e-9 degree (0.11 mm) forward, 1 mm reverse; and the similarity.
    {kIslands, "direction=forward", Gda94, Gda2020, kGeo, kGeo, Route::Grids, "lat_in lon_in",
     "lat_grid lon_grid", 0.00011, 32},
    {kIslands, "direction=reverse", Gda2020, Gda94, kGeo, kGeo, Route::Grids, "lat_in lon_in",
     "lat_grid lon_grid", kMillimetre, 32},
    {kIslands, "direction=forward", Gda94, Gda2020, kGeo, kGeo, kSim, "lat_in lon_in",
     "lat_helmert lon_helmert", kMillimetre, 32},
};

TEST(Gda2020ChainAgainstSharedTables, EveryCheckWithinItsTolerance) {
  TARVO_REQUIRE_SHARED_DATA(shared);
  std::map<std::string, std::shared_ptr<const ntv2::GridFile>> grids;
  const auto grid = [&](const std::string& name) {
    auto& file = grids[name];
    ntv2::GridOpenStatus status;
    if (!file) file = ntv2::GridFile::Open(shared / "grids" / name, status);
    EXPECT_TRUE(file) << name << ": " << status.detail;
    return file;
  };
  for (const TableCheck& check : kTableChecks) {
    const std::string what =
        text::Format("%s %s: %s to %s", check.file, check.rows, check.in, check.expected);
    SCOPED_TRACE(what);
    const std::string rows = check.rows;
    const std::string column = rows.substr(0, rows.find('='));
    const std::string value = rows.substr(rows.find('=') + 1);
    testing::Spread spread;
    std::size_t count = 0;
    for (const auto& row : testing::ReadCsvTable(shared / "testdata" / "gda2020" / check.file)) {
      if (!rows.empty() && row.Text(column) != value) continue;
      ++count;
      const bool zoned = check.input == kGrid || check.output == kGrid;
      const int zone = zoned ? static_cast<int>(row.Number("zone")) : 56;
      std::shared_ptr<const ntv2::GridFile> agdGrid, grid2020;
      if (check.route == Route::Grids) {
        if (check.file == kAmg) agdGrid = grid("A66_National_13_09_01.gsb");
        if (check.file == kIslands) grid2020 = grid(row.Text("grid"));
      }
      const PointChain chain(
          Settings(check.from, check.to, zone, check.output, check.route, agdGrid, grid2020));
      PointState state;
      const PointResult result =
          chain.Convert(InputOf(check.input, row.Numbers(check.in, 0.0)), state);
      ASSERT_EQ(result.status, Status::Ok);
      const double separation = Separation(check.output, OutputOf(check.output, result),
                                           row.Numbers(check.expected, std::nan("")));
      spread.Add(separation);
      EXPECT_LT(separation, check.tolerance) << "input " << testing::Words(check.in)[0] << " "
                                             << row.Text(testing::Words(check.in)[0]);
    }
    EXPECT_EQ(count, check.count);
    spread.Print(what);
  }
}

// ---------------------------------------------------------------------------------------------
// PROJ live: every pair with GDA2020 on one side, by each route, from each input form to each
// output form, on random points of zone 55 (28 to 39 degrees south, 144 to 150 east, heights
// 0 to 1500 m). The grids are constant shifts the test writes: PROJ reads the same files.

const std::string kGda2020Helmert =
    "+proj=helmert +x=0.06155 +y=-0.01087 +z=-0.04019 +rx=-0.0394924 +ry=-0.0327221 "
    "+rz=-0.0328979 +s=-0.009994 +convention=coordinate_frame";
// The National set (AGD84 -> GDA94), the program's default parameters.
const std::string kNationalHelmert =
    "+proj=helmert +x=-117.763 +y=-51.510 +z=139.061 +rx=-0.292 +ry=-0.443 +rz=-0.277 "
    "+s=-0.191 +convention=coordinate_frame";
constexpr int kZone = 55;

struct LivePair {
  Datum from, to;
  Route route;
};

constexpr LivePair kLivePairs[] = {
    {Gda94, Gda2020, Route::Similarity}, {Gda2020, Gda94, Route::Similarity},
    {Agd84, Gda2020, Route::Similarity}, {Gda2020, Agd84, Route::Similarity},
    {Gda94, Gda2020, Route::Grids},      {Gda2020, Gda94, Route::Grids},
    {Agd66, Gda2020, Route::Grids},      {Gda2020, Agd66, Route::Grids},
};

const char* Ellipsoid(Datum datum) {
  return IsAgd(datum) ? "aust_SA" : "GRS80";
}

// One step of PROJ's pipeline between two datums next to each other, in geographic radians.
std::string ProjStep(Datum from, Datum to, Route route, const std::string& agdGrid,
                     const std::string& grid2020) {
  const bool reverse = !IsAgd(from) && (IsAgd(to) || to == Gda94);
  const std::string inv = reverse ? "+inv " : "";
  const bool agd = IsAgd(from) || IsAgd(to);
  if (route == Route::Grids) {
    return " +step " + inv + "+proj=hgridshift +grids=" + (agd ? agdGrid : grid2020);
  }
  return text::Format(" +step +proj=cart +ellps=%s +step ", Ellipsoid(from)) + inv +
         (agd ? kNationalHelmert : kGda2020Helmert) +
         text::Format(" +step +inv +proj=cart +ellps=%s", Ellipsoid(to));
}

std::string CctCommand(const LivePair& pair, Form input, Form output, const std::string& agdGrid,
                       const std::string& grid2020) {
  const std::string utm = text::Format("+proj=utm +zone=%d +south +ellps=", kZone);
  std::string command = "cct -d 12 +proj=pipeline";
  switch (input) {
    case Form::Grid:
      command += " +step +inv " + utm + Ellipsoid(pair.from);
      break;
    case Form::Geographic:
      command += " +step +proj=unitconvert +xy_in=deg +xy_out=rad";
      break;
    case Form::Cartesian:
      command += text::Format(" +step +inv +proj=cart +ellps=%s", Ellipsoid(pair.from));
      break;
  }
  // Through GDA94 when neither side is on it.
  if (pair.from != Gda94 && pair.to != Gda94) {
    command += ProjStep(pair.from, Gda94, pair.route, agdGrid, grid2020);
    command += ProjStep(Gda94, pair.to, pair.route, agdGrid, grid2020);
  } else {
    command += ProjStep(pair.from, pair.to, pair.route, agdGrid, grid2020);
  }
  switch (output) {
    case Form::Grid:
      command += " +step " + utm + Ellipsoid(pair.to);
      break;
    case Form::Geographic:
      command += " +step +proj=unitconvert +xy_in=rad +xy_out=deg";
      break;
    case Form::Cartesian:
      command += text::Format(" +step +proj=cart +ellps=%s", Ellipsoid(pair.to));
      break;
  }
  return command;
}

// Random points in `form` on `datum`, as rows for cct (with a time column) and as the chain's
// input.
std::vector<testing::Row> RandomRows(Form form, Datum datum, int count, std::mt19937_64& random) {
  std::uniform_real_distribution<double> latitudes(28.0, 39.0);
  std::uniform_real_distribution<double> longitudes(144.0, 150.0);
  std::uniform_real_distribution<double> heights(0.0, 1500.0);
  const engine::Ellipsoid& ellipsoid =
      IsAgd(datum) ? engine::kAnsEllipsoid : engine::kGrs80Ellipsoid;
  std::vector<testing::Row> rows;
  for (int i = 0; i < count; ++i) {
    const double latitude = latitudes(random) * kRadiansPerDegree;
    const double longitude = longitudes(random) * kRadiansPerDegree;
    const double height = heights(random);
    switch (form) {
      case Form::Grid: {
        const PointChain project(
            Settings(datum, datum, kZone, Form::Grid, Route::Similarity, nullptr, nullptr));
        PointState state;
        const PointResult r =
            project.Convert({InputKind::Geographic, latitude, longitude, height}, state);
        rows.push_back({r.grid.east, r.grid.north, height, 0.0});
        break;
      }
      case Form::Geographic:
        rows.push_back({-latitude / kRadiansPerDegree, longitude / kRadiansPerDegree, height, 0.0});
        break;
      case Form::Cartesian: {
        const engine::CartesianPoint c =
            engine::GeographicToCartesian(ellipsoid, latitude, longitude, height);
        rows.push_back({c.x, c.y, c.z, 0.0});
        break;
      }
    }
  }
  return rows;
}

// PROJ's geographic coordinates are longitude first: swaps the first two numbers of
// geographic rows (either way).
std::vector<testing::Row> ProjOrder(Form form, std::vector<testing::Row> rows) {
  if (form != Form::Geographic) return rows;
  for (testing::Row& row : rows) {
    if (row.size() >= 2) std::swap(row[0], row[1]);
  }
  return rows;
}

TEST(Gda2020ChainAgainstProjLive, EveryPairRouteAndFormWithinAMillimetre) {
  if (!testing::HaveProj()) GTEST_SKIP() << "PROJ's cct is not installed: skipped";
  testing::TempDir folder;
  // 2" north, 3" east (AGD66 -> GDA94); 0.045" north, 0.035" east (GDA94 -> GDA2020).
  const auto agdGrid =
      ntv2::testing::ConstantShiftGrid(folder.path(), "agd66.gsb", 44, 10, 110, 160, 2.0, 3.0);
  const auto grid2020 = ntv2::testing::ConstantShiftGrid(folder.path(), "gda2020.gsb", 44, 10, 110,
                                                         160, 0.045, 0.035);
  const std::string agdPath = (folder / "agd66.gsb").string();
  const std::string path2020 = (folder / "gda2020.gsb").string();
  std::mt19937_64 random(2020);
  for (const LivePair& pair : kLivePairs) {
    for (const Form input : {Form::Grid, Form::Geographic, Form::Cartesian}) {
      for (const Form output : {Form::Grid, Form::Geographic, Form::Cartesian}) {
        const std::string what = text::Format(
            "datum %d to %d, %s, %s to %s", static_cast<int>(pair.from), static_cast<int>(pair.to),
            pair.route == Route::Grids ? "grids" : "similarities",
            kFormNames[static_cast<int>(input)], kFormNames[static_cast<int>(output)]);
        SCOPED_TRACE(what);
        const std::vector<testing::Row> rows = RandomRows(input, pair.from, 12, random);
        std::vector<testing::Row> expected = testing::RunProjRows(
            CctCommand(pair, input, output, agdPath, path2020), ProjOrder(input, rows));
        expected = ProjOrder(output, expected);
        const PointChain chain(
            Settings(pair.from, pair.to, kZone, output, pair.route, agdGrid, grid2020));
        PointState state;
        for (std::size_t i = 0; i < rows.size(); ++i) {
          const PointResult result =
              chain.Convert(InputOf(input, {rows[i][0], rows[i][1], rows[i][2]}), state);
          ASSERT_EQ(result.status, Status::Ok);
          ASSERT_GE(expected[i].size(), 3u);
          const double separation = Separation(output, OutputOf(output, result),
                                               {expected[i][0], expected[i][1], expected[i][2]});
          // Grid and geographic input carry the height; PROJ's grid shift keeps it too.
          EXPECT_LT(separation, kMillimetre)
              << "point " << i << ": " << rows[i][0] << " " << rows[i][1] << " " << rows[i][2];
        }
      }
    }
  }
}

// What the chain says it did: the GDA2020 step's method, the AGD grid's shift, the height.
TEST(Gda2020Chain, TheResultNamesTheGda2020StepAndAGridOutsideItRefusesThePoint) {
  testing::TempDir folder;
  const auto agdGrid =
      ntv2::testing::ConstantShiftGrid(folder.path(), "agd66.gsb", 44, 10, 110, 160, 2.0, 3.0);
  // An island-sized GDA2020 grid: mainland points fall outside it.
  const auto islandGrid =
      ntv2::testing::ConstantShiftGrid(folder.path(), "island.gsb", 12, 9, 104, 107, 0.045, 0.035);
  const PointInput mainland{InputKind::Geographic, 33.5 * kRadiansPerDegree,
                            151.0 * kRadiansPerDegree, 100.0};
  using Step = PointResult::Gda2020Step;
  const struct {
    Datum from, to;
    std::shared_ptr<const ntv2::GridFile> grid2020;
    Status status;
    Step step;
    bool agdShift;
    bool heightAsGiven;
  } cases[] = {
      {Agd66, Gda2020, nullptr, Status::Ok, Step::Similarity, true, false},
      {Gda2020, Agd66, nullptr, Status::Ok, Step::Similarity, true, false},
      {Gda94, Gda2020, islandGrid, Status::OutsideGrid, Step::None, false, false},
      {Agd66, Gda2020, islandGrid, Status::OutsideGrid, Step::None, true, false},
      {Gda2020, Gda2020, islandGrid, Status::Ok, Step::None, false, true},
      {Agd66, Gda94, islandGrid, Status::Ok, Step::None, true, true},  // no GDA2020 step
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(text::Format("datum %d to %d", static_cast<int>(c.from), static_cast<int>(c.to)));
    ChainSettings settings =
        Settings(c.from, c.to, 56, Form::Geographic, Route::Grids, agdGrid, c.grid2020);
    const PointChain chain(settings);
    PointState state;
    const PointResult result = chain.Convert(mainland, state);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.gda2020Step, c.step);
    if (c.status != Status::Ok) continue;
    EXPECT_EQ(result.gridShift.has_value(), c.agdShift);
    EXPECT_EQ(result.heightAsGiven, c.heightAsGiven);
    if (c.heightAsGiven) {
      EXPECT_EQ(result.height, 100.0);
    }
  }
}

// Cartesian input on GDA2020 is on GRS80 whatever ellipsoid the AGD 7-parameter set gives
// the GDA94 side, and keeps its own first latitude estimate.
TEST(Gda2020Chain, CartesianInputOnGda2020IsOnGrs80AndKeepsItsOwnEstimate) {
  ChainSettings settings =
      Settings(Gda2020, Gda2020, 56, Form::Geographic, Route::Similarity, nullptr, nullptr);
  settings.parameters.gdaEllipsoid = engine::kAnsEllipsoid;
  const PointChain chain(settings);
  const engine::CartesianPoint c = engine::GeographicToCartesian(
      engine::kGrs80Ellipsoid, 33.5 * kRadiansPerDegree, 151.0 * kRadiansPerDegree, 50.0);
  PointState state;
  const PointResult result = chain.Convert({InputKind::Cartesian, c.x, c.y, c.z}, state);
  EXPECT_NEAR(result.latitude / kRadiansPerDegree, 33.5, 1e-9);
  EXPECT_NEAR(result.height, 50.0, 1e-4);
  EXPECT_EQ(state.gdaLatitude, PointState::kInitialLatitude);
  EXPECT_NEAR(state.gda2020Latitude, 33.5 * kRadiansPerDegree, 1e-9);
}

}  // namespace
}  // namespace tarvo::chain
