// tarvo-convert as a user runs it: the same output as the dialog's run, the saved settings of
// the current directory, every option, standard input and output, and each refusal with its
// message and exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/transform_settings.h"
#include "fileconv/file_conversion_settings.h"
#include "fileconv/run_grid.h"
#include "ntv2/grid_interpolate.h"
#include "mainwindow/saved_settings.h"
#include "ntv2/grid_choice.h"
#include "params/parameter_sets.h"
#include "tests/convert/converter_support.h"
#include "text/number_text.h"
#include "ui/testing/scripted_desktop.h"
#include "version.h"

namespace tarvo::convert_testing {
namespace {

namespace fs = std::filesystem;
using fileconv::FileConversionSettings;
using fileconv::FileTypeCode;
using fileconv::OutputContents;

// AGD/AMG zone 56 points (AGD84): identifier, East, North, height, code.
constexpr const char* kCsv =
    "P1,379185.968,6359970.566,12.350,TS\n"
    "P2,380000.000,6360000.000,8.100,PM\n"
    "P3, 381442.730,6357210.118,7.842,PM\r\n";
// The same with a zone field on the second record.
constexpr const char* kCsvWithZone =
    "P1,379185.968,6359970.566,12.350,TS\n"
    "P2,380000.000,6360000.000,8.100,PM,55\n"
    "P3, 381442.730,6357210.118,7.842,PM\r\n";
// The first record on GDA/MGA zone 56 by the National set.
constexpr const char* kFirstRecord = "P1,379291.796,6360161.142,12.350,TS\n";

constexpr const char* kSsv =
    "Survey of lot 7\n"
    "Point  East  North  Height\n"
    "1 379185.968 6359970.566 12.350\n"
    "22 380000.000 6360000.000 8.100 checked\n"
    "333 381442.730 6357210.118 7.842\n";

// T27 records: columns 1-7 a name, 8-19 East, 20-31 North, 32-40 the height, then a code.
std::string T27Records() {
  std::string records;
  const double points[][3] = {{379185.968, 6359970.566, 12.35}, {380000.0, 6360000.0, 8.1}};
  for (const auto& p : points) {
    records += text::Format("PT%05d%12.3f%12.3f%9.3f CODE\n", static_cast<int>(p[2] * 100), p[0],
                            p[1], p[2]);
  }
  return records + "SHORT\n";
}

// The settings of the dialog that the options of a case describe.
struct Case {
  const char* name;
  std::string input;
  std::string args;
  std::function<void(FileConversionSettings&, fileconv::BatchValues&)> dialog;
  OutputContents contents;
};

constexpr const char* kCommon = "-i in.txt -o out.txt --from AMG:56 --to MGA:56 -m medium ";

TEST(ConverterOutput, EqualsTheDialogRunByteForByte) {
  const std::vector<Case> cases = {
      {"CSV, results only", kCsv, "-F 2,3,4 --contents results-only",
       [](FileConversionSettings& s, fileconv::BatchValues&) {
         s.firstFieldNumber = "2";
         s.secondFieldNumber = "3";
         s.heightField = "4";
       },
       OutputContents::ResultsOnly},
      {"CSV, with input, geographic output in DDD MM SS.ssss", kCsv,
       "-F 2,3 --contents with-input --output-units geo --output-format dms",
       [](FileConversionSettings& s, fileconv::BatchValues&) {
         s.firstFieldNumber = "2";
         s.secondFieldNumber = "3";
         s.outputUnits = std::string(fileconv::kGeographicUnits);
         s.outputFormat = "DDD MM SS.ssss";
       },
       OutputContents::ResultsWithInput},
      {"CSV, Cartesian output in seconds of the notation", kCsv,
       "--fields=2,3,4 --contents=with-input --output-units=xyz",
       [](FileConversionSettings& s, fileconv::BatchValues&) {
         s.firstFieldNumber = "2";
         s.secondFieldNumber = "3";
         s.heightField = "4";
         s.outputUnits = std::string(fileconv::kCartesianUnits);
       },
       OutputContents::ResultsWithInput},
      {"SSV with header lines, aligned with input", kSsv,
       "-T ssv -H 2 -F 2,3,4 --contents with-input",
       [](FileConversionSettings& s, fileconv::BatchValues& b) {
         b.fileTypeCode = FileTypeCode::Ssv;
         s.fileTypeLabel = std::string(fileconv::kSsvLabel);
         s.headerLineCount = "2";
         s.firstFieldNumber = "2";
         s.secondFieldNumber = "3";
         s.heightField = "4";
       },
       OutputContents::ResultsWithInput},
      {"T27 with heights", T27Records(), "-T t27 --t27-height yes",
       [](FileConversionSettings& s, fileconv::BatchValues& b) {
         b.fileTypeCode = FileTypeCode::T27;
         s.fileTypeLabel = std::string(fileconv::kT27Label);
         s.heightField = "Yes";
       },
       OutputContents::ResultsOnly},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConverterFolder folder;
    folder.Write("in.txt", c.input);
    DialogState dialog(folder);
    c.dialog(dialog.settings, dialog.batch);
    const std::string expected =
        DialogRun(dialog.settings, dialog.batch, dialog.transform, c.contents);

    // On every core (in blocks of one line, the file being small), on one and on three.
    for (const char* jobs : {"", " --jobs 1", " -j 3"}) {
      SCOPED_TRACE(jobs);
      const Outcome outcome = folder.Run(kCommon + c.args + jobs + " -f");
      EXPECT_EQ(outcome.status, 0) << outcome.err;
      EXPECT_EQ(WithoutDate(folder.Read("out.txt")), WithoutDate(expected));
    }
    EXPECT_NE(expected.find(c.contents == OutputContents::ResultsOnly ? "\n" : ","),
              std::string::npos);
  }
}

TEST(ConverterOutput, NationalGridRunEqualsTheDialogRun) {
  TARVO_REQUIRE_SHARED_DATA(shared);
  const fs::path grid = shared / "grids" / "A66_National_13_09_01.gsb";
  ConverterFolder folder;
  folder.Write("in.txt", "266734.974 6461949.891\n595317.852 6591481.355\n");
  const Outcome outcome =
      folder.Run("-i in.txt -o out.txt -T ssv -F 1,2 --from AMG:56 --to MGA:56 --grid '" +
                 grid.string() + "'");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string output = folder.Read("out.txt");
  EXPECT_NE(output.find("Using High Accuracy - NTv2 method - A66_National_13_09_ --> AGD66 <> GDA"),
            std::string::npos)
      << "--grid alone selects the NTv2 method and names the grid";
  // cs2cs with the same grid gives 266840.132 6462138.987 and 595422.013 6591670.184.
  EXPECT_EQ(Records(output), "266840.132 6462138.987\n595422.013 6591670.184\n");

  // The method and the grid file saved in tarvo_prm.dat serve as well.
  engine::TransformSettings saved;
  saved.accuracyMethod = engine::AccuracyMethod::High;
  folder.Write("tarvo_prm.dat",
               mainwindow::FormatSavedSettings(
                   {}, saved, ntv2::GridChoice{ntv2::GridMethod::GridFileAgd66, grid}));
  const Outcome fromSaved =
      folder.Run("-f -i in.txt -o saved.txt -T ssv -F 1,2 --from AMG:56 --to MGA:56");
  ASSERT_EQ(fromSaved.status, 0) << fromSaved.err;
  EXPECT_EQ(WithoutDate(folder.Read("saved.txt")), WithoutDate(output));

  DialogState dialog(folder);
  engine::TransformSettings transform;
  const ntv2::GridChoice choice{ntv2::GridMethod::GridFileAgd66, grid.string()};
  fileconv::TakeMethodSettings(dialog.settings, transform, choice);
  dialog.batch.fileTypeCode = FileTypeCode::Ssv;
  dialog.settings.firstFieldNumber = "1";
  dialog.settings.secondFieldNumber = "2";
  ntv2::GridInterpolator interpolator;
  ui::testing::ScriptedDesktop desktop;
  fileconv::JobChoices choices;
  choices.grid = ntv2::OpenGridForInterpolation(interpolator, grid.string(), desktop);
  EXPECT_EQ(WithoutDate(output), WithoutDate(DialogRun(dialog.settings, dialog.batch, transform,
                                                       OutputContents::ResultsOnly, choices)));
}

TEST(ConverterSettings, StartsFromTheFilesOfTheCurrentDirectory) {
  ConverterFolder folder;
  folder.Write("survey.csv", std::string("Point,East,North,Height,Code\n") + kCsv);
  FileConversionSettings saved;
  saved.inputZone = "56";
  saved.outputZone = "56";
  saved.inputFileName = "survey.csv";
  saved.outputFileName = "survey_mga.csv";
  saved.firstFieldNumber = "2";
  saved.secondFieldNumber = "3";
  saved.heightField = "4";
  saved.headerLineCount = "1";
  ASSERT_TRUE(fileconv::SaveFileConversionSettings(folder.path(), saved));

  // Medium Accuracy with the Regional ACT set, whose values Tarvo.var holds.
  engine::TransformSettings transform;
  transform.accuracyMethod = engine::AccuracyMethod::Medium;
  transform.parameterSet = 2;
  folder.Write("tarvo_prm.dat", mainwindow::FormatSavedSettings({}, transform, ntv2::GridChoice{}));
  const params::ParameterTexts act = params::ApplyPreset(2)->texts;
  ASSERT_TRUE(params::SaveParameterFile(folder.path(), act));

  const Outcome outcome = folder.Run("");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "Total of 3 coordinates have been converted\n");
  const std::string output = folder.Read("survey_mga.csv");
  EXPECT_NE(output.find("Using Medium Accuracy method - Regional ACT  -->  AGD66<>GDA\n"),
            std::string::npos)
      << output;

