// Whole batch runs through the scripted desktop: the checks and their messages, the
// questions, the header block, the count and the final text, dropped records, T27 and SSV
// runs, progress and a failing output file.
#include "fileconv/batch_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "angles/packed_angle.h"
#include "engine/grid_system.h"
#include "fileconv/output_contents_dialog.h"
#include "tests/support/dialog_run.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "ui/testing/scripted_desktop.h"
#include "version.h"

namespace tarvo::fileconv {
namespace {

namespace fs = std::filesystem;
using tarvo::testing::ReadFile;
using tarvo::testing::TempDir;
using tarvo::testing::WriteFile;
using ui::testing::FakeView;
using ui::testing::ScriptedDesktop;

constexpr const char* kFieldsMessage = "Please Select CSV fields\nthat contain the values";

// Two points of AGD/AMG zone 56 and the GDA/MGA values of the National 7-parameter set.
constexpr const char* kTwoPoints = "379185.968,6359970.566\n380000.000,6360000.000\n";
constexpr const char* kFirstResult = "379185.968,6359970.566,379291.796,6360161.142";

// One run's settings, files and desktop: AGD/AMG zone 56 to GDA/MGA zone 56 by the
// 7-parameter method, CSV fields 1 and 2.
class Conversion {
 public:
  Conversion() {
    transform.accuracyMethod = engine::AccuracyMethod::Medium;
    TakeMethodSettings(settings, transform, grid);
    settings.inputZone = "56";
    settings.outputZone = "56 ";
    settings.firstFieldNumber = "1";
    settings.secondFieldNumber = "2";
    settings.inputFileName = (dir / "in.csv").string();
    settings.outputFileName = (dir / "out.csv").string();
  }

  // Runs with the output contents dialog answered by a click on `choice` and Start, or by
  // Cancel when there is no choice.
  BatchRunResult Convert(std::optional<OutputContents> choice = OutputContents::ResultsWithInput) {
    desktop.QueueModal([choice](FakeView& view) {
      if (!choice) {
        view.Click(OutputContentsDialog::kCancel);
        return;
      }
      view.Click(*choice == OutputContents::ResultsWithInput ? OutputContentsDialog::kWithInput
                                                             : OutputContentsDialog::kResultsOnly);
      view.Click(OutputContentsDialog::kStart);
    });
    return RunDialog();
  }

  BatchRunResult RunDialog() {
    return testing::RunDialogSettings(settings, batch, transform, choices, options, desktop);
  }

  void Input(const std::string& contents) { WriteFile(dir / "in.csv", contents); }
  std::string Output() const { return ReadFile(dir / "out.csv"); }

  // The output lines after the header block.
  std::vector<std::string> Records() const {
    std::istringstream in(Output());
    std::vector<std::string> lines;
    std::string line;
    int rules = 0;
    while (std::getline(in, line)) {
      if (rules < 2 && batch.fileTypeCode != FileTypeCode::T27) {
        if (line.rfind("=====", 0) == 0) ++rules;
        continue;
      }
      if (line.rfind("Transformation of", 0) == 0 || line.find(" format is ") != line.npos ||
          line.find("Cartesian Coordinates") != line.npos) {
        continue;
      }
      lines.push_back(line);
    }
    return lines;
  }

