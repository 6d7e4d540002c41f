// Zone selection: the constants of each grid system; see projection_constants.h.
#include "engine/projection_constants.h"

#include <cmath>

#include "engine/ellipsoid.h"

namespace tarvo::engine {
namespace {

// Meridian-arc coefficients of GRS80 and ANS.
constexpr double kGrs80ArcA0 = 0.9983242984445848;
constexpr double kGrs80ArcA2 = 0.0025146070728447817;
constexpr double kGrs80ArcA4 = 2.6390466202308188e-06;
constexpr double kGrs80ArcA6 = 3.418046136775059e-09;
constexpr double kAnsArcA0 = 0.998324257884672;
constexpr double kAnsArcA2 = 0.00251466796381653;
constexpr double kAnsArcA4 = 2.63917453450057e-06;
constexpr double kAnsArcA6 = 3.41829402898131e-09;

// The 6-degree grids (AMG, MGA).
constexpr double kUtmScaleFactor = 0.9996;
constexpr double kUtmFalseEasting = 500000.0;
constexpr double kUtmFalseNorthing = 10000000.0;

// The 2-degree Integrated Survey Grid.
constexpr double kIsgScaleFactor = 0.99994;
constexpr double kIsgFalseEasting = 300000.0;
constexpr double kIsgFalseNorthing = 5000000.0;

// The legacy 5-degree grid of the zones 10 or less, with its own figure; the coefficients
// follow the series of the header with e² = e'² / (1 + e'²).
constexpr double kLegacySemiMajorAxis = 6975449.333;
constexpr double kLegacySecondEccentricitySquared = 0.00683151450383598;
constexpr double kLegacyPolarRadius = 6999235.2203798;
constexpr double kLegacyArcA0 = 0.998301545454508;
constexpr double kLegacyArcA2 = 0.00254876541950138;
constexpr double kLegacyArcA4 = 2.71129108380052e-06;
constexpr double kLegacyArcA6 = 3.55899530211461e-09;
constexpr double kLegacyScaleFactor = 1.0;
constexpr double kLegacyFalseEasting = 400000.0;
constexpr double kLegacyFalseNorthing = 4915813.46818737;

// The zone arithmetic is done in doubles: a zone typed into a zone box may be any int, and
// the products must not overflow.
void SetUtmGrid(ProjectionConstants& constants, int zone) {
  constants.centralScaleFactor = kUtmScaleFactor;
  constants.falseEasting = kUtmFalseEasting;
  constants.falseNorthing = kUtmFalseNorthing;
  constants.centralMeridian = (6.0 * zone - 183.0) * kRadiansPerDegree;
}

}  // namespace

ProjectionConstants SetZoneConstants(int zone, bool datumIsGda) {
  ProjectionConstants constants;
  if (zone <= 10) {
    constants.semiMajorAxis = kLegacySemiMajorAxis;
    constants.secondEccentricitySquared = kLegacySecondEccentricitySquared;
    constants.polarRadius = kLegacyPolarRadius;
    constants.arcA0 = kLegacyArcA0;
    constants.arcA2 = kLegacyArcA2;
    constants.arcA4 = kLegacyArcA4;
    constants.arcA6 = kLegacyArcA6;
    constants.centralScaleFactor = kLegacyScaleFactor;
    constants.falseEasting = kLegacyFalseEasting;
    constants.falseNorthing = kLegacyFalseNorthing;
    constants.centralMeridian = (5.0 * zone + 111.0) * kRadiansPerDegree;
    constants.northingSign = 1.0;
    return constants;
  }

  if (datumIsGda) {
    constants.semiMajorAxis = kGrs80SemiMajorAxis;
    constants.secondEccentricitySquared = kGrs80SecondEccentricitySquared;
    constants.polarRadius = kGrs80SemiMajorAxis / std::sqrt(kGrs80OneMinusEccentricitySquared);
    constants.arcA0 = kGrs80ArcA0;
    constants.arcA2 = kGrs80ArcA2;
    constants.arcA4 = kGrs80ArcA4;
    constants.arcA6 = kGrs80ArcA6;
    SetUtmGrid(constants, zone);
    return constants;
  }

  constants.semiMajorAxis = kAnsSemiMajorAxis;
  constants.secondEccentricitySquared = kAnsSecondEccentricitySquared;
  constants.polarRadius = kAnsPolarRadius;
  constants.arcA0 = kAnsArcA0;
  constants.arcA2 = kAnsArcA2;
  constants.arcA4 = kAnsArcA4;
  constants.arcA6 = kAnsArcA6;
  if (zone <= 60) {
    SetUtmGrid(constants, zone);
  } else {
    // ISG zone 10Z + s (6-degree zone Z, sub-zone s): z - 7 (z div 10) = 3Z + s, so the
    // central meridian 2 (3Z + s) - 187 is (6Z - 183) + 2s - 4: the sub-zones are centred
    // 2 degrees west of, on, and 2 degrees east of the 6-degree zone's meridian.
    constants.centralScaleFactor = kIsgScaleFactor;
    constants.falseEasting = kIsgFalseEasting;
    constants.falseNorthing = kIsgFalseNorthing;
    constants.centralMeridian = (2.0 * (zone - 7 * (zone / 10)) - 187.0) * kRadiansPerDegree;
  }
  return constants;
}

}  // namespace tarvo::engine
