// The single-point calculation, the report and the X, Y, Z display of the main window.
#include "mainwindow/calculation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "engine/grid_system.h"
#include "params/parameter_sets.h"
#include "tests/mainwindow/main_window_fixture.h"
#include "tests/support/proj_oracle.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"
#include "version.h"

namespace tarvo::mainwindow {
namespace {

using Calculation = MainWindowTest;

// The first start's window, calculated at once, to the last digit. The computed latitude
// lies only 2e-6" above a rounding boundary, so this checks the whole chain.
TEST_F(Calculation, DefaultWindowGivesThePublishedDigits) {
  QueueMediumAccuracyOptions();
  Open();
  ASSERT_EQ(window->session().inputMode, InputMode::Geographic);
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().fromEast, "379185.968");
  EXPECT_EQ(texts().fromNorth, "6359970.566");
  EXPECT_EQ(texts().fromScaleFactor, "0.9997800");
  EXPECT_EQ(texts().fromConvergence, "-0\xB0 42' 05.4993\"");
  EXPECT_EQ(texts().toEast, "379291.796");
  EXPECT_EQ(texts().toNorth, "6360161.142");
  EXPECT_EQ(texts().toLatitude, " 32\xB0 53' 24.2646\"");
  EXPECT_EQ(texts().toLongitude, " 151\xB0 42' 34.1392\"");
  EXPECT_EQ(texts().toConvergence, "-0\xB0 42' 03.1422\"");
  EXPECT_EQ(texts().toScaleFactor, "0.9997797");
  EXPECT_EQ(texts().statusText, std::string(13, ' '));
  EXPECT_FALSE(view->Shown(MW::kFromLatitude).readOnly) << "geographic input is editable";
}

// A window on the Medium Accuracy method, grid input.
class GridCalculation : public MainWindowTest {
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

// GDA2020: MGA2020 on either side, the step's method in the status field and the report.
constexpr const char* kSimilarity = "GDA2020 by 7 parameters (conformal, no distortion)";

// Expected values: PROJ's cct (inverse UTM, the National set and EPSG:8048 as
// coordinate-frame Helmerts through geocentric X, Y, Z, UTM on GRS80), to the millimetre.
TEST_F(GridCalculation, EachRouteToMga2020GivesPROJsDigitsAndNamesItsSteps) {
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
TEST_F(GridCalculation, AChainWithoutGda2020WritesWhatItAlwaysWrote) {
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().statusText, std::string(13, ' '));
  const std::string report = testing::ReadFile(folder / "tarvo_rpt.txt");
  EXPECT_NE(report.find("Using Medium Accuracy method - National  -->  AGD84<>GDA\n"),
            std::string::npos);
  EXPECT_EQ(report.find("GDA2020"), std::string::npos);
}

// Under High Accuracy the chosen GDA94 -> GDA2020 grid makes the step, with no AGD grid
// needed; a point outside it is refused as outside any grid.
TEST_F(MainWindowTest, HighAccuracyTakesTheGda2020GridAndRefusesAPointOutsideIt) {
  // 0.036" (1.1 m) north and east, from 20 to 10 degrees south.
  ntv2::testing::SyntheticGrid gda2020{{{"CONSTANT", "NONE", -20 * 3600.0, -10 * 3600.0,
                                         -160 * 3600.0, -110 * 3600.0, 3600.0, 3600.0,
                                         [](int, int) {
                                           return ntv2::GridNode{0.036f, -0.036f, -1.0f, -1.0f};
                                         }}},
                                       6378137.0,
                                       "GDA94",
                                       "GDA2020"};
  const std::string path = (folder / "north.gsb").string();
  testing::WriteFile(path, ntv2::testing::GridBytes(gda2020, ntv2::kCanadianLayout));
  engine::TransformSettings saved;
  saved.accuracyMethod = engine::AccuracyMethod::High;
  ntv2::GridChoice grids;
  grids.gda2020GridPath = path;
  testing::WriteFile(folder / "tarvo_prm.dat", FormatSavedSettings(WindowTexts{}, saved, grids));
  Open();
  view->Select(MW::kFromSystem, "GDA/MGA");
  view->Select(MW::kToSystem, "MGA2020");
  view->Type(MW::kFromNorth, "8340000");
  view->Blur();
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().statusText, "GDA2020 by grid north");
  EXPECT_NEAR(text::ToDouble(texts().toNorth) - 8340000.0, 0.036 / 3600 * 0.01745329 * 6.378e6,
              0.05);
  EXPECT_TRUE(desktop.messages().empty());

