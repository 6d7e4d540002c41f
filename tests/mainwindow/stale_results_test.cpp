// A failed calculation empties the To side: whatever stopped it, the window never shows an
// earlier point's results beside a new point's input, and keeps none of them for Save & Exit
// or the conversions dialog.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <functional>
#include <ostream>

#include "mainwindow/map.h"
#include "mainwindow/mre_bridge.h"
#include "tests/mainwindow/main_window_fixture.h"
#include "tests/support/synthetic_grid.h"

namespace tarvo::mainwindow {
namespace {

namespace fs = std::filesystem;
using ntv2::testing::ExactField;
using ntv2::testing::GridBytes;
using ntv2::testing::SyntheticGrid;

// 31 to 35 S, 149 to 154 E at 30': the default point lies inside.
SyntheticGrid NewcastleGrid(float latitudeShift = 5.0f) {
  return {{{"NSW_0701", "NONE", -126000, -111600, -554400, -536400, 1800, 1800,
            [latitudeShift](int row, int column) {
              ntv2::GridNode node = ExactField{}.Nodes()(row, column);
              if (row == 2 && column == 3) node.latitudeShift = latitudeShift;
              return node;
            }}}};
}

// One way a calculation fails after a first one succeeded.
struct Failure {
  const char* what;
  engine::AccuracyMethod method;
  ntv2::GridMethod gridMethod;
  std::function<void(MainWindowTest&)> arrange;  // what makes the next calculation fail
  const char* message;                           // its message, or a part of it
  bool recorded;                                 // a record and a marker all the same
};

// Test names and messages show the case by what it is.
void PrintTo(const Failure& failure, std::ostream* out) {
  *out << failure.what;
}

void Enter(MainWindowTest& t, int id, const std::string& text);

const Failure kFailures[] = {
    {"point outside the grid", engine::AccuracyMethod::High, ntv2::GridMethod::GridFileAgd66,
     [](MainWindowTest& t) { Enter(t, MW::kFromLongitude, "140.0000"); },
     "Point Outside Grid Boundary", false},
    {"grid file gone", engine::AccuracyMethod::High, ntv2::GridMethod::GridFileAgd66,
     [](MainWindowTest& t) { fs::remove(t.folder / "newcastle.gsb"); },
     "Open failed on Input file and Count", false},
    {"grid file with a NaN shift", engine::AccuracyMethod::High, ntv2::GridMethod::GridFileAgd66,
     [](MainWindowTest& t) {
       const auto path = t.folder / "hostile.gsb";
       testing::WriteFile(path, GridBytes(NewcastleGrid(NAN), ntv2::kAustralianLayout));
       t.grid.gridFilePath = path.string();
     },
     "Invalid GSB File (4320)", false},
    {"start-up folder gone", engine::AccuracyMethod::High, ntv2::GridMethod::GridFileAgd66,
     [](MainWindowTest& t) { t.desktop.SetCurrentDirectory(std::nullopt); }, "/nOption Terminated",
     false},
    {"MRE answer outside the area", engine::AccuracyMethod::High, ntv2::GridMethod::NswMrePrograms,
     [](MainWindowTest& t) {
       const auto program = t.folder / MreProgramName(true);
       fs::remove(program);
       testing::WriteFile(program, "#!/bin/sh\nprintf ' 0 0 ' > Fwdmre.out\n");
       fs::permissions(program, fs::perms::owner_all);
     },
     "Point is outside Area\r\nCheck Limits", true},
    {"X, Y, Z at the earth's centre", engine::AccuracyMethod::Medium,
     ntv2::GridMethod::GridFileAgd66,
     [](MainWindowTest& t) {
       t.view->Click(MW::kFromXyz);
       for (const int id : {MW::kFromEast, MW::kFromNorth, MW::kFromHeight}) Enter(t, id, "0.000");
     },
     kNoResultMessage, false},
    {"parameter set of absurd size", engine::AccuracyMethod::Medium,
     ntv2::GridMethod::GridFileAgd66, [](MainWindowTest& t) { t.settings.semiMajorAxis = "1e300"; },
     kNoResultMessage, false},
};

class StaleResults : public MainWindowTest, public ::testing::WithParamInterface<Failure> {
 protected:
  // A window of the case's method whose first calculation succeeds.
  void OpenCalculated(const Failure& c) {
    const auto gridPath = folder / "newcastle.gsb";
    testing::WriteFile(gridPath, GridBytes(NewcastleGrid(), ntv2::kAustralianLayout));
    engine::TransformSettings saved;
    saved.accuracyMethod = c.method;
    testing::WriteFile(folder / "tarvo_prm.dat",
                       FormatSavedSettings(WindowTexts{}, saved,
                                           ntv2::GridChoice{c.gridMethod, gridPath.string()}));
    for (const bool forward : {true, false}) {
      fs::copy_file(fs::path(TARVO_BUILD_DIR) / MreProgramName(forward),
                    folder / MreProgramName(forward));
    }
    desktop.SetCurrentDirectory(folder.path());
    Open();
    view->Click(MW::kCalculate);
    ASSERT_TRUE(desktop.messages().empty()) << desktop.messages()[0].text;
    ASSERT_NE(texts().toEast, "");
    desktop.ClearMessages();
  }
};

void Enter(MainWindowTest& t, int id, const std::string& text) {
  t.view->Type(id, text);
  t.view->Blur();
}

TEST_P(StaleResults, FailedCalculationEmptiesTheToSide) {
  const Failure& c = GetParam();
  OpenCalculated(c);
  const std::string earlierEast = texts().toEast;
  c.arrange(*this);
  const std::string report = testing::ReadFile(folder / "tarvo_rpt.txt");
  desktop.ClearMessages();
  view->Click(MW::kCalculate);

  ASSERT_EQ(desktop.messages().size(), 1u);
  const std::string shown = desktop.messages()[0].text + desktop.messages()[0].caption;
  EXPECT_NE(shown.find(c.message), std::string::npos) << shown;
  for (const std::string* value :
       {&texts().toEast, &texts().toNorth, &texts().toHeight, &texts().toLatitude,
        &texts().toLongitude, &texts().toConvergence, &texts().toScaleFactor}) {
    EXPECT_EQ(*value, "") << "no To value of the earlier point stays";
  }
  EXPECT_EQ(window->session().savedToLatitude, "");
  EXPECT_EQ(testing::ReadFile(folder / "tarvo_rpt.txt").size() > report.size(), c.recorded);
  EXPECT_EQ(window->display().Layer(kMarkerLayer).size(), c.recorded ? 2u : 1u);

  // Nothing of the earlier point is shown as X, Y, Z or saved either.
  view->Click(MW::kToXyz);
  EXPECT_EQ(desktop.beeps(), 1) << "an empty To side has no X, Y, Z";
  EXPECT_EQ(texts().toEast, "");
  view->Click(MW::kSaveAndExit);
  const std::string saved = testing::ReadFile(folder / "tarvo_prm.dat");
  EXPECT_EQ(saved.find(earlierEast), std::string::npos) << saved;
  EXPECT_EQ(saved.find("nan"), std::string::npos) << saved;
}

INSTANTIATE_TEST_SUITE_P(EveryFailure, StaleResults, ::testing::ValuesIn(kFailures),
                         [](const ::testing::TestParamInfo<Failure>& info) {
                           std::string name;
                           for (const char* p = info.param.what; *p != '\0'; ++p) {
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           }
                           return name;
                         });

}  // namespace
}  // namespace tarvo::mainwindow
