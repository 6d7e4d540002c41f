// Points per second of the engine's per-point operations: the Transverse Mercator forward
// and inverse, the 7-parameter datum change and Cartesian to geographic (from the previous
// point's latitude, as a batch run of Cartesian records starts it). Each benchmark cycles through a
// few thousand different points inside zone 56 (so no result can be computed once and reused) and
// hands every result to DoNotOptimize. Read items_per_second.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "chain/point_chain.h"
#include "engine/cartesian.h"
#include "engine/ellipsoid.h"
#include "engine/seven_parameter.h"
#include "engine/transform_settings.h"
#include "engine/transverse_mercator.h"

namespace tarvo::engine {
namespace {

constexpr size_t kPointCount = 4096;  // a power of two: the index wraps with a mask

struct Point {
  double first;
  double second;
};

// Latitudes 10 to 45 degrees south, longitudes within the 6 degrees of zone 56.
std::vector<Point> GeographicPoints() {
  std::mt19937_64 random(56);
  std::uniform_real_distribution<double> latitudes(10.0, 45.0);
  std::uniform_real_distribution<double> longitudes(150.0, 156.0);
  std::vector<Point> points(kPointCount);
  for (Point& p : points) {
    p = {latitudes(random) * kRadiansPerDegree, longitudes(random) * kRadiansPerDegree};
  }
  return points;
}

void BM_GeographicToGrid(benchmark::State& state) {
  const ProjectionConstants constants = SetZoneConstants(56, true);
  const std::vector<Point> points = GeographicPoints();
  size_t i = 0;
  for (auto _ : state) {
    const Point& p = points[i++ & (kPointCount - 1)];
    GridPosition grid = GeographicToGrid(constants, p.first, p.second);
    benchmark::DoNotOptimize(grid);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GeographicToGrid);

void BM_GridToGeographic(benchmark::State& state) {
  const ProjectionConstants constants = SetZoneConstants(56, true);
  std::vector<Point> points = GeographicPoints();
  for (Point& p : points) {
    const GridPosition grid = GeographicToGrid(constants, p.first, p.second);
    p = {grid.easting, grid.northing};
  }
  size_t i = 0;
  for (auto _ : state) {
    const Point& p = points[i++ & (kPointCount - 1)];
    GeographicPosition geographic = GridToGeographic(constants, p.first, p.second);
    benchmark::DoNotOptimize(geographic);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GridToGeographic);

void BM_SevenParameterForward(benchmark::State& state) {
  const DatumParameters national = MakeDatumParameters(TransformSettings{});
  const std::vector<Point> points = GeographicPoints();
  size_t i = 0;
  for (auto _ : state) {
    const size_t index = i++ & (kPointCount - 1);
    const Point& p = points[index];
    GeodeticPoint gda =
        SevenParameterForward(national, p.first, p.second, static_cast<double>(index));
    benchmark::DoNotOptimize(gda);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SevenParameterForward);

void BM_CartesianToGeographic(benchmark::State& state) {
  const std::vector<Point> points = GeographicPoints();
  std::vector<CartesianPoint> cartesian;
  for (const Point& p : points) {
    cartesian.push_back(GeographicToCartesian(kAnsEllipsoid, p.first, p.second, 250.0));
  }
  double estimate = chain::PointState::kInitialLatitude;
  size_t i = 0;
  for (auto _ : state) {
    const CartesianPoint& c = cartesian[i++ & (kPointCount - 1)];
    const GeodeticPoint geodetic = CartesianToGeographic(kAnsEllipsoid, c.x, c.y, c.z, estimate);
    estimate = geodetic.latitude;
    benchmark::DoNotOptimize(geodetic);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CartesianToGeographic);

}  // namespace
}  // namespace tarvo::engine
