// The constants of one Transverse Mercator zone on one datum side.
//
// SetZoneConstants selects them for a zone number; the projection (transverse_mercator.h)
// takes them as an argument, so a projection always uses the zone it was given.
//
//   zone > 10, GDA side        GRS80, MGA: k0 0.9996, FE 500000, FN 10000000, CM (6z - 183) deg
//   10 < zone <= 60, AGD side  ANS, AMG: the same grid constants
//   zone > 60, AGD side        ANS, ISG: k0 0.99994, FE 300000, FN 5000000,
//                              CM (2 (z - 7 (z div 10)) - 187) deg
//   zone <= 10, either side    a legacy 5-degree grid on its own figure (a 6975449.333 m,
//                              k0 1, FE 400000, FN 4915813.46818737, CM (5z + 111) deg) whose
//                              northing grows southwards; such zones can only be typed into
//                              a zone box, never chosen from a list or read from a file.
//
// The meridian-arc coefficients are those of the series
//   A0 = 1 - e²/4 - 3e⁴/64 - 5e⁶/256, A2 = 3/8 (e² + e⁴/4 + 15e⁶/128),
//   A4 = 15/256 (e⁴ + 3e⁶/4),         A6 = 35e⁶/3072,
// written out to the digits the program has always used.
#pragma once

namespace tarvo::engine {

struct ProjectionConstants {
  double falseNorthing = 0.0;       // metres
  double falseEasting = 0.0;        // metres
  double centralMeridian = 0.0;     // radians
  double centralScaleFactor = 0.0;  // k0
  double arcA6 = 0.0;               // meridian-arc series coefficients
  double arcA4 = 0.0;
  double arcA2 = 0.0;
  double arcA0 = 0.0;
  double polarRadius = 0.0;                // c = a / sqrt(1 - e²), metres
  double secondEccentricitySquared = 0.0;  // e'²
  double semiMajorAxis = 0.0;              // a, metres
  // N = FN + northingSign k0 M: -1 for the southern grids (the northing falls from the false
  // northing as the positive southern latitude grows), +1 for the zones of 10 or less.
  double northingSign = -1.0;
};

// The constants of `zone` on the GDA94 side (datumIsGda) or the AGD side. The datum side
// follows the grid system being projected: "GDA/MGA" is GDA, "AGD/AMG" and "AGD/ISG" are AGD.
ProjectionConstants SetZoneConstants(int zone, bool datumIsGda);

}  // namespace tarvo::engine
