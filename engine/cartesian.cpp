// Geographic <-> Cartesian conversion; see cartesian.h.
#include "engine/cartesian.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tarvo::engine {
namespace {

constexpr int kMaximumIterations = 10;

// Below this |sin φ| (about 5.7 degrees, north of every Australian territory) the height is
// taken along the equatorial radius instead of the polar axis: −Z / sin φ divides by a
// vanishing number there and is 0/0 on the equator itself.
constexpr double kEquatorialHeightSine = 0.1;

}  // namespace

CartesianPoint GeographicToCartesian(const Ellipsoid& ellipsoid, double latitude, double longitude,
                                     double height) {
  const double sinLatitude = std::sin(latitude);
  const double cosLatitude = std::cos(latitude);
  const double nu = ellipsoid.semiMajorAxis /
                    std::sqrt(1.0 - ellipsoid.eccentricitySquared * sinLatitude * sinLatitude);
  CartesianPoint cartesian;
  cartesian.x = (nu + height) * cosLatitude * std::cos(longitude);
  cartesian.y = (nu + height) * cosLatitude * std::sin(longitude);
  // The minus sign turns the positive southern latitude into the negative Z of the south.
  cartesian.z = -(nu * ellipsoid.oneMinusEccentricitySquared + height) * sinLatitude;
  return cartesian;
}

CartesianPoint GeographicToCartesianAgd(double latitude, double longitude, double height) {
  return GeographicToCartesian(kAnsEllipsoid, latitude, longitude, height);
}

CartesianPoint GeographicToCartesianGda(const DatumParameters& parameters, double latitude,
                                        double longitude, double height) {
  return GeographicToCartesian(parameters.gdaEllipsoid, latitude, longitude, height);
}

GeodeticPoint CartesianToGeographic(const Ellipsoid& ellipsoid, double x, double y, double z,
                                    double firstLatitude, double tolerance) {
  const double a = ellipsoid.semiMajorAxis;
  const double e2 = ellipsoid.eccentricitySquared;
  const double p = std::sqrt(x * x + y * y);

  // The iteration works with the signed (negative, southern) latitude. The first estimate is
  // given positive, so the first step starts slightly off; it still settles in four steps
  // for Australian points.
  //
  // Each step gives tan φ = q; the sine the next step needs is q / √(1 + q²), the sine of
  // arctan q without a library sine, so the arctangent itself only serves the stopping test
  // and the result. The test needs it only near the end: by the mean value theorem
  // |arctan q′ − arctan q| ≥ |q′ − q| / (1 + max(q², q′²)), so while |q′ − q| exceeds four
  // tolerances times 1 + max(q², q′²) the step exceeds four tolerances, and the test fails
  // however the two arctangents are rounded (each within an ulp, some 1e-16). Those steps
  // skip the arctangents; the steps taken, the test and the result are exactly those of
  // computing every one.
  const double sinFirst = std::sin(firstLatitude);
  double nu = a / std::sqrt(1.0 - e2 * sinFirst * sinFirst);
  double tanLatitude = (e2 * nu * sinFirst + z) / p;
  std::optional<double> latitude;  // arctan of tanLatitude, once computed
  for (int iteration = 0; iteration < kMaximumIterations; ++iteration) {
    const double sinLatitude = tanLatitude / std::sqrt(1.0 + tanLatitude * tanLatitude);
    nu = a / std::sqrt(1.0 - e2 * sinLatitude * sinLatitude);
    const double nextTan = (e2 * nu * sinLatitude + z) / p;
    const double slope = 1.0 + std::max(tanLatitude * tanLatitude, nextTan * nextTan);
    if (std::fabs(nextTan - tanLatitude) > 4.0 * tolerance * slope) {
      tanLatitude = nextTan;
      latitude.reset();
      continue;
    }
    if (!latitude) latitude = std::atan(tanLatitude);
    const double next = std::atan(nextTan);
    const bool settled = std::fabs(next - *latitude) < tolerance;
    tanLatitude = nextTan;
    latitude = next;
    if (settled) break;
  }
  if (!latitude) latitude = std::atan(tanLatitude);

  GeodeticPoint geodetic;
  geodetic.latitude = std::fabs(*latitude);
  geodetic.longitude = std::atan(y / x);
  // h = −Z / sin|φ| − ν (1 − e²), with the ν of the step that produced φ. Near the equator
  // the equivalent h = p / cos φ − ν is the well-conditioned one.
  const double secant = std::sqrt(1.0 + tanLatitude * tanLatitude);  // 1 / cos φ
  const double sinLatitude = std::fabs(tanLatitude) / secant;        // sin |φ|
  if (sinLatitude >= kEquatorialHeightSine) {
    geodetic.height = -z / sinLatitude - nu * ellipsoid.oneMinusEccentricitySquared;
  } else {
    geodetic.height = p * secant - nu;
  }
  return geodetic;
}

}  // namespace tarvo::engine
