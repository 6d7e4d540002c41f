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
#include "engine/lanes.h"

namespace tarvo::engine {

// V is a double, or a Pair for two points (engine/lanes.h).
template <class V>
struct BasicCartesianPoint {
  V x{};  // metres
  V y{};
  V z{};
};
using CartesianPoint = BasicCartesianPoint<double>;

template <class V>
struct BasicGeodeticPoint {
  V latitude{};   // radians, south positive
  V longitude{};  // radians (see each operation for its range)
  V height{};     // metres above the ellipsoid
};
using GeodeticPoint = BasicGeodeticPoint<double>;

// Geographic to Cartesian on any ellipsoid; for one point or two.
CartesianPoint GeographicToCartesian(const Ellipsoid& ellipsoid, double latitude, double longitude,
                                     double height);
BasicCartesianPoint<Pair> GeographicToCartesian(const Ellipsoid& ellipsoid, Pair latitude,
                                                Pair longitude, Pair height);
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
// (positive south). The longitude is the principal value arctan(Y / X). For one point or two;
// each of two points takes the steps it would take alone.
GeodeticPoint CartesianToGeographic(const Ellipsoid& ellipsoid, double x, double y, double z,
                                    double firstLatitude, double tolerance = kLatitudeTolerance);
BasicGeodeticPoint<Pair> CartesianToGeographic(const Ellipsoid& ellipsoid, Pair x, Pair y, Pair z,
                                               Pair firstLatitude,
                                               double tolerance = kLatitudeTolerance);

}  // namespace tarvo::engine
