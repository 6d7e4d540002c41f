#include "angles/angle_writing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "angles/fixed_decimal.h"
#include "angles/packed_angle.h"
#include "text/number_text.h"

namespace tarvo::angles {
namespace {

constexpr int kMinEditDecimals = 4;  // the packed digits must reach the seconds field
constexpr int kMaxEditDecimals = 13;

// Relative allowance, in degrees per degree, for the binary representation error of the
// angle when minutes are truncated to seven decimals.
constexpr double kTruncationGuard = 1e-13;
// Seven decimals of minutes as an integer count: 60 minutes.
constexpr double kMinuteUnitsPerDegree = 60.0 * 1e7;

// Seconds / 6000: seconds as decimal minutes, shifted two places to follow the minute digits
// of DDD.MM.
constexpr double kMinuteFieldPerSecond = 0.00016666666666666666;

void CutToLimit(std::string& text) {
  if (text.size() > kMaxWrittenLength) text.resize(kMaxWrittenLength);
}

// The fields of an unsigned packed text DDD.MMSSsss...
struct PackedFields {
  std::string_view degrees;         // before the point
  std::string_view minutes;         // two digits
  std::string_view wholeSeconds;    // two digits
  std::string_view secondDecimals;  // the rest
};

PackedFields SplitPackedText(std::string_view body) {
  const std::size_t point = std::min(body.find('.'), body.size());
  const std::string_view after = body.substr(std::min(point + 1, body.size()));
  return {body.substr(0, point), after.substr(0, 2),
          after.substr(std::min<std::size_t>(2, after.size()), 2),
          after.substr(std::min<std::size_t>(4, after.size()))};
}

// The seconds of the fields as a number: SS.sss...
double SecondsValue(const PackedFields& f) {
  std::string seconds(f.wholeSeconds);
  seconds += '.';
  seconds += f.secondDecimals;
  return text::ToDouble(seconds);
}

// A packed text (an optional '-', then DDD.MMSSsss...) in a notation other than the symbol
// notation. `d` is the number of decimals of the packed digits.
std::string PackedTextToNotation(std::string_view packedText, int d, AngleFormat format,
                                 TextTarget target) {
  const bool negative = !packedText.empty() && packedText[0] == '-';
  const std::string_view body = negative ? packedText.substr(1) : packedText;
  const double sign = negative ? -1.0 : 1.0;
  const int fineDecimals = target == TextTarget::Window ? d + 2 : d;

  std::string out;
  switch (format) {
    case AngleFormat::Packed:
      out = packedText;
      break;
    case AngleFormat::DmsBlanks: {
      const PackedFields f = SplitPackedText(body);
      if (negative) out += '-';
      out += f.degrees.substr(0, 4);
      out += ' ';
      out += f.minutes;
      out += ' ';
      out += f.wholeSeconds;
      if (!f.secondDecimals.empty()) {
        out += '.';
        out += f.secondDecimals;
      }
      break;
    }
    case AngleFormat::DecimalDegrees: {
      const PackedFields f = SplitPackedText(body);
      const double degrees = text::ToDouble(f.degrees) +
                             text::ToDouble(f.minutes) * kDegreesPerMinute +
                             SecondsValue(f) * kDegreesPerSecond;
      out = text::Format("%.9f", sign * degrees);
      break;
    }
    case AngleFormat::DegreesMinutes: {
      const PackedFields f = SplitPackedText(body);
      const std::size_t minutesEnd = f.degrees.size() + 1 + f.minutes.size();
      const double degreesMinutes =
          text::ToDouble(body.substr(0, minutesEnd)) + SecondsValue(f) * kMinuteFieldPerSecond;
      out = text::Format("%.9f", sign * degreesMinutes);
      break;
    }
    case AngleFormat::Radians:
    case AngleFormat::Seconds:
    case AngleFormat::Minutes: {
      double radians = PackedToRadians(text::ToDouble(body));
      // An invalid packed value prints as the failure value scaled, as it is.
      if (radians != kInvalidAngle) radians *= sign;
      if (format == AngleFormat::Radians) {
        out = text::Format("%.*f", fineDecimals, radians);
      } else if (format == AngleFormat::Seconds) {
        out = text::Format("%.*f", d, radians * kSecondsPerRadian);
      } else {
        out = text::Format("%.*f", fineDecimals, radians * kMinutesPerRadian);
      }
      break;
    }
    case AngleFormat::DmsSymbols:
      break;
  }
  CutToLimit(out);
  return out;
}

// A text in the symbol notation reduced to a packed text: '-' and digits kept, the degree
// sign as the point, everything else dropped.
std::string ReducePackedText(std::string_view dmsText) {
  std::string packed;
  packed.reserve(dmsText.size());
  for (const char c : dmsText) {
    if (c == kDegreeSign) {
      packed += '.';
    } else if ((c >= '0' && c <= '9') || c == '-') {
      packed += c;
    }
  }
  return packed;
}

void ShowUnknownFormat(std::string_view label, ui::Desktop& desktop) {
  desktop.ShowMessage(label, "ERROR 2", ui::MessageIcon::Error);
}

}  // namespace

double RadiansToSeconds(double radians) {
  return radians * kSecondsPerRadian;
}

double RadiansToDegrees(double radians) {
  return radians * kDegreesPerRadian;
}

double RadiansToDegreesMinutes(double radians) {
  if (!std::isfinite(radians)) return radians;
  const double d = std::fabs(radians) * kDegreesPerRadian;
  // From 2^53 degrees on a double holds no fraction of a degree: the value is whole degrees
  // and no minutes (the truncation guard below would count minutes beyond any integer).
  if (d >= 9007199254740992.0) return std::copysign(d, radians);
  double D = std::trunc(d);
  const double m = (d - D) * 60.0;
  // trunc(m * 10^7), allowing for the representation error of d.
  double units = std::trunc(m * 1e7 + d * kTruncationGuard * kMinuteUnitsPerDegree);
  if (units >= kMinuteUnitsPerDegree) {
    units -= kMinuteUnitsPerDegree;
    D += 1.0;
    if (D == 360.0) D = 0.0;
  }
  return detail::ReadFixedDecimal(radians < 0.0, D, static_cast<std::int64_t>(units), 9);
}

std::optional<std::string> PackedToEditText(double packed, int decimals, AngleFormat format,
                                            TextTarget target) {
  if (!IsInputFormat(format)) return std::nullopt;
  const int d = std::clamp(decimals, kMinEditDecimals, kMaxEditDecimals);
  return PackedTextToNotation(FormatPacked(packed, d), d, format, target);
}

std::optional<std::string> PackedToEditText(double packed, int decimals,
                                            std::string_view inputFormat, ui::Desktop& desktop,
                                            TextTarget target) {
  if (const auto format = FindAngleFormat(inputFormat)) {
    if (auto text = PackedToEditText(packed, decimals, *format, target)) return text;
  }
  ShowUnknownFormat(inputFormat, desktop);
  return std::nullopt;
}

bool ApplyOutputFormat(std::string& latitude, std::string& longitude, std::string_view outputFormat,
                       int secondsDecimals, ui::Desktop& desktop) {
  const std::optional<AngleFormat> format = FindAngleFormat(outputFormat);
  if (!format) {
    ShowUnknownFormat(outputFormat, desktop);
    return false;
  }
  if (*format == AngleFormat::DmsSymbols) return true;
  const int d = std::clamp(secondsDecimals, 0, 6) + 4;
  for (std::string* text : {&latitude, &longitude}) {
    *text = PackedTextToNotation(ReducePackedText(*text), d, *format, TextTarget::Window);
  }
  return true;
}

}  // namespace tarvo::angles
