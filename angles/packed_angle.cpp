#include "angles/packed_angle.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>

#include "angles/fixed_decimal.h"
#include "text/number_text.h"

namespace tarvo::angles {
namespace {

constexpr std::array<double, 7> kThresholds = {
    59.5, 59.95, 59.995, 59.9995, 59.99995, 59.999995, 59.9999995,
};

// The converters' decimals argument is 0 to 7 in use (secondsDecimals, plus one for decimal
// degrees); it is clamped to that range so that the digits written stay well inside the
// exact integer arithmetic of ReadFixedDecimal.
constexpr int kMaxConverterDecimals = 8;

// trunc (and floor) of a value known to lie in [0, 2^31), by conversion to int: two
// instructions where the library's trunc takes a dozen on the x86-64 baseline.
double WholePart(double value) {
  return static_cast<double>(static_cast<int>(value));
}

// Steps shared by the three converters to packed. D, M and S are the whole degrees, whole
// minutes and seconds of |x|; `k` picks the threshold T(k); `n` is the number of decimals of
// seconds written.
double ComposePacked(bool negative, double D, double M, double S, int k, int n) {
  const double threshold = RoundingThreshold(k);
  // Seconds within the last rounding step below a whole second are lifted to it, and
  // seconds that would round to 60 become the next minute. Seconds and minutes lie in
  // [0, 60) as the callers split them; only the whole degrees are unbounded.
  if (S - WholePart(S) > threshold - 59.0) S = WholePart(S) + 1.0;
  if (S > threshold) {
    S = 0.0;
    M += 1.0;
  }
  if (M == 60.0) {
    M = 0.0;
    D += 1.0;
  }
  if (D >= 360.0) D -= 360.0;

  // The decimals of seconds: truncated, plus one when the remainder is above one half.
  double wholeSeconds = WholePart(S);
  const double scale = detail::PowerOfTen(n);
  const double scaled = (S - wholeSeconds) * scale;
  auto decimals = static_cast<std::int64_t>(scaled);
  // Added, not branched on: the remainder is as often above one half as below.
  decimals += scaled - static_cast<double>(decimals) > 0.5 ? 1 : 0;
  // The lift above keeps the decimals below 10^n in exact arithmetic; a fraction that sits
  // within one rounding error of the threshold can still reach 10^n. Carry it rather than
  // write an extra digit.
  if (static_cast<double>(decimals) >= scale) {
    decimals = 0;
    wholeSeconds += 1.0;
    if (wholeSeconds == 60.0) {
      wholeSeconds = 0.0;
      M += 1.0;
      if (M == 60.0) {
        M = 0.0;
        D += 1.0;
        if (D >= 360.0) D -= 360.0;
      }
    }
  }

  // The text sign, D, '.', MM, SS, decimals reads as D + MMSSdecimals / 10^(n + 4).
  const auto fraction =
      (static_cast<std::int64_t>(M) * 100 + static_cast<std::int64_t>(wholeSeconds)) *
          static_cast<std::int64_t>(scale) +
      decimals;
  return detail::ReadFixedDecimal(negative, D, fraction, n + 4);
}

// Whole degrees, whole minutes and seconds of a non-negative number of degrees.
struct Split {
  double degrees;
  double minutes;
  double seconds;
};

Split SplitDegrees(double degrees) {
  const double D = std::trunc(degrees);
  const double m = (degrees - D) * 60.0;
  const double M = WholePart(m);
  return {D, M, (m - M) * 60.0};
}

double ComposeFromDegrees(double x, double degrees, int k, int n) {
  const Split s = SplitDegrees(degrees);
  return ComposePacked(x < 0.0, s.degrees, s.minutes, s.seconds, k, n);
}

int ClampDecimals(int k) {
  return std::clamp(k, 0, kMaxConverterDecimals - 1);
}

// Adds one to the decimal number written in text[begin, end), growing it by a digit when
// it was all nines.
void IncrementDigits(std::string& text, std::size_t begin, std::size_t end) {
  for (std::size_t i = end; i > begin; --i) {
    char& digit = text[i - 1];
    if (digit != '9') {
      ++digit;
      return;
    }
    digit = '0';
  }
  text.insert(begin, 1, '1');
}

}  // namespace

double RoundingThreshold(int decimals) {
  if (decimals < 0 || decimals >= static_cast<int>(kThresholds.size())) return 59.999995;
  return kThresholds[static_cast<std::size_t>(decimals)];
}

double PackedToRadians(double packed) {
  if (!std::isfinite(packed)) return kInvalidAngle;
  const double a = std::fabs(packed);
  // Whole degrees of 360 or more are no angle. A seconds field carried into the degree is
  // checked after the carry only for its minutes: 359 deg 59' 59.99999" is a full turn.
  if (a >= 360.0) return kInvalidAngle;
  double D = WholePart(a);
  // P holds the minutes, then the seconds field as two decimals and more (0 <= P < 100).
  const double P = (a - D) * 100.0;
  double M = WholePart(P);
  const double r = P - M;
  double S = 0.0;
  if (r > 0.999999) {
    // A hair below a whole minute: 35.13 is stored as 35.129999...
    M += 1.0;
    S = std::fabs(P - M) * 100.0;
  } else if (r > 0.5999999) {
    // A seconds field of 59.99999 or more, or 60 to 99.99: the next whole minute.
    M += 1.0;
    S = 0.0;
    if (M == 60.0) {
      M = 0.0;
      D += 1.0;
    }
  } else {
    S = r * 100.0;
  }
  if (M > 59.0) return kInvalidAngle;
  return (D * 3600.0 + M * 60.0 + S) * kRadiansPerSecond;
}

double RadiansToPacked(double radians, int k) {
  // A finite value above about 3e306 radians has no finite number of degrees; it is
  // returned in degrees, as an infinity, like any other value that is no number.
  const double degrees = std::fabs(radians) * kDegreesPerRadian;
  if (!std::isfinite(degrees)) return radians * kDegreesPerRadian;
  k = ClampDecimals(k);
  return ComposeFromDegrees(radians, degrees, k, k + 1);
}

double DecimalDegreesToPacked(double degrees, int k) {
  if (!std::isfinite(degrees)) return degrees;
  k = ClampDecimals(k);
  return ComposeFromDegrees(degrees, std::fabs(degrees), k, k);
}

double RadiansToPackedDecimals(double radians, int k) {
  return DecimalDegreesToPacked(radians * kDegreesPerRadian, k);
}

double DegreesMinutesToPacked(double degreesMinutes, int k) {
  if (!std::isfinite(degreesMinutes)) return degreesMinutes;
  k = ClampDecimals(k);
  const double a = std::fabs(degreesMinutes);
  const double D = std::trunc(a);
  const double m = (a - D) * 100.0;
  const double M = std::trunc(m);
  return ComposePacked(degreesMinutes < 0.0, D, M, (m - M) * 60.0, k, k);
}

double SecondsToPacked(double seconds) {
  const double a = seconds * kDegreesPerSecond;
  const double D = std::trunc(a);
  const double m = (a - D) * 60.0;
  const double M = std::trunc(m);
  return D + (m - M) * 60.0 * 0.0001 + M * 0.01;
}

double MinutesToPacked(double minutes) {
  const double a = minutes * kDegreesPerMinute;
  const double D = std::trunc(a);
  const double m = (a - D) * 60.0;
  const double M = std::trunc(m);
  return D + (m - M) * 60.0 * 0.0001 + M * 0.01;
}

DegreesMinutesSeconds SecondsToDms(double seconds) {
  // Whole degrees must fit an int; anything else is no angle and is returned as seconds.
  if (!std::isfinite(seconds) || std::fabs(seconds / 3600.0) >= static_cast<double>(INT_MAX)) {
    return {0, 0, seconds};
  }
  const double D = std::trunc(seconds / 3600.0);
  const double M = std::trunc((seconds - D * 3600.0) / 60.0);
  DegreesMinutesSeconds dms{static_cast<int>(D), static_cast<int>(M),
                            seconds - (D * 3600.0 + M * 60.0)};
  if (dms.seconds > 59.9) {
    dms.seconds = 0.0;
    ++dms.minutes;
  }
  if (dms.minutes >= 60) {
    dms.minutes = 0;
    ++dms.degrees;
  }
  return dms;
}

std::string FormatPacked(double packed, int decimals) {
  std::string t;
  text::AppendFixed(t, packed, decimals);
  if (decimals < 4) return t;
  const std::size_t point = t.find('.');
  if (point == std::string::npos || t.size() < point + 5) return t;
  const std::size_t begin = (t[0] == '-') ? 1 : 0;
  char* field = t.data() + point + 1;  // MMSS...
  if (field[2] < '6') return t;
  int minutes = (field[0] - '0') * 10 + (field[1] - '0');
  // A minutes field of 60 or more is no valid angle; it stays as printed.
  if (minutes >= 60) return t;
  std::fill(t.begin() + static_cast<std::ptrdiff_t>(point) + 3, t.end(), '0');
  ++minutes;
  if (minutes == 60) {
    minutes = 0;
    IncrementDigits(t, begin, point);
    if (std::string_view(t).substr(begin, t.find('.') - begin) == "360") {
      // "360" becomes "0" (written as an erase: GCC 12 misreads replace() here as an
      // overlapping copy under -O3 and warns).
      t.erase(begin + 1, 2);
      t[begin] = '0';
    }
  }
  const std::size_t minutesAt = t.find('.') + 1;
  t[minutesAt] = static_cast<char>('0' + minutes / 10);
  t[minutesAt + 1] = static_cast<char>('0' + minutes % 10);
  return t;
}

double RoundPacked(double packed, int decimals) {
  // The text's value from its digits, without writing it: |packed| * 10^decimals rounded as
  // printf rounds, the seconds carried as FormatPacked carries them, read as the text
  // "whole.fraction" reads. Values beyond 64 bits of digits go through the text itself.
  const std::optional<std::uint64_t> digits =
      decimals >= 4 ? text::FixedDigits(packed, decimals) : std::nullopt;
  if (!digits) return text::ToDouble(FormatPacked(packed, decimals));
  const auto scale = static_cast<std::uint64_t>(detail::PowerOfTen(decimals));
  const std::uint64_t minute = scale / 100;  // the last decimal's units in a minute
  std::uint64_t whole = *digits / scale;
  std::uint64_t fraction = *digits % scale;
  const std::uint64_t minutes = fraction / minute;
  const std::uint64_t secondsTens = fraction / (minute / 10) % 10;
  if (secondsTens >= 6 && minutes < 60) {
    fraction = (minutes + 1) * minute;
    if (minutes + 1 == 60) {
      fraction = 0;
      ++whole;
      if (whole == 360) whole = 0;
    }
  }
  return detail::ReadFixedDecimal(std::signbit(packed), static_cast<double>(whole),
                                  static_cast<std::int64_t>(fraction), decimals);
}

}  // namespace tarvo::angles
