#include "angles/packed_angle.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>

#include "angles/fixed_decimal.h"
#include "text/number_text.h"

namespace tarvo::angles {
namespace {

double Radians(double d, double m, double s) {
  return (d + m / 60.0 + s / 3600.0) / kDegreesPerRadian;
}
double SecondsOf(double radians) {
  return radians * kSecondsPerRadian;
}

TEST(PackedToRadians, ReadsEachFieldAndTheHairBelowAWholeMinute) {
  struct Case {
    double packed;
    double seconds;  // expected, in arc seconds; -1 for the failure value
  };
  const Case cases[] = {
      {35.12345678, 35 * 3600 + 12 * 60 + 34.5678},
      {35.13, 35 * 3600 + 13 * 60},    // stored as 35.12999...
      {35.1260, 35 * 3600 + 13 * 60},  // a seconds field of 60 is the next minute
      {35.1275, 35 * 3600 + 13 * 60},  // and so is one of 75
      {35.5960, 36 * 3600},            // ... carrying into the degree
      {-35.1234, 35 * 3600 + 12 * 60 + 34},
      {0.0, 0.0},
      {359.5959, 359 * 3600 + 59 * 60 + 59},
      {359.5959999999, 360 * 3600},  // carried to a full turn, not taken as 360 typed
      {35.75, -1},                   // minutes field 75
      {360.0, -1},
      {NAN, -1},
  };
  for (const Case& c : cases) {
    const double r = PackedToRadians(c.packed);
    if (c.seconds < 0) {
      EXPECT_EQ(r, kInvalidAngle) << c.packed << " is no valid packed angle";
    } else {
      EXPECT_NEAR(SecondsOf(r), c.seconds, 1e-7) << "packed " << c.packed;
    }
  }
}

TEST(ConvertersToPacked, RoundSecondsAndCarryAsTheirDecimalsSay) {
  using Converter = std::function<double(double, int)>;
  const Converter fromRadians = RadiansToPacked, fromDegrees = DecimalDegreesToPacked,
                  fromDegreesMinutes = DegreesMinutesToPacked;
  struct Case {
    const char* what;
    Converter convert;
    double x;
    int k;
    const char* expected;  // printed with "%.10f"
  };
  const Case cases[] = {
      {"radians, k + 1 decimals", fromRadians, Radians(35, 12, 34.56789), 4, "35.1234567890"},
      {"radians, last step below 60", fromRadians, Radians(35, 59, 59.999996), 4, "36.0000000000"},
      {"radians, lifted to a whole second within T(k)", fromRadians, Radians(35, 12, 34.99996), 4,
       "35.1235000000"},
      {"radians, negative", fromRadians, -Radians(35, 12, 34.5678), 4, "-35.1234567800"},
      {"degrees", fromDegrees, 35.5, 5, "35.3000000000"},
      {"degrees, negative", fromDegrees, -35.5, 4, "-35.3000000000"},
      {"degrees, k decimals, half up", fromDegrees, 35 + 12 / 60.0 + 34.56786 / 3600, 4,
       "35.1234567900"},
      {"degrees, whole seconds lifted", fromDegrees, 35 + 12 / 60.0 + 34.6 / 3600, 0,
       "35.1235000000"},
      {"degrees, whole seconds kept", fromDegrees, 35 + 12 / 60.0 + 34.4 / 3600, 0,
       "35.1234000000"},
      {"degrees, 360 wraps to 0", fromDegrees, 359.99999999, 4, "0.0000000000"},
      {"degree-minutes", fromDegreesMinutes, 35.3030, 4, "35.3018000000"},
      {"degree-minutes, negative", fromDegreesMinutes, -35.125, 4, "-35.1230000000"},
      // Seconds a rounding error above T(k): the decimals reached 10^k and were written as
      // an extra digit (0 deg 00' 59.10" instead of 0 deg 01').
      {"degrees, decimals reach 10^k", fromDegrees, 0.01665277777777778, 1, "0.0100000000"},
      {"degrees, decimals reach 10^k", fromDegrees, 0.016666666527777776, 6, "0.0100000000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text::Format("%.10f", c.convert(c.x, c.k)), c.expected) << c.what;
  }
}

TEST(SecondsAndMinutesToPacked, SplitWithoutRounding) {
  EXPECT_NEAR(SecondsToPacked(126754.5678), 35.12345678, 1e-11);
  EXPECT_NEAR(MinutesToPacked(2112.57613), 35.12345678, 1e-11);
  // A hair below the next minute stays below it; readers round it with RoundPacked.
  EXPECT_LT(SecondsToPacked(129599.99999), 35.596);
  EXPECT_EQ(RoundPacked(SecondsToPacked(129599.99999), 8), 36.0);
}

TEST(SecondsToDms, CarriesSecondsAbove59Point9) {
  const DegreesMinutesSeconds plain = SecondsToDms(126754.5678);
  EXPECT_EQ(plain.degrees, 35);
  EXPECT_EQ(plain.minutes, 12);
  EXPECT_NEAR(plain.seconds, 34.5678, 1e-9);
  const DegreesMinutesSeconds carried = SecondsToDms(35 * 3600 + 59 * 60 + 59.95);
  EXPECT_EQ(carried.degrees, 36);
  EXPECT_EQ(carried.minutes, 0);
  EXPECT_EQ(carried.seconds, 0.0);
  EXPECT_EQ(SecondsToDms(NAN).degrees, 0) << "no angle: nothing converted to int";
}

TEST(FormatPacked, WritesASecondsFieldThatRoundsTo60AsTheNextMinute) {
  const struct {
    double packed;
    const char* expected;
  } cases[] = {
      {35.12345678, "35.12345678"},     {35.12999999999, "35.13000000"},
      {35.1259999999, "35.13000000"},   {35.5959999999, "36.00000000"},
      {9.5959999999, "10.00000000"},    {99.5959999999, "100.00000000"},
      {-35.5959999999, "-36.00000000"}, {359.5959999999, "0.00000000"},
      {35.7560, "35.75600000"},  // minutes 75: no valid angle, left as printed
  };
  for (const auto& c : cases) EXPECT_EQ(FormatPacked(c.packed, 8), c.expected) << c.packed;
}

// RoundPacked computes the value of FormatPacked's text from the digits without writing it;
// it must be the very double the text reads as, carries, signs and zeros included. Values
// are drawn around the places where the text changes: a seconds field just below 60 (the
// carry), its tens digit 5 or 6, minutes 59 and 60+, whole degrees 359 and 99, at every
// number of decimals the readers use (8, 9) and the others the writer allows.
TEST(RoundPacked, IsTheValueOfTheFormattedText) {
  std::mt19937_64 random(2021);
  const double edges[] = {
      0.0,     -0.0, 35.12999999999, 35.5959999999, 359.5959999999, 99.5959999999, -35.5959999999,
      35.7560, 1e15, -1e300,         35.12595,      0.00595};
  const auto same = [](double value, int decimals) {
    const double expected = text::ToDouble(FormatPacked(value, decimals));
    const double actual = RoundPacked(value, decimals);
    return std::signbit(actual) == std::signbit(expected) &&
           (actual == expected || (std::isnan(actual) && std::isnan(expected)));
  };
  for (int decimals = 0; decimals <= 20; ++decimals) {
    for (const double value : edges) EXPECT_TRUE(same(value, decimals)) << value << " " << decimals;
  }
  std::uniform_real_distribution<double> below(0.0, 1e-7);
  int failures = 0;
  for (int i = 0; i < 200000 && failures < 5; ++i) {
    const double degrees = static_cast<double>(random() % 361);
    const double minutes = static_cast<double>(random() % 62);
    const double seconds = static_cast<double>(50 + random() % 11) + (random() % 2 ? 1.0 : 0.5) -
                           below(random) * static_cast<double>(random() % 3);
    const double packed = (random() % 2 ? -1 : 1) * (degrees + minutes / 100 + seconds / 10000);
    for (const int decimals : {8, 9, 4 + static_cast<int>(random() % 10)}) {
      if (!same(packed, decimals) && ++failures <= 5) {
        ADD_FAILURE() << text::Format("%.17g with %d decimals", packed, decimals);
      }
    }
  }
}

// The converters compute "write the digits, read the text back" arithmetically; it must be
// the very double the C library reads.
TEST(ReadFixedDecimal, GivesTheDoubleTheTextReadsAs) {
  std::mt19937_64 random(20020301);
  for (int i = 0; i < 200000; ++i) {
    const int digits = static_cast<int>(random() % 12);
    const double whole = static_cast<double>(random() % (i % 2 ? 360 : 100000000));
    const auto fraction = static_cast<std::int64_t>(
        random() % static_cast<std::uint64_t>(detail::PowerOfTen(digits)));
    const bool negative = random() % 2;
    const std::string written = text::Format("%s%.0f.%0*lld", negative ? "-" : "", whole, digits,
                                             static_cast<long long>(fraction));
    ASSERT_EQ(detail::ReadFixedDecimal(negative, whole, fraction, digits), text::ToDouble(written))
        << written;
  }
}

// Bit for bit std::round: halves, the neighbours of halves, zeros of either sign, the edge of
// exact fractions, and values beyond it or not finite.
TEST(RoundHalfAway, IsTheLibrarysRound) {
  const double inf = std::numeric_limits<double>::infinity();
  const double table[] = {0.5,
                          -0.5,
                          1.5,
                          -1.5,
                          2.5,
                          -2.5,
                          0.49999999999999994,
                          -0.49999999999999994,
                          0.5000000000000001,
                          0.0,
                          -0.0,
                          -0.3,
                          0.3,
                          4503599627370495.5,
                          -4503599627370495.5,
                          4503599627370496.0,
                          9007199254740993.0,
                          1e300,
                          -1e300,
                          inf,
                          -inf,
                          1.3e14 + 0.5,
                          123456789.49999999};
  const auto same = [](double x) {
    return std::bit_cast<std::uint64_t>(detail::RoundHalfAway(x)) ==
           std::bit_cast<std::uint64_t>(std::round(x));
  };
  for (const double x : table) EXPECT_TRUE(same(x)) << text::Format("%.17g", x);
  EXPECT_TRUE(std::isnan(detail::RoundHalfAway(std::numeric_limits<double>::quiet_NaN())));
  std::mt19937_64 random(8);
  for (int i = 0; i < 1000000; ++i) {
    const double x =
        i % 2 ? std::bit_cast<double>(random())
              : static_cast<double>(static_cast<std::int64_t>(random() >> 20)) / 8.0 - 2e15;
    if (!std::isnan(x)) {
      ASSERT_TRUE(same(x)) << text::Format("%.17g", x);
    }
  }
}

}  // namespace
}  // namespace tarvo::angles