  TempDir dir;
  ScriptedDesktop desktop;
  FileConversionSettings settings;
  BatchValues batch;
  engine::TransformSettings transform;
  ntv2::GridChoice grid;
  JobChoices choices;
  BatchRunOptions options;
};

class BatchRun : public ::testing::Test, public Conversion {};

TEST_F(BatchRun, ConvertsEveryDataLineAndWritesTheHeaderBlock) {
  Input(kTwoPoints + std::string("\n"));
  const BatchRunResult result = Convert();
  EXPECT_TRUE(result.converted);
  EXPECT_EQ(result.count, 2u) << "the empty last line ends the run";
  EXPECT_EQ(result.previewText, "\r\n     Total of 2 coordinates have been converted");
  EXPECT_EQ(Output(),
            "=============================================================\n"
            "TARVO V" +
                std::string(kVersion) +
                " - Date Computed: 09:05AM Friday March 01,2002\n"
                "Using Medium Accuracy method - National  -->  AGD84<>GDA\n"
                "=============================================================\n"
                "Transformation of AGD/AMG Zone 56 to GDA/MGA Zone 56 \n" +
                std::string(kFirstResult) + "\n380000.000,6360000.000,380105.826,6360190.575\n");
  EXPECT_TRUE(desktop.messages().empty());
  EXPECT_EQ(desktop.modalTitles(), std::vector<std::string>{""}) << "one output contents dialog";
}

TEST_F(BatchRun, ChecksBeforeAnythingIsWritten) {
  struct Check {
    const char* what;
    std::function<void(Conversion&)> change;
    std::string text;
    std::string caption;
  };
  const std::vector<Check> checks = {
      {"no first field number", [](Conversion& t) { t.settings.firstFieldNumber = ""; },
       kFieldsMessage, "ERROR"},
      {"height field 0", [](Conversion& t) { t.settings.heightField = "0"; }, kFieldsMessage,
       "ERROR"},
      {"Cartesian input without its Z field",
       [](Conversion& t) { t.settings.inputUnits = std::string(kCartesianUnits); }, kFieldsMessage,
       "ERROR"},
      {"the same name", [](Conversion& t) { t.settings.outputFileName = t.settings.inputFileName; },
       "", "Error INPUT & OUTPUT files the Same"},
      {"another name of the same file",
       [](Conversion& t) { t.settings.outputFileName = (t.dir.path() / "." / "in.csv").string(); },
       "", "Error INPUT & OUTPUT files the Same"},
      {"unknown input units", [](Conversion& t) { t.settings.inputUnits = "Feet"; }, "Feet",
       "ERROR"},
      {"unknown output units", [](Conversion& t) { t.settings.outputUnits = "Chains"; }, "Chains",
       "ERROR"},
      {"a zone of no system", [](Conversion& t) { t.settings.inputZone = "57"; },
       "Input Zone 57 is not a zone of AGD/AMG", "ERROR"},
      {"a 6-degree zone on ISG",
       [](Conversion& t) { t.settings.outputSystem = std::string(engine::GridSystem::kIsg); },
       "Output Zone 56 is not a zone of AGD/ISG", "ERROR"},
      {"DDD MM SS.ssss from an SSV file",
       [](Conversion& t) {
         t.batch.fileTypeCode = FileTypeCode::Ssv;
         t.settings.inputUnits = std::string(kGeographicUnits);
         t.transform.inputFormat = "DDD MM SS.ssss";
       },
       "Latitudes and Longitudes in DDD MM SS.ssss format\ncan only be read from CSV files",
       "ERROR"},
      {"the NSW MRE programs",
       [](Conversion& t) {
         t.settings.gridFlag = true;
         t.choices.gridMethod = ntv2::GridMethod::NswMrePrograms;
       },
       "The NSW (MRE) method is not available\nfor file conversion", "ERROR"},
      {"High Accuracy without a grid", [](Conversion& t) { t.settings.gridFlag = true; },
       "No NTv2 grid file is ready\nfor the High Accuracy method", "ERROR"},
  };
  for (const Check& check : checks) {
    SCOPED_TRACE(check.what);
    Conversion t;
    t.Input(kTwoPoints);
    check.change(t);
    const BatchRunResult result = t.RunDialog();
    EXPECT_FALSE(result.converted);
    EXPECT_FALSE(result.previewText);
    ASSERT_EQ(t.desktop.messages().size(), 1u);
    const std::string expectedText = check.text.empty() ? t.settings.inputFileName : check.text;
    EXPECT_EQ(t.desktop.messages()[0].text, expectedText);
    EXPECT_EQ(t.desktop.messages()[0].caption, check.caption);
    EXPECT_EQ(t.desktop.messages()[0].icon, ui::MessageIcon::Error);
    EXPECT_FALSE(fs::exists(t.dir / "out.csv")) << "nothing written";
    EXPECT_EQ(t.desktop.modalsRun(), 0);
  }
}

TEST_F(BatchRun, MissingInputFileShowsInThePreviewWithAWarningSound) {
  const BatchRunResult result = Convert();
  EXPECT_EQ(result.previewText,
            "\r\n     ERROR - File (" + settings.inputFileName + ") does not exist");
  EXPECT_EQ(desktop.beeps(), 1);
  EXPECT_FALSE(fs::exists(dir / "out.csv"));
}

TEST_F(BatchRun, AnExistingOutputIsReplacedOnlyAfterYes) {
  Input(kTwoPoints);
  WriteFile(dir / "out.csv", "keep me");
  desktop.QueueAnswer(ui::MessageAnswer::No);
  EXPECT_FALSE(Convert().converted);
  EXPECT_EQ(Output(), "keep me");
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, settings.outputFileName);
  EXPECT_EQ(desktop.messages()[0].caption, "File Exists Overwrite");
  EXPECT_EQ(desktop.messages()[0].buttons, ui::MessageButtons::YesNo);
  EXPECT_EQ(desktop.messages()[0].icon, ui::MessageIcon::Question);

