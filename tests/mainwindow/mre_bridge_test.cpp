// The bridge to the MRE programs, with the programs this project builds and with stand-ins
// that misbehave.
#include "mainwindow/mre_bridge.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "angles/packed_angle.h"
#include "engine/datum_parameters.h"
#include "engine/ellipsoid.h"
#include "engine/projection_constants.h"
#include "engine/seven_parameter.h"
#include "engine/transverse_mercator.h"
#include "params/parameter_sets.h"
#include "tests/mainwindow/main_window_fixture.h"
#include "text/number_text.h"
#include "version.h"

namespace tarvo::mainwindow {
namespace {

namespace fs = std::filesystem;

// Copies the program built with the project into `folder`.
void InstallProgram(const fs::path& folder, bool forward) {
  const std::string name = MreProgramName(forward);
  fs::copy_file(fs::path(TARVO_BUILD_DIR) / name, folder / name,
                fs::copy_options::overwrite_existing);
}

// A stand-in program: a shell script.
void InstallScript(const fs::path& folder, const std::string& body) {
  const fs::path path = folder / MreProgramName(true);
  testing::WriteFile(path, "#!/bin/sh\n" + body + "\n");
  fs::permissions(path, fs::perms::owner_all);
}

engine::DatumParameters NswVic() {
  engine::TransformSettings settings;
  params::SetActiveParameters(settings, params::ApplyPreset(1)->texts);
  return engine::MakeDatumParameters(settings);
}

constexpr double kLatitude = 0.5741234567;   // about 32 54' S
constexpr double kLongitude = 2.6430000000;  // about 151 26' E

TEST(MreBridge, ForwardAndReverseAgreeWithTheRegionalNswVicTransformation) {
  testing::TempDir folder;
  ui::testing::ScriptedDesktop desktop;
  InstallProgram(folder.path(), true);
  InstallProgram(folder.path(), false);

  const auto forward = RunMreBridge(true, kLatitude, kLongitude, folder.path(), desktop);
  ASSERT_TRUE(forward.has_value());
  EXPECT_EQ(testing::ReadFile(folder / "fwdmre.inp"), "-0.5741234567   2.6430000000\n");
  auto expected = engine::SevenParameterForward(NswVic(), kLatitude, kLongitude, 0);
  EXPECT_NEAR(forward->latitude, expected.latitude, 1e-11);
  EXPECT_NEAR(forward->longitude, expected.longitude + engine::kPi, 1e-11);

  const auto reverse =
      RunMreBridge(false, forward->latitude, forward->longitude, folder.path(), desktop);
  ASSERT_TRUE(reverse.has_value());
  // The exchange carries 10 decimals of radians.
  const auto exchanged = [](double value) { return text::ToDouble(text::Format("%.10f", value)); };
  expected = engine::SevenParameterReverse(NswVic(), exchanged(forward->latitude),
                                           exchanged(forward->longitude), 0);
  EXPECT_NEAR(reverse->latitude, expected.latitude, 1e-11);
  EXPECT_NEAR(reverse->longitude, expected.longitude, 1e-11);
  EXPECT_NEAR(reverse->latitude, kLatitude, 1e-9) << "back within a few centimetres";
  EXPECT_TRUE(desktop.messages().empty());
}

TEST(MreBridge, ProgramsInstalledBesideTarvoServeWhenTheFolderHasNone) {
  testing::TempDir folder;
  testing::TempDir installed;
  ui::testing::ScriptedDesktop desktop;
  InstallProgram(installed.path(), true);
  const auto result =
      RunMreBridge(true, kLatitude, kLongitude, folder.path(), desktop, installed.path());
  ASSERT_TRUE(result.has_value());
  EXPECT_TRUE(std::filesystem::exists(folder / "Fwdmre.out")) << "files exchanged in the folder";
  EXPECT_TRUE(desktop.messages().empty());
}

TEST(MreBridge, MissingProgramNamesTheFolder) {
  testing::TempDir folder;
  ui::testing::ScriptedDesktop desktop;
  EXPECT_FALSE(RunMreBridge(false, kLatitude, kLongitude, folder.path(), desktop));
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text,
            "Place REVMRE.EXE in same directory as TARVO\nTARVO Directory is :- " +
                folder.path().string());
  EXPECT_EQ(desktop.messages()[0].caption, "FAILED");
  EXPECT_EQ(desktop.messages()[0].icon, ui::MessageIcon::Error);
}

TEST(MreBridge, ProgramThatWritesNothingGivesUnableToRead) {
  testing::TempDir folder;
  ui::testing::ScriptedDesktop desktop;
  InstallScript(folder.path(), "exit 0");
  testing::WriteFile(folder / "Fwdmre.out", " 0.1 2.2 ");  // an earlier point's answer
  EXPECT_FALSE(RunMreBridge(true, kLatitude, kLongitude, folder.path(), desktop));
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, "Unable to read FWDMRE.OUT");
  EXPECT_EQ(desktop.messages()[0].caption, "ERROR");
}

