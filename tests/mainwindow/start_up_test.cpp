// Start-up from the saved settings, the first start, and Save & Exit.
#include <gtest/gtest.h>

#include <filesystem>

#include "ntv2/grid_choice.h"
#include "params/parameter_sets.h"
#include "tests/mainwindow/main_window_fixture.h"
#include "version.h"

namespace tarvo::mainwindow {
namespace {

using StartUp = MainWindowTest;

// A tarvo_prm.dat as a Windows copy of the program left it: "\r\n" line ends, the To side
// showing X, Y, Z, a long parameter label and latitudes with leading blanks.
const char* const kSavedFile =
    "GDA/MGA\r\n1234.500\r\n12.250\r\n6000000.125\r\n0.9996123\r\n55\r\n"
    "-4646464.123\r\n2553345.456\r\n-3501234.789\r\nAGD/AMG\r\n56\r\n"
    "Regional ACT  -->  AGD66<>GDA\r\nEast\r\nNorth\r\nEllips.Ht(optional)\r\n"
    "X\r\nY\r\nZ\r\n-3501234.789\r\n2\r\n0\r\n"
    " 33\xB0 52' 10.1234\"\r\n 151\xB0 12' 13.5000\"\r\n"
    "-33\xB0 52' 04.9876\"\r\n151\xB0 12' 17.2500\"\r\n"
    "-0\xB0 10' 01.0000\"\r\n-0\xB0 09' 58.0000\"\r\nDDD MM SS.ssss\r\n"
    "33.521012340\r\n151.121350000\r\n1\r\nC:\\grids\\A66_National.gsb\r\n";

TEST_F(StartUp, RestoresEverySavedFieldAndValue) {
  testing::WriteFile(folder / "tarvo_prm.dat", kSavedFile);
  testing::WriteFile(folder / "Tarvo.var",
                     "6378137.0\n298.257222101\n-129.193\n-41.212\n130.730\n-0.246\n-0.374\n"
                     "-0.329\n-2.955\n");
  Open();
  EXPECT_EQ(desktop.modalsRun(), 0) << "no options dialog when settings were saved";
  EXPECT_EQ(texts().fromSystem, "GDA/MGA");
  EXPECT_EQ(texts().fromEast, "1234.500");
  EXPECT_EQ(texts().fromHeight, "12.250");
  EXPECT_EQ(texts().fromNorth, "6000000.125");
  EXPECT_EQ(texts().fromZone, "55");
  EXPECT_EQ(texts().toEast, "-4646464.123");
  EXPECT_EQ(texts().toSystem, "AGD/AMG");
  EXPECT_EQ(texts().parameterSetLabel, "Regional ACT  -->  AGD66<>GDA");
  EXPECT_EQ(texts().toLabel1, "X");
  EXPECT_EQ(texts().fromLatitude, " 33\xB0 52' 10.1234\"") << "a text line keeps its blanks";
  EXPECT_EQ(texts().toLatitude, "-33\xB0 52' 04.9876\"");
  EXPECT_EQ(window->session().savedToLatitude, "-33\xB0 52' 04.9876\"")
      << "the saved To position is the one read from the file";
  EXPECT_EQ(window->session().savedToLongitude, "151\xB0 12' 17.2500\"");
  EXPECT_EQ(texts().toConvergence, "-0\xB0 09' 58.0000\"");
  EXPECT_EQ(settings.parameterSet, 2);
  EXPECT_EQ(settings.accuracyMethod, engine::AccuracyMethod::Medium);
  EXPECT_EQ(settings.inputFormat, "DDD MM SS.ssss");
  EXPECT_EQ(settings.latitude, 33.52101234);
  EXPECT_EQ(settings.longitude, 151.12135);
  EXPECT_EQ(grid.gridMethod, ntv2::GridMethod::GridFileAgd84);
  EXPECT_EQ(grid.gridFilePath, "C:\\grids\\A66_National.gsb");
  // Derived: a To side saved with Cartesian captions, Medium Accuracy with Tarvo.var.
  EXPECT_EQ(window->session().toDisplay, DisplayMode::Cartesian);
  EXPECT_EQ(texts().toGridLabel, " ");
  EXPECT_EQ(texts().toDatumLabel, " ");
  EXPECT_EQ(window->session().fromDisplay, DisplayMode::Grid);
  EXPECT_EQ(texts().fromGridLabel, "MGA 94");
  EXPECT_EQ(texts().methodLabel, "Medium Accuracy");
  EXPECT_EQ(window->session().secondsDecimals, 4);
  EXPECT_EQ(settings.shiftX, "-129.193");
  EXPECT_EQ(settings.scalePpm, "-2.955");
  EXPECT_EQ(window->session().inputMode, InputMode::ValueFields);
}

TEST_F(StartUp, TarvoVarIsReadUnderHighAccuracyToo) {
  SaveDefaults(engine::AccuracyMethod::High);
  testing::WriteFile(folder / "Tarvo.var", "6378160\n298.25\n1\n2\n3\n");
  Open();
  EXPECT_EQ(texts().methodLabel, "High Accuracy - NTv2");
  EXPECT_EQ(window->session().secondsDecimals, 5);
  EXPECT_EQ(settings.semiMajorAxis, "6378160");
  EXPECT_EQ(settings.shiftZ, "3");
  EXPECT_EQ(settings.rotationX, "") << "a missing line gives an empty text";
}

TEST_F(StartUp, UnknownMethodIsReportedAndStartUpGoesOn) {
  SaveDefaults(static_cast<engine::AccuracyMethod>(7));
  Open();
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, "No accuracy specified");
  EXPECT_EQ(desktop.messages()[0].caption, "ERROR");
  EXPECT_EQ(desktop.messages()[0].buttons, ui::MessageButtons::OkCancel);
  EXPECT_EQ(texts().methodLabel, "Medium Accuracy") << "the labels stay";
}

TEST_F(StartUp, FirstStartAsksForTheOptionsAndDerivesTheLabels) {
  QueueMediumAccuracyOptions();
  Open();
  EXPECT_EQ(desktop.modalTitles(),
            (std::vector<std::string>{std::string("Tarvo V") + kVersion + " Transformation Options",
                                      "GDA Transformation Parameters"}))
      << "OK with Medium Accuracy leads into the parameters dialog";
  EXPECT_EQ(settings.accuracyMethod, engine::AccuracyMethod::Medium);
  EXPECT_EQ(texts().methodLabel, "Medium Accuracy");
  EXPECT_EQ(texts().fromGridLabel, "AMG 84");
  EXPECT_EQ(texts().fromDatumLabel, "AGD 84");
  EXPECT_EQ(texts().toGridLabel, "MGA 94");
  EXPECT_EQ(texts().parameterSetLabel, "National  -->  AGD84<>GDA");
  EXPECT_EQ(window->session().inputMode, InputMode::Geographic);
}

// High Accuracy, the default, would leave a first start without a grid file; the start goes
// on with a method that needs none, and the first calculation works.
TEST_F(StartUp, FirstStartClosedWithoutOkStartsInMediumAccuracyWithTheNationalSet) {
  settings.parameterSet = 2;
  settings.shiftX = "1.0";
  Open();  // the options dialog is closed as by Escape
  EXPECT_EQ(settings.accuracyMethod, engine::AccuracyMethod::Medium);
  EXPECT_EQ(settings.parameterSet, engine::kNationalParameterSet);
  EXPECT_EQ(params::ActiveParameters(settings), params::ApplyPreset(0)->texts);
  EXPECT_EQ(texts().methodLabel, "Medium Accuracy");
  EXPECT_EQ(texts().parameterSetLabel, "National  -->  AGD84<>GDA");
  EXPECT_EQ(texts().fromGridLabel, "AMG 84");
  EXPECT_EQ(texts().statusText, "Medium Accuracy, National") << "the start says what it chose";
  view->Click(MW::kCalculate);
  EXPECT_TRUE(desktop.messages().empty());
  EXPECT_TRUE(window->report().started());
}

TEST_F(StartUp, DamagedFileIsTreatedAsMissingAndLeftInPlace) {
  std::string noMethod = kSavedFile;
  const std::string methodLines = "\r\n2\r\n0\r\n";
  noMethod.replace(noMethod.find(methodLines), methodLines.size(), "\r\n2\r\nx\r\n");
  for (const std::string& damaged : {std::string("AGD/AMG\n379185.968\n"), noMethod}) {
    ui::testing::ScriptedDesktop fresh;
    testing::WriteFile(folder / "tarvo_prm.dat", damaged);
    MW damagedWindow(fresh, settings, grid, folder.path());
    EXPECT_EQ(fresh.modalsRun(), 1) << "the options dialog of a first start";
    EXPECT_EQ(damagedWindow.texts().fromEast, "379185.968");
    EXPECT_EQ(testing::ReadFile(folder / "tarvo_prm.dat"), damaged);
  }
}

TEST_F(StartUp, SaveAndExitThenStartAgainReproducesEverySavedValue) {
  QueueMediumAccuracyOptions();
  Open();
  view->Type(MW::kFromHeight, "0.0");
  view->Blur();
  view->Click(MW::kCalculate);
  const WindowTexts before = texts();
  const double latitude = settings.latitude;
  view->Press(MW::kSaveAndExit);
  EXPECT_TRUE(view->isClosed());

  engine::TransformSettings restarted;
  ntv2::GridChoice restartedGrid;
  MW again(desktop, restarted, restartedGrid, folder.path());
  EXPECT_EQ(again.texts().fromEast, before.fromEast);
  EXPECT_EQ(again.texts().fromHeight, "0.000") << "grid values come back with three decimals";
  EXPECT_EQ(again.texts().toLatitude, before.toLatitude);
  EXPECT_EQ(again.texts().toConvergence, before.toConvergence);
  EXPECT_EQ(again.texts().fromLatitude, before.fromLatitude);
  EXPECT_EQ(again.texts().parameterSetLabel, before.parameterSetLabel);
  EXPECT_EQ(restarted.latitude, latitude);
  EXPECT_EQ(restarted.accuracyMethod, engine::AccuracyMethod::Medium);
  EXPECT_EQ(restarted.outputFormat, engine::TransformSettings{}.outputFormat);
}

TEST_F(StartUp, SavedToPositionIsTheStandardFormWhateverTheOutputFormat) {
  QueueMediumAccuracyOptions();
  Open();
  settings.outputFormat = "Radians";
  view->Click(MW::kCalculate);
  EXPECT_EQ(texts().toLatitude.find('\xB0'), std::string::npos) << texts().toLatitude;
  view->Press(MW::kSaveAndExit);
  const std::string saved = testing::ReadFile(folder / "tarvo_prm.dat");
  EXPECT_NE(saved.find("\n 32\xB0 53' 24.2646\"\n 151\xB0 42' 34.1392\"\n"), std::string::npos)
      << saved;
}

// The save that fails keeps the window open (it showed its message and ended the program,
// and the session was lost): once the folder is fixed, Save & Exit saves.
TEST_F(StartUp, SaveFailureIsReportedWithThePathAndKeepsTheWindow) {
  SaveDefaults(engine::AccuracyMethod::Medium);
  Open();
  std::filesystem::remove(folder / "tarvo_prm.dat");
  std::filesystem::create_directory(folder / "tarvo_prm.dat");  // cannot be replaced
  view->Press(MW::kSaveAndExit);
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].caption, "ERROR");
  EXPECT_NE(desktop.messages()[0].text.find("tarvo_prm.dat"), std::string::npos);
  EXPECT_FALSE(view->isClosed());

  std::filesystem::remove(folder / "tarvo_prm.dat");
  view->Press(MW::kSaveAndExit);
  EXPECT_TRUE(view->isClosed());
  EXPECT_EQ(testing::ReadFile(folder / "tarvo_prm.dat").substr(0, 8), "AGD/AMG\n");
}

