// Numbers that the angle converters define as "write this decimal text, read it back".
//
// Several converters build a text such as "-35.12345678" from a sign, a whole part and a
// fixed count of fraction digits, and take the value the C library reads from it. Building
// and parsing a text costs an allocation and a locale switch per value, in the inner loop of
// a batch conversion, so the value is computed directly instead: when the digits written
// form an integer N below 2^53 and there are at most 22 of them after the point, both N and
// 10^digits are exact doubles, and one IEEE division N / 10^digits is correctly rounded,
// which is exactly the double the C library's correctly rounded decimal reading gives for
// the same text. Larger wholes fall back to the text.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace tarvo::angles::detail {

// 10^n for n from 0 to 22 (exact doubles).
inline double PowerOfTen(int n) {
  static constexpr std::array<double, 23> kPowersOfTen = {
      1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
  };
  return kPowersOfTen[static_cast<std::size_t>(n)];
}

// std::round (halves away from zero), without the library call where it is not needed:
// below 2^52 in size x - trunc(x) is exact, and anything larger, or not finite, goes to the
// library. The grid reader rounds two values per shift with it.
inline double RoundHalfAway(double x) {
  constexpr double kExactFractions = 4503599627370496.0;  // 2^52
  if (!(std::fabs(x) < kExactFractions)) return std::round(x);
  // The sign kept, for a result of zero too (round(-0.3) is -0).
  const double whole = std::copysign(static_cast<double>(static_cast<std::int64_t>(x)), x);
  // One away from zero when the fraction is a half or more, added rather than branched on
  // (-0 + -0 is -0).
  const double away = std::fabs(x - whole) >= 0.5 ? 1.0 : 0.0;
  return whole + std::copysign(away, x);
}

// ReadFixedDecimal by the text itself, for values beyond the exact integer arithmetic.
double ReadFixedDecimalText(bool negative, double whole, std::int64_t fraction, int digits);

// The value read from the text: '-' when `negative`, `whole` (an integral value >= 0) in
// decimal, '.', then `fraction` (0 <= fraction < 10^digits) with leading zeros to `digits`
// digits (0 to 22). Inline: the converters to packed values call it for every angle.
inline double ReadFixedDecimal(bool negative, double whole, std::int64_t fraction, int digits) {
  // Integers up to 2^53 are exact doubles.
  constexpr double kExactIntegerLimit = 9007199254740992.0;
  const double scale = PowerOfTen(digits);
  // whole * scale + fraction is computed exactly as long as it stays below 2^53.
  if (whole < kExactIntegerLimit / scale) {
    const double wholeScaled = whole * scale;
    const double n = wholeScaled + static_cast<double>(fraction);
    if (n < kExactIntegerLimit) {
      const double value = n / scale;
      return negative ? -value : value;
    }
  }
  return ReadFixedDecimalText(negative, whole, fraction, digits);
}

}  // namespace tarvo::angles::detail
