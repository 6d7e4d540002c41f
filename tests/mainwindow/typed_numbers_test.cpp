// Numbers as written, in the main window's entries: an exponent is part of a number, an entry
// that holds no number is refused with the warning sound and a message naming the field, an
// East, North or height beyond 1e9 m is refused with the field's help text, and
// "DDD MM SS.ssss" is whole degrees, minutes and seconds. A refused entry keeps the field's
// previous value.
#include <gtest/gtest.h>

#include "tests/mainwindow/main_window_fixture.h"

namespace tarvo::mainwindow {
namespace {

using TypedNumbers = MainWindowTest;

// What a field shows when it has kept its previous value.
constexpr const char* kEast = "379185.968";
constexpr const char* kLatitude = "32\xB0 53' 30.0000\"";
constexpr const char* kPacked = "DDD.MMSSsssss";
constexpr const char* kDms = "DDD MM SS.ssss";

TEST_F(TypedNumbers, EachEntryGivesWhatItSpellsOrIsRefused) {
  struct Case {
    int field;
    const char* notation;  // the input notation of latitudes and longitudes
    const char* typed;
    const char* shown;    // the field's text after leaving it
    const char* message;  // the message shown, "" for none
    bool beep;
  };
  const Case cases[] = {
      {MW::kFromEast, kPacked, "1.5e5", "1.5e5", "", false},
      {MW::kFromEast, kPacked, "-1e9", "-1e9", "", false},
      {MW::kFromEast, kPacked, "abc1", kEast,
       "Invalid East: abc1\nEnter the East coordinate (m)\nReplacing with previous value", true},
      {MW::kFromEast, kPacked, "1e300", kEast,
       "Invalid East: 1e300\nEnter the East coordinate (m) between -1e9 and 1e9\nReplacing "
       "with previous value",
       false},
      {MW::kFromNorth, kPacked, "nan!", "6359970.566",
       "Invalid North: nan!\nEnter the North coordinate (m) between -1e9 and 1e9\nReplacing "
       "with previous value",
       false},
      {MW::kFromHeight, kPacked, "1.5e2", "150.000", "", false},
      {MW::kFromHeight, kPacked, "", "0.000", "", false},  // the height is optional
      {MW::kFromHeight, kPacked, "abc", "0.000",
       "Invalid Height: abc\nEnter the Optional Ellipsoidal Height in metres\nReplacing with "
       "previous value",
       true},
      {MW::kFromLatitude, kPacked, "3.35e1", "33\xB0 50' 00.0000\"", "", false},
      {MW::kFromLatitude, kPacked, "abc", kLatitude,
       "Invalid Latitude: abc\nEnter the Latitude in DDD.MMSSsssss format\nReplacing with "
       "previous value",
       true},
      {MW::kFromLatitude, kPacked, "-", kLatitude,
       "Invalid Latitude: -\nEnter the Latitude in DDD.MMSSsssss format\nReplacing with "
       "previous value",
       true},
      {MW::kFromLatitude, kPacked, "1e308", kLatitude,
       "Invalid Latitude: 1e308.\nMust be in range 0\xB0 to 50\xB0\nReplacing with previous value",
       false},
      {MW::kFromLatitude, kDms, "33 5 1", "33\xB0 05' 01.0000\"", "", false},
      {MW::kFromLatitude, kDms, "33 05 01.5", "33\xB0 05' 01.5000\"", "", false},
      {MW::kFromLatitude, kDms, "33 5", "33\xB0 05' 00.0000\"", "", false},
      {MW::kFromLatitude, kDms, "33 5 1 7", kLatitude,
       "Invalid Latitude: 33 5 1 7\nEnter the Latitude in DDD MM SS.ssss format\nReplacing "
       "with previous value",
       true},
      {MW::kFromLatitude, kDms, "33.5 1", kLatitude,
       "Invalid Latitude: 33.5 1\nEnter the Latitude in DDD MM SS.ssss format\nReplacing with "
       "previous value",
       true},
      {MW::kFromLongitude, "Radians", "2.6e0", "148\xB0 58' 08.4962\"", "", false},
  };
  SaveDefaults(engine::AccuracyMethod::Medium);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("'") + c.typed + "' in " + c.notation);
    settings = {};
    Open();
    settings.inputFormat = c.notation;
    desktop.ClearMessages();
    const int beeps = desktop.beeps();
    view->Type(c.field, c.typed);
    view->Blur();
    EXPECT_EQ(view->Text(c.field), c.shown);
    if (*c.message == '\0') {
      EXPECT_TRUE(desktop.messages().empty()) << desktop.messages()[0].text;
    } else {
      ASSERT_EQ(desktop.messages().size(), 1u);
      EXPECT_EQ(desktop.messages()[0].text, c.message);
      EXPECT_EQ(desktop.messages()[0].caption, "ERROR");
    }
    EXPECT_EQ(desktop.beeps() - beeps, c.beep ? 1 : 0);
  }
}

// The value typed with an exponent is the one a calculation uses (it was cut at the 'e':
// a height of 1.5e2 read as 1.5).
TEST_F(TypedNumbers, ACalculationUsesTheNumberWithItsExponent) {
  SaveDefaults(engine::AccuracyMethod::Medium);
  Open();
  view->Type(MW::kFromEast, "3.79185968e5");
  view->Blur();
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().toEast, "379291.796") << "the default point's East";

  view->Type(MW::kFromHeight, "150");
  view->Blur();
  view->Click(MW::kCalculate);
  const std::string height = texts().toHeight;
  view->Type(MW::kFromHeight, "1.5e2");
  view->Blur();
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().toHeight, height);
}

}  // namespace
}  // namespace tarvo::mainwindow