TEST(GridLabel, BaseNameOfTheGridPath) {
  struct Case {
    ntv2::GridChoice grid;
    std::optional<std::string> label;
  } cases[] = {
      {{static_cast<ntv2::GridMethod>(0), "C:\\data\\A66_NAT.gsb"}, "A66_NAT --> AGD66 <> GDA"},
      {{static_cast<ntv2::GridMethod>(1), "/home/survey/grids/A66_NAT.gsb"},
       "A66_NAT --> AGD84 <> GDA"},
      {{static_cast<ntv2::GridMethod>(0), "D:A66_NAT.gsb"}, "A66_NAT --> AGD66 <> GDA"},
      {{static_cast<ntv2::GridMethod>(0), "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234.gsb"},
       "ABCDEFGHIJKLMNOPQRS --> AGD66 <> GDA"},
      {{static_cast<ntv2::GridMethod>(0), ""}, " --> AGD66 <> GDA"},
      {{static_cast<ntv2::GridMethod>(0), "abc"}, "abc --> AGD66 <> GDA"},
      {{static_cast<ntv2::GridMethod>(2), "x.gsb"}, "TAS (Grid) --> AGD66 <> GDA"},
      {{static_cast<ntv2::GridMethod>(3), ""}, "NT  (Grid) --> AGD66 <> GDA"},
      {{static_cast<ntv2::GridMethod>(4), ""}, "QLD (Grid) --> AGD84 <> GDA"},
      {{static_cast<ntv2::GridMethod>(5), ""}, "NSW (MRE)  --> AGD66 <> GDA"},
      {{static_cast<ntv2::GridMethod>(6), ""}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ntv2::GridLabel(c.grid), c.label) << c.grid.gridFilePath;
  }
}

}  // namespace
}  // namespace tarvo::mainwindow