  desktop.ClearMessages();
  desktop.QueueAnswer(ui::MessageAnswer::Yes);
  EXPECT_EQ(Convert().count, 2u);
  EXPECT_EQ(Records().size(), 2u);
}

TEST_F(BatchRun, AnOutputThatCannotBeCreatedEndsTheRun) {
  Input(kTwoPoints);
  settings.outputFileName = (dir / "no such folder" / "out.csv").string();
  EXPECT_FALSE(Convert().converted);
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, settings.outputFileName);
  EXPECT_EQ(desktop.messages()[0].caption, "Drive or Path does no exist");
}

TEST_F(BatchRun, ALineThatIsNoRecordEndsTheRunAndTheFinalTextNamesIt) {
  Input("379185.968,6359970.566\nPT,6360000.000\n380000.000,6360000.000\n\n");
  const BatchRunResult result = Convert();
  EXPECT_EQ(result.count, 1u);
  EXPECT_EQ(result.stoppedAtLine, 2u);
  EXPECT_EQ(result.previewText,
            "\r\n     Total of 1 coordinates have been converted"
            "\r\n     Conversion stopped at line 2: no coordinate in its field");
  EXPECT_EQ(Records(), std::vector<std::string>{kFirstResult});
}

// Records whose results are no coordinates are dropped and counted like points outside the
// grid: they were written as "nan" (or as a 309-digit number) and counted as converted.
TEST_F(BatchRun, RecordsWithoutAValidResultAreDroppedAndCounted) {
  Input("379185.968,6359970.566,10\n1e308,6359970.566,10\n379185.968,6359970.566,1e300\n");
  settings.heightField = "3";
  batch.echo = true;  // a dropped record's echo line goes with it
  const BatchRunResult result = Convert();
  EXPECT_EQ(result.count, 1u);
  EXPECT_EQ(result.noResult, 2u);
  EXPECT_EQ(result.previewText,
            "\r\n     Total of 1 coordinates have been converted"
            "\r\n     2 points without a valid result were not converted");
  const std::string output = Output();
  EXPECT_EQ(output.find("nan"), std::string::npos) << output;
  EXPECT_EQ(output.find("0000000000000000"), std::string::npos) << output;
  EXPECT_EQ(output.find("1e308"), std::string::npos) << "no echo line of a dropped record";
}

TEST_F(BatchRun, SkippingBadRecordsConvertsTheRestAndListsTheLinesSkipped) {
  std::string input = "Point,East\n379185.968,6359970.566\n\n  \nX,1\n";
  for (int i = 0; i < 10; ++i) input += "PT,1\n";
  Input(input + "380000.000,6360000.000\n");
  options.badRecords = BadRecords::Skip;
  const BatchRunResult result = Convert();
  EXPECT_EQ(result.count, 2u);
  EXPECT_EQ(result.skipped, 12u) << "blank lines are passed over, not counted";
  EXPECT_EQ(result.stoppedAtLine, 0u);
  EXPECT_EQ(result.previewText,
            "\r\n     Total of 2 coordinates have been converted"
            "\r\n     12 lines without coordinates were skipped: lines 1, 5, 6, 7, 8, 9, 10, 11, "
            "12, 13, ...");
  EXPECT_EQ(Records().size(), 2u);
}

TEST_F(BatchRun, HeaderLinesAreSkippedAndAnEastingInTheLastColumnConverts) {
  Input("Point,North,East\nP1,6359970.566,379185.968\n");
  settings.headerLineCount = "1";
  settings.firstFieldNumber = "3";
  settings.secondFieldNumber = "2";
  EXPECT_EQ(Convert(OutputContents::ResultsOnly).count, 1u);
  EXPECT_EQ(Records(), std::vector<std::string>{"P1,6360161.142,379291.796"});
}

