#include "angles/angle_reading.h"

#include <gtest/gtest.h>

#include <string>

#include "angles/angle_format.h"
#include "text/number_text.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::angles {
namespace {

using ui::MessageButtons;
using ui::MessageIcon;
using ui::testing::ScriptedDesktop;

TEST(AngleFormatLabels, AreTheStoredBytesInListOrder) {
  EXPECT_EQ(kDmsSymbolsLabel, std::string("DDD") + '\xB0' + " MM' SS.ssss\"");
  EXPECT_EQ(kDmsSymbolsLabel.size(), 17u) << "the degree sign is one byte and swallowed nothing";
  ASSERT_EQ(OutputFormatLabels().size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) {
    const auto format = FindAngleFormat(OutputFormatLabels()[i]);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(static_cast<std::size_t>(*format), i + 1);
    EXPECT_EQ(Label(*format), OutputFormatLabels()[i]);
  }
  ASSERT_EQ(OptionsInputFormatLabels().size(), 7u);
  EXPECT_EQ(OptionsInputFormatLabels().front(), kPackedLabel);
  EXPECT_EQ(OptionsInputFormatLabels().back(), kMinutesLabel);
  ASSERT_EQ(FileInputFormatLabels().size(), 6u);
  EXPECT_EQ(FileInputFormatLabels().back(), kSecondsLabel);
  EXPECT_FALSE(FindAngleFormat("radians")) << "labels compare byte for byte";
  EXPECT_FALSE(FindAngleFormat("DDD.MMSSsssss "));
}

TEST(ReadAngleText, ReadsEveryInputNotation) {
  const struct {
    std::string_view format;
    const char* text;
    int secondsDecimals;
    const char* expected;  // the packed value with "%.8f"
  } cases[] = {
      {kPackedLabel, "35.12345678", 4, "35.12345678"},
      {kPackedLabel, "  35.5 trailing", 4, "35.50000000"},
      {kPackedLabel, "abc", 4, "0.00000000"},
      {kDmsBlanksLabel, "35 12 34.5678", 4, "35.12345678"},
      {kDmsBlanksLabel, "35 12 34.", 4, "35.12340000"},
      // Whole degrees, minutes and seconds, however many digits each has (it was taken apart
      // by position as "35.2 3.", 35 deg 20', without a word).
      {kDmsBlanksLabel, "35 2 13.5", 4, "35.02135000"},
      {kDmsBlanksLabel, "33 5 1.", 4, "33.05010000"},
      {kDmsBlanksLabel, "33 5.", 4, "33.05000000"},
      {kDmsBlanksLabel, "-151 12 34.5", 4, "-151.12345000"},
      {kDmsBlanksLabel, " 35 12 34.5678", 4, "35.12345678"},
      // Only 30 characters are read: the digit after them is not.
      {kDmsBlanksLabel, "35 12 34.5678000000000000000009", 4, "35.12345678"},
      {kDecimalDegreesLabel, "35.5", 4, "35.30000000"},
      {kDecimalDegreesLabel, "35.209602167", 4, "35.12345678"},
      {kDecimalDegreesLabel, "-35.5", 4, "-35.30000000"},
      {kDegreesMinutesLabel, "35.125761300", 4, "35.12345678"},
      {kRadiansLabel, "0.6145234861", 4, "35.12345678"},
      {kSecondsLabel, "126754.5678", 4, "35.12345678"},
      {kSecondsLabel, "129599.99999", 4, "36.00000000"},  // no seconds field of 60
      {kMinutesLabel, "2112.5761300000", 4, "35.12345678"},
      {kMinutesLabel, "2159.9999999", 4, "36.00000000"},
  };
  ScriptedDesktop desktop;
  for (const auto& c : cases) {
    const double packed = ReadAngleText(c.text, c.format, c.secondsDecimals, desktop);
    EXPECT_EQ(text::Format("%.8f", packed), c.expected) << c.format << ": '" << c.text << "'";
  }
  EXPECT_TRUE(desktop.messages().empty());
}

TEST(ReadAngleText, UnknownNotationShowsError1AndGivesMinusOne) {
  for (const std::string_view label : {kDmsSymbolsLabel, std::string_view("ddd.mmsssss")}) {
    ScriptedDesktop desktop;
    EXPECT_EQ(ReadAngleText("35.5", label, 4, desktop), -1.0);
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, label);
    EXPECT_EQ(desktop.messages()[0].caption, "ERROR 1");
    EXPECT_EQ(desktop.messages()[0].icon, MessageIcon::Error);
    EXPECT_EQ(desktop.messages()[0].buttons, MessageButtons::Ok);
  }
}