  DialogState dialog(folder);
  params::SetActiveParameters(dialog.transform, act);
  dialog.transform.parameterSet = 2;
  dialog.settings = saved;
  dialog.settings.inputFileName = (folder / "survey.csv").string();
  dialog.settings.outputFileName = (folder / "dialog.txt").string();
  fileconv::TakeMethodSettings(dialog.settings, dialog.transform, ntv2::GridChoice{});
  EXPECT_EQ(WithoutDate(output),
            WithoutDate(DialogRun(dialog.settings, dialog.batch, dialog.transform,
                                  OutputContents::ResultsOnly)))
      << "the ACT parameters of Tarvo.var were used";

  // The input notation and the method come from tarvo_prm.dat too.
  transform.inputFormat = "DDD.dddddddddd";
  folder.Write("tarvo_prm.dat", mainwindow::FormatSavedSettings({}, transform, ntv2::GridChoice{}));
  folder.Write("geo.csv", "-32.891666667,151.708333333\n");
  const Outcome geographic =
      folder.Run("-f -i geo.csv -o geo_out.csv -F 1,2 -H 0 --input-units geo --output-units geo");
  ASSERT_EQ(geographic.status, 0) << geographic.err;
  EXPECT_NE(folder.Read("geo_out.csv").find("Input Latitude & Longitude format is DDD.dddddddddd"),
            std::string::npos);
}

// Each option on top of the same saved settings (in.csv, AGD/AMG 56 to GDA/MGA 56, fields 2,
// 3 and 4, by the National 7-parameter set): the text the output then holds. The values are
// PROJ's for the same conversions (cs2cs with +towgs84), and the main window's defaults for
// the first point (32 53 24.2646 S, 151 42 34.1392 E on GDA94).
TEST(ConverterOptions, EachOptionReplacesItsSetting) {
  struct OptionCase {
    std::string args;
    std::string expected;
  };
  const std::vector<OptionCase> cases = {
      {"", "Transformation of AGD/AMG Zone 56 to GDA/MGA Zone 56\nP1,379291.796,6360161.142,"},
      {"--from AMG:55 --to mga:55", "Transformation of AGD/AMG Zone 55 to GDA/MGA Zone 55\n"},
      {"--from ISG --to isg:563", "Transformation of AGD/ISG Zone 561 to AGD/ISG Zone 563\n"},
      {"--to AGD/AMG", "AGD/AMG Zone 56\nP1,379185.968,6359970.566,"},
      {"-F 2,3", "P1,379291.796,6360161.142,12.350,TS\n"},
      {"-H 1", "Zone 56\nP2,"},
      {"-i other.csv -o other_out.csv --fields=3,4", "Q1,TS,379291.796,6360161.142\n"},
      {"-c with-input", "P1,379185.968,6359970.566,12.350,TS,379291.796,6360161.142,"},
      {"--output-units geo", "format is DDD.MMSSsssss\nP1, 32.53242646,151.42341392,"},
      {"--output-units geo --output-format rad",
       "format is Radians\nP1,  0.57404007,  2.64782999,"},
      {"--output-units geo --output-format seconds",
       "format is SSSSSS.ssss\nP1, 118404.2646, 546154.1392,"},
      // GRS80 Cartesian of the GDA94 position (PROJ: -4720770.428 2540865.204 -3443741.409).
      {"--output-units xyz", "Output in Cartesian Coordinates\nP1,-4720770.429,2540865.203,"},
      {"--output-units both",
       "\nEast 379185.968 North 6359970.566 Height 12.350\nEast 379291.796 North 6360161.142"},
      {"--input-units geo --input-format degrees",
       "Input Latitude & Longitude format is DDD.dddddddddd\n"},
      {"-m medium -p act", "Using Medium Accuracy method - Regional ACT  -->  AGD66<>GDA\n"},
      {"--params tasmania", "Regional Tasmania  -->  AGD66<>GDA\n"},
      // No datum shift: the latitude and longitude on ANS projected on GRS80.
      {"--params my.var", "User Defined\n=====*\nP1,379186.407,6359983.190,"},
      {"--zone-fields -,6", "P1,379291.796,6360161.142,24.967,TS\nP2,941506.167,6351033.882,"},
  };
  for (const OptionCase& c : cases) {
    SCOPED_TRACE(c.args);
    ConverterFolder folder;
    FileConversionSettings saved;
    saved.inputZone = "56";
    saved.outputZone = "56";
    saved.inputFileName = "in.csv";
    saved.outputFileName = "out.csv";
    saved.firstFieldNumber = "2";
    saved.secondFieldNumber = "3";
    saved.heightField = "4";
    ASSERT_TRUE(fileconv::SaveFileConversionSettings(folder.path(), saved));
    folder.Write("in.csv", kCsvWithZone);
    folder.Write("other.csv", "Q1,TS,379185.968,6359970.566\n");
    folder.Write("my.var", "6378160\n298.25\n0\n0\n0\n0\n0\n0\n0\n");
    const Outcome outcome = folder.Run("-m medium " + c.args);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::string output =
        folder.Read(c.args.find("other_out") != std::string::npos ? "other_out.csv" : "out.csv");
    // "=====*" stands for the rest of a rule line.
    std::string expected = c.expected;
    if (const std::size_t rule = expected.find("=====*"); rule != std::string::npos) {
      expected.replace(rule, 6,
                       std::string(61, '=') +
                           "\nTransformation of AGD/AMG Zone 56 to "
                           "GDA/MGA Zone 56");
    }
    EXPECT_NE(output.find(expected), std::string::npos) << output;
  }
}

TEST(ConverterOptions, QuietForceHelpAndVersion) {
  ConverterFolder folder;
  folder.Write("in.csv", kCsv);
  const std::string run = "-i in.csv -o out.csv --from AMG:56 --to MGA:56 -F 2,3 -m medium";
  Outcome outcome = folder.Run(run);
  EXPECT_EQ(outcome.err, "Total of 3 coordinates have been converted\n")
      << "the count as the dialog shows it; no progress line off a terminal";
  EXPECT_EQ(outcome.out, "");

  folder.Write("out.csv", "old");
  outcome = folder.Run(run + " --force --quiet");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err, "");
  EXPECT_NE(folder.Read("out.csv").find(kFirstRecord), std::string::npos);

