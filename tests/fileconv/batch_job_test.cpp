// The job of the dialog's texts: each line changes the texts of a run from AGD/AMG zone 55 to
// GDA/MGA zone 55 (National 7-parameter set, CSV fields 1 and 2) and names either the job
// made, in a short description, or the refusal with the setting it names.
#include "fileconv/batch_job.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "chain/datum.h"
#include "engine/grid_system.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::fileconv {
namespace {

using engine::GridSystem;

struct Texts {
  FileConversionSettings settings;
  BatchValues batch;
  engine::TransformSettings transform;
  JobChoices choices;

  Texts() {
    transform.accuracyMethod = engine::AccuracyMethod::Medium;
    settings.firstFieldNumber = "1";
    settings.secondFieldNumber = "2";
    settings.inputFileName = "no such folder/in.csv";
    settings.outputFileName = "no such folder/out.csv";
  }
  // The High Accuracy method, as TakeMethodSettings sets it.
  void High() {
    settings.gridFlag = true;
    settings.heightField = std::string(kNotUsed);
  }
};

// "TYPE first,second,height zones in,out header N | units in>out [notation in>out] | datum:zone
// > datum:zone method, seconds' decimals [grid] [echo]"; units: G grid, L latitude and
// longitude, C Cartesian, B both; notations by their index.
std::string Describe(const BatchJob& job) {
  static constexpr const char* kTypes[] = {"CSV", "SSV", "T27"};
  static constexpr const char* kUnits[] = {"G", "L", "C", "B"};
  const ChainSetup& c = job.chain;
  std::string text = text::Format(
      "%s %d,%d,%d zones %d,%d header %d | %s>%s", kTypes[static_cast<int>(job.fields.type)],
      job.fields.firstField, job.fields.secondField, job.fields.heightField,
      job.fields.inputZoneField, job.fields.outputZoneField, job.headerLines,
      kUnits[static_cast<int>(c.inputUnits)], kUnits[static_cast<int>(c.outputUnits)]);
  if (c.inputUnits == Units::Geographic || c.outputUnits == Units::Geographic) {
    text += text::Format(" notation %d>%d%s", static_cast<int>(c.inputFormat),
                         static_cast<int>(job.outputFormat), c.fieldsArePacked ? " dms" : "");
  }
  text += text::Format(" | %s:%d%s > %s:%d%s %s %d",
                       std::string(chain::DatumName(c.chain.source.datum)).c_str(),
                       c.chain.source.zone, c.inputIsIsg ? " ISG" : "",
                       std::string(chain::DatumName(c.chain.target.datum)).c_str(),
                       c.chain.target.zone, c.outputIsIsg ? " ISG" : "",
                       c.chain.method == chain::DatumMethod::Grid ? "grid" : "7p", c.precision);
  if (c.chain.grid) text += " with grid";
  if (job.echo) text += " echo";
  return text;
}

struct Case {
  const char* what;
  std::function<void(Texts&)> change;
  std::string job;                                // the description of the job made, or empty
  std::optional<Setting> setting = std::nullopt;  // else the refusal: the setting refused
  std::string message = "";  // its text ("=in" for the input file's name) and caption
  std::string caption = "ERROR";
};

constexpr const char* kFields = "Please Select CSV fields\nthat contain the values";
constexpr const char* kNone = "";

TEST(BatchJob, IsMadeFromTheDialogsTextsOrRefusedInTheirOrder) {
  const testing::TempDir dir;
  const auto same = [](Texts& t) { t.settings.outputFileName = t.settings.inputFileName; };
  const auto isg = std::string(GridSystem::kIsg);
  const auto geo = std::string(kGeographicUnits);
  const std::vector<Case> cases = {
      // Jobs.
      {"the defaults", [](Texts&) {},
       "CSV 1,2,0 zones 0,0 header 0 | G>G | AGD84:55 > GDA94:55 7p 4"},
      {"a height field, zone fields, header lines",
       [](Texts& t) {
         t.settings.heightField = "3";
         t.settings.inputZoneField = "4";
         t.settings.headerLineCount = "2";
       },
       "CSV 1,2,3 zones 4,0 header 2 | G>G | AGD84:55 > GDA94:55 7p 4"},
      {"negative header lines count as none", [](Texts& t) { t.settings.headerLineCount = "-3"; },
       "CSV 1,2,0 zones 0,0 header 0 | G>G | AGD84:55 > GDA94:55 7p 4"},
      {"T27 reads no field numbers, a height by Yes",
       [](Texts& t) {
         t.batch.fileTypeCode = FileTypeCode::T27;
         t.settings.firstFieldNumber = "";
         t.settings.heightField = "Yes";
         t.settings.inputZoneField = "4";
       },
       "T27 0,2,1 zones 0,0 header 0 | G>G | AGD84:55 > GDA94:55 7p 4"},
      {"Cartesian input with its Z field, ISG out, echo",
       [&](Texts& t) {
         t.settings.inputUnits = std::string(kCartesianUnits);
         t.settings.heightField = "3";
         t.settings.outputUnits = std::string(kBothUnits);
         t.batch.echo = true;
         t.settings.outputSystem = isg;
         t.settings.outputZone = "562";
       },
       "CSV 1,2,3 zones 0,0 header 0 | C>B | AGD84:55 > AGD84:562 ISG 7p 4 echo"},
      {"DDD MM SS.ssss fields of a CSV file, a Regional set",
       [&](Texts& t) {
         t.settings.inputUnits = geo;
         t.settings.outputUnits = geo;
         t.transform.inputFormat = "DDD MM SS.ssss";
         t.settings.outputFormat = "Radians";
         t.transform.parameterSet = 1;
       },
       "CSV 1,2,0 zones 0,0 header 0 | L>L notation 3>6 dms | AGD66:55 > GDA94:55 7p 4"},
      {"a grid shift takes the grid, five decimals",
       [&](Texts& t) {
         t.High();
         t.choices.gridMethod = ntv2::GridMethod::GridFileAgd84;
         t.choices.grid =
             ntv2::testing::ConstantShiftGrid(dir.path(), "g.gsb", 40, 30, 140, 155, 1.0, 0.0);
       },
       "CSV 1,2,0 zones 0,0 header 0 | G>G | AGD84:55 > GDA94:55 grid 5 with grid"},
      {"between AGD sides the grid method needs no grid",
       [](Texts& t) {
         t.High();
         t.settings.outputSystem = std::string(GridSystem::kAmg);
       },
       "CSV 1,2,0 zones 0,0 header 0 | G>G | AGD66:55 > AGD66:55 grid 5"},
      {"no notation is read for grid units", [](Texts& t) { t.transform.inputFormat = "x"; },
       "CSV 1,2,0 zones 0,0 header 0 | G>G | AGD84:55 > GDA94:55 7p 4"},

      // Refusals, one check each, and the first of two that fail.
      {"no second field", [](Texts& t) { t.settings.secondFieldNumber = "0"; }, kNone,
       Setting::Fields, kFields},
      {"Cartesian input without Z",
       [](Texts& t) { t.settings.inputUnits = std::string(kCartesianUnits); }, kNone,
       Setting::Fields, kFields},
      {"fields before the same file",
       [&](Texts& t) {
         same(t);
         t.settings.firstFieldNumber = "";
       },
       kNone, Setting::Fields, kFields},
      {"the same file before the units",
       [&](Texts& t) {
         same(t);
         t.settings.inputUnits = "Feet";
       },
       kNone, std::nullopt, "=in", "Error INPUT & OUTPUT files the Same"},
      {"both units are no input", [](Texts& t) { t.settings.inputUnits = std::string(kBothUnits); },
       kNone, Setting::InputUnits, std::string(kBothUnits)},
      {"output units before the system",
       [](Texts& t) {
         t.settings.outputUnits = "Chains";
         t.settings.inputSystem = "WGS84";
       },
       kNone, Setting::OutputUnits, "Chains"},
      {"an unknown output system", [](Texts& t) { t.settings.outputSystem = "GDA/XYZ"; }, kNone,
       Setting::OutputSystem, "GDA/XYZ"},
      {"a 6-degree zone on ISG", [&](Texts& t) { t.settings.inputSystem = isg; }, kNone,
       Setting::InputZone, "Input Zone 55 is not a zone of AGD/ISG"},
      {"the output zone before a notation",
       [&](Texts& t) {
         t.settings.outputZone = " 48 ";
         t.settings.inputUnits = geo;
         t.transform.inputFormat = "x";
       },
       kNone, Setting::OutputZone, "Output Zone 48 is not a zone of GDA/MGA"},
      {"the symbol notation is no input",
       [&](Texts& t) {
         t.settings.inputUnits = geo;
         t.transform.inputFormat = std::string(angles::kDmsSymbolsLabel);
       },
       kNone, Setting::InputFormat, std::string(angles::kDmsSymbolsLabel), "ERROR 1"},
      {"DDD MM SS.ssss from T27",
       [&](Texts& t) {
         t.batch.fileTypeCode = FileTypeCode::T27;
         t.settings.inputUnits = geo;
         t.transform.inputFormat = "DDD MM SS.ssss";
       },
       kNone, Setting::InputFormat,
       "Latitudes and Longitudes in DDD MM SS.ssss format\ncan only be read from CSV files"},
      {"an unknown output notation",
       [&](Texts& t) {
         t.settings.outputUnits = geo;
         t.settings.outputFormat = "ERROR";
       },
       kNone, Setting::OutputFormat, "ERROR", "ERROR 2"},
      {"the NSW programs",
       [](Texts& t) {
         t.High();
         t.choices.gridMethod = ntv2::GridMethod::NswMrePrograms;
       },
       kNone, Setting::Grid, "The NSW (MRE) method is not available\nfor file conversion"},
      {"a grid shift without a grid", [](Texts& t) { t.High(); }, kNone, Setting::Grid,
       "No NTv2 grid file is ready\nfor the High Accuracy method"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Texts t;
    c.change(t);
    const auto made = MakeBatchJob(t.settings, t.batch, t.transform, t.choices);
    if (!c.job.empty()) {
      ASSERT_TRUE(std::holds_alternative<BatchJob>(made)) << std::get<JobRefusal>(made).text;
      EXPECT_EQ(Describe(std::get<BatchJob>(made)), c.job);
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<JobRefusal>(made)) << Describe(std::get<BatchJob>(made));
    const std::string text = c.message == "=in" ? t.settings.inputFileName : c.message;
    EXPECT_EQ(std::get<JobRefusal>(made), (JobRefusal{c.setting, text, c.caption}));
  }
}

TEST(BatchJob, CarriesTheFilesAndTheHeadersWordsAsGiven) {
  Texts t;
  t.settings.outputZone = "55 ";
  t.choices.outputStream = stdout;
  t.choices.contents = OutputContents::ResultsWithInput;
  t.batch.longestLineLength = 40;
  const BatchJob job =
      std::get<BatchJob>(MakeBatchJob(t.settings, t.batch, t.transform, t.choices));
  EXPECT_EQ(job.input.name, t.settings.inputFileName);
  EXPECT_EQ(job.input.stream, nullptr);
  EXPECT_EQ(job.output.stream, stdout);
  EXPECT_EQ(job.contents, OutputContents::ResultsWithInput);
  EXPECT_EQ(job.longestLineLength, 40u);
  EXPECT_EQ(job.title.outputZone, "55 ") << "the header writes the zone as the dialog shows it";
  EXPECT_EQ(job.title.method, t.settings.methodText);
  EXPECT_EQ(job.title.parameters, t.settings.parameterDescription);
}

TEST(BatchJob, ARefusalNamesWhereItsSettingCameFrom) {
  const SettingSource source = [](Setting setting) {
    return setting == Setting::InputZone ? std::string("option --from") : std::string();
  };
  struct Shown {
    JobRefusal refusal;
    std::string text;
  };
  const std::vector<Shown> shown = {
      {{Setting::InputZone, "Input Zone 57 is not a zone of AGD/AMG", "ERROR"},
       "Input Zone 57 is not a zone of AGD/AMG\n\nset by option --from"},
      {{Setting::OutputZone, "Output Zone 57 is not a zone of AGD/AMG", "ERROR"},
       "Output Zone 57 is not a zone of AGD/AMG"},
      {{std::nullopt, "in.csv", "Error INPUT & OUTPUT files the Same"}, "in.csv"},
  };
  for (const Shown& s : shown) {
    ui::testing::ScriptedDesktop desktop;
    ShowRefusal(desktop, s.refusal, source);
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, s.text);
    EXPECT_EQ(desktop.messages()[0].caption, s.refusal.caption);
    EXPECT_EQ(desktop.messages()[0].icon, ui::MessageIcon::Error);
  }
}

}  // namespace
}  // namespace tarvo::fileconv
