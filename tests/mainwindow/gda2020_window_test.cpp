// tarvo_prm.dat with GDA2020: today's 32 lines for every session that never chose it, three
// more for one that did, which earlier versions do not read.
#include <gtest/gtest.h>

#include <sstream>

#include "params/saved_settings.h"
#include "tests/mainwindow/main_window_fixture.h"

namespace tarvo::mainwindow {
namespace {

// tarvo_prm.dat: 32 lines unless GDA2020 was chosen; then lines 1 and 10 hold "GDA/MGA" for
// an MGA2020 side (what an earlier version reads), lines 33 to 35 the systems and the second
// grid, and the file reads back to the same systems and grids.
TEST(Gda2020SavedSettings, OnlyASessionThatChoseGda2020WritesTheThreeLinesMore) {
  const auto lines = [](const std::string& contents) {
    std::vector<std::string> result;
    std::istringstream in(contents);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
  };
  const struct {
    const char* fromSystem;
    const char* toSystem;
    const char* grid2020;
    std::size_t count;
    const char* line1;
    const char* line10;
  } cases[] = {
      {"AGD/AMG", "GDA/MGA", "", 32, "AGD/AMG", "GDA/MGA"},
      {"AGD/AMG", "MGA2020", "", 35, "AGD/AMG", "GDA/MGA"},
      {"MGA2020", "AGD/ISG", "", 35, "GDA/MGA", "AGD/ISG"},
      {"AGD/AMG", "GDA/MGA", "/grids/GDA94_GDA2020_conformal.gsb", 35, "AGD/AMG", "GDA/MGA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fromSystem) + " to " + c.toSystem + ", " + c.grid2020);
    WindowTexts texts;
    texts.fromSystem = c.fromSystem;
    texts.toSystem = c.toSystem;
    ntv2::GridChoice grid;
    grid.gda2020GridPath = c.grid2020;
    const std::string contents = FormatSavedSettings(texts, engine::TransformSettings{}, grid);
    const std::vector<std::string> written = lines(contents);
    ASSERT_EQ(written.size(), c.count);
    EXPECT_EQ(written[0], c.line1);
    EXPECT_EQ(written[9], c.line10);

    // An earlier version reads the first 32 lines as a whole file of its own.
    std::istringstream first32(contents);
    EXPECT_TRUE(params::ReadSavedLines(first32));

    WindowTexts read;
    engine::TransformSettings settings;
    ntv2::GridChoice readGrid;
    std::istringstream in(contents);
    ASSERT_TRUE(ReadSavedSettings(in, read, settings, readGrid));
    EXPECT_EQ(read.fromSystem, c.fromSystem);
    EXPECT_EQ(read.toSystem, c.toSystem);
    EXPECT_EQ(readGrid.gda2020GridPath, c.grid2020);
  }
}

}  // namespace
}  // namespace tarvo::mainwindow
