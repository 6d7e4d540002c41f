#include "chain/ordered_run.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/cartesian.h"

namespace tarvo::chain {
namespace {

struct Converted {
  double latitude = 0.0;
  double longitude = 0.0;
  double height = 0.0;
  int calls = 0;
};

bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Cartesian AGD points to GDA94 latitude and longitude: the first estimate of each point's
// iteration is the latitude of the one before, so a split run that forgot it would differ in
// the last bits of a few per cent of the points. Any number of threads gives, bit for bit,
// what converting the points in order on one thread gives.
TEST(ConvertInOrder, GivesTheBitsOfOneThreadInOrder) {
  ChainSettings settings;
  settings.source = {Datum::Agd66, 56};
  settings.target = {Datum::Gda94, 56};
  settings.outputs.targetGrid = false;
  const PointChain chain(settings);

  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> latitude(0.17, 0.75), longitude(1.9, 2.7),
      height(-50.0, 2000.0);
  std::vector<PointInput> points(30011);
  for (PointInput& p : points) {
    const engine::CartesianPoint xyz =
        engine::GeographicToCartesianAgd(latitude(random), longitude(random), height(random));
    p = {InputKind::Cartesian, xyz.x, xyz.y, xyz.z};
  }
  const auto run = [&](WorkerPool* pool) {
    std::vector<Converted> out(points.size());
    ConvertInOrder(pool, points.size(), [&](std::size_t begin, std::size_t end, PointState& state) {
      for (std::size_t i = begin; i < end; ++i) {
        const PointResult r = chain.Convert(points[i], state);
        out[i] = {r.latitude, r.longitude, r.height, out[i].calls + 1};
      }
    });
    return out;
  };
  const std::vector<Converted> inOrder = run(nullptr);
  for (const unsigned workers : {1u, 2u, 3u, 7u}) {
    WorkerPool pool(workers);
    const std::vector<Converted> split = run(&pool);
    std::size_t again = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
      ASSERT_TRUE(SameBits(split[i].latitude, inOrder[i].latitude) &&
                  SameBits(split[i].longitude, inOrder[i].longitude) &&
                  SameBits(split[i].height, inOrder[i].height))
          << "point " << i << " with " << workers + 1 << " threads";
      ASSERT_GE(split[i].calls, 1) << "point " << i << " never converted";
      again += static_cast<std::size_t>(split[i].calls - 1);
    }
    // The start of each slice after the first (at most 8 slices of 4096 points or more) is
    // converted again from the state the one before ended with, and rejoins the run within a
    // few points.
    EXPECT_GE(again, 1u) << workers + 1 << " threads";
    EXPECT_LE(again, 4u * 7u) << workers + 1 << " threads";
  }
}

}  // namespace
}  // namespace tarvo::chain
