// The 7-parameter similarity transformation; see seven_parameter.h.
#include "engine/seven_parameter.h"

namespace tarvo::engine {
namespace {

template <class V>
BasicGeodeticPoint<V> Forward(const DatumParameters& p, V latitude, V longitude, V height) {
  const BasicCartesianPoint<V> c =
      SimilarityForward(p, GeographicToCartesian(kAnsEllipsoid, latitude, longitude, height));
  return CartesianToGeographic(p.gdaEllipsoid, c.x, c.y, c.z, latitude);
}

template <class V>
BasicGeodeticPoint<V> Reverse(const DatumParameters& p, V latitude, V longitude, V height) {
  const BasicCartesianPoint<V> c =
      GeographicToCartesian(p.gdaEllipsoid, latitude, longitude, height);
  const double scale = 1.0 - p.scale;
  const V x = scale * (c.x - p.rotationZ * c.y + p.rotationY * c.z) - p.shiftX;
  const V y = scale * (p.rotationZ * c.x + c.y - p.rotationX * c.z) - p.shiftY;
  const V z = scale * (-p.rotationY * c.x + p.rotationX * c.y + c.z) - p.shiftZ;
  BasicGeodeticPoint<V> agd = CartesianToGeographic(kAnsEllipsoid, x, y, z, latitude);
  agd.longitude = Select(agd.longitude < 0.0, agd.longitude + kPi, agd.longitude);
  return agd;
}

}  // namespace

GeodeticPoint SevenParameterForward(const DatumParameters& p, double latitude, double longitude,
                                    double height) {
  return Forward(p, latitude, longitude, height);
}

BasicGeodeticPoint<Pair> SevenParameterForward(const DatumParameters& p, Pair latitude,
                                               Pair longitude, Pair height) {
  return Forward(p, latitude, longitude, height);
}

GeodeticPoint SevenParameterReverse(const DatumParameters& p, double latitude, double longitude,
                                    double height) {
  return Reverse(p, latitude, longitude, height);
}

BasicGeodeticPoint<Pair> SevenParameterReverse(const DatumParameters& p, Pair latitude,
                                               Pair longitude, Pair height) {
  return Reverse(p, latitude, longitude, height);
}

}  // namespace tarvo::engine
