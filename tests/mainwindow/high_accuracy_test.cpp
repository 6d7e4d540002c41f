// The High Accuracy route of the calculation with an NTv2 grid, end to end through the main
// window: the shift, its accuracy, the outside cases, and the sub-grid outlines.
#include <gtest/gtest.h>

#include <filesystem>

#include "angles/packed_angle.h"
#include "engine/projection_constants.h"
#include "engine/transverse_mercator.h"
#include "mainwindow/map.h"
#include "mainwindow/mre_bridge.h"
#include "ntv2/grid_file.h"
#include "ntv2/grid_file_dialog.h"
#include "tests/mainwindow/main_window_fixture.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"
#include "version.h"

namespace tarvo::mainwindow {
namespace {

using ntv2::testing::ExactField;
using ntv2::testing::SyntheticGrid;

// 31 to 35 S, 149 to 154 E at 30', and a finer sub-grid 32 to 33 S, 151 to 152 E at 10'.
SyntheticGrid NewcastleGrid() {
  return {{{"NSW_0701", "NONE", -126000, -111600, -554400, -536400, 1800, 1800,
            ExactField{5.0, -4.0}.Nodes()},
           {"FINE", "NSW_0701", -118800, -115200, -547200, -543600, 600, 600,
            ExactField{5.5, -4.5}.Nodes()}}};
}

class HighAccuracy : public MainWindowTest {
 protected:
  // A saved High Accuracy window whose grid file is `grid`.
  void OpenWithGrid(const std::string& gridPath) {
    engine::TransformSettings saved;
    saved.accuracyMethod = engine::AccuracyMethod::High;
    testing::WriteFile(
        folder / "tarvo_prm.dat",
        FormatSavedSettings(WindowTexts{}, saved,
                            ntv2::GridChoice{ntv2::GridMethod::GridFileAgd66, gridPath}));
    desktop.SetCurrentDirectory(folder.path());
    Open();
  }
  std::string WriteGrid() {
    const auto path = folder / "newcastle.gsb";
    testing::WriteFile(path, ntv2::testing::GridBytes(NewcastleGrid(), ntv2::kAustralianLayout));
    return path.string();
  }
  void Enter(int id, const std::string& text) {
    view->Type(id, text);
    view->Blur();
  }
};

TEST_F(HighAccuracy, AgdToGdaAndBackByTheGrid) {
  const std::string gridPath = WriteGrid();
  OpenWithGrid(gridPath);
  Enter(MW::kFromHeight, "45.5");
  view->Click(MW::kCalculate);
  ASSERT_TRUE(desktop.messages().empty()) << desktop.messages()[0].text;

  // The grid's own shift of the stored position, projected into the To zone.
  ntv2::GridOpenStatus status;
  const auto grid = ntv2::GridFile::Open(gridPath, status);
  ASSERT_TRUE(grid);
  const auto shift = grid->Shift(settings.latitude, settings.longitude, false);
  ASSERT_TRUE(shift);
  EXPECT_EQ(shift->subGrid, 1) << "the finer sub-grid holds the point";
  const auto expected = engine::GeographicToGrid(engine::SetZoneConstants(56, true),
                                                 shift->latitude, shift->longitude);
  EXPECT_EQ(texts().toEast, text::Format("%.3f", expected.easting));
  EXPECT_EQ(texts().toNorth, text::Format("%.3f", expected.northing));
  EXPECT_EQ(texts().statusText, ntv2::AccuracyText(*shift));
  EXPECT_EQ(texts().statusText.substr(0, 9), "Acc: Lat ");
  EXPECT_EQ(texts().toHeight, "45.500") << "the From height: the grid carries none";
  EXPECT_NE(testing::ReadFile(folder / "tarvo_rpt.txt").find(std::string("TARVO V") + kVersion),
            std::string::npos);
  EXPECT_EQ(window->display().Layer(kMarkerLayer).size(), 1u);

  // Back from GDA/MGA to AGD/AMG: three reverse passes return to the first point.
  const WindowTexts agd = texts();
  view->Select(MW::kFromSystem, "GDA/MGA");
  view->Select(MW::kToSystem, "AGD/AMG");
  Enter(MW::kFromEast, agd.toEast);
  Enter(MW::kFromNorth, agd.toNorth);
  view->Click(MW::kCalculate);
  ASSERT_TRUE(desktop.messages().empty()) << desktop.messages()[0].text;
  EXPECT_NEAR(text::ToDouble(texts().toEast), 379185.968, 0.002);
  EXPECT_NEAR(text::ToDouble(texts().toNorth), 6359970.566, 0.002);
}

TEST_F(HighAccuracy, PointOutsideTheGridStopsTheCalculation) {
  OpenWithGrid(WriteGrid());
  Enter(MW::kFromLongitude, "140.0000");
  view->Click(MW::kCalculate);
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, "Point Outside Grid Boundary");
  EXPECT_EQ(desktop.messages()[0].caption, "Error");
  EXPECT_FALSE(window->report().started()) << "no record";
  EXPECT_TRUE(window->display().Layer(kMarkerLayer).empty()) << "no marker";
}

TEST_F(HighAccuracy, UnreadableGridFileShowsItsOwnMessageOnlyOnce) {
  OpenWithGrid((folder / "missing.gsb").string());
  view->Click(MW::kCalculate);
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(tarvo::testing::Split(desktop.messages()[0].text).message,
            "Open failed on Input file and Count");
  EXPECT_EQ(desktop.messages()[0].caption, "<<" + (folder / "missing.gsb").string() + "|1|0|0>>");
}

TEST_F(HighAccuracy, SameDatumNeedsNoGrid) {
  OpenWithGrid("");
  view->Select(MW::kToSystem, "AGD/ISG");
  view->Click(MW::kCalculate);
  EXPECT_TRUE(desktop.messages().empty());
  EXPECT_EQ(texts().toSystem, "AGD/ISG");
  EXPECT_EQ(texts().toZone, "561");
  EXPECT_NE(testing::ReadFile(folder / "tarvo_rpt.txt").find("TARVO V3.3"), std::string::npos)
      << "the Medium Accuracy steps ran";
}

TEST_F(HighAccuracy, PointOutsideTheAreaIsRecorded) {
  engine::TransformSettings saved;
  saved.accuracyMethod = engine::AccuracyMethod::High;
  testing::WriteFile(folder / "tarvo_prm.dat",
                     FormatSavedSettings(WindowTexts{}, saved,
                                         ntv2::GridChoice{ntv2::GridMethod::NswMrePrograms, ""}));
  const auto program = folder / MreProgramName(true);
  testing::WriteFile(program, "#!/bin/sh\nprintf ' 0 0 ' > Fwdmre.out\n");
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  desktop.SetCurrentDirectory(folder.path());
  Open();
  view->Click(MW::kCalculate);
  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, "Point is outside Area\r\nCheck Limits");
  EXPECT_EQ(desktop.messages()[0].icon, ui::MessageIcon::Information);
  EXPECT_TRUE(window->report().started()) << "the record is still written";
  EXPECT_EQ(window->display().Layer(kMarkerLayer).size(), 1u);
}

