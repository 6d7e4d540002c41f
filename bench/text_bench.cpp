// Numbers per second of the number text a batch conversion reads and writes per record:
// ToDouble on the fields the record reader collects (grid metres, packed latitudes and
// longitudes, the unused height "0.00") and AppendFixed at every precision the record writer
// uses ("%.3f" metres, "%12.8f" and "%12.9f" packed values, "%12.4f" seconds). Each benchmark
// cycles through a few thousand different values, so that no branch pattern repeats in step
// with the loop. Read items_per_second.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "text/number_text.h"

namespace tarvo::text {
namespace {

constexpr std::size_t kValueCount = 4096;  // a power of two: the index wraps with a mask

// Metres of grid coordinates (eastings and northings of zone 56) and packed latitudes and
// longitudes (DDD.MMSSsssss), as numbers.
std::vector<double> Values(bool packed) {
  std::mt19937_64 random(21);
  std::uniform_real_distribution<double> metres(250000.0, 7400000.0);
  std::uniform_real_distribution<double> degrees(10.0, 160.0);
  std::vector<double> values(kValueCount);
  for (double& value : values) value = packed ? degrees(random) : metres(random);
  return values;
}

std::vector<std::string> Texts(bool packed, int precision) {
  std::vector<std::string> texts;
  for (const double value : Values(packed)) texts.push_back(Format("%.*f", precision, value));
  return texts;
}

void ReadTexts(benchmark::State& state, const std::vector<std::string>& texts) {
  std::size_t i = 0;
  for (auto _ : state) {
    double value = ToDouble(texts[i++ & (kValueCount - 1)]);
    benchmark::DoNotOptimize(value);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_ToDoubleMetres(benchmark::State& state) {
  ReadTexts(state, Texts(false, 3));
}
void BM_ToDoublePacked(benchmark::State& state) {
  ReadTexts(state, Texts(true, 9));
}
void BM_ToDoubleUnusedHeight(benchmark::State& state) {
  ReadTexts(state, std::vector<std::string>(kValueCount, "0.00"));
}
BENCHMARK(BM_ToDoubleMetres);
BENCHMARK(BM_ToDoublePacked);
BENCHMARK(BM_ToDoubleUnusedHeight);

// AppendFixed of `precision` decimals in `width` characters, appended to a line that is
// cleared every 16 values (as the writer's buffer grows by records and is flushed).
void WriteValues(benchmark::State& state, bool packed, int precision, int width) {
  const std::vector<double> values = Values(packed);
  std::string out;
  out.reserve(1024);
  std::size_t i = 0;
  for (auto _ : state) {
    if ((i & 15) == 0) out.clear();
    AppendFixed(out, values[i++ & (kValueCount - 1)], precision, width);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_AppendFixedMetres(benchmark::State& state) {
  WriteValues(state, false, 3, 0);
}
void BM_AppendFixedPacked8(benchmark::State& state) {
  WriteValues(state, true, 8, 12);
}
void BM_AppendFixedPacked9(benchmark::State& state) {
  WriteValues(state, true, 9, 12);
}
void BM_AppendFixedSeconds(benchmark::State& state) {
  WriteValues(state, true, 4, 12);
}
BENCHMARK(BM_AppendFixedMetres);
BENCHMARK(BM_AppendFixedPacked8);
BENCHMARK(BM_AppendFixedPacked9);
BENCHMARK(BM_AppendFixedSeconds);

}  // namespace
}  // namespace tarvo::text
