// GDA94 <-> GDA2020 by the similarity EPSG:8048; see gda2020.h.
#include "engine/gda2020.h"

#include <cmath>

#include "engine/seven_parameter.h"

namespace tarvo::engine {
namespace {

// Back to geographic on GRS80 from the input latitude, iterated until only the rounding is
// left: the program's usual 1e-9 radians would leave 0.03 mm, more than the similarity's own
// error. The longitude comes from both coordinates, so it is the longitude itself on either
// side of 90 degrees east.
template <class V>
BasicGeodeticPoint<V> ToGeographic(const BasicCartesianPoint<V>& c, V firstLatitude) {
  BasicGeodeticPoint<V> geodetic =
      CartesianToGeographic(kGrs80Ellipsoid, c.x, c.y, c.z, firstLatitude, kExactLatitudeTolerance);
  geodetic.longitude = Atan2(c.y, c.x);
  return geodetic;
}

// The similarity of a geographic point, forward (GDA94 to GDA2020) or reverse.
template <class V>
BasicGeodeticPoint<V> Moved(V latitude, V longitude, V height, bool forward) {
  const BasicCartesianPoint<V> c =
      GeographicToCartesian(kGrs80Ellipsoid, latitude, longitude, height);
  return ToGeographic(
      forward ? SimilarityForward(kGda94ToGda2020, c) : SimilarityReverse(kGda94ToGda2020, c),
      latitude);
}

}  // namespace

CartesianPoint Gda94ToGda2020(const CartesianPoint& gda94) {
  return SimilarityForward(kGda94ToGda2020, gda94);
}

CartesianPoint Gda2020ToGda94(const CartesianPoint& gda2020) {
  return SimilarityReverse(kGda94ToGda2020, gda2020);
}

GeodeticPoint Gda94ToGda2020(double latitude, double longitude, double height) {
  return Moved(latitude, longitude, height, true);
}

BasicGeodeticPoint<Pair> Gda94ToGda2020(Pair latitude, Pair longitude, Pair height) {
  return Moved(latitude, longitude, height, true);
}

GeodeticPoint Gda2020ToGda94(double latitude, double longitude, double height) {
  return Moved(latitude, longitude, height, false);
}

BasicGeodeticPoint<Pair> Gda2020ToGda94(Pair latitude, Pair longitude, Pair height) {
  return Moved(latitude, longitude, height, false);
}

}  // namespace tarvo::engine
