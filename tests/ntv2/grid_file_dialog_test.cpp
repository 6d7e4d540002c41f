// The grid file dialog driven as a user would: what it opens with, the list of the data
// folder, Get GSB File, the datum question, OK and Cancel and what they leave in the grid
// choice, and the export with its sub-grid name and progress bar.
#include "ntv2/grid_file_dialog.h"

#include <gtest/gtest.h>

#include <memory>

#include "ntv2/datum_choice_dialog.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "ui/testing/fake_view.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::ntv2 {
namespace {

namespace fs = std::filesystem;
using Dlg = GridFileDialog;
using tarvo::testing::ReadFile;
using tarvo::testing::TempDir;
using tarvo::testing::WriteFile;
using testing::ExactField;
using testing::GridBytes;
using testing::SyntheticSubGrid;
using ui::MessageIcon;
using ui::testing::FakeView;
using ui::testing::ScriptedDesktop;

SyntheticSubGrid Block(const std::string& name, double south, double north, double east,
                       double west) {
  return {name, "NONE", south, north, east, west, 3600, 3600, ExactField{}.Nodes()};
}

// A fake view that also keeps the order in which the sub-grid field and the progress bar
// changed, to show that a sub-grid's name is up before its nodes are written.
class RecordingView : public FakeView {
 public:
  using FakeView::FakeView;
  void Apply(int id, const ui::ControlState& state) override {
    if (id == Dlg::kSubGrid && state.text != Shown(id).text) events.push_back("name " + state.text);
    FakeView::Apply(id, state);
  }
  void SetProgress(int id, int minimum, int maximum, int position) override {
    if (id == Dlg::kProgress && position == minimum) {
      events.push_back("nodes " + std::to_string(maximum));
    }
    FakeView::SetProgress(id, minimum, maximum, position);
  }
  std::vector<std::string> events;
};

class GridFileDialogTest : public ::testing::Test {
 protected:
  GridFileDialogTest() { fs::create_directory(start_ / "data"); }

  void Open() {
    view_.reset();
    dialog_ = std::make_unique<Dlg>(desktop_, grid_, start_.path());
    view_ = std::make_unique<RecordingView>(*dialog_);
    view_->Open();
  }
  // Writes a grid file of one sub-grid into the data folder (or `folder`) and returns its path.
  std::string WriteGrid(const std::string& name, const std::string& subGridName = "NSW_0701",
                        const GridLayout& layout = kCanadianLayout) {
    const fs::path path = start_ / "data" / name;
    WriteFile(path, GridBytes({{Block(subGridName, -162000, -36000, -547200, -507600)}}, layout));
    return path.string();
  }
  std::string Shown(int id) const { return view_->Shown(id).text; }
  const std::vector<ui::testing::RecordedMessage>& Messages() const { return desktop_.messages(); }

  TempDir start_;
  ScriptedDesktop desktop_;
  GridChoice grid_{GridMethod::GridFileAgd66, ""};
  std::unique_ptr<Dlg> dialog_;
  std::unique_ptr<RecordingView> view_;
};

// ---------------------------------------------------------------------------------------------
// Opening.

TEST_F(GridFileDialogTest, WithoutAStoredPathItShowsTheInitialTextsAndReadsNothing) {
  for (const char* stored : {"", "a.gsb", "C:\\gsb"}) {
    grid_.gridFilePath = stored;
    Open();
    EXPECT_EQ(dialog_->title(), "High Accuracy - NTv2 Interpolation Grids");
    EXPECT_EQ(Shown(Dlg::kFileList), "Select File") << stored;
    EXPECT_EQ(Shown(Dlg::kFormat), "Grid Format");
    EXPECT_EQ(Shown(Dlg::kDatum), "AGD66/84");
    for (const int id : {Dlg::kMaxLatitude, Dlg::kMinLatitude, Dlg::kMaxLongitude,
                         Dlg::kMinLongitude, Dlg::kSubGrid}) {
      EXPECT_EQ(Shown(id), "") << "control " << id;
      EXPECT_TRUE(view_->Shown(id).readOnly) << "control " << id;
    }
    EXPECT_TRUE(Messages().empty()) << "a path of 6 characters or fewer is not read: " << stored;
  }
}

TEST_F(GridFileDialogTest, AStoredGridIsShownWithItsFormatDatumAndExtents) {
  grid_.gridFilePath = WriteGrid("national.gsb", "NSW_0701", kAustralianLayout);
  Open();
  EXPECT_EQ(Shown(Dlg::kFileList), grid_.gridFilePath);
  EXPECT_EQ(Shown(Dlg::kFormat), "Australian NTv2");
  EXPECT_EQ(Shown(Dlg::kDatum), "AGD66");
  EXPECT_EQ(Shown(Dlg::kMaxLatitude), "-45\xB0 00' 00.000\"");
  EXPECT_EQ(Shown(Dlg::kMinLatitude), "-10\xB0 00' 00.000\"");
  EXPECT_EQ(Shown(Dlg::kMaxLongitude), "152\xB0 00' 00.000\"");
  EXPECT_EQ(Shown(Dlg::kMinLongitude), "141\xB0 00' 00.000\"");
  EXPECT_TRUE(Messages().empty());

  // A stored file that cannot be used says so with the opening's code.
  grid_.gridFilePath = (start_ / "gone.gsb").string();
  Open();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text,
            "Invalid GSB File (709)\n\n" + grid_.gridFilePath + ": No such file or directory");
  EXPECT_EQ(Shown(Dlg::kFileList), grid_.gridFilePath);
  EXPECT_EQ(Shown(Dlg::kFormat), "Australian NTv2") << "the last layout tried";
  EXPECT_EQ(Shown(Dlg::kDatum), "AGD66/84");
}