  outcome = folder.Run("--help");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out.rfind("Usage: tarvo-convert [OPTION]...", 0), 0u);
  outcome = folder.Run("-V");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, std::string("tarvo-convert (Tarvo) V") + kVersion + "\n");
}

TEST(ConverterOptions, ProgressLineOnlyOnATerminal) {
  if (!testing::HaveProgram("script")) GTEST_SKIP() << "script (util-linux) is not installed";
  ConverterFolder folder;
  std::string points;
  for (int i = 0; i < 5000; ++i) points += text::Format("P%d,%d.000,6360000.000\n", i, 300000 + i);
  folder.Write("in.csv", points);
  const fs::path program = fs::path(TARVO_BUILD_DIR) / "tarvo-convert";
  const std::string run = "'" + program.string() +
                          "' -i in.csv -o out.csv -f --from AMG:56 --to MGA:56 -F 2,3 -m medium";
  // script gives the converter a terminal and copies what it writes there.
  const testing::CommandResult terminal = testing::RunCommand(
      "cd '" + folder.path().string() + "' && script -qec \"" + run + "\" /dev/null");
  EXPECT_NE(terminal.output.find("\rtarvo-convert:  50%"), std::string::npos);
  EXPECT_NE(terminal.output.find("\rtarvo-convert: 100%\r"), std::string::npos);
  EXPECT_NE(terminal.output.find("Total of 5000 coordinates have been converted"),
            std::string::npos);
  const testing::CommandResult quiet = testing::RunCommand(
      "cd '" + folder.path().string() + "' && script -qec \"" + run + " -q\" /dev/null");
  EXPECT_EQ(quiet.output, "") << "--quiet shows neither the progress nor the count";
}

