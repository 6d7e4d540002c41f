// No NaN in any output or saved file of the main window: impossible entries are refused,
// results that are no coordinates are neither shown nor kept, and settings files holding
// values the program never writes (or a parameter set no transformation can use) are refused
// where they are read, naming the file and line.
#include <gtest/gtest.h>

#include <sstream>

#include "params/parameter_sets.h"
#include "tests/mainwindow/main_window_fixture.h"
#include "version.h"

namespace tarvo::mainwindow {
namespace {

using FiniteResults = MainWindowTest;

// Finding 1: East 1e300, Calculate, Save & Exit showed and logged NaN, and saved a 301-digit
// East and NaN lines that came back at the next start.
TEST_F(FiniteResults, AnImpossibleEastIsNeitherCalculatedLoggedNorSaved) {
  SaveDefaults(engine::AccuracyMethod::Medium);
  Open();
  view->Type(MW::kFromEast, "1e300");
  view->Blur();
  view->Click(MW::kCalculate);
  view->Click(MW::kSaveAndExit);
  const std::string report = testing::ReadFile(folder / "tarvo_rpt.txt");
  const std::string saved = testing::ReadFile(folder / "tarvo_prm.dat");
  for (const std::string* file : {&report, &saved}) {
    EXPECT_EQ(file->find("nan"), std::string::npos) << *file;
    EXPECT_EQ(file->find("00000000000000000000"), std::string::npos) << *file;
  }
  EXPECT_EQ(saved.substr(0, 19), "AGD/AMG\n379185.968\n") << "the East before the refusal";
}

// An X, Y, Z switch whose values are no coordinates changes nothing.
TEST_F(FiniteResults, AnXyzSwitchWithoutAPositionIsRefused) {
  SaveDefaults(engine::AccuracyMethod::Medium);
  Open();
  view->Click(MW::kFromXyz);
  for (const int id : {MW::kFromEast, MW::kFromNorth, MW::kFromHeight}) {
    view->Type(id, "0.000");
    view->Blur();
  }
  desktop.ClearMessages();
  view->Click(MW::kFromXyz);
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, kNoResultMessage);
  EXPECT_EQ(texts().fromEast, "0.000");
  EXPECT_EQ(texts().fromLabel1, "   X") << "the side still shows X, Y, Z";
}

// A tarvo_prm.dat holding a value the program never writes is refused as damaged (the start
// is a first start); the reason names the line.
TEST(SavedSettingsValues, ValuesTheProgramNeverWritesRefuseTheFile) {
  struct Case {
    std::size_t line;
    const char* value;
    const char* problem;  // "" when the file is read
  } cases[] = {
      {2, "1e300", "line 2 (\"1e300\") is no coordinate"},
      {3, "nan", "line 3 (\"nan\") is no coordinate"},
      {7, "-nan", "line 7 (\"-nan\") is no coordinate"},
      {9, "inf", "line 9 (\"inf\") is no coordinate"},
      {24, "-nan\xB0 nan' nan\"", "line 24 (\"-nan\xB0 nan' nan\"\") is no angle"},
      {29, "1e300", "line 29 (\"1e300\") is no position"},
      {30, "nan", "line 30 (\"nan\") is no position"},
      {20, "x", "line 20 (\"x\") is no whole number"},
      {2, "1e9", ""},
      {2, "abc", ""},  // no number: 0, as the calculation reads it
      {7, "", ""},     // an empty To value: a refused calculation
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.line) + ": " + c.value);
    std::string lines[32];
    std::istringstream defaults(
        FormatSavedSettings(WindowTexts{}, engine::TransformSettings{}, ntv2::GridChoice{}));
    for (std::string& line : lines) std::getline(defaults, line);
    lines[c.line - 1] = c.value;
    std::string file;
    for (const std::string& line : lines) file += line + "\n";

    std::istringstream in(file);
    WindowTexts texts;
    engine::TransformSettings settings;
    ntv2::GridChoice grid;
    std::string problem;
    EXPECT_EQ(ReadSavedSettings(in, texts, settings, grid, &problem), *c.problem == '\0');
    EXPECT_EQ(problem, c.problem);
  }
  std::istringstream shortFile("AGD/AMG\n1\n");
  WindowTexts texts;
  engine::TransformSettings settings;
  ntv2::GridChoice grid;
  std::string problem;
  EXPECT_FALSE(ReadSavedSettings(shortFile, texts, settings, grid, &problem));
  EXPECT_EQ(problem, "the file has 2 lines, not 32");
}

TEST_F(FiniteResults, ADamagedSaveStartsAsAFirstStart) {
  std::string saved =
      FormatSavedSettings(WindowTexts{}, engine::TransformSettings{}, ntv2::GridChoice{});
  saved.replace(saved.find("379185.968"), 10, "1e300");
  testing::WriteFile(folder / "tarvo_prm.dat", saved);
  QueueMediumAccuracyOptions();
  Open();
  ASSERT_FALSE(desktop.modalTitles().empty());
  EXPECT_EQ(desktop.modalTitles()[0], std::string("Tarvo V") + kVersion + " Transformation Options")
      << "the options are asked first";
  EXPECT_EQ(texts().fromEast, "379185.968");
}

// Tarvo.var holding a set no transformation can use is refused at start-up, naming the file
// and the line; the parameters keep their values.
TEST_F(FiniteResults, AnUnusableTarvoVarIsRefusedNamingItsLine) {
  struct Case {
    int line;
    const char* value;
    const char* message;
  } cases[] = {
      {3, "nan", "Invalid X Shift: nan\nMust be a finite number"},
      {9, "-inf", "Invalid Scale: -inf\nMust be a finite number"},
      {2, "1", "Invalid Inverse Flattening: 1\nMust be a number greater than 1"},
      {1, "0", "Invalid Semi-major Axis: 0\nMust be a positive number of metres"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    params::ParameterTexts texts = params::ApplyPreset(1)->texts;
    texts[static_cast<std::size_t>(c.line - 1)] = c.value;
    ASSERT_TRUE(params::SaveParameterFile(folder.path(), texts));
    SaveDefaults(engine::AccuracyMethod::Medium);
    settings = {};
    desktop.ClearMessages();
    Open();
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, std::string(c.message) + "\n\n" +
                                              (folder / "Tarvo.var").string() + " line " +
                                              std::to_string(c.line) + ": the file is not used");
    EXPECT_EQ(params::ActiveParameters(settings), params::ApplyPreset(0)->texts)
        << "the National defaults stay";
  }
}

}  // namespace
}  // namespace tarvo::mainwindow
