// Points per second of the NTv2 datum change with the national AGD66 grid, forward (AGD66 to
// GDA94, one pass) and reverse (three passes):
//   - GridShift*: GridFile::Shift, the pure per-point operation, on a grid opened once;
//   - GridShiftHinted*: the same as the batch conversion calls it per record, with a
//     SubGridHint carried from point to point and no accuracy, on the scattered points and
//     on a walk whose points lie a few hundred metres apart, as in a survey's file;
//   - GridPoint*: the main window's datum change of one point, which also asks the file
//     system whether the grid file changed (one stat), counts, builds its chain with the
//     grid and formats the accuracy text.
// The points are a few thousand positions spread over the grid's sub-grids, cycled so that no
// result can be reused. The grid comes from TARVO_SHARED_DATA; without it every benchmark is
// skipped with a message. Read items_per_second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "angles/packed_angle.h"
#include "chain/point_chain.h"
#include "ntv2/grid_file.h"
#include "ntv2/grid_interpolate.h"
#include "ui/dialog.h"

namespace tarvo::ntv2 {
namespace {

constexpr std::size_t kPointCount = 4096;  // a power of two: the index wraps with a mask

// A desktop that answers nothing: the benchmarks never show a message.
class SilentDesktop : public ui::Desktop {
 public:
  int RunModal(ui::Dialog&) override { return ui::kResultCancel; }
  ui::MessageAnswer ShowMessage(std::string_view, std::string_view, ui::MessageIcon,
                                ui::MessageButtons) override {
    return ui::MessageAnswer::Ok;
  }
  void Beep() override {}
  std::optional<std::string> ChooseFile(std::string_view, bool) override { return {}; }
  std::vector<std::string> FindFiles(const std::filesystem::path&, std::string_view) override {
    return {};
  }
  std::optional<std::filesystem::path> CurrentDirectory() override { return std::nullopt; }
  std::tm LocalTime() override { return std::tm{}; }
  ui::ProcessOutcome RunProcess(const std::filesystem::path&, const std::filesystem::path&,
                                int) override {
    return {};
  }
  void ShowHelp(std::string_view) override {}
};

struct Point {
  double latitude;  // packed, south positive
  double longitude;
};

std::optional<std::string> NationalGridPath() {
  const char* shared = std::getenv("TARVO_SHARED_DATA");
  if (shared == nullptr || *shared == '\0') return std::nullopt;
  return (std::filesystem::path(shared) / "grids" / "A66_National_13_09_01.gsb").string();
}

// Positions with four decimals of seconds, uniform over the grid's extent and kept where a
// sub-grid holds them (most land in the 108" and 540" state sub-grids).
std::vector<Point> GridPoints(const GridFile& grid) {
  std::mt19937_64 random(66);
  std::uniform_real_distribution<double> latitudes(9.0, 48.0);
  std::uniform_real_distribution<double> longitudes(105.0, 163.0);
  std::vector<Point> points;
  while (points.size() < kPointCount) {
    const Point p{angles::DecimalDegreesToPacked(latitudes(random), 4),
                  angles::DecimalDegreesToPacked(longitudes(random), 4)};
    if (grid.Shift(p.latitude, p.longitude, false)) points.push_back(p);
  }
  return points;
}

// Points a few hundred metres apart: a random walk over NSW and Queensland.
std::vector<Point> WalkPoints(const GridFile& grid) {
  std::mt19937_64 random(56);
  std::uniform_real_distribution<double> step(-0.005, 0.005);
  std::vector<Point> points;
  double latitude = 30.0;
  double longitude = 151.0;
  while (points.size() < kPointCount) {
    latitude = std::clamp(latitude + step(random), 20.0, 36.0);
    longitude = std::clamp(longitude + step(random), 145.0, 153.0);
    const Point p{angles::DecimalDegreesToPacked(latitude, 5),
                  angles::DecimalDegreesToPacked(longitude, 5)};
    if (grid.Shift(p.latitude, p.longitude, false)) points.push_back(p);
  }
  return points;
}

// The national grid, or nothing after marking the benchmark skipped.
std::unique_ptr<GridFile> OpenNationalGrid(benchmark::State& state) {
  const auto path = NationalGridPath();
  if (!path) {
    state.SkipWithError("TARVO_SHARED_DATA is not set: skipped");
    return nullptr;
  }
  GridOpenStatus status;
  auto grid = GridFile::Open(*path, status);
  if (!grid) state.SkipWithError("the national grid cannot be read");
  return grid;
}

void GridShift(benchmark::State& state, bool reverse, bool walk = false) {
  const auto grid = OpenNationalGrid(state);
  if (!grid) return;
  const std::vector<Point> points = walk ? WalkPoints(*grid) : GridPoints(*grid);
  std::size_t i = 0;
  for (auto _ : state) {
    const Point& p = points[i++ & (kPointCount - 1)];
    auto shift = grid->Shift(p.latitude, p.longitude, reverse);
    benchmark::DoNotOptimize(shift);
  }
  state.SetItemsProcessed(state.iterations());
}

void GridShiftHinted(benchmark::State& state, bool reverse, bool walk) {
  const auto grid = OpenNationalGrid(state);
  if (!grid) return;
  const std::vector<Point> points = walk ? WalkPoints(*grid) : GridPoints(*grid);
  SubGridHint hint;
  std::size_t i = 0;
  for (auto _ : state) {
    const Point& p = points[i++ & (kPointCount - 1)];
    auto shift = grid->Shift(p.latitude, p.longitude, reverse, hint, ShiftAccuracy::Skipped);
    benchmark::DoNotOptimize(shift);
  }
  state.SetItemsProcessed(state.iterations());
}

void GridPointThroughTheChain(benchmark::State& state, chain::Datum from, chain::Datum to) {
  const auto grid = OpenNationalGrid(state);
  if (!grid) return;
  const std::string path = *NationalGridPath();
  const std::vector<Point> points = GridPoints(*grid);
  SilentDesktop desktop;
  GridInterpolator interpolator;
  chain::ChainSettings settings;
  settings.source = {from, 56};
  settings.target = {to, 56};
  settings.method = chain::DatumMethod::Grid;
  chain::PointState estimates;
  std::size_t i = 0;
  for (auto _ : state) {
    const Point& p = points[i++ & (kPointCount - 1)];
    settings.grid = interpolator.GridForPoint(path, desktop);
    const chain::PointResult result = chain::PointChain(settings).Convert(
        {chain::InputKind::Packed, p.latitude, p.longitude, 0.0}, estimates);
    interpolator.CountShift(result.status != chain::Status::OutsideGrid);
    std::string accuracy = result.gridShift ? AccuracyText(*result.gridShift) : "";
    benchmark::DoNotOptimize(accuracy.data());
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_GridShiftForward(benchmark::State& state) {
  GridShift(state, false);
}
void BM_GridShiftReverse(benchmark::State& state) {
  GridShift(state, true);
}
void BM_GridPointForward(benchmark::State& state) {
  GridPointThroughTheChain(state, chain::Datum::Agd66, chain::Datum::Gda94);
}
void BM_GridPointReverse(benchmark::State& state) {
  GridPointThroughTheChain(state, chain::Datum::Gda94, chain::Datum::Agd66);
}
void BM_GridShiftForwardWalk(benchmark::State& state) {
  GridShift(state, false, true);
}
void BM_GridShiftHintedForward(benchmark::State& state) {
  GridShiftHinted(state, false, false);
}
void BM_GridShiftHintedReverse(benchmark::State& state) {
  GridShiftHinted(state, true, false);
}
void BM_GridShiftHintedForwardWalk(benchmark::State& state) {
  GridShiftHinted(state, false, true);
}
BENCHMARK(BM_GridShiftForward);
BENCHMARK(BM_GridShiftReverse);
BENCHMARK(BM_GridShiftForwardWalk);
BENCHMARK(BM_GridShiftHintedForward);
BENCHMARK(BM_GridShiftHintedReverse);
BENCHMARK(BM_GridShiftHintedForwardWalk);
BENCHMARK(BM_GridPointForward);
BENCHMARK(BM_GridPointReverse);

}  // namespace
}  // namespace tarvo::ntv2
