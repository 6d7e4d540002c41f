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
// The similarity of Cartesian coordinates, and its exact inverse (above); V is a double, or a
// Pair for two points (engine/lanes.h).
template <class V>
BasicCartesianPoint<V> SimilarityForward(const DatumParameters& p,
                                         const BasicCartesianPoint<V>& c) {
  const double scale = 1.0 + p.scale;
  return {p.shiftX + scale * (c.x + p.rotationZ * c.y - p.rotationY * c.z),
          p.shiftY + scale * (-p.rotationZ * c.x + c.y + p.rotationX * c.z),
          p.shiftZ + scale * (p.rotationY * c.x - p.rotationX * c.y + c.z)};
}

template <class V>
BasicCartesianPoint<V> SimilarityReverse(const DatumParameters& p,
                                         const BasicCartesianPoint<V>& c) {
  const double scale = 1.0 + p.scale;
  const V dx = (c.x - p.shiftX) / scale;
  const V dy = (c.y - p.shiftY) / scale;
  const V dz = (c.z - p.shiftZ) / scale;
  // ω · d and 1 + |ω|²: the second-order terms of the inverse rotation.
  const V along = p.rotationX * dx + p.rotationY * dy + p.rotationZ * dz;
  const double norm =
      1.0 + p.rotationX * p.rotationX + p.rotationY * p.rotationY + p.rotationZ * p.rotationZ;
  return {(dx - p.rotationZ * dy + p.rotationY * dz + p.rotationX * along) / norm,
          (p.rotationZ * dx + dy - p.rotationX * dz + p.rotationY * along) / norm,
          (-p.rotationY * dx + p.rotationX * dy + dz + p.rotationZ * along) / norm};
}

// The datum change of a point, forward (AGD to GDA94) and reverse; for one point or two.
GeodeticPoint SevenParameterForward(const DatumParameters& parameters, double latitude,
                                    double longitude, double height);
BasicGeodeticPoint<Pair> SevenParameterForward(const DatumParameters& parameters, Pair latitude,
                                               Pair longitude, Pair height);

GeodeticPoint SevenParameterReverse(const DatumParameters& parameters, double latitude,
                                    double longitude, double height);
BasicGeodeticPoint<Pair> SevenParameterReverse(const DatumParameters& parameters, Pair latitude,
                                               Pair longitude, Pair height);

}  // namespace tarvo::engine
