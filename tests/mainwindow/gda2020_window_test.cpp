// GDA2020 in the main window: MGA2020 as a system of both sides, the step's method in the
// status field and the report, and tarvo_prm.dat, which keeps today's 32 lines for every
// session that never chose GDA2020.
#include <gtest/gtest.h>

#include <sstream>

#include "params/saved_settings.h"
#include "tests/mainwindow/main_window_fixture.h"
#include "tests/support/synthetic_grid.h"

namespace tarvo::mainwindow {
namespace {

constexpr const char* kSimilarity = "GDA2020 by 7 parameters (conformal, no distortion)";

class Gda2020Window : public MainWindowTest {
 protected:
  void SetUp() override {
    SaveDefaults(engine::AccuracyMethod::Medium);
    Open();
  }
  void Enter(int id, const std::string& text) {
    view->Type(id, text);
    view->Blur();
  }
};

// Expected values: PROJ's cct (inverse UTM, the National set and EPSG:8048 as
// coordinate-frame Helmerts through geocentric X, Y, Z, UTM on GRS80), to the millimetre.
TEST_F(Gda2020Window, EachRouteToMga2020GivesPROJsDigitsAndNamesItsSteps) {
  const struct {
    const char* fromSystem;
    const char* east;
    const char* north;
    const char* toSystem;
    const char* toEast;
    const char* toNorth;
    const char* methodLine;
  } cases[] = {
      {"GDA/MGA", "379291.796", "6360161.142", "MGA2020", "379292.292", "6360162.550",
       "Using Medium Accuracy method - GDA2020 by 7 parameters (conformal, no distortion)\n"},
      {"AGD/AMG", "379185.968", "6359970.566", "MGA2020", "379292.292", "6360162.550",
       "Using Medium Accuracy method - National  -->  AGD84<>GDA, then GDA2020 by 7 "
       "parameters (conformal, no distortion)\n"},
      {"MGA2020", "379292.292", "6360162.550", "GDA/MGA", "379291.796", "6360161.142",
       "Using Medium Accuracy method - GDA2020 by 7 parameters (conformal, no distortion)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fromSystem) + " to " + c.toSystem);
    view->Select(MW::kFromSystem, c.fromSystem);
    view->Select(MW::kToSystem, c.toSystem);
    Enter(MW::kFromEast, c.east);
    Enter(MW::kFromNorth, c.north);
    view->Click(MW::kCalculate);
    EXPECT_EQ(texts().toEast, c.toEast);
    EXPECT_EQ(texts().toNorth, c.toNorth);
    EXPECT_EQ(texts().statusText, kSimilarity);
    const std::string report = testing::ReadFile(folder / "tarvo_rpt.txt");
    const std::size_t last = report.rfind("Using ");
    ASSERT_NE(last, std::string::npos);
    EXPECT_EQ(report.substr(last, report.find('\n', last) + 1 - last), c.methodLine);
  }
  EXPECT_EQ(texts().fromGridLabel, "MGA 2020");
  EXPECT_EQ(texts().fromDatumLabel, "GDA 2020");
}

// No GDA2020 step: the status and the report's method line are as they always were.
TEST_F(Gda2020Window, AChainWithoutGda2020WritesWhatItAlwaysWrote) {
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().statusText, std::string(13, ' '));
  const std::string report = testing::ReadFile(folder / "tarvo_rpt.txt");
  EXPECT_NE(report.find("Using Medium Accuracy method - National  -->  AGD84<>GDA\n"),
            std::string::npos);
  EXPECT_EQ(report.find("GDA2020"), std::string::npos);
}

// tarvo_prm.dat: 32 lines unless GDA2020 was chosen; then lines 1 and 10 hold "GDA/MGA" for
// an MGA2020 side (what an earlier version reads), lines 33 to 35 the systems and the second
// grid, and the file reads back to the same systems and grids.
TEST(Gda2020SavedSettings, OnlyASessionThatChoseGda2020WritesTheThreeLinesMore) {
  const auto lines = [](const std::string& contents) {
    std::vector<std::string> result;
    std::istringstream in(contents);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
  };
  const struct {
    const char* fromSystem;
    const char* toSystem;
    const char* grid2020;
    std::size_t count;
    const char* line1;
    const char* line10;
  } cases[] = {
      {"AGD/AMG", "GDA/MGA", "", 32, "AGD/AMG", "GDA/MGA"},
      {"AGD/AMG", "MGA2020", "", 35, "AGD/AMG", "GDA/MGA"},
      {"MGA2020", "AGD/ISG", "", 35, "GDA/MGA", "AGD/ISG"},
      {"AGD/AMG", "GDA/MGA", "/grids/GDA94_GDA2020_conformal.gsb", 35, "AGD/AMG", "GDA/MGA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fromSystem) + " to " + c.toSystem + ", " + c.grid2020);
    WindowTexts texts;
    texts.fromSystem = c.fromSystem;
    texts.toSystem = c.toSystem;
    ntv2::GridChoice grid;
    grid.gda2020GridPath = c.grid2020;
    const std::string contents = FormatSavedSettings(texts, engine::TransformSettings{}, grid);
    const std::vector<std::string> written = lines(contents);
    ASSERT_EQ(written.size(), c.count);
    EXPECT_EQ(written[0], c.line1);
    EXPECT_EQ(written[9], c.line10);

    // An earlier version reads the first 32 lines as a whole file of its own.
    std::istringstream first32(contents);
    EXPECT_TRUE(params::ReadSavedLines(first32));

    WindowTexts read;
    engine::TransformSettings settings;
    ntv2::GridChoice readGrid;
    std::istringstream in(contents);
    ASSERT_TRUE(ReadSavedSettings(in, read, settings, readGrid));
    EXPECT_EQ(read.fromSystem, c.fromSystem);
    EXPECT_EQ(read.toSystem, c.toSystem);
    EXPECT_EQ(readGrid.gda2020GridPath, c.grid2020);
  }
}

}  // namespace
}  // namespace tarvo::mainwindow