// ---------------------------------------------------------------------------------------------
// The list.

TEST_F(GridFileDialogTest, AnEmptyDataFolderListsNoGsbFilesWhichIsRefusedWithCode543) {
  WriteFile(start_ / "data" / "notes.txt", "not a grid");
  Open();
  ASSERT_TRUE(view_->Select(Dlg::kFileList, "No GSB Files"));
  EXPECT_EQ(view_->Shown(Dlg::kFileList).items, std::vector<std::string>{"No GSB Files"});
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(tarvo::testing::Split(Messages()[0].text).message, "Invalid GSB File (543)");
  EXPECT_EQ(Messages()[0].caption, "No GSB Files");
  EXPECT_EQ(Messages()[0].icon, MessageIcon::Error);
  EXPECT_EQ(grid_.gridFilePath, "");
}

TEST_F(GridFileDialogTest, AChoiceFromTheSortedListShowsTheCountsReadAndTheHeader) {
  const std::string second = WriteGrid("b_vic.gsb", "VIC_0601");
  const std::string first = WriteGrid("a_wa.gsb", "WA STATE");
  WriteFile(start_ / "data" / "readme.txt", "");
  Open();
  ASSERT_TRUE(view_->Select(Dlg::kFileList, second));
  EXPECT_EQ(view_->Shown(Dlg::kFileList).items, (std::vector<std::string>{first, second}));
  EXPECT_EQ(Shown(Dlg::kFileList), second);
  EXPECT_EQ(Shown(Dlg::kFormat), "Canadian NTv2");
  EXPECT_EQ(Shown(Dlg::kDatum), "AGD66");
  EXPECT_EQ(Shown(Dlg::kMaxLatitude), "-45\xB0 00' 00.000\"");
  ASSERT_EQ(Messages().size(), 1u) << "the Canadian count is read and found first";
  EXPECT_EQ(Messages()[0].text, "Number of Files");
  EXPECT_EQ(Messages()[0].caption, "1");
  EXPECT_EQ(Messages()[0].icon, MessageIcon::Question);
  EXPECT_EQ(grid_.gridFilePath, "") << "a name that tells the datum leaves the grid in use";

  // A file copied into the data folder while the dialog is open shows the next time.
  const std::string third = WriteGrid("c.gsb");
  ASSERT_TRUE(view_->Select(Dlg::kFileList, third));

  // OK takes the file chosen last.
  view_->Click(Dlg::kOk);
  EXPECT_EQ(view_->closedWith(), ui::kResultOk);
  EXPECT_EQ(grid_.gridFilePath, third);
}

// ---------------------------------------------------------------------------------------------
// OK and Cancel.

TEST_F(GridFileDialogTest, OkKeepsTheStoredGridAndSetsTheMethodFromTheDatumShown) {
  const struct {
    const char* subGrid;
    GridMethod method;
  } cases[] = {{"QLD", GridMethod::GridFileAgd84}, {"MELB", GridMethod::GridFileAgd66}};
  for (const auto& c : cases) {
    const std::string path = WriteGrid("stored.gsb", c.subGrid);
    grid_ = {c.method == GridMethod::GridFileAgd66 ? GridMethod::GridFileAgd84
                                                   : GridMethod::GridFileAgd66,
             path};
    Open();
    view_->Press(Dlg::kOk);
    EXPECT_EQ(view_->closedWith(), ui::kResultOk) << c.subGrid;
    EXPECT_EQ(grid_.gridFilePath, path);
    EXPECT_EQ(grid_.gridMethod, c.method) << c.subGrid;
  }
}

