// Number <-> text conversion in the C locale.
//
// Every number the program reads from a field, a settings file or a coordinate record, and
// every number it writes, goes through these functions. They behave exactly like the C
// library's strtod, atoi and snprintf in the "C" locale whatever locale the process runs in,
// so a comma-decimal desktop locale never changes a result or a file.
//
// Two of them carry a batch conversion's millions of values, so they avoid the C library's
// general machinery where an exact short cut exists:
//   - ToDouble reads a plain decimal (sign, at most 19 digits, a point, no exponent) as the
//     integer of its digits divided by a power of ten. When that integer is below 2^53 and
//     there are at most 22 decimals, both operands are exact doubles and the one IEEE
//     division is correctly rounded, which is the value strtod's correctly rounded reading
//     gives (Clinger's fast path). Every other text goes to strtod itself.
//   - AppendFixed writes "%*.*f" from the exact binary value: the double m * 2^e times 10^p
//     is m * 5^p * 2^(e+p), an integer shifted by a power of two, which 128-bit integer
//     arithmetic rounds exactly (to nearest, ties to even, as printf does in the default
//     rounding mode). Values whose scaled magnitude does not fit 64 bits go to snprintf.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace tarvo::text {

// strtod semantics: leading white space is skipped, conversion stops at the first character
// that cannot continue a number, and a text that does not start with a number gives 0.
double ToDouble(std::string_view text);

// The number a whole text spells (leading white space allowed), or nothing when any other
// character follows it or it is not finite.
std::optional<double> ParseDouble(std::string_view text);

// The number a text starts with, read as ToDouble reads it (white space skipped, an exponent
// part of the number: "1.5e2" is 150; "nan", "inf" and "1e999" read as what they spell), or
// nothing when the text starts with no number. What follows the number is ignored.
std::optional<double> LeadingNumber(std::string_view text);

// atoi semantics for a whole number, clamped to the range of int (atoi itself is undefined
// on overflow).
int ToInt(std::string_view text);

// strftime of `time` in the C locale (English day and month names, AM/PM).
std::string FormatTime(const char* format, const std::tm& time);

// snprintf into a std::string, in the C locale.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends what snprintf's "%*.*f" writes for `value` with `precision` decimals, right-aligned
// in `width` characters (wider when needed), to `out`.
void AppendFixed(std::string& out, double value, int precision, int width = 0);

// The digits AppendFixed writes for `value` with `precision` decimals (sign and point left
// out) as one integer: |value| * 10^precision rounded as printf rounds it. Nothing where
// AppendFixed goes to snprintf (above 17 decimals, 64 bits too few, not finite).
std::optional<std::uint64_t> FixedDigits(double value, int precision);

}  // namespace tarvo::text
