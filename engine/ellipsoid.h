// The reference ellipsoids of the Australian datums and the figures derived from them.
//
// AGD66 and AGD84 are both on the Australian National Spheroid (ANS, a = 6378160 m,
// 1/f = 298.25); GDA94 is on GRS80 (a = 6378137 m, 1/f = 298.257222101). The derived figures
// (e², 1 − e², e′², the polar radius of curvature c = a / √(1 − e²)) are written out to the
// digits the program has always used, so every result is reproducible to the last printed
// digit; they agree with the figures computed from a and 1/f to about 1e-16 relative.
#pragma once

namespace tarvo::engine {

// An ellipsoid as the Cartesian formulas need it. oneMinusEccentricitySquared is held on its
// own because the user-defined GDA side computes it as (1 − f)², not as 1 − e².
struct Ellipsoid {
  double semiMajorAxis = 0.0;                // a, metres
  double eccentricitySquared = 0.0;          // e² = 2f − f²
  double oneMinusEccentricitySquared = 1.0;  // 1 − e²
};

// Australian National Spheroid (AGD66, AGD84).
inline constexpr double kAnsSemiMajorAxis = 6378160.0;
inline constexpr double kAnsInverseFlattening = 298.25;
inline constexpr double kAnsEccentricitySquared = 0.006694541854587637;
inline constexpr double kAnsOneMinusEccentricitySquared = 0.9933054581454122678;
inline constexpr double kAnsSecondEccentricitySquared = 0.00673966079587132;
inline constexpr double kAnsPolarRadius = 6399617.22455845;

inline constexpr Ellipsoid kAnsEllipsoid{kAnsSemiMajorAxis, kAnsEccentricitySquared,
                                         kAnsOneMinusEccentricitySquared};

// GRS80 (GDA94, GDA2020). Its polar radius is computed from a and 1 − e² where it is needed.
inline constexpr double kGrs80SemiMajorAxis = 6378137.0;
inline constexpr double kGrs80InverseFlattening = 298.257222101;
inline constexpr double kGrs80EccentricitySquared = 0.00669438002290;
inline constexpr double kGrs80OneMinusEccentricitySquared = 0.9933056199770993;
inline constexpr double kGrs80SecondEccentricitySquared = 0.006739496775478856;

// GRS80 as a whole, for the datums fixed on it (GDA94 and GDA2020 in their similarity).
inline constexpr Ellipsoid kGrs80Ellipsoid{kGrs80SemiMajorAxis, kGrs80EccentricitySquared,
                                           kGrs80OneMinusEccentricitySquared};

// Angle units.
inline constexpr double kRadiansPerDegree = 0.017453292519943295;
inline constexpr double kRadiansPerArcSecond = 4.84813681109536e-06;
inline constexpr double kPi = 3.14159265358979323846;

}  // namespace tarvo::engine