TEST(ConverterStreams, StandardInputToStandardOutput) {
  ConverterFolder folder;
  folder.Write("in.txt", kSsv);
  const std::string options =
      "--from AMG:56 --to MGA:56 -m medium -T ssv -H 2 -F 2,3 -c with-input";
  const Outcome files = folder.Run("-i in.txt -o out.txt " + options);
  ASSERT_EQ(files.status, 0) << files.err;

  const Outcome streams = folder.Run("-i - -o - " + options, kSsv);
  EXPECT_EQ(streams.status, 0) << streams.err;
  EXPECT_EQ(streams.err, "Total of 3 coordinates have been converted\n");
  EXPECT_EQ(WithoutDate(streams.out), WithoutDate(folder.Read("out.txt")))
      << "the longest lines are measured from the stream as from the file";
  EXPECT_FALSE(fs::exists(folder / "-"));

  folder.Write("out.txt", "");
  const Outcome toFile = folder.Run("-i - -o out.txt -f -q " + options, kSsv);
  EXPECT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(WithoutDate(folder.Read("out.txt")), WithoutDate(streams.out));
}

TEST(ConverterRefusals, EachCheckStopsWithItsMessageAndStatus) {
  struct Refusal {
    std::string args;
    std::string message;  // the line on standard error, or its start
    int status;
  };
  const std::string run = "--from AMG:56 --to MGA:56 -m medium -F 2,3 ";
  const std::vector<Refusal> refusals = {
      {"-i in.csv -o out.csv --from AMG:56 --to MGA:56 -m medium",
       "tarvo-convert: ERROR: Please Select CSV fields that contain the values\n", 1},
      {run + "-i in.csv -o in.csv", "tarvo-convert: Error INPUT & OUTPUT files the Same: in.csv\n",
       1},
      {run + "-i none.csv -o out.csv", "tarvo-convert: ERROR - File (none.csv) does not exist\n",
       1},
      {run + "-i in.csv -o old.csv",
       "tarvo-convert: File Exists Overwrite: old.csv\ntarvo-convert: use --force to overwrite "
       "it\n",
       1},
      {run + "-i in.csv -o no/such/folder.csv",
       "tarvo-convert: Drive or Path does no exist: no/such/folder.csv\n", 1},
      {run + "-i in.csv -o out.csv --from AMG:57",
       "tarvo-convert: ERROR: Input Zone 57 is not a zone of AGD/AMG: set by option --from\n", 1},
      {"-i in.csv -o out.csv --from AMG:56 --to MGA:56 -F 2,3 --method ntv2",
       "tarvo-convert: ERROR: No NTv2 grid file is ready for the High Accuracy method\n", 1},
      {"-i in.csv -o out.csv --from AMG:56 --to MGA:56 -F 2,3 --grid none.gsb",
       "tarvo-convert: <<none.gsb|0|0|0>>: Open failed on Input file and Count: none.gsb: No "
       "such file or directory\n",
       1},
      {"-i in.csv -o out.csv --from AMG:56 --to MGA:56 -F 2,3 --grid in.csv",
       "tarvo-convert: ERROR: Invalid GSB File (4320): in.csv: NUM_FILE reads ", 1},
      // Failures after the output was created: the run says so and fails.
      {run + "-i in.csv -o /dev/full --force",
       "tarvo-convert: ERROR - Output file not written completely: /dev/full\n", 1},
      {run + "-i /proc/self/mem -o read.csv",
       "tarvo-convert: ERROR - Input file not read completely: /proc/self/mem\n", 1},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.args);
    ConverterFolder folder;
    folder.Write("in.csv", kCsv);
    folder.Write("old.csv", "keep");
    const Outcome outcome = folder.Run(r.args);
    EXPECT_EQ(outcome.status, r.status);
    EXPECT_EQ(outcome.err.substr(0, r.message.size()), r.message);
    EXPECT_EQ(folder.Read("old.csv"), "keep");
    if (r.args.find("/dev/full") == std::string::npos) {
      EXPECT_FALSE(fs::exists(folder / "out.csv")) << "nothing written";
    }
  }
}

