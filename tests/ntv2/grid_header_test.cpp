// Reading a grid file's header for the grid file dialog and the map: the datum rules with
// the question and the datum choice dialog, the extent texts, the per-caller messages.
#include "ntv2/grid_header.h"

#include <gtest/gtest.h>

#include "ntv2/datum_choice_dialog.h"
#include "ntv2/grid_datum.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::ntv2 {
namespace {

using testing::ExactField;
using testing::GridBytes;
using testing::SyntheticGrid;
using testing::SyntheticSubGrid;
using ui::MessageIcon;
using ui::testing::FakeView;
using ui::testing::ScriptedDesktop;

SyntheticSubGrid Block(const std::string& name, double south, double north, double east,
                       double west, double increment = 3600) {
  return {name, "NONE", south, north, east, west, increment, increment, ExactField{}.Nodes()};
}

// ---------------------------------------------------------------------------------------------
// The datum rules.

TEST(DetectGridDatum, TheFirstSubGridsNameDecidesWithoutAsking) {
  const struct {
    const char* name;
    std::string_view datum;
  } cases[] = {
      {"NTH", kAgd84Text},      {"NT", kAgd66Text},       {"SA", kAgd84Text},
      {"MELB", kAgd66Text},     {"BROOME01", kAgd84Text}, {"GREAT SW", kAgd84Text},
      {"S CENTRE", kAgd84Text}, {"WA STATE", kAgd84Text}, {"NSW_0701", kAgd66Text},
      {"QLD_84", kAgd84Text},   {"NTHQLD", kAgd84Text},   {"VICSA", kAgd66Text},
      {"KPH_1999", kAgd84Text}, {"GERALD", kAgd84Text},
  };
  for (const auto& c : cases) {
    ScriptedDesktop desktop;
    GridChoice grid{static_cast<GridMethod>(7), "unchanged"};
    // The path would say otherwise; the name comes first.
    EXPECT_EQ(DetectGridDatum(c.name, "C:\\grids\\neither.gsb", GridCaller::kStoredPath, "AGD66/84",
                              grid, desktop),
              c.datum)
        << c.name;
    EXPECT_EQ(grid.gridMethod, static_cast<GridMethod>(7)) << "a name leaves the grid method alone";
    EXPECT_TRUE(desktop.messages().empty());
  }
  EXPECT_FALSE(DatumFromSubGridName("EX1_0601"));
  EXPECT_FALSE(DatumFromSubGridName("sa nsw")) << "case matters";
  EXPECT_FALSE(DatumFromSubGridName(std::string_view("EX1\0SA  ", 8))) << "the name ends at a NUL";
}

TEST(DetectGridDatum, OtherwiseThePathDecidesAndSetsTheGridMethod) {
  const struct {
    const char* path;
    std::string_view datum;
    GridMethod method;
  } cases[] = {
      {"data\\A66_NAT.gsb", kAgd66Text, GridMethod::GridFileAgd66},
      {"data/WA_84.gsb", kAgd84Text, GridMethod::GridFileAgd84},
      {"D:\\agd66\\grid.gsb", kAgd66Text, GridMethod::GridFileAgd66},
  };
  for (const auto& c : cases) {
    ScriptedDesktop desktop;
    GridChoice grid{GridMethod::NswMrePrograms, "old.gsb"};
    EXPECT_EQ(DetectGridDatum("GRID1", c.path, GridCaller::kStoredPath, "AGD66/84", grid, desktop),
              c.datum)
        << c.path;
    EXPECT_EQ(grid.gridMethod, c.method) << c.path;
    EXPECT_EQ(grid.gridFilePath, "old.gsb") << "only a list choice changes the path";
    EXPECT_TRUE(desktop.messages().empty());
  }

  ScriptedDesktop desktop;
  GridChoice grid{GridMethod::GridFileAgd66, "old.gsb"};
  EXPECT_EQ(DetectGridDatum("GRID1", "data\\A84.gsb", GridCaller::kListChoice, "", grid, desktop),
            kAgd84Text);
  EXPECT_EQ(grid.gridFilePath, "data\\A84.gsb") << "a list choice takes the path at once";
}

TEST(DetectGridDatum, WhenNothingTellsTheUserIsAsked) {
  for (const char* path : {"data\\A66_84.gsb", "data\\NAT.gsb"}) {
    ScriptedDesktop desktop;
    desktop.QueueModal([](FakeView& view) {
      view.Click(DatumChoiceDialog::kAgd84);
      view.Click(DatumChoiceDialog::kOk);
    });
    GridChoice grid{GridMethod::GridFileAgd66, ""};
    EXPECT_EQ(DetectGridDatum("GRID1", path, GridCaller::kStoredPath, "AGD66/84", grid, desktop),
              kAgd84Text)
        << path;
    EXPECT_EQ(grid.gridMethod, GridMethod::GridFileAgd84);
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, "Unable to determine Datum 66/84");
    EXPECT_EQ(desktop.messages()[0].caption, "ERROR");
    EXPECT_EQ(desktop.messages()[0].icon, MessageIcon::Error);
    EXPECT_EQ(desktop.modalTitles(), std::vector<std::string>{"Datum"});
  }

