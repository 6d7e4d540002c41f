// The fast number paths of a batch run against the C library they stand in for: AppendFixed
// against snprintf's "%*.*f" and ToDouble against strtod, on random values of every kind, on
// the halfway cases where rounding decides, and at every precision and width the writer uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "text/number_text.h"

namespace tarvo::text {
namespace {

std::string Printf(double value, int precision, int width) {
  std::vector<char> buffer(std::snprintf(nullptr, 0, "%*.*f", width, precision, value) + 1);
  std::snprintf(buffer.data(), buffer.size(), "%*.*f", width, precision, value);
  return buffer.data();
}

std::string Fixed(double value, int precision, int width) {
  std::string out = "x";  // appends, keeping what was there
  AppendFixed(out, value, precision, width);
  return out.substr(1);
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Counts mismatches and reports the first few.
class Mismatches {
 public:
  void FixedCase(double value, int precision, int width) {
    const std::string expected = Printf(value, precision, width);
    const std::string actual = Fixed(value, precision, width);
    if (actual != expected && ++count_ <= 5) {
      ADD_FAILURE() << std::hexfloat << value << " with %" << width << "." << precision
                    << "f: expected \"" << expected << "\", got \"" << actual << "\"";
    }
    ++checked_;
  }
  void ParseCase(const std::string& text) {
    const double expected = std::strtod(text.c_str(), nullptr);
    const double actual = ToDouble(text);
    if (!SameBits(actual, expected) && ++count_ <= 5) {
      ADD_FAILURE() << "\"" << text << "\": expected " << std::hexfloat << expected << ", got "
                    << actual;
    }
    ++checked_;
  }
  int count() const { return count_; }
  int checked() const { return checked_; }

 private:
  int count_ = 0;
  int checked_ = 0;
};

// The precisions and widths the run writes with: "%.3f" metres, "%12.*f" with 4 or 5
// decimals (arc seconds), 8 or 9 (packed, degrees, radians, minutes), and the packed texts.
constexpr int kRunPrecisions[] = {3, 4, 5, 8, 9};

TEST(AppendFixed, MatchesSnprintfOnRandomValuesAtEveryPrecision) {
  std::mt19937_64 random(20020301);
  Mismatches mismatches;
  const auto anyBits = [&] {
    double value;
    do {
      const std::uint64_t bits = random();
      std::memcpy(&value, &bits, sizeof value);
    } while (!std::isfinite(value));
    return value;
  };
  for (int i = 0; i < 200000; ++i) {
    const int precision = static_cast<int>(random() % 18);
    const int width = (i % 2) ? 12 : 0;
    // Coordinates in metres and angles in their units, at their usual sizes.
    std::uniform_real_distribution<double> coordinate(-1e7, 1e7);
    mismatches.FixedCase(coordinate(random), precision, width);
    mismatches.FixedCase(std::ldexp(static_cast<double>(random() >> 11), -52 + i % 40), precision,
                         width);
    mismatches.FixedCase(anyBits(), precision, width);  // tiny, huge and subnormal values
  }
  EXPECT_EQ(mismatches.count(), 0) << "of " << mismatches.checked();
}

TEST(AppendFixed, RoundsHalfwayCasesToEvenLikePrintf) {
  // w + (2i + 1) / 2^k times 10^p has the fraction (2i + 1) 5^p 2^p / 2^k: exactly one half
  // for k = p + 1, so the value lies halfway between two decimals of p places; for other k
  // it is a decimal or lies to one side. Binary places 1 to 12 at every precision the run
  // uses, both signs.
  Mismatches mismatches;
  std::mt19937_64 random(7);
  for (int precision : kRunPrecisions) {
    for (int places = 1; places <= 12; ++places) {
      for (int i = 0; i < 2000; ++i) {
        const double whole = static_cast<double>(random() % 10000000);
        const double value = whole + std::ldexp(static_cast<double>(2 * i + 1), -places);
        if (value >= whole + 1) continue;
        mismatches.FixedCase(value, precision, 0);
        mismatches.FixedCase(-value, precision, 12);
      }
    }
    // Decimal halves as written (inexact in binary): 0.0005, 2.5e-5, ...
    for (int i = 0; i < 20000; ++i) {
      const double value =
          (static_cast<double>(random() % 100000000) + 0.5) / std::pow(10.0, precision);
      mismatches.FixedCase(value, precision, 12);
    }
  }
  EXPECT_EQ(mismatches.count(), 0) << "of " << mismatches.checked();
}

TEST(AppendFixed, SignsZerosAndLimits) {
  Mismatches mismatches;
  const double values[] = {0.0,
                           -0.0,
                           0.0625,
                           -0.0625,
                           0.5,
                           1.5,
                           2.5,
                           -4e-4,
                           1e-320,
                           1e300,
                           -1.8e19,
                           123456789012345.678,
                           1.0e16,
                           9.5e18,
                           0.9995,
                           59.99995,
                           359.99999999995};
  for (double value : values) {
    for (int precision = 0; precision <= 20; ++precision) {
      for (int width : {0, 1, 12, 30}) mismatches.FixedCase(value, precision, width);
    }
  }
  EXPECT_EQ(mismatches.count(), 0) << "of " << mismatches.checked();
  EXPECT_EQ(Fixed(-0.0004, 3, 0), "-0.000") << "printf keeps the sign of what rounds to zero";
  EXPECT_EQ(Fixed(379291.7965, 3, 0), "379291.796") << "its binary value lies below the half";
}

// AppendFixed rounds in 64-bit arithmetic up to 4 decimals while the binary exponent leaves
// a shift below 64 bits, in 128 bits otherwise, and writes two digits at a time: values on
// both sides of those limits (around 2^-16 to 2^-14 at 3 to 5 decimals), halfway cases and
// whole parts of 1 to 8 digits, at odd and even precisions.
TEST(AppendFixed, BothSidesOfTheNarrowRoundingAndEveryDigitCount) {
  Mismatches mismatches;
  for (int precision = 0; precision <= 17; ++precision) {
    for (int exponent = -18; exponent <= -12; ++exponent) {
      const double power = std::ldexp(1.0, exponent);
      for (const double value : {power, std::nextafter(power, 0.0), std::nextafter(power, 1.0),
                                 3 * power, 0.00005, 0.000049999, 0.00015, 0.0005}) {
        mismatches.FixedCase(value, precision, 0);
        mismatches.FixedCase(-value, precision, 12);
      }
    }
    for (double whole = 1; whole < 1e9; whole *= 10) {
      for (const double value : {whole, whole - 0.5, whole + 0.25, whole * 9.99999999,
                                 whole - std::pow(10.0, -precision) / 2}) {
        mismatches.FixedCase(value, precision, 0);
        mismatches.FixedCase(value, precision, 12);
      }
    }
  }
  EXPECT_EQ(mismatches.count(), 0) << "of " << mismatches.checked();
}

TEST(ToDouble, MatchesStrtodOnDecimalsOfEveryLength) {
  std::mt19937_64 random(1966);
  Mismatches mismatches;
  for (int i = 0; i < 200000; ++i) {
    const int precision = static_cast<int>(random() % 12);
    const double value = static_cast<double>(random() % 100000000000ULL) /
                         std::pow(10.0, static_cast<int>(random() % 12));
    mismatches.ParseCase(Printf((i % 2) ? -value : value, precision, 0));
    // Up to 20 digits with the point anywhere: past the exact fast path as well.
    std::string digits(1 + random() % 20, '0');
    for (char& digit : digits) digit = static_cast<char>('0' + random() % 10);
    digits.insert(random() % (digits.size() + 1), ".");
    mismatches.ParseCase(digits);
  }
  EXPECT_EQ(mismatches.count(), 0) << "of " << mismatches.checked();
}

// ToDouble reads runs of digits eight at a time where eight characters are left: runs of
// every length up to 20 on both sides of the point, ended by the end of the text or by the
// characters next to the digits ('/' and ':') and others a field may hold, in texts that end
// just before, at and after eight characters of a run.
TEST(ToDouble, DigitRunsOfEveryLengthAndWhatEndsThem) {
  std::mt19937_64 random(8);
  Mismatches mismatches;
  const auto digits = [&](int count) {
    std::string run(static_cast<std::size_t>(count), '0');
    for (char& digit : run) digit = static_cast<char>('0' + random() % 10);
    return run;
  };
  for (int whole = 0; whole <= 20; ++whole) {
    for (int fraction = -1; fraction <= 20; ++fraction) {  // -1: no point
      for (const char* end : {"", "/", ":", " 5", ".5", "e5", "\xB0", "x", "-"}) {
        for (const char* sign : {"", "-"}) {
          mismatches.ParseCase(sign + digits(whole) + (fraction >= 0 ? "." : "") +
                               digits(std::max(fraction, 0)) + end);
        }
      }
    }
  }
  EXPECT_EQ(mismatches.count(), 0) << "of " << mismatches.checked();
}

TEST(ToDouble, KeepsStrtodsSyntax) {
  Mismatches mismatches;
  const char* texts[] = {"",
                         " \t\n\v\f\r 7.25",
                         "+1.5",
                         "-",
                         "+",
                         ".",
                         "-.",
                         ".5",
                         "5.",
                         "-0",
                         "1e5",
                         "1.5E-3",
                         "2.5e",
                         "0x1p3",
                         "-0X10",
                         "inf",
                         "-Infinity",
                         "nan",
                         "1..2",
                         "12,5",
                         "5 6",
                         "9007199254740993",
                         "9007199254740992.5",
                         "0.00000000000000000000001",
                         "000000000000000000001.5",
                         "123456789012345678901234567890",
                         "1e400",
                         "4.9e-325"};
  for (const char* text : texts) mismatches.ParseCase(text);
  EXPECT_EQ(mismatches.count(), 0) << "of " << mismatches.checked();
  EXPECT_TRUE(std::signbit(ToDouble("-0.000"))) << "a negative zero stays negative";
}

}  // namespace
}  // namespace tarvo::text