TEST(ConverterRefusals, UsageErrorsExitWithStatusTwo) {
  const std::vector<std::pair<std::string, std::string>> errors = {
      {"--bogus", "unknown option '--bogus'"},
      {"-x", "unknown option '-x'"},
      {"stray", "unexpected argument 'stray'"},
      {"--input", "option '--input' needs a value"},
      {"--quiet=yes", "option '--quiet' takes no value"},
      {"--from XYZ:56", "invalid value 'XYZ:56' for '--from'"},
      {"--to MGA:5x", "invalid value 'MGA:5x' for '--to'"},
      {"--fields 2", "invalid value '2' for '--fields'"},
      {"--fields 0,1", "invalid value '0,1' for '--fields'"},
      {"--fields 2,3,z", "invalid value '2,3,z' for '--fields'"},
      {"--zone-fields 1,2,3", "invalid value '1,2,3' for '--zone-fields'"},
      {"--header-lines -1", "invalid value '-1' for '--header-lines'"},
      {"--type xls", "invalid value 'xls' for '--type'"},
      {"--input-units both", "invalid value 'both' for '--input-units'"},
      {"--output-format DDD", "invalid value 'DDD' for '--output-format'"},
      {"--method fast", "invalid value 'fast' for '--method'"},
      {"--contents all", "invalid value 'all' for '--contents'"},
      {"--jobs 0", "invalid value '0' for '--jobs'"},
      {"-j 1025", "invalid value '1025' for '--jobs'"},
      {"--t27-height maybe", "invalid value 'maybe' for '--t27-height'"},
      {"--params missing.var", "cannot read the parameter file 'missing.var'"},
      {"-T t27 -F 1,2", "T27 records have fixed columns"},
      {"-T csv --t27-height yes", "--t27-height applies to T27 files only"},
      {"--method ntv2 --output-units xyz", "X,Y & Z units are not available with the NTv2 method"},
  };
  for (const auto& [args, message] : errors) {
    SCOPED_TRACE(args);
    ConverterFolder folder;
    const Outcome outcome = folder.Run(args);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err.rfind("tarvo-convert: " + message, 0), 0u) << outcome.err;
    EXPECT_NE(outcome.err.find("Try 'tarvo-convert --help'"), std::string::npos);
  }
}

}  // namespace
}  // namespace tarvo::convert_testing
