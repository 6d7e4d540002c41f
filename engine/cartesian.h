// Conversion between geographic coordinates (latitude, longitude, ellipsoidal height) and
// earth-centred Cartesian X, Y, Z. (Cartesian input to grid coordinates, with its remembered
// first estimate, is a route of the transformation chain: chain/point_chain.h.)
//
// Method: the closed formulas X = (ν + h) cos φ cos λ, Y = (ν + h) cos φ sin λ,
// Z = (ν (1 − e²) + h) sin φ with ν = a / √(1 − e² sin² φ); the inverse by the classical
// fixed-point iteration on tan φ = (Z + e² ν sin φ) / p, p = √(X² + Y²) (as in the GDA
// Technical Manual), at most ten steps, stopping at a step below 1e-9 radians, which reaches
// well below a millimetre (about 0.03 mm) in four steps for Australian points; the GDA2020
// similarity asks for 1e-14 radians, which leaves nothing a double can show.
//
// Assumptions: latitudes are southern and carried as positive radians, so Z = −(...) sin φ
// (Z is negative in the southern hemisphere) and the latitude found is returned as |φ|.
// Longitudes are east positive; the inverse gives the principal value arctan(Y / X) between
// −π/2 and π/2, which for Australian points (X < 0, Y > 0) is the longitude less π. A point on
// the polar axis (X = 0) is outside the area served and not treated specially.
#pragma once

#include "engine/datum_parameters.h"
#include "engine/ellipsoid.h"

namespace tarvo::engine {

struct CartesianPoint {
  double x = 0.0;  // metres
  double y = 0.0;
  double z = 0.0;
};

struct GeodeticPoint {
  double latitude = 0.0;   // radians, south positive
  double longitude = 0.0;  // radians (see each operation for its range)
  double height = 0.0;     // metres above the ellipsoid
};

// Geographic to Cartesian on any ellipsoid.
CartesianPoint GeographicToCartesian(const Ellipsoid& ellipsoid, double latitude, double longitude,
                                     double height);
// On ANS (AGD66, AGD84).
CartesianPoint GeographicToCartesianAgd(double latitude, double longitude, double height);
// On the GDA-side ellipsoid of the transformation settings.
CartesianPoint GeographicToCartesianGda(const DatumParameters& parameters, double latitude,
                                        double longitude, double height);

// The step below which the latitude iteration stops. Each step shrinks the error by about
// e², so a last step under 1e-9 radians (6 mm on the ground) leaves up to 0.034 mm in
// latitude and 0.15 mm in height (measured over Australia); 1e-14 leaves only the rounding,
// at two or three steps more (six or seven in all).
inline constexpr double kLatitudeTolerance = 1e-09;
inline constexpr double kExactLatitudeTolerance = 1e-14;

// Cartesian to geographic on `ellipsoid`, starting the iteration from `firstLatitude`
// (positive south). The longitude is the principal value arctan(Y / X).
GeodeticPoint CartesianToGeographic(const Ellipsoid& ellipsoid, double x, double y, double z,
                                    double firstLatitude, double tolerance = kLatitudeTolerance);

}  // namespace tarvo::engine
