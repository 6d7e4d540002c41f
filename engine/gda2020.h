// GDA94 <-> GDA2020 by the 7-parameter similarity EPSG:8048 ("GDA94 to GDA2020 (1)").
//
// Method: geographic to Cartesian on GRS80, the similarity transformation with the rotations
// applied to the coordinate frame (EPSG method 9607, PROJ's +convention=coordinate_frame;
// the formulas are those of seven_parameter.h), then Cartesian to geographic on GRS80, starting
// from the input latitude. Both datums are on GRS80, so the ellipsoid is fixed here and does
// not follow the GDA-side ellipsoid of the AGD transformation settings.
//
// Parameters, as published in the GDA2020 Technical Manual (ICSM, 2017) and held by the EPSG
// registry:
//   tx +0.06155 m       rx −0.0394924"
//   ty −0.01087 m       ry −0.0327221"
//   tz −0.04019 m       rz −0.0328979"      scale −0.009994 ppm
// The same numbers with the position-vector convention (rotations of the point) move a point
// up to 3.8 m away from the right place; the signs above are for the coordinate frame only.
// On the mainland the transformation moves a point 1.4 to 1.8 m north-north-east.
//
// Reverse (GDA2020 to GDA94): the exact inverse of the similarity (SimilarityReverse), solved
// in closed form, no iteration: a forward and reverse pair returns a point to a few
// nanometres. PROJ's inverse applies the transposed rotation matrix, which differs from the
// exact inverse by the second-order terms of the rotations, 0.5 micrometres here.
//
// Accuracy: the formulas agree with PROJ's Helmert pipeline to about a micrometre (tested on
// PROJ's tables and live); the transformation itself is stated to 0.01 m (EPSG). It is the
// "conformal" change of datum: the states' survey-network distortion, which the
// "conformal and distortion" grids add (up to about 0.3 m), is not in it.
//
// Heights: the geographic forms are three-dimensional. The height given goes into the
// Cartesian step (it moves the latitude and longitude by up to 2e-10 degree), and the height
// returned is the transformed one, a few centimetres from the input. EPSG:8048 as PROJ's
// database applies it is two-dimensional: the latitude and longitude are the same, and the
// input height is passed through; a caller that wants that keeps the height it gave.
//
// Assumptions: latitudes south positive, radians; longitudes east positive, radians, returned
// as the longitude itself (not the principal value less π that SevenParameterForward gives);
// heights ellipsoidal, metres; Cartesian X, Y, Z in metres, earth-centred.
#pragma once

#include "engine/cartesian.h"
#include "engine/datum_parameters.h"
#include "engine/ellipsoid.h"

namespace tarvo::engine {

// EPSG:8048, on GRS80.
inline constexpr DatumParameters kGda94ToGda2020{
    kGrs80Ellipsoid,
    0.06155,
    -0.01087,
    -0.04019,
    -0.0394924 * kRadiansPerArcSecond,
    -0.0327221 * kRadiansPerArcSecond,
    -0.0328979 * kRadiansPerArcSecond,
    -0.009994 * 1e-06,
};

// Cartesian X, Y, Z.
CartesianPoint Gda94ToGda2020(const CartesianPoint& gda94);
CartesianPoint Gda2020ToGda94(const CartesianPoint& gda2020);

// Latitude, longitude and height.
GeodeticPoint Gda94ToGda2020(double latitude, double longitude, double height);
BasicGeodeticPoint<Pair> Gda94ToGda2020(Pair latitude, Pair longitude, Pair height);
GeodeticPoint Gda2020ToGda94(double latitude, double longitude, double height);
BasicGeodeticPoint<Pair> Gda2020ToGda94(Pair latitude, Pair longitude, Pair height);

}  // namespace tarvo::engine
