// The 7-parameter similarity transformation; see seven_parameter.h.
#include "engine/seven_parameter.h"

namespace tarvo::engine {

GeodeticPoint SevenParameterForward(const DatumParameters& p, double latitude, double longitude,
                                    double height) {
  const CartesianPoint c = GeographicToCartesianAgd(latitude, longitude, height);
  const double scale = 1.0 + p.scale;
  const double x = p.shiftX + scale * (c.x + p.rotationZ * c.y - p.rotationY * c.z);
  const double y = p.shiftY + scale * (-p.rotationZ * c.x + c.y + p.rotationX * c.z);
  const double z = p.shiftZ + scale * (p.rotationY * c.x - p.rotationX * c.y + c.z);
  return CartesianToGeographic(p.gdaEllipsoid, x, y, z, latitude);
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