TEST(CheckAngleText, CleansTheText) {
  const struct {
    const char* typed;
    const char* cleaned;
  } cases[] = {
      {"35.5", "35.5"},
      {"-33.5", "33.5"},
      {"+151", "151."},
      {"  35 12 34", "35 12 34."},  // blanks dropped only before the first character kept
      {" - 35", "35."},
      {"35.12.34", "35.1234"},
      {"S35.5E", "35.5"},
      {"35\xB0"
       "12'",
       "35\xB0"
       "12'."},
      {"1234567890123456789012345678901234567890", "123456789012345678901234567890"},
  };
  ScriptedDesktop desktop;
  for (const auto& c : cases) {
    std::string text = c.typed;
    EXPECT_EQ(CheckAngleText(text, AngleKind::Unchecked, kPackedLabel, desktop),
              AngleCheck::InRange);
    EXPECT_EQ(text, c.cleaned) << "typed '" << c.typed << "'";
  }
  EXPECT_TRUE(desktop.messages().empty());
}

TEST(CheckAngleText, ChecksTheRangeInEachNotation) {
  const struct {
    std::string_view format;
    AngleKind kind;
    const char* text;
    bool inRange;
  } cases[] = {
      {kPackedLabel, AngleKind::Latitude, "50", true},
      {kPackedLabel, AngleKind::Latitude, "50.0001", false},
      {kPackedLabel, AngleKind::Latitude, "-33.5", true},
      {kPackedLabel, AngleKind::Longitude, "110", true},
      {kPackedLabel, AngleKind::Longitude, "109.59", false},
      {kPackedLabel, AngleKind::Longitude, "160.0001", false},
      {kDmsBlanksLabel, AngleKind::Latitude, "50 00 00.0000", true},
      {kDmsBlanksLabel, AngleKind::Latitude, "50 00 00.0001", false},  // not just the degrees
      {kDmsBlanksLabel, AngleKind::Longitude, "160 30", false},
      {kDmsBlanksLabel, AngleKind::Longitude, "109 59 59.9999", false},
      {kRadiansLabel, AngleKind::Latitude, "0.8726646260", true},  // 50 deg, rounded up
      {kRadiansLabel, AngleKind::Latitude, "0.87266463", true},
      {kRadiansLabel, AngleKind::Latitude, "0.8726647", false},
      {kSecondsLabel, AngleKind::Latitude, "180000", true},
      {kSecondsLabel, AngleKind::Latitude, "180000.0001", false},
      {kSecondsLabel, AngleKind::Longitude, "395999.9999", false},
      {kMinutesLabel, AngleKind::Longitude, "9600", true},
      {kMinutesLabel, AngleKind::Longitude, "9600.000001", false},
      {kDecimalDegreesLabel, AngleKind::Longitude, "160.000000001", false},
  };
  for (const auto& c : cases) {
    ScriptedDesktop desktop;
    std::string text = c.text;
    const AngleCheck check = CheckAngleText(text, c.kind, c.format, desktop);
    EXPECT_EQ(check == AngleCheck::InRange, c.inRange) << c.format << ": '" << c.text << "'";
    EXPECT_EQ(desktop.messages().size(), c.inRange ? 0u : 1u);
  }
}

TEST(CheckAngleText, OutOfRangeWarningQuotesTheCleanedText) {
  ScriptedDesktop desktop;
  std::string latitude = "-50.5";
  EXPECT_EQ(CheckAngleText(latitude, AngleKind::Latitude, kPackedLabel, desktop),
            AngleCheck::OutOfRange);
  EXPECT_EQ(latitude, "50.5") << "the cleaned text replaces the caller's in every case";
  std::string longitude = "E99";
  EXPECT_EQ(CheckAngleText(longitude, AngleKind::Longitude, kPackedLabel, desktop),
            AngleCheck::OutOfRange);
  ASSERT_EQ(desktop.messages().size(), 2u);
  EXPECT_EQ(desktop.messages()[0].text,
            "Invalid Latitude: 50.5\nMust be in range 0\xB0 to 50\xB0\n"
            "Replacing with previous value");
  EXPECT_EQ(desktop.messages()[1].text,
            "Invalid Longitude: 99.\nMust be in range 110\xB0 to 160\xB0\n"
            "Replacing with previous value");
  for (const auto& message : desktop.messages()) {
    EXPECT_EQ(message.caption, "ERROR");
    EXPECT_EQ(message.icon, MessageIcon::Warning);
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
  }
}

TEST(DisplayTextToPacked, ReadsTheFirst20CharactersOfTheSymbolNotation) {
  EXPECT_EQ(DisplayTextToPacked("-35\xB0 12' 34.5678\""), -35.12345678);
  EXPECT_EQ(DisplayTextToPacked(" 151\xB0 00' 00.0000\""), 151.0);
  EXPECT_EQ(DisplayTextToPacked("-35\xB0 12' 34.5678\"   77"), -35.12345678);
  EXPECT_EQ(DisplayTextToPacked(""), 0.0);
}

}  // namespace
}  // namespace tarvo::angles