TEST_F(HighAccuracy, ChoosingHighAccuracyOutlinesTheSubGrids) {
  OpenWithGrid(WriteGrid());
  desktop.QueueModal([](ui::testing::FakeView& options) {
    options.Click(params::OptionsDialog::kOk);  // High is selected already
  });
  view->Click(MW::kChangeOptions);
  ASSERT_FALSE(desktop.messages().empty());
  EXPECT_EQ(desktop.messages().back().text, "2");
  EXPECT_EQ(desktop.messages().back().caption, "Number of Sub Grids");
  EXPECT_EQ(desktop.messages().back().icon, ui::MessageIcon::Information);
  const auto& outlines = window->display().Layer(kOutlineLayer);
  ASSERT_EQ(outlines.size(), 2u);
  const auto& first = std::get<ui::Polyline>(outlines[0]);
  EXPECT_EQ(first.pen, (ui::Pen{{0, 225, 0}, 2}));
  ASSERT_EQ(first.points.size(), 5u) << "a closed outline of four corners";
  EXPECT_EQ(first.points.front(), first.points.back());
  // The outline's north-west corner: 149 E, 31 S through the map's mapping.
  EXPECT_EQ(first.points[0], (ui::Point{MapX(149) + 42.0, MapY(31) + 90.0}));

  // The outlines show the grid in use: gone with Medium Accuracy, back with High, gone with
  // Reset (which returns to Medium Accuracy).
  for (const auto& [method, outlinesAfter] :
       {std::pair{params::OptionsDialog::kMediumAccuracy, 0u},
        std::pair{params::OptionsDialog::kHighAccuracy, 2u}}) {
    desktop.QueueModal([method](ui::testing::FakeView& options) {
      if (!options.dialog().State(method).checked) options.Click(method);
      options.Click(params::OptionsDialog::kOk);
    });
    view->Click(MW::kChangeOptions);
    EXPECT_EQ(window->display().Layer(kOutlineLayer).size(), outlinesAfter) << method;
  }
  view->Click(MW::kReset);
  EXPECT_TRUE(window->display().Layer(kOutlineLayer).empty()) << "Reset clears the outlines";
}

