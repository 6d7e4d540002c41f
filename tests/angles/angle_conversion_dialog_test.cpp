// The conversion dialog shows each of its four texts in all eight rows: the worked examples
// of a south latitude and an east longitude, the empty To texts before any calculation, and
// texts that are not quite the symbol notation.
#include "angles/angle_conversion_dialog.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "ui/testing/fake_view.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::angles {
namespace {

using Dlg = AngleConversionDialog;
using Rows = std::array<std::string, 8>;
using ui::testing::FakeView;
using ui::testing::ScriptedDesktop;

// 33 deg 52' 10.1234" south and 151 deg east, as the main window writes them.
const std::string kLatitude = " 33\xB0 52' 10.1234\"";
const std::string kLongitude = " 151\xB0 00' 00.0000\"";

Rows Column(const FakeView& view, int column) {
  Rows rows;
  for (int row = 0; row < Dlg::kRows; ++row) {
    rows[static_cast<size_t>(row)] = view.Shown(Dlg::CellId(row, column)).text;
  }
  return rows;
}

TEST(AngleConversionDialog, ShowsFromAndToPositionsInEveryNotation) {
  ScriptedDesktop desktop;
  Dlg dialog(desktop, kLatitude, kLongitude, "-33\xB0 52' 10.1234\"", "151\xB0 00' 00.0000\"",
             "AGD/AMG Zone 56", "GDA/MGA Zone 56");
  FakeView view(dialog);
  view.Open();
  EXPECT_EQ(dialog.title(), "Latitude and Longitude Conversions");

  const Rows latitude = {"- 33\xB0 52' 10.1234\"", "-33.521012340", "- 33  52  10.1234 ",
                         "-33.869478722",          "-33.521687233", "-0.591133920",
                         "-121930.1234",           "-2032.168723"};
  const Rows longitude = {kLongitude,      "151.000000000", " 151  00  00.0000 ", "151.000000000",
                          "151.000000000", "2.635447171",   "543600.0000",        "9060.000000"};
  EXPECT_EQ(Column(view, 0), latitude);
  EXPECT_EQ(Column(view, 1), longitude);

  // A latitude that already carries its '-' gets no second one in any row.
  Rows signedLatitude = latitude;
  signedLatitude[0] = "-33\xB0 52' 10.1234\"";
  signedLatitude[2] = "-33  52  10.1234 ";
  EXPECT_EQ(Column(view, 2), signedLatitude);
  Rows unsignedLongitude = longitude;
  unsignedLongitude[0] = "151\xB0 00' 00.0000\"";
  unsignedLongitude[2] = "151  00  00.0000 ";
  EXPECT_EQ(Column(view, 3), unsignedLongitude);
}

// An empty To side (no calculation yet, or one refused) is no position: it showed 0 degrees
// in every notation, a number that answers no input.
TEST(AngleConversionDialog, EmptyToTextsShowNothing) {
  ScriptedDesktop desktop;
  Dlg dialog(desktop, kLatitude, kLongitude, "", "", "AGD/AMG Zone 56", "GDA/MGA Zone 56");
  FakeView view(dialog);
  view.Open();
  EXPECT_EQ(Column(view, 2), Rows{});
  EXPECT_EQ(Column(view, 3), Rows{});
}

TEST(AngleConversionDialog, Row3BlanksTheLastCharacterOnlyWhenItIsTheSecondMark) {
  // Texts cut short or typed without the closing mark keep their last digit.
  EXPECT_EQ(AngleInEveryNotation(" 151\xB0 00' 00.0000", false)[2], " 151  00  00.0000");
  EXPECT_EQ(AngleInEveryNotation("151", false)[2], "151");
  EXPECT_EQ(AngleInEveryNotation("\"", false)[2], " ");
}

TEST(AngleConversionDialog, ShowsTheHeadingsAndReturnCloses) {
  ScriptedDesktop desktop;
  Dlg dialog(desktop, kLatitude, kLongitude, "", "", "AGD/AMG Zone 56", "GDA/MGA Zone 55");
  FakeView view(dialog);
  view.Open();
  EXPECT_EQ(view.Shown(Dlg::kFromHeading).text, "AGD/AMG Zone 56");
  EXPECT_EQ(view.Shown(Dlg::kToHeading).text, "GDA/MGA Zone 55");
  view.Press(Dlg::kReturn);
  EXPECT_TRUE(view.isClosed());
}

}  // namespace
}  // namespace tarvo::angles
