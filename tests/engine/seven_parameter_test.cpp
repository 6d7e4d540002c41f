#include "engine/seven_parameter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/cartesian.h"
#include "engine/grid_system.h"
#include "engine/transverse_mercator.h"
#include "tests/support/proj_oracle.h"
#include "tests/support/support.h"
#include "text/number_text.h"

namespace tarvo::engine {
namespace {

constexpr double kMillimetre = 0.001;

double Radians(double degrees) {
  return degrees * kRadiansPerDegree;
}

double GroundDistance(double latitude1, double longitude1, double latitude2, double longitude2) {
  const double north = (latitude1 - latitude2) * kGrs80SemiMajorAxis;
  const double east = (longitude1 - longitude2) * kGrs80SemiMajorAxis * std::cos(latitude1);
  return std::hypot(north, east);
}

// The preset parameter sets: National (AGD84) and the four Regional sets (AGD66).
struct PresetSet {
  const char* name;
  const char* values[7];  // tx, ty, tz (m), rx, ry, rz (arc seconds), scale (ppm)
};
constexpr PresetSet kPresets[] = {
    {"National", {"-117.763", "-51.510", "139.061", "-0.292", "-0.443", "-0.277", "-0.191"}},
    {"NSW/VIC", {"-119.353", "-48.301", "139.484", "-0.415", "-0.260", "-0.437", "-0.613"}},
    {"ACT", {"-129.193", "-41.212", "130.730", "-0.246", "-0.374", "-0.329", "-2.955"}},
    {"Tasmania", {"-120.271", "-64.543", "161.632", "-0.2175", "0.0672", "0.1291", "2.4985"}},
    {"N.Territory", {"-124.133", "-42.003", "137.400", "0.0083", "-0.5571", "-0.1777", "-1.8538"}},
};

TransformSettings SettingsWith(const PresetSet& preset) {
  TransformSettings settings;
  settings.shiftX = preset.values[0];
  settings.shiftY = preset.values[1];
  settings.shiftZ = preset.values[2];
  settings.rotationX = preset.values[3];
  settings.rotationY = preset.values[4];
  settings.rotationZ = preset.values[5];
  settings.scalePpm = preset.values[6];
  return settings;
}

// ---------------------------------------------------------------------------------------------
// Geographic <-> Cartesian.

TEST(GeographicToCartesian, EquatorAndPrimeMeridianLieOnTheXAxis) {
  const auto origin = GeographicToCartesianAgd(0.0, 0.0, 0.0);
  EXPECT_EQ(origin.x, 6378160.0);
  EXPECT_EQ(origin.y, 0.0);
  EXPECT_EQ(origin.z, 0.0);
  const auto south = GeographicToCartesianAgd(Radians(33), Radians(151), 0.0);
  EXPECT_LT(south.z, 0.0) << "a southern (positive) latitude lies below the equator";
  EXPECT_LT(south.x, 0.0);
  EXPECT_GT(south.y, 0.0);
}

TEST(CartesianToGeographic, RoundTripsOnBothEllipsoids) {
  const DatumParameters gda = MakeDatumParameters(TransformSettings{});
  struct Case {
    double latitudeDegrees, longitudeDegrees, height;
  };
  const Case cases[] = {{33, 151, 0}, {10.5, 142.2, 2000}, {43.6, 146.9, -30}, {25, 113.2, 0.25}};
  for (const Case& c : cases) {
    const double latitude = Radians(c.latitudeDegrees);
    const double longitude = Radians(c.longitudeDegrees);
    for (const Ellipsoid& ellipsoid : {kAnsEllipsoid, gda.gdaEllipsoid}) {
      SCOPED_TRACE(text::Format("%g S %g E h %g on a = %.0f", c.latitudeDegrees, c.longitudeDegrees,
                                c.height, ellipsoid.semiMajorAxis));
      const auto xyz = GeographicToCartesian(ellipsoid, latitude, longitude, c.height);
      const auto back = CartesianToGeographic(ellipsoid, xyz.x, xyz.y, xyz.z, 0.5585);
      EXPECT_LT(GroundDistance(back.latitude, back.longitude + kPi, latitude, longitude),
                kMillimetre)
          << "the longitude comes back as its principal value, less pi";
      EXPECT_NEAR(back.height, c.height, kMillimetre);
    }
  }
}

TEST(CartesianToGeographic, HeightStaysRightAtTheEquator) {
  for (double latitudeDegrees : {0.0, 0.001, 3.0, 6.0}) {
    const auto xyz = GeographicToCartesianAgd(Radians(latitudeDegrees), Radians(140), 12.5);
    const auto back = CartesianToGeographic(kAnsEllipsoid, xyz.x, xyz.y, xyz.z, 0.5585);
    EXPECT_NEAR(back.height, 12.5, kMillimetre) << "latitude " << latitudeDegrees;
    EXPECT_NEAR(back.latitude, Radians(latitudeDegrees), 1e-10) << "latitude " << latitudeDegrees;
  }
}

// ---------------------------------------------------------------------------------------------
// The 7-parameter transformation.

TEST(SevenParameterForward, NationalShiftAt33South151East) {
  const DatumParameters national = MakeDatumParameters(TransformSettings{});
  const double latitude = Radians(33);
  const double longitude = Radians(151);
  const auto gda = SevenParameterForward(national, latitude, longitude, 100.0);
  EXPECT_NEAR((gda.latitude - latitude) / kRadiansPerArcSecond, -5.71, 0.005)
      << "the point moves north, so its southern latitude falls";
  EXPECT_NEAR((gda.longitude + kPi - longitude) / kRadiansPerArcSecond, 4.19, 0.005);
  EXPECT_NEAR(gda.height - 100.0, 11.26, 0.005);
}

TEST(SevenParameterForward, IdentityParametersOnTheSameEllipsoidChangeNothing) {
  TransformSettings settings;
  settings.semiMajorAxis = "6378160.0";
  settings.inverseFlattening = "298.25";
  for (std::string* text :
       {&settings.shiftX, &settings.shiftY, &settings.shiftZ, &settings.rotationX,
        &settings.rotationY, &settings.rotationZ, &settings.scalePpm}) {
    *text = "0";
  }
  const DatumParameters identity = MakeDatumParameters(settings);
  const auto result = SevenParameterForward(identity, Radians(27.5), Radians(153.1), 250.0);
  EXPECT_NEAR(result.latitude, Radians(27.5), 1e-11);
  EXPECT_NEAR(result.longitude, Radians(153.1) - kPi, 1e-12)
      << "the forward longitude is the principal value; callers add pi";
  EXPECT_NEAR(result.height, 250.0, kMillimetre);
}

TEST(SevenParameterReverse, UndoesTheForwardWithinAMillimetre) {
  for (const PresetSet& preset : kPresets) {
    SCOPED_TRACE(preset.name);
    const DatumParameters parameters = MakeDatumParameters(SettingsWith(preset));
    const double latitude = Radians(33);
    const double longitude = Radians(151);
    const auto gda = SevenParameterForward(parameters, latitude, longitude, 100.0);
    const auto agd =
        SevenParameterReverse(parameters, gda.latitude, gda.longitude + kPi, gda.height);
    EXPECT_LT(GroundDistance(agd.latitude, agd.longitude, latitude, longitude), kMillimetre)
        << "the reverse adds pi itself";
    EXPECT_NEAR(agd.height, 100.0, kMillimetre);
  }
}

TEST(DatumParameters, TextsConvertWithTheirUnits) {
  TransformSettings settings;
  settings.rotationX = "1";
  settings.scalePpm = "1";
  settings.shiftY = "abc";
  settings.rotationZ = "";
  const DatumParameters p = MakeDatumParameters(settings);
  EXPECT_EQ(p.rotationX, 4.84813681109536e-06) << "a rotation of 1 is one second of arc";
  EXPECT_EQ(p.scale, 1e-06) << "a scale of 1 is one part per million";
  EXPECT_EQ(p.shiftY, 0.0) << "a text that is not a number counts as 0";
  EXPECT_EQ(p.rotationZ, 0.0) << "an empty text counts as 0";
  EXPECT_EQ(p.shiftX, -117.763);
  EXPECT_EQ(p.gdaEllipsoid.semiMajorAxis, 6378137.0);
  EXPECT_NEAR(p.gdaEllipsoid.eccentricitySquared, 0.00669438002290, 1e-14);
}

TEST(DatumParameters, TextsAreReadLikeStrtodInTheCLocale) {
  TransformSettings garbled;
  garbled.shiftZ = "12,5m";
  garbled.rotationY = "--0.4";
  TransformSettings zero;
  zero.shiftZ = "12";
  zero.rotationY = "0";
  const auto a = SevenParameterForward(MakeDatumParameters(garbled), 0.6, 2.6, 10.0);
  const auto b = SevenParameterForward(MakeDatumParameters(zero), 0.6, 2.6, 10.0);
  EXPECT_EQ(a.latitude, b.latitude);
  EXPECT_EQ(a.longitude, b.longitude);
  EXPECT_EQ(a.height, b.height);
}

TEST(DatumParameters, InverseFlatteningThatIsNotANumberMeansASphere) {
  TransformSettings settings;
  settings.inverseFlattening = "x";
  const DatumParameters p = MakeDatumParameters(settings);
  EXPECT_EQ(p.gdaEllipsoid.eccentricitySquared, 0.0);
  EXPECT_EQ(p.gdaEllipsoid.oneMinusEccentricitySquared, 1.0);
  const auto result = SevenParameterForward(p, Radians(33), Radians(151), 0.0);
  EXPECT_TRUE(std::isfinite(result.latitude) && std::isfinite(result.height))
      << "no NaN from an inverse flattening of 0";
}

// A desktop with a comma-decimal locale must change no number: the texts "-0.292" and the
// like would read as -0 with the process locale's strtod.
TEST(NumberLocale, CommaDecimalLocaleGivesTheSameTransformation) {
  const TransformSettings settings = SettingsWith(kPresets[3]);
  const auto expected = SevenParameterForward(MakeDatumParameters(settings), 0.72, 2.55, 50.0);
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (test.sh generates it)";
  }
  const auto actual = SevenParameterForward(MakeDatumParameters(settings), 0.72, 2.55, 50.0);
  const std::string zoneText = ZoneTextForSystem("552", GridSystem::kMga);
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_EQ(actual.latitude, expected.latitude);
  EXPECT_EQ(actual.longitude, expected.longitude);
  EXPECT_EQ(actual.height, expected.height);
  EXPECT_EQ(zoneText, "55 ");
}

// ---------------------------------------------------------------------------------------------
// PROJ's Helmert transformation with the coordinate-frame convention as the oracle.

std::string HelmertPipeline(const PresetSet& preset) {
  return text::Format(
      "cct -d 10 +proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad +step "
      "+proj=cart +ellps=aust_SA +step +proj=helmert +x=%s +y=%s +z=%s +rx=%s +ry=%s +rz=%s "
      "+s=%s +convention=coordinate_frame +step +inv +proj=cart +ellps=GRS80 +step "
      "+proj=unitconvert +xy_in=rad +xy_out=deg",
      preset.values[0], preset.values[1], preset.values[2], preset.values[3], preset.values[4],
      preset.values[5], preset.values[6]);
}

TEST(SevenParameterAgainstProj, EveryPresetSetAgreesWithinAMillimetre) {
  if (!testing::HaveProj()) GTEST_SKIP() << "PROJ (proj-bin) is not installed";
  std::mt19937_64 random(1994);
  std::uniform_real_distribution<double> latitudes(10.0, 44.0);
  std::uniform_real_distribution<double> longitudes(112.0, 154.0);
  std::uniform_real_distribution<double> heights(-50.0, 2200.0);
  for (const PresetSet& preset : kPresets) {
    SCOPED_TRACE(preset.name);
    std::vector<testing::Row> points;  // PROJ order: longitude, signed latitude, height
    for (int i = 0; i < 50; ++i) {
      points.push_back({longitudes(random), -latitudes(random), heights(random)});
    }
    const auto expected = testing::RunProjRows(HelmertPipeline(preset), points);
    const DatumParameters parameters = MakeDatumParameters(SettingsWith(preset));
    for (size_t i = 0; i < points.size(); ++i) {
      SCOPED_TRACE(
          text::Format("point %.9f S %.9f E h %.3f", -points[i][1], points[i][0], points[i][2]));
      ASSERT_GE(expected[i].size(), 3u);
      const auto gda = SevenParameterForward(parameters, Radians(-points[i][1]),
                                             Radians(points[i][0]), points[i][2]);
      EXPECT_LT(GroundDistance(gda.latitude, gda.longitude + kPi, Radians(-expected[i][1]),
                               Radians(expected[i][0])),
                kMillimetre);
      EXPECT_NEAR(gda.height, expected[i][2], kMillimetre);
    }
  }
}

// The shared PROJ-made Helmert tables: National from AGD84 and Regional NSW/VIC from AGD66.
void CheckHelmertTable(const std::filesystem::path& path, const PresetSet& preset) {
  std::ifstream in(path);
  ASSERT_TRUE(in) << "cannot read " << path;
  const DatumParameters parameters = MakeDatumParameters(SettingsWith(preset));
  std::string line;
  std::getline(in, line);  // header
  int rows = 0;
  while (std::getline(in, line)) {
    std::vector<double> v;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, ',');) v.push_back(text::ToDouble(field));
    if (v.size() < 12) continue;
    ++rows;
    SCOPED_TRACE(line);
    const double latitude = Radians(-v[0]);
    const double longitude = Radians(v[1]);
    const auto xyz = GeographicToCartesianAgd(latitude, longitude, v[2]);
    EXPECT_NEAR(xyz.x, v[3], kMillimetre);
    EXPECT_NEAR(xyz.y, v[4], kMillimetre);
    EXPECT_NEAR(xyz.z, v[5], kMillimetre);
    const auto gda = SevenParameterForward(parameters, latitude, longitude, v[2]);
    EXPECT_LT(GroundDistance(gda.latitude, gda.longitude + kPi, Radians(-v[9]), Radians(v[10])),
              kMillimetre);
    EXPECT_NEAR(gda.height, v[11], kMillimetre);
  }
  EXPECT_EQ(rows, 200) << path;
}

TEST(SevenParameterAgainstSharedTables, NationalAndNswVicTables) {
  TARVO_REQUIRE_SHARED_DATA(shared);
  CheckHelmertTable(shared / "testdata" / "helmert.csv", kPresets[0]);
  CheckHelmertTable(shared / "testdata" / "helmert_agd66_nsw_vic.csv", kPresets[1]);
}

}  // namespace
}  // namespace tarvo::engine
