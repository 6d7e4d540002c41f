// Two points side by side (engine/lanes.h) give, bit for bit, what each gives alone: every
// formula with a pair form, over points across Australia and its grids, and the
// Cartesian-to-geographic iteration with the two points taking different numbers of steps.
#include "engine/lanes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "engine/cartesian.h"
#include "engine/datum_parameters.h"
#include "engine/gda2020.h"
#include "engine/seven_parameter.h"
#include "engine/transform_settings.h"
#include "engine/transverse_mercator.h"

namespace tarvo::engine {
namespace {

// A NaN is any NaN: which of two NaNs an operation passes on is not fixed.
std::uint64_t Bits(double value) {
  return std::isnan(value) ? 1 : std::bit_cast<std::uint64_t>(value);
}

struct Three {
  double a, b, c;
};
using Values = std::vector<double>;

template <class V>
Values Fields(const BasicGridPosition<V>& g, std::size_t lane) {
  return {Lane(g.easting, lane), Lane(g.northing, lane), Lane(g.convergence, lane),
          Lane(g.pointScale, lane)};
}
template <class V>
Values Fields(const BasicGeographicPosition<V>& g, std::size_t lane) {
  return {Lane(g.latitude, lane), Lane(g.longitude, lane), Lane(g.convergence, lane)};
}
template <class V>
Values Fields(const BasicGeodeticPoint<V>& g, std::size_t lane) {
  return {Lane(g.latitude, lane), Lane(g.longitude, lane), Lane(g.height, lane)};
}
template <class V>
Values Fields(const BasicCartesianPoint<V>& c, std::size_t lane) {
  return {Lane(c.x, lane), Lane(c.y, lane), Lane(c.z, lane)};
}

// A formula of three inputs, for one point and for two.
struct Formula {
  const char* name;
  std::function<Values(Three)> one;
  std::function<std::array<Values, 2>(Three, Three)> two;
};

// `f` takes three doubles or three pairs.
template <class F>
Formula Make(const char* name, F f) {
  return {name, [f](Three p) { return Fields(f(p.a, p.b, p.c), 0); },
          [f](Three p, Three q) {
            const auto r = f(Pair{p.a, q.a}, Pair{p.b, q.b}, Pair{p.c, q.c});
            return std::array<Values, 2>{Fields(r, 0), Fields(r, 1)};
          }};
}

std::vector<Formula> Formulas() {
  const DatumParameters national = MakeDatumParameters(TransformSettings{});
  std::vector<Formula> formulas;
  for (const int zone : {56, 562}) {
    const ProjectionConstants k = SetZoneConstants(zone, zone < 100);
    formulas.push_back(Make("GeographicToGrid", [k](auto latitude, auto longitude, auto) {
      return GeographicToGrid(k, latitude, longitude);
    }));
    // Eastings 200 to 830 km, northings 5000 to 7300 km.
    formulas.push_back(Make("GridToGeographic", [k](auto latitude, auto longitude, auto) {
      return GridToGeographic(k, 200000.0 + (latitude - 0.16) * 1e6,
                              5e6 + (longitude - 1.88) * 2.5e6);
    }));
  }
  formulas.push_back(
      Make("SevenParameterForward", [national](auto latitude, auto longitude, auto height) {
        return SevenParameterForward(national, latitude, longitude, height);
      }));
  formulas.push_back(
      Make("SevenParameterReverse", [national](auto latitude, auto longitude, auto height) {
        return SevenParameterReverse(national, latitude, longitude, height);
      }));
  formulas.push_back(Make("Gda94ToGda2020", [](auto latitude, auto longitude, auto height) {
    return Gda94ToGda2020(latitude, longitude, height);
  }));
  formulas.push_back(Make("Gda2020ToGda94", [](auto latitude, auto longitude, auto height) {
    return Gda2020ToGda94(latitude, longitude, height);
  }));
  formulas.push_back(Make("GeographicToCartesian", [](auto latitude, auto longitude, auto height) {
    return GeographicToCartesian(kGrs80Ellipsoid, latitude, longitude, height);
  }));
  return formulas;
}

// Latitudes 9 to 45 degrees south, longitudes 108 to 160 east, heights -100 to 3000 m, and
// points no formula can serve.
std::vector<Three> Points() {
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> latitude(0.16, 0.79), longitude(1.88, 2.8),
      height(-100.0, 3000.0);
  std::vector<Three> points;
  for (int i = 0; i < 200; ++i)
    points.push_back({latitude(random), longitude(random), height(random)});
  const double nan = std::numeric_limits<double>::quiet_NaN();
  points.push_back({nan, 2.6, 0.0});
  points.push_back({0.0, 0.0, 0.0});
  points.push_back({1.5707963267948966, 2.6, 0.0});
  points.push_back({0.6, std::numeric_limits<double>::infinity(), 1e300});
  return points;
}

TEST(Lanes, EachOfTwoPointsHasTheBitsItHasAlone) {
  const std::vector<Three> points = Points();
  for (const Formula& formula : Formulas()) {
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
      // Each point beside the next, and beside a point far from it.
      for (const std::size_t j : {i + 1, points.size() - 1 - i}) {
        const std::array<Values, 2> two = formula.two(points[i], points[j]);
        const Values alone[] = {formula.one(points[i]), formula.one(points[j])};
        for (std::size_t lane = 0; lane < 2; ++lane) {
          for (std::size_t k = 0; k < alone[lane].size(); ++k) {
            ASSERT_EQ(Bits(two[lane][k]), Bits(alone[lane][k]))
                << formula.name << " points " << i << ", " << j << " lane " << lane << " value "
                << k;
          }
        }
      }
    }
  }
}

// The iteration's steps depend on the first estimate; two points side by side each take their
// own number of steps, and a point that has settled is not moved by the other's further steps.
TEST(Lanes, CartesianPointsSettleAfterTheirOwnSteps) {
  std::mt19937_64 random(8);
  std::uniform_real_distribution<double> latitude(0.16, 0.79), longitude(1.88, 2.8);
  const double estimates[] = {0.0, 0.5585, 1.2, -0.7};
  for (const double tolerance : {kLatitudeTolerance, kExactLatitudeTolerance}) {
    for (int i = 0; i < 100; ++i) {
      const double phi = latitude(random);
      const CartesianPoint p = GeographicToCartesian(kAnsEllipsoid, phi, longitude(random), 250.0);
      const CartesianPoint q =
          GeographicToCartesian(kAnsEllipsoid, latitude(random), longitude(random), -20.0);
      const double near = phi;  // settles at once
      const double far = estimates[i % 4];
      const GeodeticPoint alone[] = {
          CartesianToGeographic(kAnsEllipsoid, p.x, p.y, p.z, near, tolerance),
          CartesianToGeographic(kAnsEllipsoid, q.x, q.y, q.z, far, tolerance)};
      const BasicGeodeticPoint<Pair> both =
          CartesianToGeographic(kAnsEllipsoid, Pair{p.x, q.x}, Pair{p.y, q.y}, Pair{p.z, q.z},
                                Pair{near, far}, tolerance);
      for (std::size_t lane = 0; lane < 2; ++lane) {
        const GeodeticPoint& want = alone[lane];
        ASSERT_EQ(Bits(Lane(both.latitude, lane)), Bits(want.latitude)) << i << " lane " << lane;
        ASSERT_EQ(Bits(Lane(both.longitude, lane)), Bits(want.longitude)) << i << " lane " << lane;
        ASSERT_EQ(Bits(Lane(both.height, lane)), Bits(want.height)) << i << " lane " << lane;
      }
    }
  }
}

}  // namespace
}  // namespace tarvo::engine
