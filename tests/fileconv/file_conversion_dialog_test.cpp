// The file conversion dialog driven as a user would: what it opens with (with and without
// tarvofile.dat, under each method), the preview and the field lists it sizes, the zone and
// units rules, the help texts, the file choosers, Escape and Return, and whole runs from
// "&Calculate", among them High Accuracy runs that need a grid file.
#include "fileconv/file_conversion_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fileconv/output_contents_dialog.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"
#include "ui/testing/fake_view.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::fileconv {
namespace {

using Dlg = FileConversionDialog;
using Items = std::vector<std::string>;
using tarvo::testing::ReadFile;
using tarvo::testing::TempDir;
using tarvo::testing::WriteFile;
using ui::testing::FakeView;
using ui::testing::ScriptedDesktop;

// The scripted desktop, also noting whether each file chooser insisted on an existing file.
class Desktop : public ScriptedDesktop {
 public:
  std::optional<std::string> ChooseFile(std::string_view filter, bool mustExist) override {
    mustExist_.push_back(mustExist);
    return ScriptedDesktop::ChooseFile(filter, mustExist);
  }
  std::vector<bool> mustExist_;
};

// The sixteen lines of a tarvofile.dat: AGD/ISG 561 to GDA/MGA 56, CSV fields 2 and 3.
const Items kSaved = {"AGD/ISG",
                      "GDA/MGA",
                      "561",
                      "56",
                      "Latitude,Longitude,(Height)",
                      "/data/in.csv",
                      "East, North, (Height)",
                      "/data/out.csv",
                      "CSV - Comma Separated",
                      "Latitude Field",
                      "Longitude Field",
                      "2",
                      "3",
                      "Height Field",
                      "4",
                      "1"};

std::string Lines(const Items& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

class FileConversionDialogTest : public ::testing::Test {
 protected:
  FileConversionDialogTest() {
    desktop.SetCurrentDirectory(folder.path());
    transform.accuracyMethod = engine::AccuracyMethod::Medium;
  }
  void Open(const std::filesystem::path& startDirectory) {
    view.reset();
    dialog = std::make_unique<Dlg>(desktop, transform, grid, interpolator, batch, startDirectory);
    view = std::make_unique<FakeView>(*dialog);
    view->Open();
  }
  void Open() { Open(folder.path()); }
  void Save(const Items& lines) { WriteFile(folder / "tarvofile.dat", Lines(lines)); }
  std::string Text(int id) const { return view->Shown(id).text; }
  // The entries of a list as the user sees it once it has the focus and is dropped down.
  Items Offered(int id) {
    view->Focus(id);
    view->dialog().Dispatch(id, ui::Event::DropDown);
    return view->Shown(id).items;
  }
  void Pick(int id, const std::string& item) {
    ASSERT_TRUE(view->Select(id, item)) << "list " << id << " offers " << item;
  }
  // Settings for a run of `input` (CSV, fields 1 and 2) from AGD/AMG 56 to GDA/MGA 56.
  void PrepareRun(const std::string& input) {
    WriteFile(folder / "in.csv", input);
    Save({"AGD/AMG", "GDA/MGA", "56", "56", "East, North, (Height)", (folder / "in.csv").string(),
          "East, North, (Height)", (folder / "out.csv").string(), "CSV - Comma Separated",
          "East Field", "North Field", "1", "2", "Height Field", "Ignore", "0"});
  }
  void AnswerOutputContents() {
    desktop.QueueModal([](FakeView& contents) {
      contents.Click(OutputContentsDialog::kWithInput);
      contents.Click(OutputContentsDialog::kStart);
    });
  }

  TempDir folder;
  Desktop desktop;
  engine::TransformSettings transform;
  ntv2::GridChoice grid;
  ntv2::GridInterpolator interpolator;
  BatchValues batch;
  std::unique_ptr<Dlg> dialog;
  std::unique_ptr<FakeView> view;
};

// --- Opening --------------------------------------------------------------------------------

TEST_F(FileConversionDialogTest, WithoutTarvofileDatOpensOnTheDefaults) {
  batch.fileTypeCode = FileTypeCode::Ssv;  // left by an earlier opening closed with Escape
  Open();
  EXPECT_EQ(dialog->title(), "File Conversion Option");
  const std::pair<int, std::string> expected[] = {
      {Dlg::kInputSystem, "AGD/AMG"},
      {Dlg::kOutputSystem, "GDA/MGA"},
      {Dlg::kInputZone, "55"},
      {Dlg::kOutputZone, "55"},
      {Dlg::kInputUnits, "East, North, (Height)"},
      {Dlg::kInputFile, "C:\\TARVO\\INPUT.TXT"},
      {Dlg::kOutputUnits, "East, North, (Height)"},
      {Dlg::kOutputFile, "C:\\TARVO\\OUTPUT.TXT"},
      {Dlg::kFileType, "CSV - Comma Separated"},
      {Dlg::kFirstFieldLabel, "East Field"},
      {Dlg::kSecondFieldLabel, "North Field"},
      {Dlg::kFirstField, ""},
      {Dlg::kSecondField, ""},
      {Dlg::kHeightFieldLabel, "Height Field"},
      {Dlg::kHeightField, "Ignore"},
      {Dlg::kHeaderLines, "0"},
      {Dlg::kInputZoneField, "Not Used"},
      {Dlg::kOutputZoneField, "Not Used"},
      {Dlg::kOutputFormat, "DDD.MMSSsssss"},
      {Dlg::kMethod, "Medium Accuracy"},
      {Dlg::kParameterDescription, "National  -->  AGD84<>GDA"},
      {Dlg::kInputFormatNote, "Input Latitude & Longitude format DDD.MMSSsssss"},
      {Dlg::kPreview, "Click here to Display input file"},
      {Dlg::kHelp,
       "This option takes an ASCII file in either E,N,H\r\nor Lat,Long format and converts to a "
       "2nd ASCII file\r\nin the required datum, zone and coordinates"},
  };
  for (const auto& [id, text] : expected) EXPECT_EQ(Text(id), text) << "control " << id;
  EXPECT_EQ(batch.fileTypeCode, FileTypeCode::Csv) << "the type the list shows";
  EXPECT_EQ(Offered(Dlg::kFileType), (Items{"CSV - Comma Separated ", "SSV - Space(s) Separated"}));
  EXPECT_EQ(Offered(Dlg::kOutputFormat), (Items{"DDD.MMSSsssss", "DDD MM SS.ssss", "DDD.dddddddddd",
                                                "DDD.MMmmmmm", "Radians", "SSSSSS.ssss"}));
  EXPECT_FALSE(std::filesystem::exists(folder / "tarvofile.dat"));
}

TEST_F(FileConversionDialogTest, TarvofileDatLinesAndTheHighAccuracyTexts) {
  Save(kSaved);
  transform.accuracyMethod = engine::AccuracyMethod::High;
  transform.inputFormat = "DDD.dddddddddd";
  grid = {ntv2::GridMethod::GridFileAgd66, "/grids/A66_National.gsb"};
  Open();
  EXPECT_EQ(Text(Dlg::kInputSystem), "AGD/ISG");
  EXPECT_EQ(Text(Dlg::kInputZone), "561");
  EXPECT_EQ(Text(Dlg::kInputUnits), "Latitude,Longitude,(Height)");
  EXPECT_EQ(Text(Dlg::kInputFile), "/data/in.csv");
  EXPECT_EQ(Text(Dlg::kFirstField), "2");
  EXPECT_EQ(Text(Dlg::kSecondField), "3");
  EXPECT_EQ(Text(Dlg::kHeaderLines), "1");
  EXPECT_EQ(Text(Dlg::kHeightField), "Not Used") << "line 15 gives way to the NTv2 method";
  EXPECT_EQ(Text(Dlg::kMethod), "High Accuracy - NTv2");
  EXPECT_EQ(Text(Dlg::kParameterDescription), "A66_National --> AGD66 <> GDA");
  EXPECT_EQ(Text(Dlg::kInputFormatNote), "Input Latitude & Longitude format DDD.dddddddddd");
  EXPECT_EQ(Text(Dlg::kOutputFormat), "DDD.dddddddddd");
}

TEST_F(FileConversionDialogTest, WithoutACurrentDirectoryOpensOnTheDefaultsAlone) {
  Save(kSaved);
  transform.accuracyMethod = engine::AccuracyMethod::High;
  desktop.SetCurrentDirectory(std::nullopt);
  Open();
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text,
            folder.path().string() + " does not Exist/nOption Terminated");
  EXPECT_EQ(desktop.messages()[0].caption, "INVALID DIRECTORY");
  EXPECT_EQ(Text(Dlg::kInputSystem), "AGD/AMG") << "tarvofile.dat is not read";
  EXPECT_EQ(Text(Dlg::kMethod), "Medium Accuracy");
  EXPECT_EQ(Text(Dlg::kInputFormatNote), "");
  EXPECT_EQ(Text(Dlg::kOutputFormat), "");
}

TEST_F(FileConversionDialogTest, T27ComesOnlyFromTarvofileDatAndHasNoFieldNumbers) {
  Items saved = kSaved;
  saved[8] = "T27 - ACS Input";
  Save(saved);
  Open();
  EXPECT_EQ(batch.fileTypeCode, FileTypeCode::T27);
  EXPECT_EQ(Text(Dlg::kFileType), "T27 - ACS Input");
  EXPECT_EQ(Offered(Dlg::kFileType).size(), 2u) << "the list does not offer T27";
  for (const int id :
       {Dlg::kFirstField, Dlg::kSecondField, Dlg::kInputZoneField, Dlg::kOutputZoneField}) {
    EXPECT_EQ(Offered(id), Items{}) << "list " << id;
    EXPECT_EQ(Text(Dlg::kHelp), "NOT USED");
  }
  EXPECT_EQ(Offered(Dlg::kHeightField), (Items{"Yes", "No "}));
  EXPECT_EQ(Text(Dlg::kHelp), "Select Yes if Height field available and to be used.");
  Pick(Dlg::kInputUnits, "East, North, (Height)");
  EXPECT_EQ(Text(Dlg::kFirstFieldLabel), "");
  EXPECT_EQ(Text(Dlg::kSecondFieldLabel), "");
  EXPECT_EQ(Text(Dlg::kHeightField), "No");
}

// --- Preview and field lists ----------------------------------------------------------------

TEST_F(FileConversionDialogTest, CsvPreviewSizesTheFieldLists) {
  WriteFile(folder / "in.csv", "Id,E,N,H\r\n1.0,2.0,3.0,4.0\r\nB\r\nC\r\nD\r\n");
  Open();
  view->Type(Dlg::kInputFile, (folder / "in.csv").string());
  view->Type(Dlg::kHeaderLines, "1");
  view->Blur();
  EXPECT_EQ(Text(Dlg::kPreview), "1.0,2.0,3.0,4.0\r\nB\r\nC\r\n");
  EXPECT_EQ(batch.separatorCount, 3);

  EXPECT_EQ(Offered(Dlg::kFirstField), (Items{"1", "2", "3", "4"}));
  EXPECT_EQ(Text(Dlg::kHelp),
            "Select the field number that contains the Easting coordinate\r\nThe left most field "
            "is 1");
  Pick(Dlg::kFirstField, "2");
  EXPECT_EQ(Offered(Dlg::kSecondField), (Items{"1", "3", "4"}));
  EXPECT_EQ(Text(Dlg::kHelp),
            "Select the field number that contains the Northing coordinate\r\nThe left most field "
            "is 1");
  Pick(Dlg::kSecondField, "3");
  EXPECT_EQ(Offered(Dlg::kHeightField), (Items{"Ignore", "1", "4"}));
  EXPECT_EQ(Text(Dlg::kHelp),
            "Select the field number that contains the Height coordinate\r\nThe left most field is "
            "1, Use Ignore if height not required");
  Pick(Dlg::kHeightField, "4");
  EXPECT_EQ(Offered(Dlg::kInputZoneField), (Items{"Not Used", "1", "2", "3", "4"}));
  EXPECT_EQ(
      Text(Dlg::kHelp),
      "Select the field number that contains the Input Zone numbers\r\nThe left most field is "
      "1");
  Pick(Dlg::kInputZoneField, "1");
  EXPECT_EQ(Offered(Dlg::kOutputZoneField), (Items{"Not Used", "1", "2", "3", "4"}));
  EXPECT_EQ(Text(Dlg::kHelp),
            "Select the field number that contains the Output Zone numbers\r\nThe left most field "
            "is 1");
  const FileConversionSettings& s = dialog->settings();
  EXPECT_EQ((Items{s.firstFieldNumber, s.secondFieldNumber, s.heightField, s.inputZoneField}),
            (Items{"2", "3", "4", "1"}));
}

TEST_F(FileConversionDialogTest, SsvSeparatorsAreRunsOfBlanksAfterAField) {
  WriteFile(folder / "in.ssv", "  12.5   33.1\tA\n");
  Items saved = kSaved;
  saved[5] = (folder / "in.ssv").string();
  saved[8] = "SSV - Space(s) Separated";
  saved[15] = "0";
  Save(saved);
  Open();
  view->Focus(Dlg::kPreview);
  EXPECT_EQ(Text(Dlg::kPreview), "  12.5   33.1\tA\r\n");
  EXPECT_EQ(batch.separatorCount, 2);
  EXPECT_EQ(Offered(Dlg::kFirstField), (Items{"1", "2", "3"}));
}

TEST_F(FileConversionDialogTest, PreviewFollowsTheChosenFileTheTypeAndMissingFiles) {
  WriteFile(folder / "in.csv", "1.0,2.0,3.0 4.0\n");
  Open();
  desktop.QueueFileChoice((folder / "in.csv").string());
  view->Click(Dlg::kGetInputFile);
  EXPECT_EQ(Text(Dlg::kInputFile), (folder / "in.csv").string());
  EXPECT_EQ(Text(Dlg::kPreview), "1.0,2.0,3.0 4.0\r\n");
  EXPECT_EQ(batch.separatorCount, 2);
  view->SelectIndex(Dlg::kFileType, 1);
  EXPECT_EQ(Text(Dlg::kFileType), "SSV - Space(s) Separated");
  EXPECT_EQ(batch.fileTypeCode, FileTypeCode::Ssv);
  EXPECT_EQ(batch.separatorCount, 1) << "the line on show counted with blanks";

  desktop.QueueFileChoice("");
  view->Click(Dlg::kGetInputFile);
  EXPECT_EQ(Text(Dlg::kInputFile), (folder / "in.csv").string()) << "a cancelled chooser";
  view->Type(Dlg::kInputFile, (folder / "gone.csv").string());
  view->Blur();
  EXPECT_EQ(Text(Dlg::kPreview),
            "\r\n     ERROR - File (" + (folder / "gone.csv").string() + ") does not exist");
  EXPECT_EQ(batch.separatorCount, 1) << "unchanged";
  EXPECT_EQ(desktop.fileFilters().front(), std::string(kFileFilter));
  EXPECT_EQ(desktop.mustExist_.front(), true);
}

// --- Systems, zones and units -----------------------------------------------------------------

TEST_F(FileConversionDialogTest, ZonesAreRewrittenForTheNewSystem) {
  Save(kSaved);
  Open();
  EXPECT_EQ(Offered(Dlg::kInputZone).size(), 9u) << "the ISG zones";
  Pick(Dlg::kInputSystem, "GDA/MGA");
  EXPECT_EQ(Text(Dlg::kInputZone), "56 ");
  EXPECT_EQ(Offered(Dlg::kInputZone), (Items{"49", "50", "51", "52", "53", "54", "55", "56"}));
  Pick(Dlg::kInputSystem, "AGD/ISG");
  EXPECT_EQ(Text(Dlg::kInputZone), "561");
  Pick(Dlg::kInputZone, "553");
  Pick(Dlg::kOutputZone, "55");
  Pick(Dlg::kOutputSystem, "AGD/ISG");
  EXPECT_EQ(Text(Dlg::kOutputZone), "551");
  EXPECT_EQ(dialog->settings().inputZone, "553");
}

TEST_F(FileConversionDialogTest, UnitsListsAndFieldLabelsUnderEachMethod) {
  const Items all = {"East, North, (Height)", "Latitude,Longitude,(Height)", "X,Y & Z"};
  Open();
  EXPECT_EQ(Offered(Dlg::kInputUnits), all);
  EXPECT_EQ(Offered(Dlg::kOutputUnits), all);
  struct Case {
    std::string units, first, second, height;
  };
  for (const Case& c : {Case{all[2], "X Field", "Y Field", "Z Field"},
                        Case{all[1], "Latitude Field", "Longitude Field", "Height Field"},
                        Case{all[0], "East Field", "North Field", "Height Field"}}) {
    Pick(Dlg::kInputUnits, c.units);
    EXPECT_EQ(Text(Dlg::kFirstFieldLabel), c.first);
    EXPECT_EQ(Text(Dlg::kSecondFieldLabel), c.second);
    EXPECT_EQ(Text(Dlg::kHeightFieldLabel), c.height);
    EXPECT_EQ(Text(Dlg::kHeightField), "Ignore");
  }

  transform.accuracyMethod = engine::AccuracyMethod::High;
  Open();
  const Items twoDimensional(all.begin(), all.begin() + 2);
  EXPECT_EQ(Offered(Dlg::kInputUnits), twoDimensional);
  EXPECT_EQ(Offered(Dlg::kOutputUnits), twoDimensional);
  EXPECT_EQ(Offered(Dlg::kHeightField), Items{"Not Used"});
  Pick(Dlg::kInputUnits, all[1]);
  EXPECT_EQ(Text(Dlg::kHeightField), "Not Used");
}

TEST_F(FileConversionDialogTest, PickingOutputUnitsTurnsTheEchoLinesOff) {
  Items saved = kSaved;
  saved[6] = "Both, E,N,H,Lat & Long";
  Save(saved);
  Open();
  EXPECT_TRUE(batch.echo);
  Pick(Dlg::kOutputUnits, "X,Y & Z");
  EXPECT_FALSE(batch.echo);
  EXPECT_EQ(Text(Dlg::kOutputUnits), "X,Y & Z");
  view->SelectIndex(Dlg::kOutputFormat, 4);
  EXPECT_EQ(Text(Dlg::kOutputFormat), "Radians");
}

TEST_F(FileConversionDialogTest, HelpTextOfEachControl) {
  Open();
  const std::pair<int, std::string> helps[] = {
      {Dlg::kInputFile,
       "Enter name of file to be converted\r\nInclude file extention\r\nOptional drive and path "
       "name"},
      {Dlg::kFileType,
       "Select the type of file used\r\nCSV Comma separated variable (Excel Spreadsheet)\r\nSSV "
       "Space separated variable each field separated by at least one space"},
      {Dlg::kInputSystem, "Select the Coordinate system of input file\r\nAMG, ISG or GDA"},
      {Dlg::kOutputSystem, "Select the Coordinate system of output file\r\nAMG, ISG or GDA"},
      {Dlg::kInputZone, "Enter the zone of the input coordinates"},
      {Dlg::kOutputZone, "Enter the zone of the output coordinates"},
      {Dlg::kInputUnits,
       "Select the input units used in the file\r\nEast,North,(Height) - Lat.,Long.,(Height)\r\n"
       "NOTE if Using Latitudes & Longidutes you CAN NOT use DDD MM SS.XXXX format"},
      {Dlg::kOutputUnits,
       "Select the input units used in the file\r\nEast,North,(Height) - Lat.,Long.,(Height)"},
      {Dlg::kOutputFile,
       "Select the output file to be used\r\nEnter Filename and extention\r\nOPTIONAL Drive and "
       "Path Name"},
      {Dlg::kHeaderLines, "Enter the number of Header lines in File\r\nUse 0 if no header exists"},
  };
  for (const auto& [id, help] : helps) {
    view->Focus(id);
    EXPECT_EQ(Text(Dlg::kHelp), help) << "control " << id;
  }
}

// --- Output chooser, Escape and Return --------------------------------------------------------

TEST_F(FileConversionDialogTest, OutputChooserTakesANameThatDoesNotExistYet) {
  Open();
  desktop.QueueFileChoice((folder / "new.csv").string());
  view->Click(Dlg::kGetOutputFile);
  EXPECT_EQ(Text(Dlg::kOutputFile), (folder / "new.csv").string());
  EXPECT_EQ(desktop.mustExist_, std::vector<bool>{false});
}

TEST_F(FileConversionDialogTest, EscapeKeepsTarvofileDatAndReturnWritesAllSixteenLines) {
  Save(kSaved);
  Open();
  Pick(Dlg::kInputSystem, "GDA/MGA");
  view->Escape();
  EXPECT_EQ(view->closedWith(), ui::kResultCancel);
  EXPECT_EQ(ReadFile(folder / "tarvofile.dat"), Lines(kSaved));

  Open();
  Pick(Dlg::kInputSystem, "GDA/MGA");
  view->Type(Dlg::kOutputFile, "/data/new out.csv");
  view->Click(Dlg::kReturn);
  EXPECT_EQ(view->closedWith(), ui::kResultOk);
  Items expected = kSaved;
  expected[0] = "GDA/MGA";
  expected[2] = "56 ";
  expected[7] = "/data/new out.csv";
  EXPECT_EQ(ReadFile(folder / "tarvofile.dat"), Lines(expected));

  Open();
  EXPECT_EQ(Text(Dlg::kOutputFile), "/data/new out.csv");

  // Empty field numbers keep their lines, and every later value its own.
  expected[2] = "56";  // read back as its first word
  expected[11] = expected[12] = "";
  Save(expected);
  Open();
  view->Press(Dlg::kReturn);
  EXPECT_EQ(ReadFile(folder / "tarvofile.dat"), Lines(expected));
  Open();
  EXPECT_EQ(Text(Dlg::kFirstField), "");
  EXPECT_EQ(Text(Dlg::kSecondField), "");
  EXPECT_EQ(Text(Dlg::kHeightFieldLabel), "Height Field");
  EXPECT_EQ(Text(Dlg::kHeightField), "4");
  EXPECT_EQ(Text(Dlg::kHeaderLines), "1");
}

TEST_F(FileConversionDialogTest, ReturnSaysWhenTarvofileDatCannotBeWritten) {
  Open(folder / "no such folder");
  view->Press(Dlg::kReturn);
  EXPECT_TRUE(view->isClosed());
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].caption, "WARNING");
}