  view->Type(MW::kFromNorth, "6360000");
  view->Blur();
  view->Click(MW::kCalculate);
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, "Point Outside Grid Boundary");
  EXPECT_EQ(texts().toNorth, "");
}

TEST_F(GridCalculation, SameDatumZoneChangeChangesOnlyGridValues) {
  view->Select(MW::kFromSystem, "GDA/MGA");
  view->Select(MW::kToZone, "55");
  Enter(MW::kFromHeight, "25");
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().toLatitude, texts().fromLatitude);
  EXPECT_EQ(texts().toLongitude, texts().fromLongitude);
  EXPECT_EQ(texts().toHeight, "25.000");
  EXPECT_NE(texts().toEast, texts().fromEast);
  EXPECT_NE(texts().toConvergence, texts().fromConvergence);
}

TEST_F(GridCalculation, EmptyEastIsUsedAsZero) {
  // The field refuses an entry without a number; a saved East can still be empty.
  std::string saved = testing::ReadFile(folder / "tarvo_prm.dat");
  const std::size_t line2 = saved.find('\n') + 1;
  saved.erase(line2, saved.find('\n', line2) - line2);
  testing::WriteFile(folder / "tarvo_prm.dat", saved);
  Open();
  ASSERT_EQ(texts().fromEast, "");
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().fromScaleFactor.substr(0, 2), "1.") << "far west of the meridian";
}

TEST_F(GridCalculation, GeographicInputUsesTheStoredPosition) {
  // Two latitudes that differ only beyond the stored decimals give the same results.
  view->Type(MW::kFromLatitude, "32.533000001");
  view->Blur();
  view->Click(MW::kCalculate);
  const std::string east = texts().toEast;
  view->Type(MW::kFromLatitude, "32.533000004");
  view->Blur();
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().toEast, east);
}

TEST_F(GridCalculation, ToSideShowingXyzReturnsToGridCaptions) {
  view->Click(MW::kCalculate);
  view->Click(MW::kToXyz);
  ASSERT_EQ(texts().toLabel1, "    X");
  EXPECT_EQ(texts().toGridLabel, "    ");
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().toLabel1, "East");
  EXPECT_EQ(texts().toLabel3, "Ellips.Ht");
  EXPECT_EQ(window->session().toDisplay, DisplayMode::Grid);
  EXPECT_EQ(texts().toGridLabel, "MGA 94");
}

TEST_F(GridCalculation, XyzTwiceReturnsTheGridValuesWithinAMillimetre) {
  Enter(MW::kFromHeight, "123.456");
  view->Click(MW::kCalculate);
  const WindowTexts before = texts();
  view->Click(MW::kFromXyz);
  EXPECT_EQ(texts().fromLabel1, "   X");
  EXPECT_LT(text::ToDouble(texts().fromEast), 0) << "X negative in Australia";
  EXPECT_GT(text::ToDouble(texts().fromNorth), 0) << "Y positive";
  EXPECT_LT(text::ToDouble(texts().fromHeight), 0) << "Z negative";
  view->Click(MW::kFromXyz);
  EXPECT_EQ(texts().fromLabel1, "East");
  EXPECT_NEAR(text::ToDouble(texts().fromEast), text::ToDouble(before.fromEast), 0.001);
  EXPECT_NEAR(text::ToDouble(texts().fromNorth), text::ToDouble(before.fromNorth), 0.001);
  EXPECT_NEAR(text::ToDouble(texts().fromHeight), 123.456, 0.001);
  EXPECT_EQ(texts().fromGridLabel, "AMG 84");
}

TEST_F(GridCalculation, CartesianInputGivesTheSamePoint) {
  view->Click(MW::kCalculate);
  const WindowTexts grid = texts();
  view->Click(MW::kFromXyz);
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().fromLabel1, "   X") << "Cartesian input keeps its captions";
  EXPECT_NEAR(text::ToDouble(texts().toEast), text::ToDouble(grid.toEast), 0.0015);
  EXPECT_NEAR(text::ToDouble(texts().toNorth), text::ToDouble(grid.toNorth), 0.0015)
      << "X, Y, Z are shown to the millimetre";
}

TEST_F(GridCalculation, XyzIsRefusedUnderHighAccuracy) {
  settings.accuracyMethod = engine::AccuracyMethod::High;
  view->Click(MW::kFromXyz);
  view->Click(MW::kToXyz);
  ASSERT_EQ(desktop.messages().size(), 2u);
  EXPECT_EQ(desktop.messages()[0].text, "XYZ option is unavailable\r\n when using High Accuracy");
  EXPECT_EQ(desktop.messages()[0].caption, "High Accuracy - NTv2");
  EXPECT_EQ(texts().fromLabel1, "East");
  EXPECT_FALSE(window->report().started()) << "no record for a refused switch";
}

