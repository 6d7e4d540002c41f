// The "Medium Accuracy" datum change between AGD (AGD66 or AGD84, on ANS) and GDA94: a
// 7-parameter similarity transformation of Cartesian coordinates.
//
// Method: geographic to Cartesian on the source ellipsoid, the similarity transformation with
// the rotations applied to the coordinate frame (the convention of EPSG methods 1032/9607;
// the published National and Regional sets, EPSG 1280 and 1460, use it), then Cartesian to
// geographic on the target ellipsoid, starting from the input latitude.
//
//   forward   X′ = tx + (1 + s)( X + rz Y − ry Z)
//             Y′ = ty + (1 + s)(−rz X + Y + rx Z)
//             Z′ = tz + (1 + s)( ry X − rx Y + Z)
//   reverse   X = (1 − s)( X′ − rz Y′ + ry Z′) − tx
//             Y = (1 − s)( rz X′ + Y′ − rx Z′) − ty
//             Z = (1 − s)(−ry X′ + rx Y′ + Z′) − tz
//
// The reverse is the first-order inverse (the translations are taken off after scaling), so a
// forward and reverse pair returns a point to within a millimetre, not exactly. The exact
// inverse (SimilarityReverse below) serves the GDA94 <-> GDA2020 similarity (gda2020.h): the
// AGD reverse keeps the first-order form, whose results the program has always given.
//
// Accuracy: the formulas are exact for the parameters given; the datum change itself is good
// to about a metre (the parameters' own accuracy). Assumptions: latitudes south positive,
// radians; heights ellipsoidal, metres.
#pragma once

#include "engine/cartesian.h"
#include "engine/datum_parameters.h"

namespace tarvo::engine {

// The similarity on Cartesian coordinates: the forward formulas above.
CartesianPoint SimilarityForward(const DatumParameters& parameters, const CartesianPoint& point);

// The exact inverse of SimilarityForward, solved in closed form. With d = (X′ − t) / (1 + s)
// the forward is d = R X, R = I + K, K the skew matrix of the rotations (K v = v × ω,
// ω = (rx, ry, rz)). Since K ω = 0 and K² = ω ωᵀ − |ω|² I,
//   R⁻¹ = (I − K + ω ωᵀ) / (1 + |ω|²),
// so X = (d − K d + ω (ω · d)) / (1 + |ω|²): the first-order reverse plus the second-order
// terms, 0.5 micrometres for the GDA2020 rotations (0.06" in all). A forward and reverse pair
// returns a point to the rounding of the arithmetic (a few nanometres at the earth's radius).
CartesianPoint SimilarityReverse(const DatumParameters& parameters, const CartesianPoint& point);

// AGD (ANS) to GDA94 (the parameters' ellipsoid). The longitude returned is the principal
// value arctan(Y′ / X′), between −π/2 and π/2: for Australian points it is the longitude less
// π, and the callers add π.
GeodeticPoint SevenParameterForward(const DatumParameters& parameters, double latitude,
                                    double longitude, double height);

// GDA94 (the parameters' ellipsoid) to AGD (ANS), with the same parameter values. The
// longitude returned is arctan(Y / X), plus π when that is negative.
GeodeticPoint SevenParameterReverse(const DatumParameters& parameters, double latitude,
                                    double longitude, double height);

}  // namespace tarvo::engine
