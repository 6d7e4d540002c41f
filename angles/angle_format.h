// The notations in which latitudes and longitudes are typed, shown and written to files.
//
// A notation is identified by its label: the text the option lists show and the settings
// files store. Labels are compared byte for byte (no case folding), and the symbol notation's
// label carries the degree sign as the single byte 0xB0, so settings written by earlier
// versions of the program match unchanged. In code the notations are an enumeration whose
// values follow the order of the output list; `Label` and `FindAngleFormat` translate.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace tarvo::angles {

// The degree sign as the program writes it (Latin-1).
inline constexpr char kDegreeSign = '\xB0';

enum class AngleFormat {
  DmsSymbols = 1,  // degrees, minutes, seconds with symbols; output only
  Packed,          // packed sexagesimal number DDD.MMSSsssss
  DmsBlanks,       // degrees, minutes, seconds separated by single blanks
  DecimalDegrees,  // DDD.dddddddddd
  DegreesMinutes,  // whole degrees, two digits of whole minutes, then decimal minutes
  Radians,
  Seconds,  // arc seconds
  Minutes,  // arc minutes
};

// The labels. The degree sign is a literal of its own: a hex escape would swallow any hex
// digit that followed it.
inline constexpr std::string_view kDmsSymbolsLabel =
    "DDD"
    "\xB0"
    " MM' SS.ssss\"";
inline constexpr std::string_view kPackedLabel = "DDD.MMSSsssss";
inline constexpr std::string_view kDmsBlanksLabel = "DDD MM SS.ssss";
inline constexpr std::string_view kDecimalDegreesLabel = "DDD.dddddddddd";
inline constexpr std::string_view kDegreesMinutesLabel = "DDD.MMmmmmm";
inline constexpr std::string_view kRadiansLabel = "Radians";
inline constexpr std::string_view kSecondsLabel = "SSSSSS.ssss";
inline constexpr std::string_view kMinutesLabel = "MM.mmmmmm";

inline constexpr AngleFormat kDefaultInputFormat = AngleFormat::Packed;
inline constexpr AngleFormat kDefaultOutputFormat = AngleFormat::DmsSymbols;

// The label of a notation.
std::string_view Label(AngleFormat format);

// The notation whose label is exactly `label`, or nothing.
std::optional<AngleFormat> FindAngleFormat(std::string_view label);

// True for the notations that can be read (every one except the symbol notation).
bool IsInputFormat(AngleFormat format);

// The label lists, in the order the lists show them: the options dialog's output list
// (all eight), its input list (all but the symbol notation) and the file conversion
// dialog's input list (which has no arc minutes either).
std::span<const std::string_view> OutputFormatLabels();
std::span<const std::string_view> OptionsInputFormatLabels();
std::span<const std::string_view> FileInputFormatLabels();

}  // namespace tarvo::angles
