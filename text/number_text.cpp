#include "text/number_text.h"

#include <locale.h>

#include <bit>
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
constexpr std::uint64_t kPowersOfTenInteger[] = {1,      10,      100,      1000,     10000,
                                                 100000, 1000000, 10000000, 100000000};

// The C locale's white space, which strtod skips before a number.
bool IsCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');  // blank, \t \n \v \f \r
}

// Reads the run of decimal digits at `p` (up to `end`) into `digits` (digits = digits * 10 +
// d for each, modulo 2^64: the caller checks the count) and returns where the run ends.
//
// Eight characters at a time where eight are left, in one 64-bit word (the digits of a
// coordinate field come in runs of 3 to 9): subtracting '0' from every byte leaves 0 to 9 in
// a digit's byte; a byte that is no digit shows its top bit in either that difference (below
// '0') or the difference plus 0x76 (above '9'). A borrow or carry only runs toward later
// bytes, so the lowest marked byte is exactly the first character that is no digit. The
// digits before it are shifted to the top of the word (zeros before them are leading zeros)
// and combined in three multiplications: pairs, then quads, then all eight (the method of
// simdjson's parse_eight_digits_unrolled).
[[gnu::always_inline]] inline const char* AccumulateDigits(const char* p, const char* end,
                                                           std::uint64_t& digits) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kZeros = 0x3030303030303030;
    constexpr std::uint64_t kAboveNine = 0x7676767676767676;
    constexpr std::uint64_t kTopBits = 0x8080808080808080;
    while (end - p >= 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, p, sizeof word);
      std::uint64_t values = word - kZeros;
      const std::uint64_t notDigits = (values | (values + kAboveNine)) & kTopBits;
      const int count = notDigits == 0 ? 8 : std::countr_zero(notDigits) / 8;
      if (count == 0) return p;
      values <<= 8 * (8 - count);
      values = values * 10 + (values >> 8);
      values = (((values & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
                (((values >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >>
               32;
      digits = digits * kPowersOfTenInteger[count] + (values & 0xFFFFFFFF);
      p += count;
      if (count < 8) return p;
    }
  }
  for (; p != end; ++p) {
    const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
    if (digit > 9) break;
    digits = digits * 10 + digit;
  }
  return p;
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
  const char* const whole = p;
  p = AccumulateDigits(p, end, digits);
  std::ptrdiff_t count = p - whole;
  std::ptrdiff_t decimals = 0;
  if (p != end && *p == '.') {
    const char* const fraction = ++p;
    p = AccumulateDigits(p, end, digits);
    decimals = p - fraction;
    count += decimals;
  }
  // More digits than 64 bits hold wrapped around above; strtod reads those.
  if (count == 0 || count > kMaxPlainDigits) return std::nullopt;
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

// 2^53 * 5^4 is below 2^64.
constexpr int kMaxNarrowPrecision = 4;

// scaled / 2^shift rounded to the nearest integer, ties to even, for 0 < shift < the bits of
// Unsigned.
template <typename Unsigned>
Unsigned RoundedShift(Unsigned scaled, int shift) {
  Unsigned quotient = scaled >> shift;
  const Unsigned remainder = scaled & ((Unsigned{1} << shift) - 1);
  const Unsigned half = Unsigned{1} << (shift - 1);
  if (remainder > half || (remainder == half && (quotient & 1) != 0)) ++quotient;
  return quotient;
}

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
  // |value| * 10^p = (m * 5^p) * 2^(e + p), with m * 5^p below 2^93; below 2^64 for the
  // few decimals of metres and seconds, where 64-bit arithmetic does.
  const int shift = -(exponent + precision);
  if (precision <= kMaxNarrowPrecision && shift > 0 && shift < 64) {
    return RoundedShift(mantissa * kPowersOfFive[precision], shift);
  }
  __extension__ typedef unsigned __int128 Wide;
  const Wide scaled = static_cast<Wide>(mantissa) * kPowersOfFive[precision];
  if (shift <= 0) {
    // An integer: it fits 64 bits when m * 5^p is below 2^(64 + shift).
    if (shift < -64 || (scaled >> (64 + shift)) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(scaled << -shift);
  }
  if (shift >= 127) return 0;  // below half a unit of the last decimal
  const Wide quotient = RoundedShift(scaled, shift);
  if ((quotient >> 64) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(quotient);
}

// "00" to "99": the digits of a number are written two at a time.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the last two decimal digits of `n` before `p`, and drops them from `n`.
char* PutTwoDigits(char* p, std::uint64_t& n) {
  const std::uint64_t pair = n % 100;
  n /= 100;
  p -= 2;
  std::memcpy(p, kDigitPairs + 2 * pair, 2);
  return p;
}

}  // namespace

double ToDouble(std::string_view text) {
  if (const std::optional<double> plain = PlainDecimal(text)) return *plain;
  const std::string terminated(text);
  return strtod_l(terminated.c_str(), nullptr, CLocale());
}

std::optional<std::uint64_t> FixedDigits(double value, int precision) {
  if (precision < 0 || precision > kMaxFastPrecision) return std::nullopt;
  return ScaledMagnitude(value, precision);
}

void AppendFixed(std::string& out, double value, int precision, int width) {
  const std::optional<std::uint64_t> scaled = FixedDigits(value, precision);
  if (!scaled) {
    out += Format("%*.*f", width, precision, value);
    return;
  }
  // The text is built backwards from its last digit: the decimals, the point, the whole part
  // (at least one digit), the sign. printf writes the sign of a negative value (and of -0)
  // even when it rounds to zero. 20 digits of a 64-bit number, 17 decimals at most.
  char text[48];
  char* const end = text + sizeof text;
  char* p = end;
  std::uint64_t n = *scaled;
  int decimals = precision;
  for (; decimals >= 2; decimals -= 2) p = PutTwoDigits(p, n);
  if (decimals == 1) {
    *--p = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  if (precision > 0) *--p = '.';
  while (n >= 100) p = PutTwoDigits(p, n);
  if (n >= 10) {
    p = PutTwoDigits(p, n);
  } else {
    *--p = static_cast<char>('0' + n);
  }
  if (std::signbit(value)) *--p = '-';
  const auto length = static_cast<std::size_t>(end - p);
  if (width > 0 && static_cast<std::size_t>(width) > length) {
    out.append(static_cast<std::size_t>(width) - length, ' ');
  }
  out.append(p, length);
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
