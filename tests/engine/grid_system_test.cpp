#include "engine/grid_system.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine/ellipsoid.h"
#include "engine/projection_constants.h"
#include "engine/transform_settings.h"

namespace tarvo::engine {
namespace {

TEST(TransformSettings, FreshSettingsHoldTheNationalSetAndHighAccuracy) {
  const TransformSettings settings;
  EXPECT_EQ(settings.latitude, 32.533);
  EXPECT_EQ(settings.longitude, 151.423);
  EXPECT_EQ(settings.semiMajorAxis, "6378137.0");
  EXPECT_EQ(settings.inverseFlattening, "298.257222101");
  const std::vector<std::string> national = {"-117.763", "-51.510", "139.061", "-0.292",
                                             "-0.443",   "-0.277",  "-0.191"};
  EXPECT_EQ((std::vector<std::string>{settings.shiftX, settings.shiftY, settings.shiftZ,
                                      settings.rotationX, settings.rotationY, settings.rotationZ,
                                      settings.scalePpm}),
            national);
  EXPECT_EQ(settings.parameterSet, 0);
  EXPECT_EQ(settings.accuracyMethod, AccuracyMethod::High);
  EXPECT_EQ(settings.inputFormat, "DDD.MMSSsssss");
  const std::string degreeSign(1, static_cast<char>(0xB0));
  EXPECT_EQ(settings.outputFormat, "DDD" + degreeSign + " MM' SS.ssss\"")
      << "the degree sign is the single byte 0xB0, followed by a blank";
}

// ---------------------------------------------------------------------------------------------
// Zone constants.

TEST(SetZoneConstants, CentralMeridiansOfEachGridSystem) {
  struct Case {
    int zone;
    bool datumIsGda;
    double centralMeridianDegrees;
  };
  const Case cases[] = {{49, true, 111},   {56, true, 153},   {49, false, 111},  {56, false, 153},
                        {541, false, 139}, {542, false, 141}, {553, false, 149}, {561, false, 151},
                        {563, false, 155}, {5, true, 136},    {10, false, 161}};
  for (const Case& c : cases) {
    EXPECT_NEAR(SetZoneConstants(c.zone, c.datumIsGda).centralMeridian,
                c.centralMeridianDegrees * kRadiansPerDegree, 1e-15)
        << "zone " << c.zone << (c.datumIsGda ? " GDA" : " AGD");
  }
}

// The written-out figures of each constant set must be those of its ellipsoid: the arc
// coefficients the series in e² = e'² / (1 + e'²), the polar radius a / sqrt(1 - e²).
TEST(SetZoneConstants, EachSetIsConsistentWithItsEllipsoid) {
  struct Case {
    const char* name;
    int zone;
    bool datumIsGda;
    double semiMajorAxis;
  };
  const Case cases[] = {{"GRS80", 56, true, 6378137.0},
                        {"ANS", 56, false, 6378160.0},
                        {"ANS (ISG)", 561, false, 6378160.0},
                        {"legacy, GDA side", 7, true, 6975449.333},
                        {"legacy, AGD side", 7, false, 6975449.333}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto k = SetZoneConstants(c.zone, c.datumIsGda);
    EXPECT_EQ(k.semiMajorAxis, c.semiMajorAxis);
    const double e2 = k.secondEccentricitySquared / (1.0 + k.secondEccentricitySquared);
    const double e4 = e2 * e2;
    const double e6 = e4 * e2;
    EXPECT_NEAR(k.arcA0, 1.0 - e2 / 4.0 - 3.0 * e4 / 64.0 - 5.0 * e6 / 256.0, 1e-14);
    EXPECT_NEAR(k.arcA2 / (3.0 / 8.0 * (e2 + e4 / 4.0 + 15.0 * e6 / 128.0)), 1.0, 1e-14);
    EXPECT_NEAR(k.arcA4 / (15.0 / 256.0 * (e4 + 3.0 * e6 / 4.0)), 1.0, 1e-14);
    EXPECT_NEAR(k.arcA6 / (35.0 * e6 / 3072.0), 1.0, 1e-14);
    EXPECT_NEAR(k.polarRadius, k.semiMajorAxis / std::sqrt(1.0 - e2), 1e-6);
  }
  EXPECT_NEAR(SetZoneConstants(56, false).secondEccentricitySquared,
              kAnsEccentricitySquared / kAnsOneMinusEccentricitySquared, 1e-17);
  EXPECT_NEAR(SetZoneConstants(56, true).secondEccentricitySquared,
              kGrs80EccentricitySquared / kGrs80OneMinusEccentricitySquared, 1e-15);
}

TEST(SetZoneConstants, GridConstantsOfEachSystem) {
  struct Case {
    int zone;
    bool datumIsGda;
    double centralScaleFactor, falseEasting, falseNorthing, northingSign;
  };
  const Case cases[] = {{56, true, 0.9996, 500000.0, 10000000.0, -1.0},
                        {49, false, 0.9996, 500000.0, 10000000.0, -1.0},
                        {563, false, 0.99994, 300000.0, 5000000.0, -1.0},
                        {10, true, 1.0, 400000.0, 4915813.46818737, 1.0},
                        {-3, false, 1.0, 400000.0, 4915813.46818737, 1.0}};
  for (const Case& c : cases) {
    const auto k = SetZoneConstants(c.zone, c.datumIsGda);
    EXPECT_EQ(k.centralScaleFactor, c.centralScaleFactor) << "zone " << c.zone;
    EXPECT_EQ(k.falseEasting, c.falseEasting) << "zone " << c.zone;
    EXPECT_EQ(k.falseNorthing, c.falseNorthing) << "zone " << c.zone;
    EXPECT_EQ(k.northingSign, c.northingSign) << "zone " << c.zone;
  }
}

TEST(SetZoneConstants, AnyTypedZoneNumberGivesFiniteConstants) {
  for (int zone : {std::numeric_limits<int>::min(), -1, 0, 11, 60, 61, 99999,
                   std::numeric_limits<int>::max()}) {
    for (bool datumIsGda : {true, false}) {
      EXPECT_TRUE(std::isfinite(SetZoneConstants(zone, datumIsGda).centralMeridian))
          << "zone " << zone;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Zone rules of the user interface and the file reader.

TEST(ZoneFromLongitude, ProposesTheZoneOfAPackedLongitude) {
  struct Case {
    double packedLongitude;
    int zone;
    int isgZone;
  };
  const Case cases[] = {
      {151.423, 56, 561}, {150.0, 56, 561},    {151.5959, 56, 561}, {152.0, 56, 562},
      {155.3, 56, 563},   {149.5959, 55, 553}, {138.0, 54, 541},    {114.0, 50, 501},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ZoneFromLongitude(c.packedLongitude, GridSystem::kMga), c.zone) << c.packedLongitude;
    EXPECT_EQ(ZoneFromLongitude(c.packedLongitude, GridSystem::kAmg), c.zone) << c.packedLongitude;
    EXPECT_EQ(ZoneFromLongitude(c.packedLongitude, GridSystem::kIsg), c.isgZone)
        << c.packedLongitude;
  }
}

TEST(ZoneText, SixDegreeZonesHaveATrailingBlankIsgZonesThreeDigits) {
  EXPECT_EQ(ZoneText(56, GridSystem::kMga), "56 ");
  EXPECT_EQ(ZoneText(5, GridSystem::kAmg), " 5 ");
  EXPECT_EQ(ZoneText(561, GridSystem::kIsg), "561");
}

TEST(ZoneTextForSystem, RewritesBetweenSixDegreeAndIsgZones) {
  struct Case {
    const char* zoneText;
    std::string_view newSystem;
    const char* expected;
  };
  const Case cases[] = {
      {"55", GridSystem::kIsg, "551"},  {"56 ", GridSystem::kIsg, "561"},
      {"552", GridSystem::kMga, "55 "}, {"563", GridSystem::kAmg, "56 "},
      {"561", GridSystem::kIsg, "561"}, {"55", GridSystem::kMga, "55"},
      {"5", GridSystem::kIsg, " 51"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ZoneTextForSystem(c.zoneText, c.newSystem), c.expected)
        << "\"" << c.zoneText << "\" switched to " << c.newSystem;
  }
}

TEST(ZonesOffered, SixDegreeZonesOrIsgZones) {
  const std::vector<std::string> sixDegree = {"49", "50", "51", "52", "53", "54", "55", "56"};
  EXPECT_EQ(ZonesOffered(GridSystem::kAmg), sixDegree);
  EXPECT_EQ(ZonesOffered(GridSystem::kMga), sixDegree);
  EXPECT_EQ(
      ZonesOffered(GridSystem::kIsg),
      (std::vector<std::string>{"541", "542", "543", "551", "552", "553", "561", "562", "563"}));
}

TEST(IsValidRecordZone, AcceptsSixDegreeAndIsgZonesOnly) {
  for (const char* valid : {"49", "50", "56", "541", "553", "563"}) {
    EXPECT_TRUE(IsValidRecordZone(valid)) << "\"" << valid << "\"";
  }
  for (const char* invalid : {"48", "57", "571", "544", "5611", "", "5", " 5", "56 ", "5x1"}) {
    EXPECT_FALSE(IsValidRecordZone(invalid)) << "\"" << invalid << "\"";
  }
}

TEST(IsGda, OnlyTheMgaSystem) {
  EXPECT_TRUE(IsGda(GridSystem::kMga));
  EXPECT_FALSE(IsGda(GridSystem::kAmg));
  EXPECT_FALSE(IsGda(GridSystem::kIsg));
  EXPECT_FALSE(IsGda("gda/mga")) << "system texts compare byte for byte";
}

}  // namespace
}  // namespace tarvo::engine
