// Number <-> text conversion in the C locale.
//
// Every number the program reads from a field, a settings file or a coordinate record, and
// every number it writes, goes through these functions. They behave exactly like the C
// library's strtod, atoi and snprintf in the "C" locale whatever locale the process runs in,
// so a comma-decimal desktop locale never changes a result or a file.
#pragma once

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

// atoi semantics for a whole number, clamped to the range of int (atoi itself is undefined
// on overflow).
int ToInt(std::string_view text);

// strftime of `time` in the C locale (English day and month names, AM/PM).
std::string FormatTime(const char* format, const std::tm& time);

// snprintf into a std::string, in the C locale.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tarvo::text