// Every pixel of an outline lies on the map, however far the sub-grid reaches beyond it; a
// sub-grid wholly on the map keeps its closed outline.
TEST(SubGridOutlines, AreCutToTheMap) {
  const ui::PixelRect map = MapBox();
  struct Case {
    ntv2::SubGridExtent limits;  // west, east, north, south, degrees south and east positive
    size_t lines;
  } cases[] = {
      {{149, 154, 31, 35}, 1},  // on the map: one closed outline
      {{90, 154, 31, 35}, 3},   // west beyond the map (drawn from 108, still off it)
      {{100, 170, 10, 50}, 1},  // only the north side crosses the map
      {{100, 170, 0, 60}, 0},   // the map lies inside: nothing to draw
      {{160, 170, 10, 20}, 0},  // wholly east of the map
      {{105, 160, 20, 30}, 2},  // west and east sides off the map, north and south cut
  };
  for (const Case& c : cases) {
    ui::DisplayList display;
    DrawSubGridOutlines(display, {c.limits});
    const auto& lines = display.Layer(kOutlineLayer);
    EXPECT_EQ(lines.size(), c.lines) << c.limits.west << " " << c.limits.north;
    for (const auto& primitive : lines) {
      const auto& line = std::get<ui::Polyline>(primitive);
      for (const ui::Point& p : line.points) {
        // The pen is 2 pixels wide: its centre line stays a pixel inside the map.
        EXPECT_TRUE(p.x >= map.left + 1 && p.x <= map.right - 1 && p.y >= map.top + 1 &&
                    p.y <= map.bottom - 1)
            << "(" << p.x << ", " << p.y << ") of the outline of " << c.limits.west << " W";
      }
    }
  }
}

// Calculating by the grid without a grid file chosen asks for one instead of failing on it.
TEST_F(HighAccuracy, CalculateWithoutAGridFileAsksForOneFirst) {
  const std::string gridPath = WriteGrid();
  OpenWithGrid("");
  view->Click(MW::kCalculate);  // the grid file dialog is closed without a file
  EXPECT_EQ(desktop.modalTitles(),
            std::vector<std::string>{"High Accuracy - NTv2 Interpolation Grids"});
  EXPECT_TRUE(desktop.messages().empty()) << desktop.messages()[0].text;
  EXPECT_FALSE(window->report().started()) << "nothing calculated";

  desktop.QueueFileChoice(gridPath);
  desktop.QueueModal([](ui::testing::FakeView& gridFile) {
    gridFile.Click(ntv2::GridFileDialog::kGetGsbFile);
    gridFile.Click(ntv2::GridFileDialog::kOk);
  });
  view->Click(MW::kCalculate);
  EXPECT_EQ(grid.gridFilePath, gridPath);
  EXPECT_EQ(texts().parameterSetLabel, "newcastle --> AGD66 <> GDA") << "the label names it";
  EXPECT_EQ(texts().statusText.substr(0, 9), "Acc: Lat ") << "calculated by the grid";
  EXPECT_TRUE(window->report().started());
}

}  // namespace
}  // namespace tarvo::mainwindow
