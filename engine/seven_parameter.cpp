// The 7-parameter similarity transformation; see seven_parameter.h.
#include "engine/seven_parameter.h"

namespace tarvo::engine {

CartesianPoint SimilarityForward(const DatumParameters& p, const CartesianPoint& c) {
  const double scale = 1.0 + p.scale;
  return {p.shiftX + scale * (c.x + p.rotationZ * c.y - p.rotationY * c.z),
          p.shiftY + scale * (-p.rotationZ * c.x + c.y + p.rotationX * c.z),
          p.shiftZ + scale * (p.rotationY * c.x - p.rotationX * c.y + c.z)};
}

CartesianPoint SimilarityReverse(const DatumParameters& p, const CartesianPoint& c) {
  const double scale = 1.0 + p.scale;
  const double dx = (c.x - p.shiftX) / scale;
  const double dy = (c.y - p.shiftY) / scale;
  const double dz = (c.z - p.shiftZ) / scale;
  // ω · d and 1 + |ω|²: the second-order terms of the inverse rotation.
  const double along = p.rotationX * dx + p.rotationY * dy + p.rotationZ * dz;
  const double norm =
      1.0 + p.rotationX * p.rotationX + p.rotationY * p.rotationY + p.rotationZ * p.rotationZ;
  return {(dx - p.rotationZ * dy + p.rotationY * dz + p.rotationX * along) / norm,
          (p.rotationZ * dx + dy - p.rotationX * dz + p.rotationY * along) / norm,
          (-p.rotationY * dx + p.rotationX * dy + dz + p.rotationZ * along) / norm};
}

GeodeticPoint SevenParameterForward(const DatumParameters& p, double latitude, double longitude,
                                    double height) {
  const CartesianPoint c =
      SimilarityForward(p, GeographicToCartesianAgd(latitude, longitude, height));
  return CartesianToGeographic(p.gdaEllipsoid, c.x, c.y, c.z, latitude);
}

GeodeticPoint SevenParameterReverse(const DatumParameters& p, double latitude, double longitude,
                                    double height) {
  const CartesianPoint c = GeographicToCartesianGda(p, latitude, longitude, height);
  const double scale = 1.0 - p.scale;
  const double x = scale * (c.x - p.rotationZ * c.y + p.rotationY * c.z) - p.shiftX;
  const double y = scale * (p.rotationZ * c.x + c.y - p.rotationX * c.z) - p.shiftY;
  const double z = scale * (-p.rotationY * c.x + p.rotationX * c.y + c.z) - p.shiftZ;
  GeodeticPoint agd = CartesianToGeographic(kAnsEllipsoid, x, y, z, latitude);
  if (agd.longitude < 0.0) agd.longitude += kPi;
  return agd;
}

}  // namespace tarvo::engine