// Found: the output was emptied before the output contents question, and "&Cancel" there
// still ran the conversion.
TEST_F(BatchRun, TheQuestionsComeBeforeAnythingIsWrittenAndCancelWritesNothing) {
  Input("P1,379185.968,6359970.566,CODE\n");
  settings.firstFieldNumber = "2";
  settings.secondFieldNumber = "3";
  for (const bool existing : {true, false}) {
    if (existing) {
      WriteFile(dir / "out.csv", "keep me");
      desktop.QueueAnswer(ui::MessageAnswer::Yes);
    }
    std::string seenByTheQuestion;
    desktop.QueueModal([&](FakeView& view) {
      seenByTheQuestion = Output();
      view.Click(OutputContentsDialog::kResultsOnly);
      view.Click(OutputContentsDialog::kCancel);
    });
    EXPECT_FALSE(RunDialog().converted);
    EXPECT_EQ(seenByTheQuestion, existing ? "keep me" : "");
    EXPECT_EQ(Output(), existing ? "keep me" : "");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()),
              existing ? 2 : 1)
        << "no temporary file is left";
    fs::remove(dir / "out.csv");
  }
}

TEST_F(BatchRun, ZoneFieldsOverrideTheDialogsZoneForTheirRecord) {
  Input("56,379185.968,6359970.566\n57,379185.968,6359970.566\n55,379185.968,6359970.566\n");
  settings.inputZone = "55";
  settings.inputZoneField = "1";
  settings.firstFieldNumber = "2";
  settings.secondFieldNumber = "3";
  EXPECT_EQ(Convert(OutputContents::ResultsOnly).count, 3u);
  const std::vector<std::string> records = Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0], "56,379291.796,6360161.142") << "zone 56 from the record";
  EXPECT_NE(records[1], "57,379291.796,6360161.142");
  EXPECT_EQ(records[1].substr(2), records[2].substr(2)) << "57 is no zone: the dialog's 55";
}

TEST_F(BatchRun, RecordsOutsideTheGridAreMissingFromOutputAndCount) {
  Input("35.0,149.0,10.0\n45.0,149.0,20.0\n36.0,149.0,30.0\n");
  transform.accuracyMethod = engine::AccuracyMethod::High;
  TakeMethodSettings(settings, transform, grid);
  settings.inputUnits = std::string(kGeographicUnits);
  settings.outputUnits = std::string(kGeographicUnits);
  settings.outputFormat = "DDD.MMSSsssss";
  settings.inputZone = "55";
  settings.outputZone = "55";
  settings.heightField = "3";
  // A synthetic grid: covers 30 to 40 degrees south, moves points one arc second north.
  choices.grid =
      ntv2::testing::ConstantShiftGrid(dir.path(), "north.gsb", 40, 30, 140, 155, 1.0, 0.0);
  const BatchRunResult result = Convert();
  EXPECT_EQ(result.count, 2u);
  EXPECT_EQ(result.outsideGrid, 1u);
  EXPECT_EQ(result.previewText,
            "\r\n     Total of 2 coordinates have been converted"
            "\r\n     1 points outside the grid were not converted");
  EXPECT_EQ(Records(),
            (std::vector<std::string>{"35.0,149.0,10.0,34.595900000,149.000000000,10.000",
                                      "36.0,149.0,30.0,35.595900000,149.000000000,30.000"}))
      << "nine decimals under the High Accuracy method; the height read is carried over";
  const std::string output = Output();
  EXPECT_NE(output.find("Using High Accuracy - NTv2 method -  --> AGD66 <> GDA\n"),
            std::string::npos);
  EXPECT_NE(output.find("Input Latitude & Longitude format is DDD.MMSSsssss\n"), std::string::npos);
  EXPECT_NE(output.find("Output Latitude & Longitude format is DDD.MMSSsssss\n"),
            std::string::npos);
}

