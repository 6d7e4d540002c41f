// Transverse Mercator projection of the Australian grids (AMG, MGA, ISG) by Redfearn's
// series.
//
// Method: Redfearn, J.C.B. (1948), "Transverse Mercator formulae", Empire Survey Review 69,
// in the form published for GDA94 in the Geocentric Datum of Australia Technical Manual
// (ICSM): the easting, northing, convergence and point scale series to the 8th power of the
// longitude difference, the meridian distance by the A0..A6 series, and the inverse from a
// foot-point latitude.
//
// Accuracy, against the exact Transverse Mercator (tested with PROJ in every zone, latitudes
// 0 to 50 degrees south): within the zone and up to 1.5 degrees past its edge the easting and
// northing agree to 0.3 mm (most of it the meridian-arc series, which is truncated at e⁶),
// the convergence to 0.0001" and the point scale to 1e-8. The inverse takes exactly three
// fixed-point steps for the foot-point latitude, with no convergence test, so every result is
// reproducible to the digit; that leaves up to 0.7 mm in latitude near 15 degrees south,
// less than 0.15 mm south of 32 degrees. Farther
// out the series drifts: about 5 mm at 9 degrees from the central meridian, 4 cm at 12.
//
// Assumptions: latitudes are southern and carried as positive radians (the projection never
// receives a northern latitude), longitudes east positive, all in radians; grid convergence is
// positive east of the central meridian. Nothing guards against latitudes near 90 degrees or
// points far from the zone: the callers' angle and zone checks keep inputs in range.
#pragma once

#include "engine/lanes.h"
#include "engine/projection_constants.h"

namespace tarvo::engine {

// V is a double, or a Pair for two points (engine/lanes.h).
template <class V>
struct BasicGridPosition {
  V easting{};      // metres
  V northing{};     // metres
  V convergence{};  // radians, positive east of the central meridian
  V pointScale{};   // k
};
using GridPosition = BasicGridPosition<double>;

template <class V>
struct BasicGeographicPosition {
  V latitude{};     // radians, south positive
  V longitude{};    // radians, east positive
  V convergence{};  // radians, positive east of the central meridian
};
using GeographicPosition = BasicGeographicPosition<double>;

// Forward projection into the zone of `constants`; for one point or two.
GridPosition GeographicToGrid(const ProjectionConstants& constants, double latitude,
                              double longitude);
BasicGridPosition<Pair> GeographicToGrid(const ProjectionConstants& constants, Pair latitude,
                                         Pair longitude);

// Inverse projection from the zone of `constants`; for one point or two. It gives no point
// scale; a caller that needs it projects the result forward again.
GeographicPosition GridToGeographic(const ProjectionConstants& constants, double easting,
                                    double northing);
BasicGeographicPosition<Pair> GridToGeographic(const ProjectionConstants& constants, Pair easting,
                                               Pair northing);

}  // namespace tarvo::engine
