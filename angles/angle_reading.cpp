#include "angles/angle_reading.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), IsDigit);
}

// "DDD MM SS.ssss" as the packed text DDD.MMSSssss: whole degrees, whole minutes and seconds
// separated by blanks, each part read as the number it is ("33 5 1" is 33 degrees 05' 01",
// "35 12 34.5678" is 35.12345678). Minutes and seconds may be left out from the end ("33 5"
// is 33 degrees 05'); the last part may end in the point the field check appends. Degrees
// have at most 3 digits, whole minutes and seconds at most 2; minutes or seconds of 60 or
// more are left for the packed value's own check. Nothing for a text that does not split
// so: a part that is no whole number, or more than three parts. A '-' before the degrees is
// kept.
std::optional<std::string> DmsBlanksToPackedText(std::string_view text) {
  text = text.substr(0, kMaxReadLength);
  std::vector<std::string_view> parts;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    const std::size_t end = std::min(text.find(' ', i), text.size());
    parts.push_back(text.substr(i, end - i));
    i = end;
  }
  if (parts.empty() || parts.size() > 3) return std::nullopt;
  // A typed '-' before the degrees is kept, as in the other notations.
  const bool negative = parts[0].starts_with('-');
  if (negative) parts[0].remove_prefix(1);
  // The last part carries the decimals of the seconds, or only a trailing point.
  std::string_view decimals;
  std::string_view& last = parts.back();
  if (const std::size_t point = last.find('.'); point != std::string_view::npos) {
    decimals = last.substr(point + 1);
    last = last.substr(0, point);
    if (parts.size() < 3 && !decimals.empty()) return std::nullopt;
  }
  constexpr std::size_t kMaxDigits[3] = {3, 2, 2};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty() || parts[i].size() > kMaxDigits[i] || !AllDigits(parts[i])) {
      return std::nullopt;
    }
  }
  if (!AllDigits(decimals)) return std::nullopt;
  const auto twoDigits = [&parts](std::size_t i) {
    if (i >= parts.size()) return std::string("00");
    return std::string(2 - parts[i].size(), '0') + std::string(parts[i]);
  };
  return (negative ? "-" : "") + std::string(parts[0]) + "." + twoDigits(1) + twoDigits(2) +
         std::string(decimals);
}

double ReadNumber(std::string_view text) {
  return text::ToDouble(text);
}

int ClampSecondsDecimals(int secondsDecimals) {
  return std::clamp(secondsDecimals, 0, 6);
}

// The value CheckAngleText compares with the bounds, in degrees (or packed degrees, which
// compare with a whole degree the same way); nothing when the text holds no number (or, in
// "DDD MM SS.ssss", does not split into degrees, minutes and seconds).
std::optional<double> RangeValue(std::string_view cleaned, std::optional<AngleFormat> format) {
  if (format == AngleFormat::DmsBlanks) {
    const auto packed = DmsBlanksToPackedText(cleaned);
    if (!packed) return std::nullopt;
    return ReadNumber(*packed);
  }
  const std::optional<double> number = text::LeadingNumber(cleaned);
  if (!number) return std::nullopt;
  const double v = *number;
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

// True when text[i] starts the exponent of the number `kept` ends with: an 'e' or 'E' after
// a digit (or after the point of a number with digits), followed by a digit or by a sign
// and a digit. Such a letter, and its sign, are part of the number ("3.35e1" is 33.5).
bool StartsExponent(std::string_view text, std::size_t i, std::string_view kept) {
  if (text[i] != 'e' && text[i] != 'E') return false;
  if (kept.empty()) return false;
  const bool digitBefore = IsDigit(kept.back()) || (kept.back() == '.' && kept.size() > 1 &&
                                                    IsDigit(kept[kept.size() - 2]));
  if (!digitBefore) return false;
  std::size_t next = i + 1;
  if (next < text.size() && (text[next] == '+' || text[next] == '-')) ++next;
  return next < text.size() && IsDigit(text[next]);
}

}  // namespace

std::optional<double> ReadAngleText(std::string_view text, AngleFormat format,
                                    int secondsDecimals) {
  const int sd = ClampSecondsDecimals(secondsDecimals);
  switch (format) {
    case AngleFormat::Packed:
      return ReadNumber(text);
    case AngleFormat::DmsBlanks: {
      const auto packed = DmsBlanksToPackedText(text);
      if (!packed) return std::nullopt;
      return ReadNumber(*packed);
    }
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
  const auto format = FindAngleFormat(inputFormat);
  if (format && *format != AngleFormat::DmsSymbols) {
    return ReadAngleText(text, *format, secondsDecimals).value_or(-1.0);
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
  const std::string_view typed = std::string_view(text).substr(0, kMaxReadLength);
  bool exponentSign = false;  // the character at hand is the sign of an exponent
  for (std::size_t i = 0; i < typed.size(); ++i) {
    const char c = typed[i];
    if (StartsExponent(typed, i, cleaned)) {
      cleaned += c;
      exponentSign = true;
      continue;
    }
    const bool sign = c == '+' || c == '-';
    if (sign && exponentSign) {
      cleaned += c;
      exponentSign = false;
      continue;
    }
    exponentSign = false;
    if (IsLetter(c) || sign) continue;
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
  const std::optional<double> value = RangeValue(cleaned, format);
  if (!value) return AngleCheck::Unreadable;
  const double v = *value;
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