// A process that still runs (a zombie has ended).
bool Running(const std::string& pid) {
  std::string stat = testing::ReadFile("/proc/" + pid + "/stat");
  const std::size_t state = stat.rfind(')');
  return state != std::string::npos && state + 2 < stat.size() && stat[state + 2] != 'Z';
}

// Found: a program that outlived the wait was left running; its answer, written later, was
// read by the next point's calculation as its own.
TEST(MreBridge, ProgramStillRunningAfterFiveSecondsIsEndedAndItsAnswerNotRead) {
  testing::TempDir folder;
  ui::testing::ScriptedDesktop desktop;
  InstallScript(folder.path(),
                "printf ' -0.5741 2.6432 ' > Fwdmre.out\n"
                "sleep 30 & echo $! > sleep.pid\n"
                "wait");
  const auto start = std::chrono::steady_clock::now();
  const auto result = RunMreBridge(true, kLatitude, kLongitude, folder.path(), desktop);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(7))
      << "the wait ends after 5 s";
  EXPECT_FALSE(result.has_value()) << "an answer that may belong to no one is not read";
  ASSERT_EQ(desktop.messages().size(), 2u);
  EXPECT_EQ(desktop.messages()[0].text, "MRE is still active");
  EXPECT_EQ(desktop.messages()[0].caption, "WARNING");
  EXPECT_EQ(desktop.messages()[0].icon, ui::MessageIcon::Warning);
  EXPECT_EQ(desktop.messages()[1].text, "Unable to read FWDMRE.OUT");
  const std::string sleeper = testing::ReadFile(folder / "sleep.pid");
  ASSERT_FALSE(sleeper.empty());
  for (int wait = 0; wait < 100 && Running(sleeper.substr(0, sleeper.size() - 1)); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(Running(sleeper.substr(0, sleeper.size() - 1)))
      << "what the program started is ended with it";
}

// Found: a failed write of fwdmre.inp went unnoticed, and the program answered for the
// point the stale file held.
TEST(MreBridge, AnInputFileThatCannotBeWrittenStopsTheCalculation) {
  testing::TempDir folder;
  ui::testing::ScriptedDesktop desktop;
  InstallScript(folder.path(), "touch started\nprintf ' 0.5 2.6 ' > Fwdmre.out");
  std::filesystem::create_directory(folder / "fwdmre.inp");
  EXPECT_FALSE(RunMreBridge(true, kLatitude, kLongitude, folder.path(), desktop));
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, "Cannot write " + (folder / "fwdmre.inp").string());
  EXPECT_EQ(desktop.messages()[0].caption, "ERROR");
  EXPECT_FALSE(std::filesystem::exists(folder / "started"));
}

// Found: fwdmre wrote its answer to "Fwdmre.out.tmp<pid>" following links: links planted for
// the next process ids had it write into a file of someone's choice.
TEST(MreBridge, LinksPlantedForTheAnswersTemporaryFileAreNotFollowed) {
  testing::TempDir folder;
  ui::testing::ScriptedDesktop desktop;
  InstallProgram(folder.path(), true);
  testing::WriteFile(folder / "victim", "precious\n");
  const int pid = static_cast<int>(::getpid());
  for (int next = pid; next < pid + 300; ++next) {
    std::filesystem::create_symlink(folder / "victim",
                                    folder / ("Fwdmre.out.tmp" + std::to_string(next)));
  }
  EXPECT_TRUE(RunMreBridge(true, kLatitude, kLongitude, folder.path(), desktop));
  EXPECT_EQ(testing::ReadFile(folder / "victim"), "precious\n");
  EXPECT_FALSE(std::filesystem::is_symlink(folder / "Fwdmre.out"));
}

TEST(MreBridge, MalformedInputMakesTheProgramFailWithoutOutput) {
  testing::TempDir folder;
  InstallProgram(folder.path(), true);
  for (const std::string& input : {std::string(), std::string("abc def\n"), std::string("-0.57\n"),
                                   std::string("-0.57 2.64 9\n")}) {
    if (!input.empty()) testing::WriteFile(folder / "fwdmre.inp", input);
    const auto outcome = testing::RunCommand("cd '" + folder.path().string() + "' && ./" +
                                             MreProgramName(true) + " 2>/dev/null");
    EXPECT_NE(outcome.status, 0) << "input '" << input << "'";
    EXPECT_FALSE(fs::exists(folder / "Fwdmre.out")) << "input '" << input << "'";
  }
}

