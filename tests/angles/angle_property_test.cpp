// Properties over many random angles (fixed seed): what a field writes reads back as the same
// position, no writer prints 60 seconds or 60 minutes at any decimals, and the range check
// takes exactly the bounds in every notation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "angles/angle_format.h"
#include "angles/angle_reading.h"
#include "angles/angle_writing.h"
#include "angles/dms_text.h"
#include "angles/packed_angle.h"
#include "text/number_text.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::angles {
namespace {

using ui::testing::ScriptedDesktop;

constexpr AngleFormat kInputFormats[] = {
    AngleFormat::Packed,         AngleFormat::DmsBlanks, AngleFormat::DecimalDegrees,
    AngleFormat::DegreesMinutes, AngleFormat::Radians,   AngleFormat::Seconds,
    AngleFormat::Minutes,
};

// Decimals of seconds each reader keeps, given secondsDecimals.
int ReaderDecimals(AngleFormat format, int sd) {
  switch (format) {
    case AngleFormat::DecimalDegrees:
      return std::min(sd + 1, 5);
    case AngleFormat::DegreesMinutes:
      return std::min(sd, 4);
    case AngleFormat::Radians:
      return std::min(sd + 1, 4);
    case AngleFormat::Seconds:
    case AngleFormat::Minutes:
      return 4;
    default:
      return 99;  // the digits are taken as typed
  }
}

// Half a unit of the last decimal an edit text shows, in arc seconds.
double EditHalfUnit(AngleFormat format, int sd) {
  switch (format) {
    case AngleFormat::DecimalDegrees:
      return 0.5e-9 * 3600;
    case AngleFormat::DegreesMinutes:
      return 0.5e-9 * 6000;
    case AngleFormat::Radians:
      return 0.5 * std::pow(10.0, -(sd + 6)) * kSecondsPerRadian;
    case AngleFormat::Minutes:
      return 0.5 * std::pow(10.0, -(sd + 6)) * 60;
    default:
      return 0.5 * std::pow(10.0, -(sd + 4));
  }
}

double TotalSeconds(double packed) {
  return PackedToRadians(packed) * kSecondsPerRadian;
}

// A random packed value with `sd` decimals of seconds; now and then on the last step before a
// whole minute or degree, where the carries happen.
double RandomPacked(std::mt19937_64& random, int sd) {
  const auto pick = [&](int n) { return static_cast<long long>(random() % n); };
  const long long steps = std::llround(std::pow(10.0, sd));
  const bool edge = pick(4) == 0;
  const long long d = edge && pick(2) ? 359 : pick(360);
  const long long m = edge ? 59 : pick(60);
  const long long s = edge ? 60 * steps - 1 : pick(60 * steps);
  return text::ToDouble(text::Format("%lld.%02lld%02lld%0*lld", d, m, s / steps, sd, s % steps));
}

TEST(AngleRoundTrip, EditTextReadsBackAsTheSamePackedValue) {
  std::mt19937_64 random(1966);
  for (int sd = 0; sd <= 6; ++sd) {
    for (int i = 0; i < 3000; ++i) {
      const double packed = RandomPacked(random, sd);
      for (const AngleFormat format : kInputFormats) {
        const std::string edit = *PackedToEditText(packed, sd + 4, format, TextTarget::Window);
        const double read = *ReadAngleText(edit, format, sd);
        const int kept = std::min(sd, ReaderDecimals(format, sd));
        const std::string what = std::string(Label(format)) + " '" + edit + "' of " +
                                 FormatPacked(packed, sd + 4) + ", sd " + std::to_string(sd);
        // Where the reader keeps every decimal of seconds shown, the packed digits come back
        // exactly; otherwise the value is the shown one rounded to the reader's decimals.
        if (kept == sd) {
          ASSERT_EQ(FormatPacked(read, sd + 4), FormatPacked(packed, sd + 4)) << what;
        } else {
          const double error = std::fabs(TotalSeconds(read) - TotalSeconds(packed));
          ASSERT_LE(std::min(error, std::fabs(error - 1296000.0)),
                    0.5 * std::pow(10.0, -kept) + EditHalfUnit(format, sd) + 1e-7)
              << what;
        }
      }
    }
  }
}

// The fields of a degrees-minutes-seconds text: its blank-separated numbers once the
// degree sign and the minute mark are blanks too.
struct Fields {
  double degrees, minutes, seconds;
};

Fields ParseDms(std::string text) {
  std::replace(text.begin(), text.end(), kDegreeSign, ' ');
  std::replace(text.begin(), text.end(), '\'', ' ');
  double values[3] = {};
  std::size_t at = 0;
  for (double& value : values) {
    at = text.find_first_not_of(' ', at);
    if (at == std::string::npos) break;
    value = std::fabs(text::ToDouble(text.substr(at)));
    at = text.find(' ', at);
  }
  return {values[0], values[1], values[2]};
}

// Checks one written angle: fields below 60, and the printed value within `steps` steps of
// k decimals of the true one (modulo a full turn).
void ExpectSound(const Fields& f, double trueSeconds, int k, const std::string& what,
                 double steps = 0.5) {
  ASSERT_LT(f.minutes, 60.0) << what;
  ASSERT_LT(f.seconds, 60.0) << what;
  double error =
      std::fmod(std::fabs(f.degrees * 3600 + f.minutes * 60 + f.seconds - trueSeconds), 1296000.0);
  error = std::min(error, 1296000.0 - error);
  ASSERT_LE(error, steps * std::pow(10.0, -k) + 1e-6) << what;
}

Fields PackedFields(double packed, int decimals) {
  const std::string t = text::Format("%.*f", decimals, std::fabs(packed));
  const std::size_t point = t.find('.');
  return {text::ToDouble(t.substr(0, point)), text::ToDouble(t.substr(point + 1, 2)),
          text::ToDouble(t.substr(point + 3, 2) + "." + t.substr(point + 5))};
}

TEST(AngleWriters, NeverPrint60SecondsOr60MinutesAtAnyDecimals) {
  std::mt19937_64 random(2002);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  for (int k = 0; k <= 6; ++k) {
    for (int i = 0; i < 4000; ++i) {
      // Half of the angles lie just below a whole minute, by 10^-13 to 10^-3 seconds.
      const double degrees = std::floor(uniform(random) * 360);
      const double below = std::pow(10.0, -13 + 10 * uniform(random));
      const double trueSeconds =
          i % 2 ? degrees * 3600 + 59 * 60 + 60 - below : uniform(random) * 1296000;
      const double radians = (i % 4 == 1 ? -1 : 1) * trueSeconds / kSecondsPerRadian;
      const std::string what =
          "k " + std::to_string(k) + ", seconds " + text::Format("%.15g", trueSeconds);

      const std::string symbols = FormatRadiansDms(radians, k);
      ExpectSound(ParseDms(symbols), trueSeconds, k, what + ": " + symbols);
      const std::string plain = FormatRadiansDmsPlain(radians, k);
      ExpectSound(ParseDms(plain), trueSeconds, k, what + ": " + plain);
      ExpectSound(PackedFields(RadiansToPacked(radians, k), k + 5), trueSeconds, k,
                  what + " RadiansToPacked");
      ExpectSound(PackedFields(DecimalDegreesToPacked(trueSeconds / 3600, k), k + 4), trueSeconds,
                  k, what + " DecimalDegreesToPacked");

      // The packed value as stored (k + 1 decimals), then shown with k decimals: rounded
      // twice, so within 0.55 steps.
      const double packed = std::fabs(RadiansToPacked(radians, k));
      const std::string display = FormatPackedDms(packed, k);
      ExpectSound(ParseDms(display), trueSeconds, k, what + ": " + display, 0.55);
      const std::string edit =
          *PackedToEditText(packed, k + 4, AngleFormat::DmsBlanks, TextTarget::Window);
      ExpectSound(ParseDms(edit), trueSeconds, k, what + ": " + edit, 0.55);
      std::string lat = symbols, lon = symbols;
      ScriptedDesktop desktop;
      ASSERT_TRUE(ApplyOutputFormat(lat, lon, kPackedLabel, k, desktop));
      ExpectSound(PackedFields(text::ToDouble(lat), k + 4), trueSeconds, k, what + ": " + lat);

      const std::string minutes = text::Format("%.9f", RadiansToDegreesMinutes(radians));
      ASSERT_LT(text::ToDouble(minutes.substr(minutes.find('.') + 1, 2)), 60.0) << minutes;
    }
  }
}

TEST(CheckAngleText, TakesExactlyTheBoundsInEveryNotation) {
  // Each bound, and the packed value one arc second beyond it (none below 0: a typed sign
  // is dropped) and one inside it.
  const struct {
    AngleKind kind;
    double bound, beyond, inside;
  } bounds[] = {
      {AngleKind::Latitude, 0.0, -1, 0.0001},
      {AngleKind::Latitude, 50.0, 50.0001, 49.5959},
      {AngleKind::Longitude, 110.0, 109.5959, 110.0001},
      {AngleKind::Longitude, 160.0, 160.0001, 159.5959},
  };
  // From 2 decimals of seconds on (the program uses 4 and 5): with fewer, a radian field
  // shows 6 or 7 decimals and cannot state a bound to within 0.001 arc second.
  for (int sd = 2; sd <= 6; ++sd) {
    for (const AngleFormat format : kInputFormats) {
      for (const auto& b : bounds) {
        for (const double packed : {b.bound, b.beyond, b.inside}) {
          if (packed < 0) continue;
          ScriptedDesktop desktop;
          std::string text = *PackedToEditText(packed, sd + 4, format, TextTarget::Window);
          const std::string shown = text;
          const AngleCheck check = CheckAngleText(text, b.kind, Label(format), desktop);
          EXPECT_EQ(check == AngleCheck::InRange, packed != b.beyond)
              << Label(format) << " '" << shown << "', sd " << sd;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tarvo::angles
