// The first latitude estimate of the Cartesian-to-geographic iteration, and what it means for a
// batch run that remembers the last latitude found as the next record's estimate.
//
// The iteration stops at the first step below 1e-9 radians, so where it stops, and the last
// bits of the latitude and height it returns, depend on where it started: up to about 1e-11
// radians (0.06 mm) apart. That is enough to move a written millimetre or a fourth decimal
// of a second now and then, so the remembered estimate is part of a run's result: a run cut
// into blocks cannot start a block from the initial estimate and write the same bytes. What
// it can do is start there and convert the block's first records again once the previous
// block's last latitude is known, until a latitude comes out bit for bit as before; from
// there on the two runs are one. The experiments below measure both, over Australian points
// written to the millimetre as coordinate files hold them; TARVO_EXPERIMENT_SCALE=N runs
// them on N times as many points (the figures go to standard output).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "angles/packed_angle.h"
#include "chain/point_chain.h"
#include "engine/cartesian.h"
#include "engine/ellipsoid.h"
#include "text/number_text.h"

namespace tarvo::engine {
namespace {

constexpr Ellipsoid kGrs80{kGrs80SemiMajorAxis, kGrs80EccentricitySquared,
                           kGrs80OneMinusEccentricitySquared};

std::size_t Scale() {
  const char* scale = std::getenv("TARVO_EXPERIMENT_SCALE");
  return scale != nullptr && std::atoi(scale) > 1 ? static_cast<std::size_t>(std::atoi(scale)) : 1;
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// The iteration as it was first written: an arctangent at every step. CartesianToGeographic
// skips the ones the stopping test cannot need; it must give the same bits.
GeodeticPoint EveryArctangent(const Ellipsoid& ellipsoid, double x, double y, double z,
                              double firstLatitude, double tolerance) {
  const double a = ellipsoid.semiMajorAxis;
  const double e2 = ellipsoid.eccentricitySquared;
  const double p = std::sqrt(x * x + y * y);
  const double sinFirst = std::sin(firstLatitude);
  double nu = a / std::sqrt(1.0 - e2 * sinFirst * sinFirst);
  double tanLatitude = (e2 * nu * sinFirst + z) / p;
  double latitude = std::atan(tanLatitude);
  for (int iteration = 0; iteration < 10; ++iteration) {
    const double sinLatitude = tanLatitude / std::sqrt(1.0 + tanLatitude * tanLatitude);
    nu = a / std::sqrt(1.0 - e2 * sinLatitude * sinLatitude);
    tanLatitude = (e2 * nu * sinLatitude + z) / p;
    const double next = std::atan(tanLatitude);
    const bool settled = std::fabs(next - latitude) < tolerance;
    latitude = next;
    if (settled) break;
  }
  const double secant = std::sqrt(1.0 + tanLatitude * tanLatitude);
  const double sinLatitude = std::fabs(tanLatitude) / secant;
  const double height = sinLatitude >= 0.1
                            ? -z / sinLatitude - nu * ellipsoid.oneMinusEccentricitySquared
                            : p * secant - nu;
  return {std::fabs(latitude), std::atan(y / x), height};
}

// A point as a file holds it: X, Y, Z written with three decimals and read back.
struct Xyz {
  double x;
  double y;
  double z;
};

double Millimetres(double metres) {
  std::string text;
  text::AppendFixed(text, metres, 3);
  return text::ToDouble(text);
}

// Random points over Australia and its waters (9 to 45 degrees south, 108 to 156 east,
// heights -100 to 2500 m), on ANS. With `step` > 0 each point lies within `step` degrees of
// the one before, as in a survey's file; otherwise anywhere.
std::vector<Xyz> AustralianPoints(std::size_t count, double step, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> latitudes(9.0, 45.0), longitudes(108.0, 156.0);
  std::uniform_real_distribution<double> heights(-100.0, 2500.0), move(-1.0, 1.0);
  std::vector<Xyz> points;
  double latitude = 32.0;
  double longitude = 150.0;
  for (std::size_t i = 0; i < count; ++i) {
    if (step > 0.0) {
      latitude = std::clamp(latitude + step * move(random), 9.0, 45.0);
      longitude = std::clamp(longitude + step * move(random), 108.0, 156.0);
    } else {
      latitude = latitudes(random);
      longitude = longitudes(random);
    }
    const CartesianPoint c = GeographicToCartesian(kAnsEllipsoid, latitude * kRadiansPerDegree,
                                                   longitude * kRadiansPerDegree, heights(random));
    points.push_back({Millimetres(c.x), Millimetres(c.y), Millimetres(c.z)});
  }
  return points;
}

TEST(CartesianToGeographic, SkippedArctangentsChangeNoBit) {
  std::mt19937_64 random(19);
  std::uniform_real_distribution<double> estimates(-1.6, 1.6);
  std::vector<Xyz> points = AustralianPoints(20000, 0.0, 7);
  // Beyond the area served: the equator, the poles' neighbourhood, the other hemisphere, far
  // above and below the ellipsoid, and no point at all.
  for (const double latitude : {0.0, 1e-7, 0.02, 1.2, 1.5707, -0.7}) {
    for (const double height : {0.0, -6.3e6, 3.6e7}) {
      const CartesianPoint c = GeographicToCartesian(kGrs80, latitude, 2.5, height);
      points.push_back({c.x, c.y, c.z});
    }
  }
  points.push_back({0.0, 0.0, -6356752.0});
  points.push_back({NAN, 1.0, 1.0});
  for (const Ellipsoid& ellipsoid : {kAnsEllipsoid, kGrs80}) {
    for (const Xyz& p : points) {
      for (const double estimate : {chain::PointState::kInitialLatitude, estimates(random)}) {
        for (const double tolerance : {kLatitudeTolerance, kExactLatitudeTolerance}) {
          const GeodeticPoint expected =
              EveryArctangent(ellipsoid, p.x, p.y, p.z, estimate, tolerance);
          const GeodeticPoint actual =
              CartesianToGeographic(ellipsoid, p.x, p.y, p.z, estimate, tolerance);
          ASSERT_TRUE(SameBits(actual.latitude, expected.latitude) &&
                      SameBits(actual.height, expected.height) &&
                      SameBits(actual.longitude, expected.longitude))
              << std::hexfloat << "X " << p.x << " Y " << p.y << " Z " << p.z << " from "
              << estimate << ": latitude " << actual.latitude << ", expected " << expected.latitude
              << "; height " << actual.height << ", expected " << expected.height;
        }
      }
    }
  }
}

// What a batch run writes of a Cartesian point's conversion: the height in millimetres, the
// packed latitude with four decimals of seconds, and the latitude's northing-sized effect
// (a metre of northing per 1.6e-7 radians), in millimetres.
std::string Written(const GeodeticPoint& point) {
  std::string text;
  text::AppendFixed(text, point.height, 3);
  text += ' ';
  text::AppendFixed(text, angles::DecimalDegreesToPacked(point.latitude / kRadiansPerDegree, 4), 8);
  text += ' ';
  text::AppendFixed(text, point.latitude * kAnsEllipsoid.semiMajorAxis, 3);
  return text;
}

TEST(CartesianFirstEstimate, CanChangeAWrittenDigit) {
  // Each point converted from the initial estimate and from the latitude of another point,
  // as a run that starts afresh and a run that remembers would convert it.
  const std::vector<Xyz> points = AustralianPoints(100000 * Scale(), 0.0, 1966);
  std::size_t bitsDiffer = 0;
  std::size_t writtenDiffer = 0;
  std::string example;
  double previous = 0.45;
  for (const Xyz& p : points) {
    const GeodeticPoint fresh =
        CartesianToGeographic(kAnsEllipsoid, p.x, p.y, p.z, chain::PointState::kInitialLatitude);
    const GeodeticPoint remembered = CartesianToGeographic(kAnsEllipsoid, p.x, p.y, p.z, previous);
    if (!SameBits(fresh.latitude, remembered.latitude)) ++bitsDiffer;
    if (Written(fresh) != Written(remembered) && ++writtenDiffer == 1) {
      example = text::Format(
          "X %.3f Y %.3f Z %.3f writes \"%s\" from the initial estimate, \"%s\" "
          "from %.17g",
          p.x, p.y, p.z, Written(fresh).c_str(), Written(remembered).c_str(), previous);
    }
    previous = remembered.latitude;
  }
  std::cout << "Of " << points.size() << " points the latitude's bits depend on the estimate for "
            << bitsDiffer << ", a written digit for " << writtenDiffer << "; e.g. " << example
            << "\n";
  EXPECT_GT(writtenDiffer, 0u) << "the estimate changed no written digit: a block could start "
                                  "from the initial estimate";
}

TEST(CartesianFirstEstimate, AFreshStartRejoinsTheRunWithinTwoRecords) {
  // A run remembers each latitude for the next record. A block that starts from the initial
  // estimate instead is compared, record by record, with the run through the same points,
  // up to the first record whose latitude agrees to the bit: the records after it start from
  // the run's estimate and write what the run writes. Counted: the records up to that one,
  // which the block converts again from the run's latitude before it.
  std::map<int, std::size_t> convertedAgain;
  for (const double step : {0.0, 0.01, 1e-5}) {
    const std::vector<Xyz> points = AustralianPoints(20000 * Scale(), step, 56);
    std::vector<double> run;
    double estimate = chain::PointState::kInitialLatitude;
    for (const Xyz& p : points) {
      estimate = CartesianToGeographic(kAnsEllipsoid, p.x, p.y, p.z, estimate).latitude;
      run.push_back(estimate);
    }
    for (std::size_t start = 1; start < points.size(); ++start) {
      double blockEstimate = chain::PointState::kInitialLatitude;
      int converted = 0;
      for (std::size_t i = start; i < points.size(); ++i) {
        const Xyz& p = points[i];
        blockEstimate = CartesianToGeographic(kAnsEllipsoid, p.x, p.y, p.z, blockEstimate).latitude;
        ++converted;
        if (SameBits(blockEstimate, run[i])) break;
      }
      ++convertedAgain[converted];
    }
  }
  std::cout << "Blocks started from the initial estimate, records converted again:";
  for (const auto& [records, blocks] : convertedAgain) {
    std::cout << " " << records << " in " << blocks << " blocks;";
  }
  std::cout << "\n";
  EXPECT_LE(convertedAgain.rbegin()->first, 2)
      << "a block started afresh took longer to rejoin the run than it ever did";
}

}  // namespace
}  // namespace tarvo::engine