TEST_F(BatchRun, HighAccuracyWithoutADatumChangeNeedsNoGrid) {
  Input("379185.968,6359970.566\n");
  transform.accuracyMethod = engine::AccuracyMethod::High;
  TakeMethodSettings(settings, transform, grid);
  settings.outputSystem = std::string(engine::GridSystem::kIsg);
  settings.outputZone = "562";
  EXPECT_EQ(Convert().count, 1u);
  EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(BatchRun, DmsLatitudesAndLongitudesFromCsv) {
  Input("32 53 30.0000,151 42 30.0000\n");
  settings.inputUnits = std::string(kGeographicUnits);
  transform.inputFormat = "DDD MM SS.ssss";
  EXPECT_EQ(Convert(OutputContents::ResultsOnly).count, 1u);
  EXPECT_EQ(Records(), std::vector<std::string>{"379291.796,6360161.142"});
}

TEST_F(BatchRun, T27RecordsKeepTheirColumnsAndShortLinesAreCopied) {
  batch.fileTypeCode = FileTypeCode::T27;
  settings.firstFieldNumber = "";
  settings.secondFieldNumber = "";
  settings.heightField = "No ";
  Input(
      "PT00001  379185.968 6359970.566   12.500 X\nshort line\nPT00002  380000.000 "
      "6360000.000\n");
  const BatchRunResult result = Convert();
  EXPECT_EQ(result.count, 2u) << "the short line is not counted";
  EXPECT_EQ(Output(),
            "PT00001  379291.796 6360161.142   12.500 X\nshort line\n"
            "PT00002  380105.826 6360190.575\n")
      << "no header block for T27";
}

TEST_F(BatchRun, SsvMeasuresAsManyLinesAsThereAreHeaderLines) {
  batch.fileTypeCode = FileTypeCode::Ssv;
  settings.firstFieldNumber = "2";
  settings.secondFieldNumber = "3";
  settings.headerLineCount = "1";
  Input("Point East North\nP1  379185.968 6359970.566\nP22 380000.0 6360000.0\n");
  EXPECT_EQ(Convert().count, 2u);
  EXPECT_EQ(batch.longestLineLength, 27u) << "the first data line and its line end";
  EXPECT_EQ(Records(),
            (std::vector<std::string>{"P1  379185.968 6359970.566 379291.796 6360161.142",
                                      "P22 380000.0 6360000.0     380105.826 6360190.575"}));
}

TEST_F(BatchRun, EchoLinesBeforeTheBothLayout) {
  Input("379185.968,6359970.566,0.0\n");
  settings.heightField = "3";
  settings.outputUnits = std::string(kBothUnits);
  batch.echo = true;
  EXPECT_EQ(Convert().count, 1u);
  // PROJ gives the latitude as 32 53 24.264547.
  EXPECT_EQ(Records(), (std::vector<std::string>{
                           "", "East 379185.968 North 6359970.566 Height 0.000",
                           "East 379291.796 North 6360161.142 Height 12.617 Latitude  32 53 "
                           "24.2645 Longitude  151 42 34.1392"}));
}

TEST_F(BatchRun, ProgressRunsFromZeroToTheFileSize) {
  std::string contents;
  for (int i = 0; i < 500; ++i) contents += "379185.968,6359970.566\n";
  Input(contents);
  std::vector<std::uint64_t> positions;
  std::uint64_t reportedSize = 0;
  options.progress = [&](std::uint64_t position, std::uint64_t size) {
    positions.push_back(position);
    reportedSize = size;
  };
  EXPECT_EQ(Convert().count, 500u);
  EXPECT_EQ(reportedSize, contents.size());
  ASSERT_GE(positions.size(), 100u) << "often enough for a smooth bar";
  EXPECT_EQ(positions.front(), 0u);
  EXPECT_EQ(positions.back(), contents.size());
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
}

// A device named as the output is written as a stream, as standard output is.
TEST_F(BatchRun, AFailedWriteIsReportedNotCountedAsSuccess) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  Input(kTwoPoints);
  settings.outputFileName = "/dev/full";
  const BatchRunResult result = Convert();
  EXPECT_TRUE(result.writeFailed);
  ASSERT_TRUE(result.previewText);
  EXPECT_NE(result.previewText->find("ERROR - the output file is incomplete"), std::string::npos);
  ASSERT_EQ(desktop.messages().size(), 2u) << "the overwrite question, then the failure";
  EXPECT_EQ(desktop.messages()[1].caption, "ERROR - Output file not written completely");
}

TEST(RunDate, TwelveHourClockWithEnglishNames) {
  std::tm time{};
  time.tm_year = 126;
  time.tm_mon = 11;
  time.tm_mday = 24;
  time.tm_wday = 4;
  const std::pair<int, const char*> hours[] = {
      {0, "12:07AM Thursday December 24,2026"},
      {12, "12:07PM Thursday December 24,2026"},
      {23, "11:07PM Thursday December 24,2026"},
  };
  for (const auto& [hour, expected] : hours) {
    time.tm_hour = hour;
    time.tm_min = 7;
    EXPECT_EQ(FormatRunDate(time), expected) << "hour " << hour;
  }
}

}  // namespace
}  // namespace tarvo::fileconv