TEST_F(GridFileDialogTest, OkWithoutAUsableFileSaysSoStaysOpenAndChangesNothing) {
  Open();
  view_->Click(Dlg::kOk);
  EXPECT_FALSE(view_->isClosed());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "");
  EXPECT_EQ(Messages()[0].caption, "ERROR - Invalid Grid File");
  EXPECT_EQ(Messages()[0].icon, MessageIcon::Error);
  EXPECT_EQ(grid_.gridMethod, GridMethod::GridFileAgd66)
      << "the untouched datum text does not set AGD84";

  // A file read when the dialog opened and removed since.
  const std::string path = WriteGrid("removed.gsb", "QLD");
  grid_ = {GridMethod::GridFileAgd66, path};
  Open();
  fs::remove(path);
  desktop_.ClearMessages();
  view_->Click(Dlg::kOk);
  EXPECT_FALSE(view_->isClosed());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, path);
  EXPECT_EQ(grid_.gridMethod, GridMethod::GridFileAgd66);

  view_->Click(Dlg::kCancel);
  EXPECT_EQ(view_->closedWith(), ui::kResultCancel);
}

TEST_F(GridFileDialogTest, GetGsbFileMakesTheChosenFileTheGridAtOnceSoCancelKeepsIt) {
  const std::string path = WriteGrid("chosen.gsb", "TAS");
  grid_.gridFilePath = WriteGrid("old.gsb");
  Open();
  desktop_.QueueFileChoice(path);
  view_->Click(Dlg::kGetGsbFile);
  EXPECT_EQ(desktop_.fileFilters(), std::vector<std::string>{"Grid Files (*.gsb)|*.gsb||"});
  EXPECT_EQ(grid_.gridFilePath, path);
  EXPECT_EQ(Shown(Dlg::kFileList), path);
  EXPECT_EQ(Shown(Dlg::kDatum), "AGD66");
  view_->Click(Dlg::kCancel);
  EXPECT_EQ(view_->closedWith(), ui::kResultCancel);
  EXPECT_EQ(grid_.gridFilePath, path);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(GridFileDialogTest, GetGsbFileWithAnUnusableFileKeepsThePreviousGrid) {
  const std::string old = WriteGrid("old.gsb", "QLD");
  grid_.gridFilePath = old;
  Open();
  const fs::path bad = start_ / "bad.gsb";
  WriteFile(bad, std::string(200, '\0'));
  desktop_.QueueFileChoice(bad.string());
  view_->Click(Dlg::kGetGsbFile);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "Invalid GSB File (370)\n\n" + bad.string() +
                                    ": NUM_FILE reads 0 (Canadian layout) and 0 (Australian "
                                    "layout); a grid has 1 to 30 sub-grids");
  EXPECT_EQ(grid_.gridFilePath, old);
  EXPECT_EQ(Shown(Dlg::kDatum), "AGD84") << "the old file's texts stay";

  // A cancelled chooser changes nothing; OK then takes the file read before.
  desktop_.QueueFileChoice("");
  view_->Click(Dlg::kGetGsbFile);
  view_->Click(Dlg::kOk);
  EXPECT_EQ(view_->closedWith(), ui::kResultOk);
  EXPECT_EQ(grid_.gridFilePath, old);
  EXPECT_EQ(grid_.gridMethod, GridMethod::GridFileAgd84);
}

TEST_F(GridFileDialogTest, AFileWhoseDatumNothingTellsIsAskedForThroughTheDatumChoice) {
  // A first sub-grid name without clues, and a path holding both 66 and 84.
  const std::string path = WriteGrid("A66_84.gsb", "GRID1");
  Open();
  desktop_.QueueFileChoice(path);
  desktop_.QueueModal([](FakeView& view) {
    view.Click(DatumChoiceDialog::kAgd84);
    view.Click(DatumChoiceDialog::kOk);
  });
  view_->Click(Dlg::kGetGsbFile);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "Unable to determine Datum 66/84");
  EXPECT_EQ(Messages()[0].caption, "AGD66/84") << "after Get GSB File, the datum text shown";
  EXPECT_EQ(desktop_.modalTitles(), std::vector<std::string>{"Datum"});
  EXPECT_EQ(Shown(Dlg::kDatum), "AGD84");
  EXPECT_EQ(grid_.gridMethod, GridMethod::GridFileAgd84);

  // Asked again and left with Escape, the datum shown stays.
  desktop_.QueueFileChoice(path);
  view_->Click(Dlg::kGetGsbFile);
  EXPECT_EQ(Shown(Dlg::kDatum), "AGD84");
  view_->Click(Dlg::kOk);
  EXPECT_EQ(grid_.gridMethod, GridMethod::GridFileAgd84);
  EXPECT_EQ(grid_.gridFilePath, path);
  EXPECT_TRUE(desktop_.AllScriptsUsed());
}

