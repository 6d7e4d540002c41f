// Records per second of the batch conversion's text work per record: reading the fields of a
// line (ReadRecord) and writing the converted values back in their places (RecordWriter,
// results only). Lines are grid coordinates (SSV "E N") and packed latitudes and longitudes
// (CSV "id,lat,long,height"), a few thousand different ones cycled. Read items_per_second.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "fileconv/record_reader.h"
#include "fileconv/record_writer.h"
#include "text/number_text.h"

namespace tarvo::fileconv {
namespace {

constexpr std::size_t kLineCount = 4096;  // a power of two: the index wraps with a mask

struct Lines {
  FieldLayout layout;
  std::vector<std::string> lines;
};

Lines GridLines() {
  std::mt19937_64 random(56);
  std::uniform_real_distribution<double> east(250000.0, 750000.0), north(6000000.0, 7400000.0);
  Lines lines;
  lines.layout.type = FileTypeCode::Ssv;
  for (std::size_t i = 0; i < kLineCount; ++i) {
    lines.lines.push_back(text::Format("%.3f %.3f", east(random), north(random)));
  }
  return lines;
}

Lines PackedLines() {
  std::mt19937_64 random(66);
  std::uniform_real_distribution<double> latitude(10.0, 44.0), longitude(112.0, 154.0);
  Lines lines;
  lines.layout.type = FileTypeCode::Csv;
  lines.layout.firstField = 2;
  lines.layout.secondField = 3;
  lines.layout.heightField = 4;
  for (std::size_t i = 0; i < kLineCount; ++i) {
    lines.lines.push_back(text::Format("P%zu,%.8f,%.8f,%.3f", i, latitude(random),
                                       longitude(random), 100.0 * latitude(random)));
  }
  return lines;
}

void Read(benchmark::State& state, const Lines& lines) {
  RecordFields fields;
  std::size_t i = 0;
  for (auto _ : state) {
    RecordRead read = ReadRecord(lines.lines[i++ & (kLineCount - 1)], lines.layout, fields);
    benchmark::DoNotOptimize(read);
    benchmark::DoNotOptimize(fields.second.data());
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_ReadRecordGrid(benchmark::State& state) {
  Read(state, GridLines());
}
void BM_ReadRecordPacked(benchmark::State& state) {
  Read(state, PackedLines());
}
BENCHMARK(BM_ReadRecordGrid);
BENCHMARK(BM_ReadRecordPacked);

// Each line read once, then written again and again with values near its own (as a datum
// change moves them), into a buffer emptied every 64 records.
void Write(benchmark::State& state, const Lines& lines, Units units, int decimals) {
  std::vector<RecordFields> fields(kLineCount);
  std::vector<ConvertedRecord> values(kLineCount);
  for (std::size_t i = 0; i < kLineCount; ++i) {
    ReadRecord(lines.lines[i], lines.layout, fields[i]);
    const double first = text::ToDouble(fields[i].first) + 1.2345;
    const double second = text::ToDouble(fields[i].second) - 0.5432;
    values[i] = {chain::Status::Ok, first, second, 12.345, first, second};
  }
  WriterSetup setup;
  setup.type = lines.layout.type;
  setup.outputUnits = units;
  setup.decimals = decimals;
  const RecordWriter writer(setup);
  std::string out;
  out.reserve(8192);
  std::size_t i = 0;
  for (auto _ : state) {
    if ((i & 63) == 0) out.clear();
    const std::size_t k = i++ & (kLineCount - 1);
    writer.Write(lines.lines[k], fields[k], values[k], out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_WriteRecordGrid(benchmark::State& state) {
  Write(state, GridLines(), Units::Grid, 8);
}
void BM_WriteRecordPacked(benchmark::State& state) {
  Write(state, PackedLines(), Units::Geographic, 9);
}
BENCHMARK(BM_WriteRecordGrid);
BENCHMARK(BM_WriteRecordPacked);

}  // namespace
}  // namespace tarvo::fileconv