TEST_F(GridCalculation, ReportHoldsOneRecordPerCalculationAndANewRunReplacesIt) {
  view->Click(MW::kCalculate);
  view->Click(MW::kCalculate);
  const std::string report = testing::ReadFile(folder / "tarvo_rpt.txt");
  const std::string header = std::string(61, '=') +
                             "\nTARVO V3.3 - Date Computed: 09:05AM Friday March 01,2002\n"
                             "Using Medium Accuracy method - National  -->  AGD84<>GDA\n" +
                             std::string(61, '=') + "\nFrom AGD/AMG Zone 56\n-----------------\n";
  EXPECT_EQ(report.substr(0, header.size()), header);
  EXPECT_NE(report.find(header, 1), std::string::npos) << "a second record follows";
  EXPECT_NE(report.find("\nTo GDA/MGA Zone 56\n---------------\nE 379291.796 N 6360161.142 "
                        "Ellips. height "),
            std::string::npos)
      << report;

  // The next run starts the file afresh, also from an X, Y, Z switch.
  engine::TransformSettings next;
  next.accuracyMethod = engine::AccuracyMethod::Medium;
  MW again(desktop, next, grid, folder.path());
  ui::testing::FakeView againView(again);
  againView.Open();
  againView.Click(MW::kToXyz);
  const std::string replaced = testing::ReadFile(folder / "tarvo_rpt.txt");
  EXPECT_EQ(replaced.find(std::string(61, '=')), 0u);
  EXPECT_EQ(replaced.find("From AGD/AMG"), std::string::npos) << "the old records are gone";
  EXPECT_NE(replaced.find(std::string("TARVO V") + kVersion + " - Date Computed"),
            std::string::npos);
  EXPECT_NE(replaced.find("\n    X "), std::string::npos) << "captions keep their blanks";
  EXPECT_NE(replaced.find("East 379291.796 North 6360161.142 Ellips.Ht 0.0\n"), std::string::npos)
      << replaced;
}

// The window says that calculations are logged in the report: one that cannot be written is
// named once per session (it was skipped without a word on every calculation).
TEST_F(GridCalculation, ReportThatCannotBeWrittenIsNamedOncePerSession) {
  std::filesystem::create_directory(folder / "tarvo_rpt.txt");
  view->Click(MW::kCalculate);
  view->Click(MW::kCalculate);
  EXPECT_FALSE(window->report().started()) << "the next record tries to start the file again";
  EXPECT_EQ(texts().toEast, "379291.796") << "the results stay";
  ASSERT_EQ(desktop.messages().size(), 1u) << "one warning for the session";
  EXPECT_EQ(desktop.messages()[0].text, "The report could not be written to\n" +
                                            (folder / "tarvo_rpt.txt").string() +
                                            "\nCalculations go on without it");
  EXPECT_EQ(desktop.messages()[0].caption, "WARNING");
}

// --- PROJ as the oracle ---------------------------------------------------------------------

std::string ProjZone(const std::string& system, int zone, bool inverse) {
  const bool isg = system == engine::GridSystem::kIsg;
  const std::string ellipsoid = engine::IsGda(system) ? "GRS80" : "aust_SA";
  std::string step = std::string(" +step ") + (inverse ? "+inv " : "");
  if (isg) {
    const int centralMeridian = 2 * (zone - 7 * (zone / 10)) - 187;
    return step + "+proj=tmerc +lat_0=0 +lon_0=" + std::to_string(centralMeridian) +
           " +k=0.99994 +x_0=300000 +y_0=5000000 +ellps=" + ellipsoid;
  }
  return step + "+proj=utm +south +zone=" + std::to_string(zone) + " +ellps=" + ellipsoid;
}

// Geographic AGD to GDA94 (or back, `inverse`) through the Cartesian coordinates.
std::string ProjHelmert(const params::ParameterTexts& p, bool inverse) {
  const std::string from = inverse ? "GRS80" : "aust_SA";
  const std::string to = inverse ? "aust_SA" : "GRS80";
  return " +step +proj=cart +ellps=" + from + " +step " + (inverse ? "+inv " : "") +
         "+proj=helmert +x=" + p[2] + " +y=" + p[3] + " +z=" + p[4] + " +rx=" + p[5] +
         " +ry=" + p[6] + " +rz=" + p[7] + " +s=" + p[8] +
         " +convention=coordinate_frame +step +inv +proj=cart +ellps=" + to;
}

struct OracleCase {
  std::string fromSystem;
  int fromZone;
  std::string toSystem;
  int toZone;
  int parameterSet;
};