// ---------------------------------------------------------------------------------------------
// The export.

TEST_F(GridFileDialogTest, ConvertExportsTheListsFileShowingEachSubGridBeforeItsNodes) {
  const fs::path path = start_ / "data" / "two.gsb";
  WriteFile(path, GridBytes({{Block("EX1_0601", -162000, -158400, -547200, -540000),
                              Block("NSW_0701", -129600, -126000, -547200, -543600)}},
                            kCanadianLayout));
  Open();
  ASSERT_TRUE(view_->Select(Dlg::kFileList, path.string()));
  desktop_.ClearMessages();
  view_->Click(Dlg::kConvert);
  EXPECT_EQ(view_->events, (std::vector<std::string>{"name SUB_NAMEEX1_0601", "nodes 6",
                                                     "name SUB_NAMENSW_0701", "nodes 4"}));
  EXPECT_EQ(Shown(Dlg::kSubGrid), "SUB_NAMENSW_0701");
  EXPECT_EQ(view_->progressMaximum(Dlg::kProgress), 4);
  EXPECT_EQ(view_->progressPosition(Dlg::kProgress), 4) << "the bar ends full";
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].caption, "ASCII FILE COMPLETE");
  EXPECT_EQ(Messages()[0].text, (start_ / "data" / "two.asc").string());
  EXPECT_FALSE(view_->isClosed());
}

TEST_F(GridFileDialogTest, ConvertExportsAPathTypedIntoTheList) {
  const fs::path typed = start_ / "typed.gsb";
  WriteFile(typed,
            GridBytes({{Block("NSW", -162000, -158400, -547200, -540000)}}, kAustralianLayout));
  Open();
  view_->Type(Dlg::kFileList, typed.string());
  view_->Click(Dlg::kConvert);
  EXPECT_EQ(Shown(Dlg::kFileList), typed.string());
  EXPECT_NE(ReadFile(start_ / "typed.asc"), "");

  // With the initial text there is no file to open.
  desktop_.ClearMessages();
  Open();
  view_->Click(Dlg::kConvert);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "Open failed on input file");
}

}  // namespace
}  // namespace tarvo::ntv2

namespace tarvo::ntv2 {
namespace {

// ---------------------------------------------------------------------------------------------
// The GDA94 -> GDA2020 grid beside the AGD grid.

TEST_F(GridFileDialogTest, TheSecondGridIsAGda2020GridChosenBesideTheAgdGridAndKeptByOk) {
  const std::string agd = WriteGrid("national.gsb");
  testing::SyntheticGrid gda2020{
      {Block("XMAS_C1", -43200, -32400, -385200, -374400)}, 6378137.0, "GDA94", "GDA2020"};
  const std::string island = (start_ / "island.gsb").string();
  WriteFile(island, GridBytes(gda2020, kCanadianLayout));
  grid_.gridFilePath = agd;
  Open();
  EXPECT_EQ(Shown(Dlg::kGda2020Path), "");
  EXPECT_EQ(Shown(Dlg::kGda2020Datums), "None: 7 parameters (conformal)");

  // An AGD grid is refused as the second grid and leaves the choice as it was.
  desktop_.QueueFileChoice(agd);
  view_->Click(Dlg::kGetGda2020);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "Not a GDA94 to GDA2020 grid\n\n" + agd + ": AGD66 -> GDA94");
  EXPECT_EQ(Shown(Dlg::kGda2020Path), "");

  desktop_.QueueFileChoice(island);
  view_->Click(Dlg::kGetGda2020);
  EXPECT_EQ(Shown(Dlg::kGda2020Path), island);
  EXPECT_EQ(Shown(Dlg::kGda2020Datums), "GDA94 -> GDA2020");
  view_->Click(Dlg::kCancel);
  EXPECT_EQ(grid_.gda2020GridPath, "") << "Cancel keeps the grids in use";

  Open();
  desktop_.QueueFileChoice(island);
  view_->Click(Dlg::kGetGda2020);
  view_->Click(Dlg::kOk);
  EXPECT_EQ(grid_.gda2020GridPath, island);
  EXPECT_EQ(grid_.gridFilePath, agd);

  Open();
  EXPECT_EQ(Shown(Dlg::kGda2020Path), island);
  view_->Click(Dlg::kNoGda2020);
  view_->Click(Dlg::kOk);
  EXPECT_EQ(grid_.gda2020GridPath, "");
}

}  // namespace
}  // namespace tarvo::ntv2
