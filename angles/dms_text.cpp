#include "angles/dms_text.h"

#include <algorithm>
#include <cmath>

#include "angles/angle_format.h"
#include "angles/packed_angle.h"
#include "text/number_text.h"

namespace tarvo::angles {
namespace {

constexpr int kMaxDecimals = 9;

enum class Marks { Symbols, Blanks };

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Seconds with k decimals and at least two digits before the point.
std::string SecondsText(double seconds, int k) {
  std::string printed;
  text::AppendFixed(printed, seconds, k);
  if (IsDigit(printed[0]) && (printed.size() == 1 || !IsDigit(printed[1]))) {
    printed.insert(printed.begin(), '0');
  }
  return printed;
}

// D, M and S are the whole degrees, whole minutes and seconds of the magnitude. Applies the
// carries and writes the text.
std::string WriteDms(const char* sign, double D, double M, double S, int k, Marks marks) {
  k = std::clamp(k, 0, kMaxDecimals);
  if (S > RoundingThreshold(k)) {
    S = 0.0;
    M += 1.0;
  }
  std::string seconds = SecondsText(S, k);
  if (seconds.starts_with("60")) {
    seconds = SecondsText(0.0, k);
    M += 1.0;
  }
  if (M == 60.0) {
    M = 0.0;
    D += 1.0;
  }
  if (D >= 360.0) D -= 360.0;

  // Degrees and minutes are whole values held as doubles, printed as "%.0f" so that no
  // value, however large, is ever converted to an int; the minutes (0 to 59) as "%02.0f".
  std::string text = sign;
  text::AppendFixed(text, D, 0);
  if (marks == Marks::Symbols) text += kDegreeSign;
  text += ' ';
  if (M < 10.0) text += '0';
  text::AppendFixed(text, M, 0);
  text += marks == Marks::Symbols ? "' " : " ";
  text += seconds;
  if (marks == Marks::Symbols) text += '"';
  return text;
}

std::string WriteRadians(double radians, int k, Marks marks) {
  const char* sign = radians >= 0.0 ? " " : "-";
  const double d = std::fabs(radians) * kDegreesPerRadian;
  const double D = std::trunc(d);
  const double m = (d - D) * 60.0;
  const double M = std::trunc(m);
  return WriteDms(sign, D, M, (m - M) * 60.0, k, marks);
}

}  // namespace

std::string FormatRadiansDms(double radians, int k) {
  return WriteRadians(radians, k, Marks::Symbols);
}

std::string FormatRadiansDmsPlain(double radians, int k) {
  return WriteRadians(radians, k, Marks::Blanks);
}

std::string FormatPackedDms(double packed, int k) {
  const double v = std::fabs(packed);
  const double D = std::trunc(v);
  const double m = (v - D) * 100.0;
  const double M = std::trunc(m);
  return WriteDms(packed < 0.0 ? "-" : "", D, M, (m - M) * 100.0, k, Marks::Symbols);
}

}  // namespace tarvo::angles
