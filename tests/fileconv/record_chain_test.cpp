// The per-record chain: every input and output form, both methods, the record zones and the
// injected NTv2 shift.
#include "fileconv/record_chain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "angles/packed_angle.h"
#include "engine/cartesian.h"
#include "engine/ellipsoid.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"

namespace tarvo::fileconv {
namespace {

constexpr double kMillimetre = 0.001;

// 32 53 30 S, 151 42 30 E: AGD/AMG zone 56 E 379185.968 N 6359970.566, which PROJ
// (inverse UTM on aust_SA, coordinate-frame Helmert with the National set, UTM on GRS80)
// puts at GDA/MGA E 379291.7959 N 6360161.1421, ellipsoidal height 12.6170 for a height of 0.
constexpr double kAmgEast = 379185.968;
constexpr double kAmgNorth = 6359970.566;
constexpr double kMgaEast = 379291.7959;
constexpr double kMgaNorth = 6360161.1421;
constexpr double kMgaHeight = 12.6170;

ChainSetup AmgToMga() {
  ChainSetup setup;
  setup.chain.source = {chain::Datum::Agd84, 56};
  setup.chain.target = {chain::Datum::Gda94, 56};
  setup.chain.method = chain::DatumMethod::SevenParameter;
  setup.chain.parameters = engine::MakeDatumParameters(engine::TransformSettings{});
  return setup;
}

// The datums of the two sides: GDA94 or the AGD84 of the National set.
void SetDatums(ChainSetup& setup, bool inputIsGda, bool outputIsGda) {
  setup.chain.source.datum = inputIsGda ? chain::Datum::Gda94 : chain::Datum::Agd84;
  setup.chain.target.datum = outputIsGda ? chain::Datum::Gda94 : chain::Datum::Agd84;
}

bool Converted(const ConvertedRecord& record) {
  return record.status == chain::Status::Ok;
}

RecordFields Record(const std::string& first, const std::string& second,
                    const std::string& height = "0.00") {
  RecordFields fields;
  fields.first = first;
  fields.second = second;
  fields.height = height;
  fields.heightUsed = height != "0.00";
  return fields;
}

RecordFields GridRecord(double east, double north, double height = 0.0) {
  return Record(text::Format("%.4f", east), text::Format("%.4f", north),
                text::Format("%.4f", height));
}

TEST(RecordChain, SevenParameterGridToGridAgreesWithProj) {
  RecordChain chain(AmgToMga());
  const auto result = chain.Convert(Record("379185.968", "6359970.566"));
  ASSERT_TRUE(Converted(result));
  EXPECT_NEAR(result.east, kMgaEast, kMillimetre);
  EXPECT_NEAR(result.north, kMgaNorth, kMillimetre);
  EXPECT_NEAR(result.height, kMgaHeight, kMillimetre) << "the height the shift yields";
}

TEST(RecordChain, ReverseShiftReturnsToTheStart) {
  ChainSetup back = AmgToMga();
  SetDatums(back, true, false);
  RecordChain chain(back);
  const auto result = chain.Convert(GridRecord(kMgaEast, kMgaNorth, kMgaHeight));
  ASSERT_TRUE(Converted(result));
  EXPECT_NEAR(result.east, kAmgEast, 2 * kMillimetre);
  EXPECT_NEAR(result.north, kAmgNorth, 2 * kMillimetre);
  EXPECT_NEAR(result.height, 0.0, 2 * kMillimetre);
}

TEST(RecordChain, GeographicInputInEveryNotationGivesTheSamePoint) {
  const double latitude = (32.0 + 53.0 / 60 + 30.0 / 3600) * engine::kRadiansPerDegree;
  const double longitude = (151.0 + 42.0 / 60 + 30.0 / 3600) * engine::kRadiansPerDegree;
  struct Case {
    angles::AngleFormat format;
    std::string latitude, longitude;
  };
  const std::vector<Case> cases = {
      {angles::AngleFormat::Packed, "32.5330", "151.4230"},
      {angles::AngleFormat::DecimalDegrees, "32.891666667", "151.708333333"},
      {angles::AngleFormat::DegreesMinutes, "32.535", "151.425"},
      {angles::AngleFormat::Radians, text::Format("%.10f", latitude),
       text::Format("%.10f", longitude)},
      {angles::AngleFormat::Seconds, "118410.0000", "546150.0000"},
      {angles::AngleFormat::Minutes, "1973.5", "9102.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(angles::Label(c.format)));
    ChainSetup setup = AmgToMga();
    setup.inputUnits = Units::Geographic;
    setup.inputFormat = c.format;
    RecordChain chain(setup);
    const auto result = chain.Convert(Record(c.latitude, c.longitude));
    ASSERT_TRUE(Converted(result));
    EXPECT_NEAR(result.east, kMgaEast, 2 * kMillimetre);
    EXPECT_NEAR(result.north, kMgaNorth, 2 * kMillimetre);
  }
  ChainSetup packedFields = AmgToMga();
  packedFields.inputUnits = Units::Geographic;
  packedFields.inputFormat = angles::AngleFormat::DmsBlanks;
  packedFields.fieldsArePacked = true;  // what the CSV reader makes of "32 53 30.0000"
  const auto result = RecordChain(packedFields).Convert(Record("32.53300000", "151.42300000"));
  ASSERT_TRUE(Converted(result));
  EXPECT_NEAR(result.east, kMgaEast, 2 * kMillimetre);
}

TEST(RecordChain, CartesianInputCarriesItsEllipsoidalHeightThroughTheShift) {
  // The same point 250 m above ANS, given as grid with height and as Cartesian X, Y, Z.
  RecordChain grid(AmgToMga());
  const auto fromGrid = grid.Convert(GridRecord(kAmgEast, kAmgNorth, 250.0));
  ASSERT_TRUE(Converted(fromGrid));

  ChainSetup cartesian = AmgToMga();
  cartesian.inputUnits = Units::Cartesian;
  RecordChain chain(cartesian);
  const double latitude = (32.0 + 53.0 / 60 + 30.0 / 3600) * engine::kRadiansPerDegree;
  const double longitude = (151.0 + 42.0 / 60 + 30.0 / 3600) * engine::kRadiansPerDegree;
  const engine::CartesianPoint xyz = engine::GeographicToCartesianAgd(latitude, longitude, 250.0);
  const auto fromXyz = chain.Convert(Record(
      text::Format("%.4f", xyz.x), text::Format("%.4f", xyz.y), text::Format("%.4f", xyz.z)));
  ASSERT_TRUE(Converted(fromXyz));
  EXPECT_NEAR(fromXyz.east, fromGrid.east, 2 * kMillimetre);
  EXPECT_NEAR(fromXyz.north, fromGrid.north, 2 * kMillimetre);
  EXPECT_NEAR(fromXyz.height, fromGrid.height, 2 * kMillimetre)
      << "the derived height of 250 m, not the Z text, goes through the shift";
  EXPECT_NEAR(fromXyz.height, 250.0 + kMgaHeight, 0.01);
}

TEST(RecordChain, CartesianOutputUsesTheHeightGridOutputWrites) {
  ChainSetup toXyz = AmgToMga();
  toXyz.outputUnits = Units::Cartesian;
  const auto xyz = RecordChain(toXyz).Convert(GridRecord(kAmgEast, kAmgNorth, 100.0));
  ASSERT_TRUE(Converted(xyz));

  // Back from GDA94 Cartesian to MGA grid, no datum change: the grid result of the shift.
  ChainSetup fromXyz;
  fromXyz.inputUnits = Units::Cartesian;
  SetDatums(fromXyz, true, true);
  fromXyz.chain.parameters = engine::MakeDatumParameters(engine::TransformSettings{});
  const auto grid = RecordChain(fromXyz).Convert(GridRecord(xyz.east, xyz.north, xyz.height));
  const auto direct = RecordChain(AmgToMga()).Convert(GridRecord(kAmgEast, kAmgNorth, 100.0));
  ASSERT_TRUE(Converted(grid) && Converted(direct));
  EXPECT_NEAR(grid.east, direct.east, kMillimetre);
  EXPECT_NEAR(grid.north, direct.north, kMillimetre);
  EXPECT_NEAR(grid.height, direct.height, kMillimetre);
}

TEST(RecordChain, EveryInputFormGivesTheSameResultInEveryOutputForm) {
  for (const bool fromGda : {false, true}) {
    SCOPED_TRACE(fromGda ? "GDA to AGD" : "AGD to GDA");
    ChainSetup base = AmgToMga();
    SetDatums(base, fromGda, !fromGda);
    base.precision = 5;
    // The source point as grid, latitude/longitude and X, Y, Z on its own datum.
    ChainSetup same = base;
    SetDatums(same, fromGda, fromGda);
    const RecordFields grid = GridRecord(kAmgEast, kAmgNorth, 100.0);
    same.outputUnits = Units::Geographic;
    const auto geographic = RecordChain(same).Convert(grid);
    same.outputUnits = Units::Cartesian;
    const auto cartesian = RecordChain(same).Convert(grid);
    ASSERT_TRUE(Converted(geographic) && Converted(cartesian));
    const std::pair<Units, RecordFields> inputs[] = {
        {Units::Grid, grid},
        {Units::Geographic, Record(text::Format("%.9f", geographic.latitude),
                                   text::Format("%.9f", geographic.longitude), "100.0")},
        {Units::Cartesian, GridRecord(cartesian.east, cartesian.north, cartesian.height)},
    };
    for (const Units output : {Units::Grid, Units::Geographic, Units::Cartesian, Units::Both}) {
      ChainSetup setup = base;
      setup.outputUnits = output;
      setup.inputUnits = Units::Grid;
      const auto expected = RecordChain(setup).Convert(grid);
      ASSERT_TRUE(Converted(expected));
      for (const auto& [units, fields] : inputs) {
        setup.inputUnits = units;
        const auto result = RecordChain(setup).Convert(fields);
        ASSERT_TRUE(Converted(result));
        const std::string trace = "input " + std::to_string(static_cast<int>(units)) + " output " +
                                  std::to_string(static_cast<int>(output));
        EXPECT_NEAR(result.east, expected.east, kMillimetre) << trace;
        EXPECT_NEAR(result.north, expected.north, kMillimetre) << trace;
        EXPECT_NEAR(result.height, expected.height, kMillimetre) << trace;
        EXPECT_NEAR(result.latitude, expected.latitude, 1e-9) << trace;
        EXPECT_NEAR(result.longitude, expected.longitude, 1e-9) << trace;
      }
    }
  }
}

TEST(RecordChain, GeographicOutputHasPrecisionDecimalsOfSeconds) {
  ChainSetup setup = AmgToMga();
  setup.outputUnits = Units::Geographic;
  for (const int precision : {4, 5}) {
    setup.precision = precision;
    const auto result = RecordChain(setup).Convert(GridRecord(kAmgEast, kAmgNorth));
    ASSERT_TRUE(Converted(result));
    const double scale = std::pow(10.0, precision + 4);
    EXPECT_NEAR(result.latitude * scale, std::round(result.latitude * scale), 1e-4)
        << precision << " decimals of seconds";
    EXPECT_NEAR(result.latitude, 32.5324, 0.0001) << "32 53 24.26 S on GDA94";
  }
}

TEST(RecordChain, SecondsJustBelowAWholeSecondRoundToFourDecimals) {
  // PROJ puts this AMG zone 55 point at 144 39 04.99975 E on GDA94. Rounding to four
  // decimals must give 04.9998 (or 04.9997), never the whole second 05.0000 (7 mm east).
  ChainSetup setup = AmgToMga();
  setup.chain.source.zone = 55;
  setup.outputUnits = Units::Geographic;
  const auto result = RecordChain(setup).Convert(GridRecord(274635.861, 6615805.617, 1344.917));
  ASSERT_TRUE(Converted(result));
  EXPECT_NEAR(result.longitude, 144.3904999750, 0.6e-8);
}

TEST(RecordZones, AFieldOverridesOnlyWithAZoneOfItsSystem) {
  struct Case {
    const char* text;
    bool isg;
    int dialogZone;
    int expected;
  };
  const Case cases[] = {
      {"56", false, 55, 56},   {"561", true, 562, 561}, {"57", false, 55, 55},
      {"564", true, 561, 561}, {"5", false, 55, 55},    {"561", false, 55, 55},
      {"56", true, 562, 562},  {"", false, 54, 54},     {"49", false, 55, 49},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RecordZone(c.text, c.isg, c.dialogZone), c.expected)
        << "zone text \"" << c.text << "\" on " << (c.isg ? "ISG" : "AMG/MGA");
  }
  EXPECT_TRUE(IsZoneOfSystem("56 ", false)) << "the blank a zone list leaves is ignored";
  EXPECT_FALSE(IsZoneOfSystem("48", false));
}

TEST(RecordZones, ARecordZoneMovesTheProjection) {
  ChainSetup setup = AmgToMga();
  setup.chain.target.zone = 55;
  RecordFields fields = Record("379185.968", "6359970.566");
  fields.outputZone = "56";
  const auto inOwnZone = RecordChain(setup).Convert(fields);
  ASSERT_TRUE(Converted(inOwnZone));
  EXPECT_NEAR(inOwnZone.east, kMgaEast, kMillimetre);
  fields.outputZone = "57";
  const auto inDialogZone = RecordChain(setup).Convert(fields);
  ASSERT_TRUE(Converted(inDialogZone));
  EXPECT_GT(inDialogZone.east, 900000.0) << "zone 55, six degrees west of the point";
}

// Two records side by side are the two one after the other, whether they share their zones
// (converted side by side) or not (one at a time), in each input form.
TEST(RecordZones, TwoRecordsAreConvertedAsOneAfterTheOther) {
  const auto same = [](const ConvertedRecord& a, const ConvertedRecord& b) {
    return a.status == b.status && a.east == b.east && a.north == b.north && a.height == b.height &&
           a.latitude == b.latitude && a.longitude == b.longitude;
  };
  const auto zoned = [](RecordFields fields, const char* input, const char* output) {
    fields.inputZone = input;
    fields.outputZone = output;
    return fields;
  };
  ChainSetup grid = AmgToMga();
  grid.outputUnits = Units::Both;
  ChainSetup geographic = grid;
  geographic.inputUnits = Units::Geographic;
  geographic.fieldsArePacked = true;
  const RecordFields a = GridRecord(kAmgEast, kAmgNorth, 10.0);
  const RecordFields b = GridRecord(kAmgEast + 1234.5, kAmgNorth - 2345.6, 3.25);
  const RecordFields p = Record("32.533", "151.423", "7.5");
  const RecordFields q = Record("33.1", "150.5", "0.00");
  const struct {
    const ChainSetup& setup;
    RecordFields first;
    RecordFields second;
  } cases[] = {
      {grid, a, b},
      {grid, zoned(a, "56", "55"), zoned(b, "56", "55")},
      {grid, zoned(a, "56", "55"), zoned(b, "56", "56")},
      {grid, zoned(a, "55", ""), b},
      {geographic, p, q},
      {geographic, zoned(p, "", "55"), q},
  };
  for (const auto& c : cases) {
    const RecordChain chain(c.setup);
    chain::PointState alone;
    const ConvertedRecord first = chain.Convert(c.first, alone);
    const ConvertedRecord second = chain.Convert(c.second, alone);
    chain::PointState sideBySide;
    const std::array<ConvertedRecord, 2> both = chain.ConvertPair(c.first, c.second, sideBySide);
    EXPECT_TRUE(Converted(first) && Converted(second));
    EXPECT_TRUE(same(both[0], first) && same(both[1], second))
        << c.first.first << " " << c.first.inputZone << "/" << c.first.outputZone << ", "
        << c.second.first << " " << c.second.inputZone << "/" << c.second.outputZone;
  }
}

TEST(GridShiftRoute, DirectionPositionHeightAndDrops) {
  testing::TempDir folder;
  ChainSetup setup = AmgToMga();
  setup.chain.method = chain::DatumMethod::Grid;
  setup.precision = 5;
  // A synthetic grid: one arc second north and east, from 30 to 40 degrees south.
  setup.chain.grid =
      ntv2::testing::ConstantShiftGrid(folder.path(), "one.gsb", 40, 30, 140, 155, 1.0, 1.0);
  setup.inputUnits = Units::Geographic;
  setup.outputUnits = Units::Geographic;
  RecordChain chain(setup);
  const auto shifted = chain.Convert(Record("32.5330", "151.4230", "123.456"));
  ASSERT_TRUE(Converted(shifted));
  EXPECT_NEAR(shifted.latitude, 32.5329, 1e-9) << "AGD to GDA is forward";
  EXPECT_NEAR(shifted.longitude, 151.4231, 1e-9);
  EXPECT_DOUBLE_EQ(shifted.height, 123.456) << "the height read is carried over";

  EXPECT_EQ(chain.Convert(Record("41.0", "147.0")).status, chain::Status::OutsideGrid)
      << "outside the grid: dropped";

  SetDatums(setup, true, false);
  const auto back = RecordChain(setup).Convert(Record("32.5330", "151.4230"));
  ASSERT_TRUE(Converted(back));
  EXPECT_NEAR(back.latitude, 32.5331, 1e-9) << "GDA to AGD is the reverse shift";
}

}  // namespace
}  // namespace tarvo::fileconv
