// The single-point calculation, the report and the X, Y, Z display of the main window.
#include <gtest/gtest.h>

#include "tests/mainwindow/main_window_fixture.h"

namespace tarvo::mainwindow {
namespace {

using Calculation = MainWindowTest;

// The first start's window, calculated at once, to the last digit. The computed latitude
// lies only 2e-6" above a rounding boundary, so this checks the whole chain.
TEST_F(Calculation, DefaultWindowGivesThePublishedDigits) {
  QueueMediumAccuracyOptions();
  Open();
  ASSERT_EQ(window->session().geographicInput, 1);
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().fromEast, "379185.968");
  EXPECT_EQ(texts().fromNorth, "6359970.566");
  EXPECT_EQ(texts().fromScaleFactor, "0.9997800");
  EXPECT_EQ(texts().fromConvergence,
            "-0\xB0"
            " 42' 05.4993\"");
  EXPECT_EQ(texts().toEast, "379291.796");
  EXPECT_EQ(texts().toNorth, "6360161.142");
  EXPECT_EQ(texts().toLatitude,
            " 32\xB0"
            " 53' 24.2646\"");
  EXPECT_EQ(texts().toLongitude,
            " 151\xB0"
            " 42' 34.1392\"");
  EXPECT_EQ(texts().toConvergence,
            "-0\xB0"
            " 42' 03.1422\"");
  EXPECT_EQ(texts().toScaleFactor, "0.9997797");
  EXPECT_EQ(texts().statusText, std::string(13, ' '));
}

}  // namespace
}  // namespace tarvo::mainwindow
