#include "text/number_text.h"

#include <locale.h>

#include <cerrno>
#include <cmath>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace tarvo::text {
namespace {

// The C locale as an object, created once; passing it explicitly keeps conversions
// independent of the process locale (LC_NUMERIC) without touching that locale.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

}  // namespace

double ToDouble(std::string_view text) {
  const std::string terminated(text);
  return strtod_l(terminated.c_str(), nullptr, CLocale());
}

std::optional<double> ParseDouble(std::string_view text) {
  const std::string terminated(text);
  char* end = nullptr;
  const double value = strtod_l(terminated.c_str(), &end, CLocale());
  if (end == terminated.c_str() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
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
