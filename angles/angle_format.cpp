#include "angles/angle_format.h"

namespace tarvo::angles {
namespace {

// In enumeration order: index = value - 1.
constexpr std::array<std::string_view, 8> kLabels = {
    kDmsSymbolsLabel,     kPackedLabel,  kDmsBlanksLabel, kDecimalDegreesLabel,
    kDegreesMinutesLabel, kRadiansLabel, kSecondsLabel,   kMinutesLabel,
};

}  // namespace

std::string_view Label(AngleFormat format) {
  const auto index = static_cast<std::size_t>(format) - 1;
  return index < kLabels.size() ? kLabels[index] : std::string_view{};
}

std::optional<AngleFormat> FindAngleFormat(std::string_view label) {
  for (std::size_t i = 0; i < kLabels.size(); ++i) {
    if (kLabels[i] == label) return static_cast<AngleFormat>(i + 1);
  }
  return std::nullopt;
}

bool IsInputFormat(AngleFormat format) {
  return format != AngleFormat::DmsSymbols && !Label(format).empty();
}

std::span<const std::string_view> OutputFormatLabels() {
  return kLabels;
}

std::span<const std::string_view> OptionsInputFormatLabels() {
  return std::span(kLabels).subspan(1);
}

std::span<const std::string_view> FileInputFormatLabels() {
  return std::span(kLabels).subspan(1, 6);
}

}  // namespace tarvo::angles