TEST(MreOutput, NumbersAreReadByTheExchangesCharacterRules) {
  struct Case {
    std::string text;
    double latitude;
    double longitude;
  } cases[] = {
      {" -0.5741  2.6432 ", 0.5741, 2.6432},
      {"0.5741 2.6432", 0.5741, 2.6432},  // the end of the file ends a number
      {"\t0.57\t41 2.6-432 ", 0.5741, 2.6432},
      {"0.5741\n2.6432 ", 0.5741, 0.0},  // a line end does not end a number
      {"", 0.0, 0.0},
      {" 0.5741 ", 0.5741, 0.0},
      {std::string(60, '1') + " 2.5 ", text::ToDouble(std::string(49, '1')), 2.5},
  };
  for (const Case& c : cases) {
    const MreResult result = ParseMreOutput(c.text);
    EXPECT_EQ(result.latitude, c.latitude) << "'" << c.text << "'";
    EXPECT_EQ(result.longitude, c.longitude) << "'" << c.text << "'";
  }
}

// The NSW method saved in tarvo_prm.dat (grid method 5): a calculation in New South Wales
// goes through the two programs and back.
TEST_F(MainWindowTest, HighAccuracyWithTheNswMethodRunsTheMrePrograms) {
  engine::TransformSettings saved;
  saved.accuracyMethod = engine::AccuracyMethod::High;
  WindowTexts defaults;
  testing::WriteFile(
      folder / "tarvo_prm.dat",
      FormatSavedSettings(defaults, saved, ntv2::GridChoice{ntv2::GridMethod::NswMrePrograms, ""}));
  InstallProgram(folder.path(), true);
  InstallProgram(folder.path(), false);
  desktop.SetCurrentDirectory(folder.path());
  Open();
  EXPECT_EQ(texts().parameterSetLabel, "National  -->  AGD84<>GDA") << "line 12 as saved";
  EXPECT_EQ(texts().fromGridLabel, "AMG 66");

  view->Type(MW::kFromHeight, "45.5");
  view->Blur();
  view->Click(MW::kCalculate);
  ASSERT_TRUE(desktop.messages().empty()) << desktop.messages()[0].text;
  const auto expected =
      engine::SevenParameterForward(NswVic(), angles::PackedToRadians(settings.latitude),
                                    angles::PackedToRadians(settings.longitude), 0);
  const auto constants = engine::SetZoneConstants(56, true);
  const auto grid =
      engine::GeographicToGrid(constants, expected.latitude, expected.longitude + engine::kPi);
  EXPECT_EQ(texts().toEast, text::Format("%.3f", grid.easting));
  EXPECT_EQ(texts().toNorth, text::Format("%.3f", grid.northing));
  EXPECT_EQ(texts().toHeight, "45.500") << "the From height, as the grids carry none";
  const std::string report = testing::ReadFile(folder / "tarvo_rpt.txt");
  EXPECT_NE(report.find(std::string("TARVO V") + kVersion + " - Date Computed"), std::string::npos);

  // And back: GDA to AGD through revmre.
  view->Select(MW::kFromSystem, "GDA/MGA");
  view->Select(MW::kToSystem, "AGD/AMG");
  view->Type(MW::kFromEast, texts().toEast);
  view->Type(MW::kFromNorth, texts().toNorth);
  view->Blur();
  view->Click(MW::kCalculate);
  ASSERT_TRUE(desktop.messages().empty()) << desktop.messages()[0].text;
  EXPECT_NEAR(text::ToDouble(texts().toEast), 379185.968, 0.05);
  EXPECT_NEAR(text::ToDouble(texts().toNorth), 6359970.566, 0.05);
}

TEST_F(MainWindowTest, HighAccuracyRouteStopsWhenTheFolderIsGone) {
  engine::TransformSettings saved;
  saved.accuracyMethod = engine::AccuracyMethod::High;
  testing::WriteFile(folder / "tarvo_prm.dat",
                     FormatSavedSettings(WindowTexts{}, saved,
                                         ntv2::GridChoice{ntv2::GridMethod::NswMrePrograms, ""}));
  Open();
  desktop.SetCurrentDirectory(std::nullopt);
  view->Click(MW::kCalculate);
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].caption, "INVALID DIRECTORY");
  EXPECT_FALSE(window->report().started());
}

}  // namespace
}  // namespace tarvo::mainwindow
