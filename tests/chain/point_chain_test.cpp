// The chain's contract: every datum pair and input form through PointChain, each status, the
// held position and the state one point leaves to the next.
#include "chain/point_chain.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "angles/packed_angle.h"
#include "engine/ellipsoid.h"
#include "engine/transverse_mercator.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"

namespace tarvo::chain {
namespace {

using engine::kRadiansPerDegree;

constexpr double kSecond = engine::kRadiansPerArcSecond;
// About a metre per 1e-5 degree: tolerances of latitude and longitude in metres.
constexpr double kMetresPerDegree = 111000.0;

// 32 53 30 S, 151 42 30 E on AGD84: AMG zone 56 E 379185.968 N 6359970.566. Expected values
// are PROJ's (cs2cs, and cct for heights): inverse UTM on aust_SA, the National set as a
// coordinate-frame Helmert, UTM or geocentric on GRS80.
constexpr double kAgdLatitude = 32.891666666666667;
constexpr double kAgdLongitude = 151.708333333333333;

// The synthetic grid: from 2 degrees north to 44 degrees south, 110 to 160 east, every node
// shifting 2" north and 3" east; accuracies 0.5" and 1".
constexpr double kGridNorth = 2.0;
constexpr double kGridEast = 3.0;

enum class Expect { EastNorth, LatitudeLongitude, XYZ, Nothing };

struct Case {
  const char* name;
  Side source;
  Side target;
  DatumMethod method;
  PointInput input;
  Status status;
  Expect expect;
  // Grid: East, North, height (m). Geographic: latitude, longitude (degrees south and east),
  // height. Cartesian: X, Y, Z.
  double a, b, c;
  double tolerance;  // metres
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

constexpr Side Agd84(int zone = 56) {
  return {Datum::Agd84, zone};
}
constexpr Side Agd66(int zone = 56) {
  return {Datum::Agd66, zone};
}
constexpr Side Gda94(int zone = 56) {
  return {Datum::Gda94, zone};
}

PointInput GridPoint(double east, double north, double height) {
  return {InputKind::Grid, east, north, height};
}
PointInput Degrees(double latitude, double longitude, double height) {
  return {InputKind::Geographic, latitude * kRadiansPerDegree, longitude * kRadiansPerDegree,
          height};
}
PointInput Packed(double latitude, double longitude, double height) {
  return {InputKind::Packed, latitude, longitude, height};
}
PointInput Xyz(double x, double y, double z) {
  return {InputKind::Cartesian, x, y, z};
}

using enum DatumMethod;
using enum Expect;
using enum Status;

const Case kCases[] = {
    // The 7-parameter similarity (the National set) in each direction and input form.
    {"grid_agd84_to_gda94", Agd84(), Gda94(), SevenParameter, GridPoint(379185.968, 6359970.566, 0),
     Ok, EastNorth, 379291.7959, 6360161.1421, 12.6170, 0.001},
    {"grid_gda94_to_agd84", Gda94(), Agd84(), SevenParameter,
     GridPoint(379291.7959, 6360161.1421, 12.6170), Ok, EastNorth, 379185.968, 6359970.566, 0.0,
     0.002},
    {"geographic_agd84_to_gda94", Agd84(), Gda94(), SevenParameter,
     Degrees(kAgdLatitude, kAgdLongitude, 0), Ok, LatitudeLongitude, 32.8900734868, 151.7094831154,
     12.6170, 0.001},
    {"packed_agd84_to_gda94_other_zone", Agd84(), Gda94(55), SevenParameter,
     Packed(32.533, 151.423, 0), Ok, EastNorth, 940689.9717, 6351050.8596, 12.6170, 0.002},
    {"cartesian_agd84_to_gda94", Agd84(), Gda94(), SevenParameter,
     Xyz(-4720818.4758, 2541013.2436, -3444023.9186), Ok, EastNorth, 379291.7919, 6360161.1356,
     262.6170, 0.001},
    {"cartesian_agd84_to_geographic_gda94", Agd84(), Gda94(), SevenParameter,
     Xyz(-4720818.4758, 2541013.2436, -3444023.9186), Ok, LatitudeLongitude, 32.8900735437,
     151.7094830731, 262.6170, 0.001},
    {"grid_gda94_to_cartesian_gda94", Gda94(), Gda94(), SevenParameter,
     GridPoint(379291.7959, 6360161.1421, 12.617), Ok, XYZ, -4720761.2976, 2540860.2881,
     -3443734.7010, 0.001},
    // One datum: no step, the height as given.
    {"grid_amg_to_isg", Agd84(), Agd84(562), SevenParameter,
     GridPoint(379185.968, 6359970.566, 7.5), Ok, EastNorth, 179144.8748, 1358732.4608, 7.5, 0.001},
    {"grid_mga_zone_change", Gda94(), Gda94(55), SevenParameter,
     GridPoint(379291.7959, 6360161.1421, 0), Ok, EastNorth, 940689.9718, 6351050.8598, 0.0, 0.002},
    {"cartesian_agd84_same_datum", Agd84(), Agd84(), SevenParameter,
     Xyz(-4720818.4758, 2541013.2436, -3444023.9186), Ok, LatitudeLongitude, kAgdLatitude,
     kAgdLongitude, 250.0, 0.001},
    // The NTv2 grid (synthetic, shifts known exactly) forward and back; heights go on.
    {"packed_agd66_to_gda94_by_grid", Agd66(), Gda94(), Grid, Packed(33.3, 151.0, 45.5), Ok,
     LatitudeLongitude, 33.5 - kGridNorth / 3600, 151.0 + kGridEast / 3600, 45.5, 1e-6},
    {"geographic_gda94_to_agd66_by_grid", Gda94(), Agd66(), Grid, Degrees(33.5, 151.0, 45.5), Ok,
     LatitudeLongitude, 33.5 + kGridNorth / 3600, 151.0 - kGridEast / 3600, 45.5, 1e-6},
    {"same_datum_needs_no_grid", Agd66(), Agd66(55), Grid, Degrees(33.5, 151.0, 0), Ok,
     LatitudeLongitude, 33.5, 151.0, 0.0, 0.0},
    // The external shift (a stand-in adding 1" of latitude towards GDA94, taking it back).
    {"external_to_gda94", Agd66(), Gda94(), External, Packed(33.3, 151.0, 0), Ok, LatitudeLongitude,
     33.5 + 1.0 / 3600, 151.0, 0.0, 1e-6},
    {"external_from_gda94", Gda94(), Agd66(), External, Packed(33.3, 151.0, 0), Ok,
     LatitudeLongitude, 33.5 - 1.0 / 3600, 151.0, 0.0, 1e-6},
    // Statuses.
    {"outside_the_grid", Agd66(), Gda94(), Grid, Degrees(50.0, 151.0, 0), OutsideGrid, Nothing, 0,
     0, 0, 0},
    {"shifted_north_of_the_equator", Agd66(), Gda94(), Grid, Packed(0.00005, 151.0, 0), OutsideArea,
     LatitudeLongitude, (kGridNorth - 0.5) / 3600, 151.0 + kGridEast / 3600, 0.0, 1e-6},
    {"no_step_between_agd66_and_agd84", Agd66(), Agd84(), SevenParameter, Degrees(33.5, 151, 0),
     Refused, Nothing, 0, 0, 0, 0},
    {"external_shift_fails", Agd66(), Gda94(), External, Packed(33.3, 140.0, 0), Refused, Nothing,
     0, 0, 0, 0},
    {"earths_centre", Agd84(), Gda94(), SevenParameter, Xyz(0, 0, 0), NotFinite, Nothing, 0, 0, 0,
     0},
};

class PointChainTable : public ::testing::TestWithParam<Case> {
 protected:
  static void SetUpTestSuite() {
    folder_ = new testing::TempDir;
    grid_ = new std::shared_ptr<const ntv2::GridFile>(ntv2::testing::ConstantShiftGrid(
        folder_->path(), "constant.gsb", 44, -2, 110, 160, kGridNorth, kGridEast));
  }
  static void TearDownTestSuite() {
    delete grid_;
    delete folder_;
  }