// --- Runs -------------------------------------------------------------------------------------

TEST_F(FileConversionDialogTest, CalculateConvertsTheFileAndShowsTheCount) {
  PrepareRun("379185.968,6359970.566\n380000.000,6360000.000\n");
  Open();
  AnswerOutputContents();
  view->Click(Dlg::kCalculate);
  EXPECT_FALSE(view->isClosed());
  EXPECT_EQ(Text(Dlg::kPreview), "\r\n     Total of 2 coordinates have been converted");
  EXPECT_NE(ReadFile(folder / "out.csv").find("379185.968,6359970.566,379291.796,6360161.142\n"),
            std::string::npos);
  const auto size = static_cast<int>(std::filesystem::file_size(folder / "in.csv"));
  EXPECT_EQ(view->progressMaximum(Dlg::kProgress), size);
  EXPECT_EQ(view->progressPosition(Dlg::kProgress), size);
  EXPECT_EQ(desktop.modalTitles().size(), 1u) << "the output contents dialog";
}

TEST_F(FileConversionDialogTest, AnEmptyFileEndsWithAFullBarNotABusyOne) {
  PrepareRun("");
  Open();
  AnswerOutputContents();
  view->Click(Dlg::kCalculate);
  EXPECT_EQ(Text(Dlg::kPreview), "\r\n     Total of 0 coordinates have been converted");
  EXPECT_EQ(view->progressMaximum(Dlg::kProgress), 1);
  EXPECT_EQ(view->progressPosition(Dlg::kProgress), 1);
}