  // After "Get GSB File" the caption is the datum text shown; Escape leaves it as it was.
  ScriptedDesktop desktop;
  GridChoice grid{GridMethod::GridFileAgd84, ""};
  EXPECT_EQ(DetectGridDatum("GRID1", "NAT.gsb", GridCaller::kGetGsbFile, "AGD84", grid, desktop),
            "AGD84");
  EXPECT_EQ(grid.gridMethod, GridMethod::GridFileAgd84);
  EXPECT_EQ(desktop.messages().at(0).caption, "AGD84");
}

// ---------------------------------------------------------------------------------------------
// The datum choice dialog.

TEST(DatumChoiceDialog, OkSetsTheSelectedDatumEscapeNothing) {
  using Clicks = std::vector<int>;
  const struct {
    Clicks clicks;
    bool ok;
    GridMethod method;
  } cases[] = {
      {{}, true, GridMethod::GridFileAgd66},
      {{DatumChoiceDialog::kAgd84, DatumChoiceDialog::kAgd66}, true, GridMethod::GridFileAgd66},
      {{DatumChoiceDialog::kAgd84, DatumChoiceDialog::kAgd84}, true, GridMethod::GridFileAgd84},
      {{DatumChoiceDialog::kAgd84}, false, GridMethod::NswMrePrograms},
  };
  for (const auto& c : cases) {
    ScriptedDesktop desktop;
    GridChoice grid{GridMethod::NswMrePrograms, ""};
    DatumChoiceDialog dialog(desktop, grid);
    desktop.QueueModal([&c](FakeView& view) {
      EXPECT_TRUE(view.Shown(DatumChoiceDialog::kAgd66).checked) << "AGD 66 is selected first";
      EXPECT_FALSE(view.Shown(DatumChoiceDialog::kAgd84).checked);
      for (const int id : c.clicks) view.Click(id);
      if (c.ok) view.Click(DatumChoiceDialog::kOk);
    });
    EXPECT_EQ(desktop.RunModal(dialog), c.ok ? ui::kResultOk : ui::kResultCancel);
    EXPECT_EQ(grid.gridMethod, c.method) << c.clicks.size() << " clicks, ok " << c.ok;
  }
}

// ---------------------------------------------------------------------------------------------
// ReadGridHeader and the extent texts.

class GridHeaderTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes, const std::string& name = "A66_grid.gsb") {
    const auto path = dir_ / name;
    tarvo::testing::WriteFile(path, bytes);
    return path.string();
  }
  tarvo::testing::TempDir dir_;
  ScriptedDesktop desktop_;
  GridChoice grid_{GridMethod::GridFileAgd84, "stored.gsb"};
};

