#include "angles/angle_writing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "angles/dms_text.h"
#include "angles/packed_angle.h"
#include "text/number_text.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::angles {
namespace {

using ui::MessageButtons;
using ui::MessageIcon;
using ui::testing::ScriptedDesktop;

double Radians(double d, double m, double s) {
  return (d + m / 60.0 + s / 3600.0) / kDegreesPerRadian;
}

TEST(DmsWriters, WriteFieldsWithCarries) {
  using Writer = std::function<std::string(double, int)>;
  const Writer symbols = FormatRadiansDms, plain = FormatRadiansDmsPlain, packed = FormatPackedDms;
  struct Case {
    Writer write;
    double value;
    int k;
    std::string expected;
  };
  const Case cases[] = {
      {symbols, Radians(35, 12, 34.5678), 4, " 35\xB0 12' 34.5678\""},
      {symbols, -Radians(35, 12, 34.5678), 4, "-35\xB0 12' 34.5678\""},
      {symbols, Radians(35, 59, 59.99996), 4, " 36\xB0 00' 00.0000\""},
      {symbols, Radians(359, 59, 59.99996), 4, " 0\xB0 00' 00.0000\""},
      {symbols, Radians(35, 12, 9.99996), 4, " 35\xB0 12' 10.0000\""},
      {symbols, Radians(35, 2, 5.5), 4, " 35\xB0 02' 05.5000\""},
      {symbols, Radians(35, 12, 10), 4, " 35\xB0 12' 10.0000\""},
      {symbols, Radians(35, 12, 59.6), 0, " 35\xB0 13' 00\""},
      {symbols, Radians(35, 12, 59.4), 0, " 35\xB0 12' 59\""},
      {symbols, Radians(35, 12, 5.4), 0, " 35\xB0 12' 05\""},
      // Seconds equal to the double T(1), which lies above 59.95 and prints as 60.0.
      {symbols, 0.00029064580182516688, 1, " 0\xB0 01' 00.0\""},
      {plain, Radians(35, 12, 34.5678), 4, " 35 12 34.5678"},
      {plain, -Radians(151, 0, 0), 5, "-151 00 00.00000"},
      {packed, 35.12345678, 4, "35\xB0 12' 34.5678\""},
      {packed, 35.13, 4, "35\xB0 13' 00.0000\""},
      {packed, 35.1275, 4, "35\xB0 13' 00.0000\""},
      {packed, 35.5959999999, 4, "36\xB0 00' 00.0000\""},
      {packed, 0.005995, 1, "0\xB0 01' 00.0\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.write(c.value, c.k), c.expected) << "value " << c.value << ", k = " << c.k;
  }
}

TEST(UnitChanges, RadiansToSecondsDegreesAndTruncatedMinutes) {
  EXPECT_DOUBLE_EQ(RadiansToSeconds(Radians(35, 12, 34.5678)), 126754.5678);
  EXPECT_DOUBLE_EQ(RadiansToDegrees(Radians(35, 30, 0)), 35.5);
  const struct {
    double radians;
    const char* expected;  // "%.9f"
  } cases[] = {
      {Radians(35, 0.05, 0), "35.000500000"},
      {Radians(35, 12.3456789, 0), "35.123456789"},
      {-Radians(35, 12.3456789, 0), "-35.123456789"},
      {Radians(35, 12.34567894, 0), "35.123456789"},  // truncated, not rounded
      {Radians(35, 0.04999999, 0), "35.000499999"},   // 0.1 of a digit below stays below
      {Radians(36, 0, 0) * (1 - 1e-16), "36.000000000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::Format("%.9f", RadiansToDegreesMinutes(c.radians)), c.expected);
  }
}

TEST(PackedToEditText, WritesEachInputNotation) {
  const struct {
    double packed;
    int decimals;
    AngleFormat format;
    TextTarget target;
    const char* expected;
  } cases[] = {
      {35.3, 8, AngleFormat::Packed, TextTarget::Window, "35.30000000"},
      {35.3, 8, AngleFormat::DmsBlanks, TextTarget::Window, "35 30 00.0000"},
      {35.3, 8, AngleFormat::DecimalDegrees, TextTarget::Window, "35.500000000"},
      {35.3, 8, AngleFormat::DegreesMinutes, TextTarget::Window, "35.300000000"},
      {35.12345678, 8, AngleFormat::DegreesMinutes, TextTarget::Window, "35.125761300"},
      {35.12345678, 8, AngleFormat::Radians, TextTarget::Window, "0.6145234861"},
      {35.12345678, 8, AngleFormat::Radians, TextTarget::File, "0.61452349"},
      {35.12345678, 9, AngleFormat::Seconds, TextTarget::Window, "126754.567800000"},
      {35.12345678, 8, AngleFormat::Minutes, TextTarget::Window, "2112.5761300000"},
      {35.12345678, 8, AngleFormat::Minutes, TextTarget::File, "2112.57613000"},
      {35.12345678, 4, AngleFormat::DmsBlanks, TextTarget::Window, "35 12 35"},
      {35.5959999999, 8, AngleFormat::DmsBlanks, TextTarget::Window, "36 00 00.0000"},
      {-35.3, 8, AngleFormat::DecimalDegrees, TextTarget::Window, "-35.500000000"},
      {-35.3, 8, AngleFormat::Radians, TextTarget::File, "-0.61959188"},
      {35.75, 8, AngleFormat::Radians, TextTarget::File, "-1.00000000"},  // no valid angle
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PackedToEditText(c.packed, c.decimals, c.format, c.target), c.expected)
        << Label(c.format) << " of " << c.packed;
  }
}

TEST(ApplyOutputFormat, RewritesBothTextsInTheOutputNotation) {
  const std::string latitude = " 35\xB0 12' 34.5678\"";
  const std::string longitude = " 151\xB0 00' 00.0000\"";
  const struct {
    std::string_view format;
    const char* latitude;
    const char* longitude;
  } cases[] = {
      {kDmsSymbolsLabel, " 35\xB0 12' 34.5678\"", " 151\xB0 00' 00.0000\""},
      {kPackedLabel, "35.12345678", "151.00000000"},
      {kDmsBlanksLabel, "35 12 34.5678", "151 00 00.0000"},
      {kDecimalDegreesLabel, "35.209602167", "151.000000000"},
      {kDegreesMinutesLabel, "35.125761300", "151.000000000"},
      {kRadiansLabel, "0.6145234861", "2.6354471705"},
      {kSecondsLabel, "126754.56780000", "543600.00000000"},
      {kMinutesLabel, "2112.5761300000", "9060.0000000000"},
  };
  ScriptedDesktop desktop;
  for (const auto& c : cases) {
    std::string lat = latitude, lon = longitude;
    EXPECT_TRUE(ApplyOutputFormat(lat, lon, c.format, 4, desktop));
    EXPECT_EQ(lat, c.latitude) << c.format;
    EXPECT_EQ(lon, c.longitude) << c.format;
  }
  std::string south = "-35\xB0 12' 34.5678\"", whole = " 35\xB0 12' 35\"";
  EXPECT_TRUE(ApplyOutputFormat(south, whole, kDecimalDegreesLabel, 0, desktop));
  EXPECT_EQ(south, "-35.209602167") << "the sign applies to the whole angle";
  EXPECT_EQ(whole, "35.209722222");
  EXPECT_TRUE(desktop.messages().empty());
}

TEST(UnknownOutputNotation, ShowsError2AndChangesNothing) {
  ScriptedDesktop desktop;
  EXPECT_FALSE(PackedToEditText(35.3, 8, kDmsSymbolsLabel, desktop, TextTarget::Window));
  std::string lat = " 35\xB0 12' 34.5678\"", lon = " 151\xB0 00' 00.0000\"";
  EXPECT_FALSE(ApplyOutputFormat(lat, lon, "Grads", 4, desktop));
  EXPECT_EQ(lat, " 35\xB0 12' 34.5678\"");
  EXPECT_EQ(lon, " 151\xB0 00' 00.0000\"");
  ASSERT_EQ(desktop.messages().size(), 2u);
  EXPECT_EQ(desktop.messages()[0].text, kDmsSymbolsLabel);
  EXPECT_EQ(desktop.messages()[1].text, "Grads");
  for (const auto& message : desktop.messages()) {
    EXPECT_EQ(message.caption, "ERROR 2");
    EXPECT_EQ(message.icon, MessageIcon::Error);
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
  }
}

// Engine results for impossible inputs (NaN, huge values) must print as numbers, never reach
// an undefined conversion to int (the sanitized build traps on one).
TEST(AngleWriters, SurviveValuesThatAreNoAngles) {
  for (const double x : {double(NAN), double(INFINITY), -double(INFINITY), 1e300, -1e300}) {
    for (const AngleFormat format : {AngleFormat::Packed, AngleFormat::DmsBlanks,
                                     AngleFormat::DecimalDegrees, AngleFormat::Radians}) {
      EXPECT_LE(PackedToEditText(x, 8, format, TextTarget::Window)->size(), kMaxWrittenLength);
    }
    FormatRadiansDms(x, 4);
    FormatRadiansDmsPlain(x, 4);
    FormatPackedDms(x, 4);
    RadiansToDegreesMinutes(x);
    RadiansToPacked(x, 4);
    DecimalDegreesToPacked(x, 4);
    DegreesMinutesToPacked(x, 4);
    SecondsToDms(x);
  }
}

}  // namespace
}  // namespace tarvo::angles