// Grid input into another system or zone, point by point through the window's calculation,
// against the same chain in PROJ (inverse Transverse Mercator, coordinate-frame Helmert,
// forward Transverse Mercator).
TEST(CalculationAgainstProj, GridToGridWithinTwoMillimetres) {
  if (!testing::HaveProj()) GTEST_SKIP() << "PROJ (proj-bin) is not installed";
  const OracleCase cases[] = {
      {"AGD/AMG", 56, "GDA/MGA", 56, 0},  {"AGD/AMG", 55, "GDA/MGA", 55, 1},
      {"AGD/AMG", 54, "GDA/MGA", 54, 2},  {"AGD/AMG", 55, "GDA/MGA", 55, 3},
      {"AGD/AMG", 52, "GDA/MGA", 52, 4},  {"GDA/MGA", 50, "AGD/AMG", 50, 0},
      {"GDA/MGA", 56, "AGD/AMG", 56, 1},  {"AGD/AMG", 55, "AGD/AMG", 56, 0},
      {"GDA/MGA", 53, "GDA/MGA", 52, 0},  {"AGD/AMG", 56, "AGD/ISG", 562, 0},
      {"AGD/ISG", 551, "AGD/AMG", 55, 0}, {"AGD/ISG", 563, "GDA/MGA", 56, 1},
  };
  std::mt19937 random(20261207);
  std::uniform_real_distribution<double> easting(420000, 580000);
  std::uniform_real_distribution<double> northing(5600000, 8200000);
  std::uniform_real_distribution<double> isgEasting(240000, 360000);
  std::uniform_real_distribution<double> isgNorthing(1000000, 1900000);
  std::uniform_real_distribution<double> height(-50, 1500);

  // Millimetre values, so both sides read exactly the same input.
  const auto mm = [](double value) { return std::round(value * 1000) / 1000; };
  for (const OracleCase& c : cases) {
    const bool fromIsg = c.fromSystem == engine::GridSystem::kIsg;
    std::vector<testing::Row> points;
    for (int i = 0; i < 12; ++i) {
      points.push_back({mm(fromIsg ? isgEasting(random) : easting(random)),
                        mm(fromIsg ? isgNorthing(random) : northing(random)), mm(height(random))});
    }
    const auto preset = *params::ApplyPreset(c.parameterSet);
    const bool datumChange = engine::IsGda(c.fromSystem) != engine::IsGda(c.toSystem);
    std::string pipeline = "cct -d 6 +proj=pipeline" + ProjZone(c.fromSystem, c.fromZone, true);
    if (datumChange) pipeline += ProjHelmert(preset.texts, engine::IsGda(c.fromSystem));
    pipeline += ProjZone(c.toSystem, c.toZone, false);
    const auto expected = testing::RunProjRows(pipeline, points);
    ASSERT_EQ(expected.size(), points.size()) << pipeline;

    for (size_t i = 0; i < points.size(); ++i) {
      engine::TransformSettings settings;
      settings.accuracyMethod = engine::AccuracyMethod::Medium;
      params::SetActiveParameters(settings, preset.texts);
      WindowTexts texts;
      SessionValues session;
      chain::PointState estimates;
      ntv2::GridChoice grid;
      ntv2::GridInterpolator interpolator;
      ui::testing::ScriptedDesktop desktop;
      texts.fromSystem = c.fromSystem;
      texts.fromZone = std::to_string(c.fromZone);
      texts.toSystem = c.toSystem;
      texts.toZone = std::to_string(c.toZone);
      texts.fromEast = text::Format("%.3f", points[i][0]);
      texts.fromNorth = text::Format("%.3f", points[i][1]);
      texts.fromHeight = text::Format("%.3f", points[i][2]);
      CalculationContext context{texts, session, settings, estimates, grid, interpolator, desktop};
      ASSERT_TRUE(Calculate(context).finished);
      const std::string where = c.fromSystem + " " + texts.fromZone + " -> " + c.toSystem + " " +
                                texts.toZone + ", set " + std::to_string(c.parameterSet) +
                                ", point " + texts.fromEast + " " + texts.fromNorth;
      EXPECT_NEAR(text::ToDouble(texts.toEast), expected[i][0], 0.002) << where;
      EXPECT_NEAR(text::ToDouble(texts.toNorth), expected[i][1], 0.002) << where;
      // Heights are shown to the millimetre and the reverse similarity is not the exact
      // inverse of the forward one: the shown height is within 1 mm of PROJ's, shown alike.
      EXPECT_NEAR(text::ToDouble(texts.toHeight), mm(expected[i][2]), 0.001 + 1e-9) << where;
    }
  }
}

}  // namespace
}  // namespace tarvo::mainwindow