TEST_F(FileConversionDialogTest, HighAccuracyRunsRefuseAGridFileThatCannotBeUsed) {
  PrepareRun("379185.968,6359970.566\n");
  transform.accuracyMethod = engine::AccuracyMethod::High;
  grid = {ntv2::GridMethod::GridFileAgd66, (folder / "missing.gsb").string()};
  Open();
  view->Click(Dlg::kCalculate);
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, "Open failed on Input file and Count\n\n" +
                                            grid.gridFilePath + ": No such file or directory");
  EXPECT_EQ(desktop.messages()[0].caption, "<<" + grid.gridFilePath + "|0|0|0>>");

  WriteFile(folder / "bad.gsb", std::string(200, 'x'));
  grid.gridFilePath = (folder / "bad.gsb").string();
  desktop.ClearMessages();
  view->Click(Dlg::kCalculate);
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text,
            "Invalid GSB File (4320)\n\n" + grid.gridFilePath +
                ": NUM_FILE reads 2021161080 (Canadian layout) and 2021161080 (Australian "
                "layout); a grid has 1 to 30 sub-grids");
  EXPECT_EQ(desktop.messages()[0].caption, "ERROR");
  EXPECT_FALSE(std::filesystem::exists(folder / "out.csv")) << "nothing written";
  EXPECT_EQ(desktop.modalsRun(), 0) << "the run did not start";
}

