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

#include "engine/projection_constants.h"

namespace tarvo::engine {

struct GridPosition {
  double easting = 0.0;      // metres
  double northing = 0.0;     // metres
  double convergence = 0.0;  // radians, positive east of the central meridian
  double pointScale = 0.0;   // k
};

struct GeographicPosition {
  double latitude = 0.0;     // radians, south positive
  double longitude = 0.0;    // radians, east positive
  double convergence = 0.0;  // radians, positive east of the central meridian
};

// Forward projection into the zone of `constants`.
GridPosition GeographicToGrid(const ProjectionConstants& constants, double latitude,
                              double longitude);

// Inverse projection from the zone of `constants`. It gives no point scale; a caller that
// needs it projects the result forward again.
GeographicPosition GridToGeographic(const ProjectionConstants& constants, double easting,
                                    double northing);

}  // namespace tarvo::engine
