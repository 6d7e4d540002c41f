#include "angles/angle_reading.h"

#include <algorithm>
#include <cmath>

#include "angles/packed_angle.h"
#include "text/number_text.h"

namespace tarvo::angles {
namespace {

constexpr std::size_t kDisplayTextLength = 20;

// A radian value cannot state a whole degree exactly. The range check takes it as the bound
// when it lies within half a unit of the 8th decimal of radians (0.001 arc second), the
// fewest decimals the program writes radians with.
constexpr double kRadiansBoundTolerance = 0.5e-8 * kDegreesPerRadian;

struct Range {
  double low;
  double high;
  const char* name;
  const char* lowText;
  const char* highText;
};

constexpr Range kLatitudeRange{0.0, 50.0, "Latitude", "0", "50"};
constexpr Range kLongitudeRange{110.0, 160.0, "Longitude", "110", "160"};

// "DDD MM SS.ssss" rebuilt by position as the packed text DDD.MMSSssss: up to four
// characters of degrees ending at the first blank, '.', the two characters after that blank,
// the two after the next separator, then everything after the seconds' decimal point. The
// minutes and seconds must be two digits each; other texts are taken apart the same way.
std::string DmsBlanksToPackedText(std::string_view text) {
  // Blanks before the degrees would shift every field; the positions count from the first
  // character of the number.
  const std::size_t start = std::min(text.find_first_not_of(' '), text.size());
  text = text.substr(start, kMaxReadLength);
  std::string packed;
  packed.reserve(text.size() + 1);
  std::size_t i = 0;
  while (i < text.size() && i < 4 && text[i] != ' ') packed += text[i++];
  packed += '.';
  const auto take = [&](std::size_t count) {
    for (; count > 0 && i < text.size(); --count) packed += text[i++];
  };
  const auto skip = [&] {
    if (i < text.size()) ++i;
  };
  skip();             // the blank after the degrees
  take(2);            // minutes
  skip();             // the blank after the minutes
  take(2);            // whole seconds
  skip();             // the seconds' decimal point
  take(text.size());  // decimals of seconds
  return packed;
}

double ReadNumber(std::string_view text) {
  return text::ToDouble(text);
}

int ClampSecondsDecimals(int secondsDecimals) {
  return std::clamp(secondsDecimals, 0, 6);
}

// The value CheckAngleText compares with the bounds, in degrees (or packed degrees, which
// compare with a whole degree the same way).
double RangeValue(std::string_view cleaned, std::optional<AngleFormat> format) {
  if (format == AngleFormat::DmsBlanks) return ReadNumber(DmsBlanksToPackedText(cleaned));
  const double v = ReadNumber(cleaned);
  if (format == AngleFormat::Radians) return v * kDegreesPerRadian;
  if (format == AngleFormat::Seconds) return v * kDegreesPerSecond;
  if (format == AngleFormat::Minutes) return v * kDegreesPerMinute;
  return v;
}

// 360 degrees or more, less a full turn, as the converters to packed do; a whole number of
// arc seconds or minutes that makes a full turn would otherwise read as an invalid 360.
double WrapFullTurn(double packed) {
  return std::fabs(packed) >= 360.0 ? packed - std::copysign(360.0, packed) : packed;
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::optional<double> ReadAngleText(std::string_view text, AngleFormat format,
                                    int secondsDecimals) {
  const int sd = ClampSecondsDecimals(secondsDecimals);
  switch (format) {
    case AngleFormat::Packed:
      return ReadNumber(text);
    case AngleFormat::DmsBlanks:
      return ReadNumber(DmsBlanksToPackedText(text));
    case AngleFormat::DecimalDegrees:
      return RoundPacked(DecimalDegreesToPacked(ReadNumber(text), sd + 1), 9);
    case AngleFormat::DegreesMinutes:
      return RoundPacked(DegreesMinutesToPacked(ReadNumber(text), sd), 8);
    case AngleFormat::Radians:
      return RoundPacked(RadiansToPacked(ReadNumber(text), sd), 8);
    case AngleFormat::Seconds:
      return WrapFullTurn(RoundPacked(SecondsToPacked(ReadNumber(text)), 8));
    case AngleFormat::Minutes:
      // Four decimals of seconds, as for arc seconds: a 0.01" rounding here would move a
      // point by up to 15 cm each time its field is merely entered and left.
      return WrapFullTurn(RoundPacked(MinutesToPacked(ReadNumber(text)), 8));
    case AngleFormat::DmsSymbols:
      break;
  }
  return std::nullopt;
}

double ReadAngleText(std::string_view text, std::string_view inputFormat, int secondsDecimals,
                     ui::Desktop& desktop) {
  if (const auto format = FindAngleFormat(inputFormat)) {
    if (const auto packed = ReadAngleText(text, *format, secondsDecimals)) return *packed;
  }
  desktop.ShowMessage(inputFormat, "ERROR 1", ui::MessageIcon::Error);
  return -1.0;
}

AngleCheck CheckAngleText(std::string& text, AngleKind kind, std::string_view inputFormat,
                          ui::Desktop& desktop) {
  if (text.find('.') == std::string::npos) text += '.';

  std::string cleaned;
  cleaned.reserve(kMaxReadLength);
  bool keptAny = false;
  bool pointKept = false;
  for (const char c : std::string_view(text).substr(0, kMaxReadLength)) {
    if (IsLetter(c) || c == '+' || c == '-') continue;
    if (c == '.') {
      if (pointKept) continue;
      pointKept = true;
    } else if (c == ' ' && !keptAny) {
      continue;
    }
    cleaned += c;
    keptAny = true;
  }
  text = cleaned;

  if (kind == AngleKind::Unchecked) return AngleCheck::InRange;
  const Range& range = kind == AngleKind::Latitude ? kLatitudeRange : kLongitudeRange;
  const std::optional<AngleFormat> format = FindAngleFormat(inputFormat);
  const double tolerance = format == AngleFormat::Radians ? kRadiansBoundTolerance : 0.0;
  const double v = RangeValue(cleaned, format);
  if (v >= range.low - tolerance && v <= range.high + tolerance) return AngleCheck::InRange;

  std::string message = "Invalid ";
  message += range.name;
  message += ": ";
  message += cleaned;
  message += "\nMust be in range ";
  message += range.lowText;
  message += kDegreeSign;
  message += " to ";
  message += range.highText;
  message += kDegreeSign;
  message += "\nReplacing with previous value";
  desktop.ShowMessage(message, "ERROR", ui::MessageIcon::Warning);
  return AngleCheck::OutOfRange;
}

double DisplayTextToPacked(std::string_view text) {
  std::string packed;
  packed.reserve(kDisplayTextLength);
  for (const char c : text.substr(0, kDisplayTextLength)) {
    if (c == kDegreeSign) {
      packed += '.';
    } else if ((c >= '0' && c <= '9') || c == '-') {
      packed += c;
    }
  }
  return ReadNumber(packed);
}

}  // namespace tarvo::angles
