// Geographic <-> Cartesian conversion; see cartesian.h.
#include "engine/cartesian.h"

#include <algorithm>
#include <cmath>

namespace tarvo::engine {
namespace {

constexpr int kMaximumIterations = 10;

// Below this |sin φ| (about 5.7 degrees, north of every Australian territory) the height is
// taken along the equatorial radius instead of the polar axis: −Z / sin φ divides by a
// vanishing number there and is 0/0 on the equator itself.
constexpr double kEquatorialHeightSine = 0.1;

template <class V>
BasicCartesianPoint<V> ToCartesian(const Ellipsoid& ellipsoid, V latitude, V longitude, V height) {
  const V sinLatitude = Sin(latitude);
  const V cosLatitude = Cos(latitude);
  const V nu = ellipsoid.semiMajorAxis /
               Sqrt(1.0 - ellipsoid.eccentricitySquared * sinLatitude * sinLatitude);
  BasicCartesianPoint<V> cartesian;
  cartesian.x = (nu + height) * cosLatitude * Cos(longitude);
  cartesian.y = (nu + height) * cosLatitude * Sin(longitude);
  // The minus sign turns the positive southern latitude into the negative Z of the south.
  cartesian.z = -(nu * ellipsoid.oneMinusEccentricitySquared + height) * sinLatitude;
  return cartesian;
}

template <class V>
BasicGeodeticPoint<V> ToGeographic(const Ellipsoid& ellipsoid, V x, V y, V z, V firstLatitude,
                                   double tolerance) {
  constexpr std::size_t kCount = kLanes<V>;
  const double a = ellipsoid.semiMajorAxis;
  const double e2 = ellipsoid.eccentricitySquared;
  const V p = Sqrt(x * x + y * y);

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
  //
  // Two points take their steps side by side; a point that has settled keeps its values
  // while the other goes on, so each ends with the values of its own steps.
  const V sinFirst = Sin(firstLatitude);
  V nu = a / Sqrt(1.0 - e2 * sinFirst * sinFirst);
  V tanLatitude = (e2 * nu * sinFirst + z) / p;
  V latitude{};             // arctan of tanLatitude, where known
  bool known[kCount] = {};  // whether `latitude` holds it
  bool settled[kCount] = {};
  for (int iteration = 0; iteration < kMaximumIterations; ++iteration) {
    const V sinLatitude = tanLatitude / Sqrt(1.0 + tanLatitude * tanLatitude);
    const V nextNu = a / Sqrt(1.0 - e2 * sinLatitude * sinLatitude);
    const V nextTan = (e2 * nextNu * sinLatitude + z) / p;
    bool going = false;
    for (std::size_t lane = 0; lane < kCount; ++lane) {
      if (settled[lane]) continue;
      const double q = Lane(tanLatitude, lane);
      const double next = Lane(nextTan, lane);
      SetLane(nu, lane, Lane(nextNu, lane));
      SetLane(tanLatitude, lane, next);
      const double slope = 1.0 + std::max(q * q, next * next);
      if (std::fabs(next - q) > 4.0 * tolerance * slope) {
        known[lane] = false;
        going = true;
        continue;
      }
      const double previous = known[lane] ? Lane(latitude, lane) : std::atan(q);
      const double nextLatitude = std::atan(next);
      SetLane(latitude, lane, nextLatitude);
      known[lane] = true;
      settled[lane] = std::fabs(nextLatitude - previous) < tolerance;
      going = going || !settled[lane];
    }
    if (!going) break;
  }
  for (std::size_t lane = 0; lane < kCount; ++lane) {
    if (!known[lane]) SetLane(latitude, lane, std::atan(Lane(tanLatitude, lane)));
  }

  BasicGeodeticPoint<V> geodetic;
  geodetic.latitude = Abs(latitude);
  geodetic.longitude = Atan(y / x);
  // h = −Z / sin|φ| − ν (1 − e²), with the ν of the step that produced φ. Near the equator
  // the equivalent h = p / cos φ − ν is the well-conditioned one.
  const V secant = Sqrt(1.0 + tanLatitude * tanLatitude);  // 1 / cos φ
  const V sinLatitude = Abs(tanLatitude) / secant;         // sin |φ|
  geodetic.height =
      Select(sinLatitude >= kEquatorialHeightSine,
             -z / sinLatitude - nu * ellipsoid.oneMinusEccentricitySquared, p * secant - nu);
  return geodetic;
}

}  // namespace

CartesianPoint GeographicToCartesian(const Ellipsoid& ellipsoid, double latitude, double longitude,
                                     double height) {
  return ToCartesian(ellipsoid, latitude, longitude, height);
}

BasicCartesianPoint<Pair> GeographicToCartesian(const Ellipsoid& ellipsoid, Pair latitude,
                                                Pair longitude, Pair height) {
  return ToCartesian(ellipsoid, latitude, longitude, height);
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
  return ToGeographic(ellipsoid, x, y, z, firstLatitude, tolerance);
}

BasicGeodeticPoint<Pair> CartesianToGeographic(const Ellipsoid& ellipsoid, Pair x, Pair y, Pair z,
                                               Pair firstLatitude, double tolerance) {
  return ToGeographic(ellipsoid, x, y, z, firstLatitude, tolerance);
}

}  // namespace tarvo::engine