  static ChainSettings SettingsOf(const Case& c) {
    ChainSettings settings;
    settings.source = c.source;
    settings.target = c.target;
    settings.method = c.method;
    settings.parameters = engine::MakeDatumParameters(engine::TransformSettings{});
    settings.grid = *grid_;
    // Moves the held latitude 1" south towards GDA94 (north back); fails west of 150 east.
    settings.external = [](Geographic held, bool toGda94) -> std::optional<Geographic> {
      if (held.longitude < 150.0 * kRadiansPerDegree) return std::nullopt;
      return Geographic{held.latitude + (toGda94 ? kSecond : -kSecond), held.longitude};
    };
    settings.outputs.targetGrid = c.expect == Expect::EastNorth;
    settings.outputs.targetCartesian = c.expect == Expect::XYZ;
    return settings;
  }

  static testing::TempDir* folder_;
  static std::shared_ptr<const ntv2::GridFile>* grid_;
};

testing::TempDir* PointChainTable::folder_ = nullptr;
std::shared_ptr<const ntv2::GridFile>* PointChainTable::grid_ = nullptr;

TEST_P(PointChainTable, GivesTheExpectedPoint) {
  const Case& c = GetParam();
  const PointChain chain(SettingsOf(c));
  PointState state;
  const PointResult result = chain.Convert(c.input, state);
  ASSERT_EQ(result.status, c.status);
  switch (c.expect) {
    case Expect::EastNorth:
      EXPECT_NEAR(result.grid.east, c.a, c.tolerance);
      EXPECT_NEAR(result.grid.north, c.b, c.tolerance);
      EXPECT_NEAR(result.height, c.c, c.tolerance);
      break;
    case Expect::LatitudeLongitude:
      EXPECT_NEAR(result.latitude / kRadiansPerDegree * kMetresPerDegree, c.a * kMetresPerDegree,
                  c.tolerance);
      EXPECT_NEAR(result.longitude / kRadiansPerDegree * kMetresPerDegree, c.b * kMetresPerDegree,
                  c.tolerance);
      EXPECT_NEAR(result.height, c.c, std::max(c.tolerance, 1e-9));
      break;
    case Expect::XYZ:
      EXPECT_NEAR(result.cartesian.x, c.a, c.tolerance);
      EXPECT_NEAR(result.cartesian.y, c.b, c.tolerance);
      EXPECT_NEAR(result.cartesian.z, c.c, c.tolerance);
      break;
    case Expect::Nothing:
      break;
  }
  const bool stepsRan = c.status == Ok || c.status == OutsideArea || c.status == NotFinite;
  EXPECT_EQ(result.datumChanged, c.source.datum != c.target.datum && stepsRan);
  EXPECT_EQ(result.gridShift.has_value(), c.method == DatumMethod::Grid &&
                                              c.source.datum != c.target.datum &&
                                              (c.status == Ok || c.status == OutsideArea));
}

INSTANTIATE_TEST_SUITE_P(Cases, PointChainTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

ChainSettings NationalAgd84ToGda94() {
  ChainSettings settings;
  settings.source = Agd84();
  settings.target = Gda94();
  settings.parameters = engine::MakeDatumParameters(engine::TransformSettings{});
  return settings;
}

TEST(PointChain, TheHeightIsTheInputsUnlessDerivedOrChangedByTheSimilarity) {
  PointState state;
  ChainSettings oneDatum = NationalAgd84ToGda94();
  oneDatum.target = Agd84(55);
  const PointChain same(oneDatum);
  EXPECT_TRUE(same.Convert(GridPoint(379185.968, 6359970.566, 3), state).heightAsGiven);
  EXPECT_FALSE(same.Convert(Xyz(-4720818.4758, 2541013.2436, -3444023.9186), state).heightAsGiven);
  const PointChain similarity(NationalAgd84ToGda94());
  EXPECT_FALSE(similarity.Convert(GridPoint(379185.968, 6359970.566, 3), state).heightAsGiven);
}

// The window holds a point at its stored position (RadiansToPacked, one decimal more than
// its seconds decimals) and takes a GDA94 point from there; the batch run goes on from the
// exact position and holds it only for a shift.
TEST(PointChain, AGda94PointGoesOnFromItsHeldPositionWhereTheCallerSays) {
  ChainSettings settings = NationalAgd84ToGda94();
  settings.source = Gda94();
  settings.target = Gda94(55);
  settings.holding = {PackedRounding::RadiansToPacked, 0, true};
  settings.outputs.sourceGrid = true;
  PointState state;
  const PointChain window(settings);
  const SourcePoint source = window.Locate(GridPoint(379291.7959, 6360161.1421, 0), state);
  ASSERT_TRUE(source.held);
  EXPECT_EQ(source.heldLatitude, angles::RadiansToPacked(source.latitude, 0));
  const PointResult held = window.Transform(source);
  // Held to a tenth of a second: the target is that position, not the exact one.
  const double seconds = held.latitude / kSecond;
  EXPECT_NEAR(seconds * 10, std::round(seconds * 10), 1e-6);
  EXPECT_GT(std::fabs(held.latitude - source.latitude), 1e-3 * kSecond);

  settings.holding.gda94FromHeld = false;
  const PointResult exact = PointChain(settings).Transform(source);
  EXPECT_EQ(exact.latitude, source.latitude);

  // An AGD point goes on from its exact position either way.
  settings.source = Agd84();
  settings.target = Agd84(55);
  settings.holding.gda94FromHeld = true;
  const PointChain agd(settings);
  const SourcePoint agdSource = agd.Locate(GridPoint(379185.968, 6359970.566, 0), state);
  EXPECT_EQ(agd.Transform(agdSource).latitude, agdSource.latitude);
}

TEST(PointChain, SourceValuesAreTheGridOfTheLocatedPoint) {
  ChainSettings settings = NationalAgd84ToGda94();
  settings.outputs.sourceGrid = true;
  PointState state;
  const PointChain chain(settings);
  const SourcePoint fromGrid = chain.Locate(GridPoint(379185.968, 6359970.566, 0), state);
  EXPECT_EQ(fromGrid.status, Ok);
  EXPECT_EQ(fromGrid.grid.east, 379185.968) << "grid input keeps its East and North";
  EXPECT_NEAR(fromGrid.grid.pointScale, 0.99978, 1e-5);
  const SourcePoint fromPacked = chain.Locate(Packed(32.533, 151.423, 0), state);
  EXPECT_NEAR(fromPacked.grid.east, 379185.968, 0.001);
  EXPECT_NEAR(fromPacked.grid.north, 6359970.566, 0.001);
  EXPECT_NEAR(fromPacked.grid.convergence, fromGrid.grid.convergence, 1e-9);
  EXPECT_EQ(chain.Locate(Xyz(0, 0, 0), state).status, NotFinite);
}

// Cartesian input is projected in its zone, with pi added to the principal-value longitude;
// its first estimate is the last latitude found on the same ellipsoid: one estimate for
// ANS, one for GDA94, each kept in the caller's state.
TEST(PointChain, CartesianInputProjectsAndLeavesItsLatitudeAsTheNextFirstEstimate) {
  const double latitude = 33.75 * kRadiansPerDegree;
  const double longitude = 150.5 * kRadiansPerDegree;
  ChainSettings settings = NationalAgd84ToGda94();
  settings.outputs.sourceGrid = true;
  PointState state;
  for (const Side side : {Gda94(56), Agd84(562)}) {
    settings.source = side;
    const engine::CartesianPoint xyz = engine::GeographicToCartesian(
        side.datum == Datum::Gda94 ? settings.parameters.gdaEllipsoid : engine::kAnsEllipsoid,
        latitude, longitude, 45.0);
    const SourcePoint point =
        PointChain(settings).Locate({InputKind::Cartesian, xyz.x, xyz.y, xyz.z}, state);
    const engine::GridPosition expected = engine::GeographicToGrid(
        engine::SetZoneConstants(side.zone, side.datum == Datum::Gda94), latitude, longitude);
    EXPECT_NEAR(point.grid.east, expected.easting, 0.001) << side.zone;
    EXPECT_NEAR(point.grid.north, expected.northing, 0.001) << side.zone;
    EXPECT_NEAR(point.height, 45.0, 0.001) << side.zone;
    EXPECT_NEAR(point.longitude, longitude, 1e-12) << "pi is added to the principal value";
    if (side.datum == Datum::Gda94) {
      EXPECT_EQ(state.gdaLatitude, point.latitude);
      EXPECT_EQ(state.ansLatitude, PointState::kInitialLatitude) << "each ellipsoid its own";
    } else {
      EXPECT_EQ(state.ansLatitude, point.latitude);
    }
  }
  // A fresh state gives the same point: the estimate only starts the iteration.
  PointState fresh;
  const PointChain chain(settings);
  const chain::PointInput input{InputKind::Cartesian, -4720818.4758, 2541013.2436, -3444023.9186};
  EXPECT_NEAR(chain.Locate(input, fresh).latitude, chain.Locate(input, state).latitude, 1e-12);
}

TEST(PointChain, AGridMethodWithoutItsGridIsRefused) {
  ChainSettings settings = NationalAgd84ToGda94();
  settings.method = DatumMethod::Grid;
  PointState state;
  EXPECT_EQ(PointChain(settings).Convert(GridPoint(379185.968, 6359970.566, 0), state).status,
            Refused);
  settings.method = DatumMethod::External;
  EXPECT_EQ(PointChain(settings).Convert(GridPoint(379185.968, 6359970.566, 0), state).status,
            Refused);
}

TEST(PointChain, APointsOwnZonesReplaceTheChains) {
  ChainSettings settings = NationalAgd84ToGda94();
  settings.target = Agd84(55);
  PointState state;
  const PointChain chain(settings);
  const PointResult inZone56 =
      chain.Convert(GridPoint(940575.9697, 6350866.1563, 0), Zones{55, 56}, state);
  EXPECT_NEAR(inZone56.grid.east, 379185.968, 0.01);
  EXPECT_NEAR(inZone56.grid.north, 6359970.566, 0.01);
}

// The estimates of every ellipsoid decide results; the sub-grid hints decide none.
TEST(PointChain, StatesAreTheSameWhenTheirEstimatesAre) {
  const auto changed = [](auto change) {
    PointState state;
    change(state);
    return state;
  };
  EXPECT_TRUE(SameEstimates(PointState{}, PointState{}));
  EXPECT_FALSE(SameEstimates(PointState{}, changed([](PointState& s) { s.ansLatitude = 0.6; })));
  EXPECT_FALSE(SameEstimates(PointState{}, changed([](PointState& s) { s.gdaLatitude = 0.6; })));
  EXPECT_FALSE(
      SameEstimates(PointState{}, changed([](PointState& s) { s.gda2020Latitude = 0.6; })));
  EXPECT_TRUE(SameEstimates(PointState{}, changed([](PointState& s) {
                              s.gridHint.searchIndex = 3;
                              s.grid2020Hint.searchIndex = 1;
                            })));
}

// Two points side by side give, bit for bit, what converting them one after the other gives:
// every route (each step kind, and none), with the fewest and with every output, each input
// form in both orders, and pairs where one point fails (outside the grid, a failed external
// shift, no finite result) or the forms differ. A NaN is any NaN: which of two NaNs an
// operation passes on, and so its sign, is not fixed.
std::uint64_t Bits(double value) {
  return std::isnan(value) ? 1 : std::bit_cast<std::uint64_t>(value);
}

std::vector<std::uint64_t> BitsOf(const PointResult& r) {
  std::vector<std::uint64_t> bits = {static_cast<std::uint64_t>(r.status),
                                     Bits(r.latitude),
                                     Bits(r.longitude),
                                     Bits(r.height),
                                     Bits(r.grid.east),
                                     Bits(r.grid.north),
                                     Bits(r.grid.convergence),
                                     Bits(r.grid.pointScale),
                                     Bits(r.cartesian.x),
                                     Bits(r.cartesian.y),
                                     Bits(r.cartesian.z),
                                     r.datumChanged,
                                     r.heightAsGiven,
                                     static_cast<std::uint64_t>(r.gda2020Step),
                                     r.gridShift.has_value()};
  if (r.gridShift) {
    const ntv2::GridShift& g = *r.gridShift;
    bits.insert(bits.end(),
                {Bits(g.latitude), Bits(g.longitude), g.accuracyKnown, Bits(g.latitudeAccuracy),
                 Bits(g.longitudeAccuracy), static_cast<std::uint64_t>(g.subGrid)});
  }
  return bits;
}

TEST_F(PointChainTable, TwoPointsSideBySideGiveTheBitsOfOneAfterTheOther) {
  const Side gda2020{Datum::Gda2020, 56};
  struct Route {
    Side source;
    Side target;
    DatumMethod method;
    bool grid2020;
  };
  const Route routes[] = {
      {Agd84(), Gda94(), SevenParameter, false},
      {Gda94(), Agd84(55), SevenParameter, false},
      {Agd66(), Gda94(), Grid, false},
      {Gda94(), Agd66(), Grid, false},
      {Agd84(), gda2020, SevenParameter, false},
      {gda2020, Agd66(), Grid, false},
      {Gda94(), gda2020, SevenParameter, true},
      {gda2020, Gda94(55), Grid, true},
      {Agd66(), Gda94(), External, false},
      {Gda94(), Agd66(), External, false},
      {Agd66(), Agd84(), SevenParameter, false},
      {Gda94(), Gda94(55), SevenParameter, false},
      {Agd84(), Agd84(562), SevenParameter, false},
      {Agd66(), gda2020, Grid, true},
  };
  const std::vector<std::array<PointInput, 2>> pairs = {
      {GridPoint(379185.968, 6359970.566, 0), GridPoint(381420.5, 6357625.25, 3.25)},
      {Degrees(33.5, 151.0, 45.5), Degrees(33.1, 150.9, 12.0)},
      {Packed(33.3, 151.0, 0), Packed(33.2, 150.5, 7.0)},
      {Xyz(-4720818.4758, 2541013.2436, -3444023.9186), Xyz(-4720668.0, 2540933.5, -3443963.0)},
      {Degrees(50.0, 151.0, 0), Degrees(33.1, 150.9, 12.0)},  // the first outside the grid
      {Packed(33.3, 140.0, 0), Packed(33.2, 150.5, 7.0)},     // the external shift fails
      {Xyz(0, 0, 0), Xyz(-4720818.4758, 2541013.2436, -3444023.9186)},      // no finite result
      {GridPoint(379185.968, 6359970.566, 0), Degrees(33.5, 151.0, 45.5)},  // forms differ
  };
  for (const Route& route : routes) {
    for (const bool everything : {false, true}) {
      ChainSettings settings = SettingsOf(
          {"", route.source, route.target, route.method, pairs[0][0], Ok, EastNorth, 0, 0, 0, 0});
      if (route.grid2020) settings.grid2020 = *grid_;
      settings.outputs = {everything, true, everything, everything};
      settings.holding.gda94FromHeld = everything;
      const PointChain chain(settings);
      for (const auto& pair : pairs) {
        for (const bool swapped : {false, true}) {
          const std::array<PointInput, 2> inputs =
              swapped ? std::array<PointInput, 2>{pair[1], pair[0]} : pair;
          PointState alone;
          const PointResult first = chain.Convert(inputs[0], alone);
          const PointResult second = chain.Convert(inputs[1], alone);
          PointState sideBySide;
          const std::array<PointResult, 2> both = chain.ConvertPair(inputs, sideBySide);
          const auto where = ::testing::Message()
                             << DatumName(route.source.datum) << " -> "
                             << DatumName(route.target.datum) << " method "
                             << static_cast<int>(route.method) << (everything ? " all" : "")
                             << " inputs " << static_cast<int>(inputs[0].kind) << ","
                             << static_cast<int>(inputs[1].kind) << (swapped ? " swapped" : "");
          EXPECT_EQ(BitsOf(both[0]), BitsOf(first)) << where;
          EXPECT_EQ(BitsOf(both[1]), BitsOf(second)) << where;
          EXPECT_EQ(Bits(sideBySide.ansLatitude), Bits(alone.ansLatitude)) << where;
          EXPECT_EQ(Bits(sideBySide.gdaLatitude), Bits(alone.gdaLatitude)) << where;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tarvo::chain