TEST_F(GridHeaderTest, SingleSubGridExtentsAndLayoutAreShown) {
  for (const GridLayout* layout : {&kCanadianLayout, &kAustralianLayout}) {
    const std::string path =
        Write(GridBytes({{Block("NSW", -162000, -36000, -547200, -507600)}}, *layout), "g.gsb");
    GridHeaderTexts texts;
    ASSERT_TRUE(ReadGridHeader(path, GridCaller::kStoredPath, texts, grid_, desktop_));
    EXPECT_EQ(texts.format, layout->label);
    EXPECT_EQ(texts.datum, "AGD66");
    EXPECT_EQ(texts.maxLatitude, "-45\xB0 00' 00.000\"");
    EXPECT_EQ(texts.minLatitude, "-10\xB0 00' 00.000\"");
    EXPECT_EQ(texts.maxLongitude, "152\xB0 00' 00.000\"");
    EXPECT_EQ(texts.minLongitude, "141\xB0 00' 00.000\"");
    EXPECT_EQ(texts.pendingPath, path);
  }
  EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(GridHeaderTest, ExtentsSpanEverySubGrid) {
  const std::string path = Write(GridBytes({{Block("WA STATE", -126000, -108000, -457200, -396000),
                                             Block("QLD", -100800, -36000, -550800, -493200),
                                             Block("TAS", -158400, -140400, -532800, -518400)}},
                                           kCanadianLayout));
  GridHeaderTexts texts;
  ASSERT_TRUE(ReadGridHeader(path, GridCaller::kStoredPath, texts, grid_, desktop_));
  EXPECT_EQ(texts.datum, "AGD84") << "the first sub-grid's name decides";
  EXPECT_EQ(texts.maxLatitude, "-44\xB0 00' 00.000\"");
  EXPECT_EQ(texts.minLatitude, "-10\xB0 00' 00.000\"");
  EXPECT_EQ(texts.maxLongitude, "153\xB0 00' 00.000\"");
  EXPECT_EQ(texts.minLongitude, "110\xB0 00' 00.000\"");
}

TEST(ExtentText, SecondsArePaddedToTwoDigitsAndCarryAbove59Point9) {
  const struct {
    double seconds;
    const char* latitude;
    const char* longitude;
  } cases[] = {
      {36000 + 59.95, "-10\xB0 01' 00.000\"", "10\xB0 01' 00.000\""},
      {36000 + 59.89, "-10\xB0 00' 59.890\"", "10\xB0 00' 59.890\""},
      {36000 + 9.9996, "-10\xB0 00' 10.000\"", "10\xB0 00' 10.000\""},
      {36000 + 9.9994, "-10\xB0 00' 09.999\"", "10\xB0 00' 09.999\""},
      {543600 + 3540.5, "-151\xB0 59' 00.500\"", "151\xB0 59' 00.500\""},
      {129600 + 3599.95, "-37\xB0 00' 00.000\"", "37\xB0 00' 00.000\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtentLatitudeText(c.seconds), c.latitude) << c.seconds;
    EXPECT_EQ(ExtentLongitudeText(c.seconds), c.longitude) << c.seconds;
  }
}

TEST_F(GridHeaderTest, AFileThatCannotBeUsedKeepsTheTextsAndNamesTheCaller) {
  const std::string good =
      GridBytes({{Block("NSW", -162000, -36000, -547200, -507600)}}, kCanadianLayout);
  std::string invalid = good;
  testing::PatchInt32(invalid, 40, 0);
  const struct {
    const char* what;
    std::string bytes;
    GridCaller caller;
    const char* format;
  } cases[] = {
      {"no layout", invalid, GridCaller::kStoredPath, "Australian NTv2"},
      {"cut short", good.substr(0, good.size() - 64), GridCaller::kGetGsbFile, "Canadian NTv2"},
  };
  for (const auto& c : cases) {
    desktop_.ClearMessages();
    const std::string path = Write(c.bytes);
    GridHeaderTexts texts;
    texts.datum = "AGD84";
    texts.maxLatitude = "kept";
    texts.pendingPath = "previous.gsb";
    EXPECT_FALSE(ReadGridHeader(path, c.caller, texts, grid_, desktop_)) << c.what;
    EXPECT_EQ(texts.format, c.format) << c.what;
    EXPECT_EQ(texts.datum, "AGD84");
    EXPECT_EQ(texts.maxLatitude, "kept");
    EXPECT_EQ(texts.pendingPath, "previous.gsb");
    ASSERT_EQ(desktop_.messages().size(), 1u) << c.what;
    EXPECT_EQ(tarvo::testing::Split(desktop_.messages()[0].text).message,
              "Invalid GSB File (" + std::to_string(static_cast<int>(c.caller)) + ")");
    EXPECT_EQ(desktop_.messages()[0].caption, "ERROR");
  }
}

TEST_F(GridHeaderTest, AListChoiceShowsTheCountsReadAndCaptionsItsErrorWithThePath) {
  std::string bytes =
      GridBytes({{Block("NSW", -162000, -36000, -547200, -507600)}}, kAustralianLayout);
  const std::string path = Write(bytes);
  GridHeaderTexts texts;
  ASSERT_TRUE(ReadGridHeader(path, GridCaller::kListChoice, texts, grid_, desktop_));
  ASSERT_EQ(desktop_.messages().size(), 2u);
  EXPECT_EQ(desktop_.messages()[0].text, "Number of Files");
  EXPECT_EQ(desktop_.messages()[1].caption, "1") << "the Australian count, read second";
  EXPECT_EQ(desktop_.messages()[1].icon, MessageIcon::Question);

  desktop_.ClearMessages();
  EXPECT_FALSE(ReadGridHeader("No GSB Files", GridCaller::kListChoice, texts, grid_, desktop_));
  ASSERT_EQ(desktop_.messages().size(), 1u) << "nothing was read, so no count is shown";
  EXPECT_EQ(tarvo::testing::Split(desktop_.messages()[0].text).message, "Invalid GSB File (543)");
  EXPECT_EQ(desktop_.messages()[0].caption, "No GSB Files");
}

TEST_F(GridHeaderTest, ThePathRuleOfAListChoiceMakesItTheGridInUse) {
  const std::string path = Write(
      GridBytes({{Block("GRID1", -162000, -36000, -547200, -507600)}}, kCanadianLayout), "A84.gsb");
  GridHeaderTexts texts;
  // The folder name is random; only the file name may hold 66 or 84.
  if (path.find("66") != std::string::npos || path.find("84", 0) != path.rfind("84")) {
    GTEST_SKIP() << "temporary folder name holds 66 or 84: " << path;
  }
  ASSERT_TRUE(ReadGridHeader(path, GridCaller::kListChoice, texts, grid_, desktop_));
  EXPECT_EQ(texts.datum, "AGD84");
  EXPECT_EQ(grid_.gridFilePath, path);
  EXPECT_EQ(grid_.gridMethod, GridMethod::GridFileAgd84);
}

// ---------------------------------------------------------------------------------------------
// ReadSubGridExtents.

TEST_F(GridHeaderTest, SubGridExtentsAreDegreesSouthAndEastPositive) {
  const std::string path = Write(GridBytes({{Block("A", -162000, -36000, -547200, -507600),
                                             Block("B", -129600, -126000, -543600, -540000, 600)}},
                                           kAustralianLayout));
  const SubGridExtents extents = ReadSubGridExtents(path, desktop_);
  ASSERT_EQ(extents.count, 2);
  ASSERT_EQ(extents.subGrids.size(), 2u);
  EXPECT_EQ(extents.subGrids[0].south, 45.0);
  EXPECT_EQ(extents.subGrids[0].north, 10.0);
  EXPECT_EQ(extents.subGrids[0].east, 152.0);
  EXPECT_EQ(extents.subGrids[0].west, 141.0);
  EXPECT_EQ(extents.subGrids[1].west, 150.0);

  EXPECT_EQ(ReadSubGridExtents((dir_ / "missing.gsb").string(), desktop_).count, -1);
  ASSERT_EQ(desktop_.messages().size(), 1u);
  EXPECT_EQ(desktop_.messages()[0].text, "Invalid GSB File (884)\n\n" +
                                             (dir_ / "missing.gsb").string() +
                                             ": No such file or directory");
}

}  // namespace
}  // namespace tarvo::ntv2
