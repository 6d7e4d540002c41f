#include "chain/ordered_run.h"

#include <algorithm>
#include <vector>

namespace tarvo::chain {
namespace {

// Fewer points than this per slice are not worth a thread.
constexpr std::size_t kMinSlice = 4096;
// Slices per thread: more than one, so that a thread slowed by other work on the machine
// leaves its share to the others.
constexpr std::size_t kSlicesPerThread = 4;
// States kept at the start of each slice to find where it rejoins the run in order.
constexpr std::size_t kKeptStates = 64;

struct Slice {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::vector<PointState> after;  // the state after each of its first points
  PointState last;                // the state after its last point
};

}  // namespace

void ConvertInOrder(WorkerPool* pool, std::size_t count, const RangeConvert& convert) {
  const std::size_t threads = pool == nullptr ? 1 : pool->size() + 1;
  const std::size_t sliceCount = std::clamp<std::size_t>(
      (count + kMinSlice - 1) / kMinSlice, 1, threads == 1 ? 1 : threads * kSlicesPerThread);
  if (sliceCount == 1) {
    PointState state;
    convert(0, count, state);
    return;
  }

  std::vector<Slice> slices(sliceCount);
  for (std::size_t k = 0; k < sliceCount; ++k) {
    slices[k].begin = count * k / sliceCount;
    slices[k].end = count * (k + 1) / sliceCount;
  }
  pool->ParallelFor(sliceCount, [&](std::size_t k) {
    Slice& slice = slices[k];
    PointState state;
    // Its first points one by one, keeping the state after each; then the rest at once.
    const std::size_t kept = std::min(kKeptStates, slice.end - slice.begin);
    slice.after.reserve(kept);
    for (std::size_t i = slice.begin; i < slice.begin + kept; ++i) {
      convert(i, i + 1, state);
      slice.after.push_back(state);
    }
    convert(slice.begin + kept, slice.end, state);
    slice.last = state;
  });

  // Each slice from the state the one before really ended with.
  PointState carried = slices.front().last;
  for (std::size_t k = 1; k < sliceCount; ++k) {
    Slice& slice = slices[k];
    if (!SameEstimates(carried, PointState{})) {
      PointState state = carried;
      std::size_t i = slice.begin;
      for (; i < slice.end; ++i) {
        convert(i, i + 1, state);
        const std::size_t kept = i - slice.begin;
        if (kept < slice.after.size() && SameEstimates(state, slice.after[kept])) break;
      }
      if (i == slice.end) slice.last = state;
    }
    carried = slice.last;
  }
}

}  // namespace tarvo::chain