TEST_F(FileConversionDialogTest, HighAccuracyRunsShiftByTheGridReadOnce) {
  // Zone 56 near 33 S, 151 E; the grid moves every point 1" north and 1" east.
  using ntv2::testing::SyntheticSubGrid;
  const ntv2::testing::SyntheticGrid synthetic{
      {SyntheticSubGrid{"ALL", "NONE", -122400, -115200, -547200, -540000, 600, 600, [](int, int) {
                          return ntv2::GridNode{1.0f, -1.0f, 0.1f, 0.1f};
                        }}}};
  WriteFile(folder / "grid.gsb", ntv2::testing::GridBytes(synthetic, ntv2::kCanadianLayout));
  PrepareRun("379185.968,6359970.566\n");
  transform.accuracyMethod = engine::AccuracyMethod::High;
  grid = {ntv2::GridMethod::GridFileAgd66, (folder / "grid.gsb").string()};
  Open();
  for (int run = 0; run < 2; ++run) {
    AnswerOutputContents();  // the second run's overwrite question is answered Yes
    view->Click(Dlg::kCalculate);
    EXPECT_EQ(Text(Dlg::kPreview), "\r\n     Total of 1 coordinates have been converted");
  }
  EXPECT_EQ(interpolator.cache().fileReads(), 1);
  EXPECT_EQ(desktop.messages().size(), 1u) << "only the overwrite question";
  const std::string output = ReadFile(folder / "out.csv");
  const std::size_t record = output.find("379185.968,6359970.566,");
  ASSERT_NE(record, std::string::npos) << output;
  // The AMG point (ANS) becomes the same latitude and longitude on GRS80 plus the shift: a
  // few tens of metres of projection change, and 1" (about 31 m north, 26 m east).
  const double east = text::ToDouble(output.substr(record + 23));
  EXPECT_NEAR(east - 379185.968, 26.0, 3.0) << output;
}

}  // namespace
}  // namespace tarvo::fileconv
