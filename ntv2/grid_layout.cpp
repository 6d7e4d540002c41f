#include "ntv2/grid_layout.h"

#include <bit>
#include <cstring>

namespace tarvo::ntv2 {
namespace {

bool IsSubGridCount(std::int32_t count) {
  return count >= kMinSubGrids && count <= kMaxSubGrids;
}

// The int32 at `offset`, or nothing when the file ends before it.
std::optional<std::int32_t> CountAt(std::span<const unsigned char> bytes, int offset) {
  const auto at = static_cast<std::size_t>(offset);
  if (bytes.size() < at + sizeof(std::int32_t)) return std::nullopt;
  return detail::LoadInt32(bytes.data() + at);
}

template <class T>
T LoadLittleEndian(const unsigned char* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof value);
  if constexpr (std::endian::native == std::endian::big) {
    unsigned char swapped[sizeof value];
    std::memcpy(swapped, &value, sizeof value);
    for (std::size_t i = 0; i < sizeof value / 2; ++i) {
      std::swap(swapped[i], swapped[sizeof value - 1 - i]);
    }
    std::memcpy(&value, swapped, sizeof value);
  }
  return value;
}

}  // namespace

namespace detail {
std::int32_t LoadInt32(const unsigned char* bytes) {
  return LoadLittleEndian<std::int32_t>(bytes);
}
double LoadFloat64(const unsigned char* bytes) {
  return LoadLittleEndian<double>(bytes);
}
float LoadFloat32(const unsigned char* bytes) {
  return LoadLittleEndian<float>(bytes);
}
}  // namespace detail

LayoutDetection DetectGridLayout(std::span<const unsigned char> fileStart) {
  LayoutDetection detection;
  // The Canadian count comes first: a file whose Canadian count is plausible is Canadian
  // whatever its Australian offset holds.
  detection.canadianCount = CountAt(fileStart, kCanadianLayout.overview.subGridCount);
  if (detection.canadianCount && IsSubGridCount(*detection.canadianCount)) {
    detection.layout = &kCanadianLayout;
    detection.subGridCount = *detection.canadianCount;
    return detection;
  }
  detection.australianCount = CountAt(fileStart, kAustralianLayout.overview.subGridCount);
  if (detection.australianCount && IsSubGridCount(*detection.australianCount)) {
    detection.layout = &kAustralianLayout;
    detection.subGridCount = *detection.australianCount;
  }
  return detection;
}

}  // namespace tarvo::ntv2
