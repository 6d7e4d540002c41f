#include "angles/fixed_decimal.h"

#include <array>
#include <cmath>

#include "text/number_text.h"

namespace tarvo::angles::detail {
namespace {

constexpr std::array<double, 23> kPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};

// Integers up to 2^53 are exact doubles.
constexpr double kExactIntegerLimit = 9007199254740992.0;

}  // namespace

double PowerOfTen(int n) {
  return kPowersOfTen[static_cast<std::size_t>(n)];
}

double ReadFixedDecimal(bool negative, double whole, std::int64_t fraction, int digits) {
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
  return text::ToDouble(text::Format("%s%.0f.%0*lld", negative ? "-" : "", whole, digits,
                                     static_cast<long long>(fraction)));
}

}  // namespace tarvo::angles::detail
