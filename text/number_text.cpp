#include "text/number_text.h"

#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tarvo::text {
namespace {

// The C locale as an object, created once; passing it explicitly keeps conversions
// independent of the process locale (LC_NUMERIC) without touching that locale.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPowerOfTen = 22;
constexpr std::uint64_t kExactIntegerLimit = std::uint64_t{1} << 53;
constexpr int kMaxPlainDigits = 19;  // 10^19 - 1 still fits 64 bits

// The C locale's white space, which strtod skips before a number.
bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The value of a plain decimal at the start of `text` when Clinger's fast path gives it
// exactly; nothing for anything strtod must decide (no digits, an exponent, hexadecimal,
// infinity or NaN, too many digits).
std::optional<double> PlainDecimal(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p != end && IsCSpace(*p)) ++p;
  bool negative = false;
  if (p != end && (*p == '-' || *p == '+')) {
    negative = *p == '-';
    ++p;
  }
  // "0x..." is a hexadecimal number to strtod.
  if (end - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return std::nullopt;
  std::uint64_t digits = 0;
  int count = 0;
  int decimals = 0;
  bool point = false;
  for (; p != end; ++p) {
    const char c = *p;
    if (c >= '0' && c <= '9') {
      if (++count > kMaxPlainDigits) return std::nullopt;
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      decimals += point ? 1 : 0;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (count == 0) return std::nullopt;
  if (p != end && (*p == 'e' || *p == 'E')) return std::nullopt;
  if (digits > kExactIntegerLimit || decimals > kMaxExactPowerOfTen) return std::nullopt;
  const double value = static_cast<double>(digits) / kPowersOfTen[decimals];
  return negative ? -value : value;
}

// 5^n for n from 0 to kMaxFastPrecision.
constexpr int kMaxFastPrecision = 17;
constexpr std::uint64_t kPowersOfFive[kMaxFastPrecision + 1] = {
    1ull,         5ull,          25ull,         125ull,         625ull,          3125ull,
    15625ull,     78125ull,      390625ull,     1953125ull,     9765625ull,      48828125ull,
    244140625ull, 1220703125ull, 6103515625ull, 30517578125ull, 152587890625ull, 762939453125ull};

// |value| * 10^precision rounded to the nearest integer, ties to even, computed exactly;
// nothing when it does not fit 64 bits or the value is not finite.
std::optional<std::uint64_t> ScaledMagnitude(double value, int precision) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const int biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  if (biasedExponent == 0x7FF) return std::nullopt;
  int exponent = 0;
  if (biasedExponent == 0) {
    if (mantissa == 0) return 0;  // zero of either sign
    exponent = -1074;             // subnormal: m * 2^-1074
  } else {
    mantissa |= std::uint64_t{1} << 52;
    exponent = biasedExponent - 1075;
  }
  // |value| * 10^p = (m * 5^p) * 2^(e + p), with m * 5^p below 2^93.
  __extension__ typedef unsigned __int128 Wide;
  const Wide scaled = static_cast<Wide>(mantissa) * kPowersOfFive[precision];
  const int shift = -(exponent + precision);
  if (shift <= 0) {
    // An integer: it fits 64 bits when m * 5^p is below 2^(64 + shift).
    if (shift < -64 || (scaled >> (64 + shift)) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(scaled << -shift);
  }
  if (shift >= 127) return 0;  // below half a unit of the last decimal
  Wide quotient = scaled >> shift;
  const Wide remainder = scaled & ((Wide{1} << shift) - 1);
  const Wide half = Wide{1} << (shift - 1);
  if (remainder > half || (remainder == half && (quotient & 1) != 0)) ++quotient;
  if ((quotient >> 64) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(quotient);
}

int DecimalLength(std::uint64_t n) {
  int length = 1;
  while (n >= 10) {
    n /= 10;
    ++length;
  }
  return length;
}

}  // namespace

double ToDouble(std::string_view text) {
  if (const std::optional<double> plain = PlainDecimal(text)) return *plain;
  const std::string terminated(text);
  return strtod_l(terminated.c_str(), nullptr, CLocale());
}

void AppendFixed(std::string& out, double value, int precision, int width) {
  const std::optional<std::uint64_t> scaled = precision >= 0 && precision <= kMaxFastPrecision
                                                  ? ScaledMagnitude(value, precision)
                                                  : std::nullopt;
  if (!scaled) {
    out += Format("%*.*f", width, precision, value);
    return;
  }
  // printf writes the sign of a negative value (and of -0) even when it rounds to zero.
  const bool negative = std::signbit(value);
  // At least one digit before the point.
  const int digits = std::max(DecimalLength(*scaled), precision + 1);
  const int length = (negative ? 1 : 0) + digits + (precision > 0 ? 1 : 0);
  const std::size_t start = out.size();
  const int padding = std::max(width - length, 0);
  out.resize(start + static_cast<std::size_t>(padding + length), ' ');
  char* p = out.data() + out.size();
  std::uint64_t n = *scaled;
  for (int written = 0; written < digits; ++written) {
    if (written == precision && precision > 0) *--p = '.';
    *--p = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  if (negative) *--p = '-';
}

std::optional<double> ParseDouble(std::string_view text) {
  const std::string terminated(text);
  char* end = nullptr;
  const double value = strtod_l(terminated.c_str(), &end, CLocale());
  if (end == terminated.c_str() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> LeadingNumber(std::string_view text) {
  const std::string terminated(text);
  char* end = nullptr;
  const double value = strtod_l(terminated.c_str(), &end, CLocale());
  if (end == terminated.c_str()) return std::nullopt;
  return value;
}

int ToInt(std::string_view text) {
  const std::string terminated(text);
  errno = 0;
  const long value = strtol_l(terminated.c_str(), nullptr, 10, CLocale());
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string FormatTime(const char* format, const std::tm& time) {
  char buffer[256];
  const size_t length = strftime_l(buffer, sizeof buffer, format, &time, CLocale());
  return std::string(buffer, length);
}

std::string Format(const char* format, ...) {
  const locale_t previous = uselocale(CLocale());
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  char small[128];
  const int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string result;
  if (length < 0) {
    result.clear();
  } else if (static_cast<size_t>(length) < sizeof small) {
    result.assign(small, static_cast<size_t>(length));
  } else {
    result.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(result.data(), result.size(), format, again);
    result.resize(static_cast<size_t>(length));
  }
  va_end(again);
  uselocale(previous);
  return result;
}

}  // namespace tarvo::text
