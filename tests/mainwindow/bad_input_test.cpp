// Settings files and entries no user means to give, each once found by a fuzz target
// (fuzz/): the case that broke, replayed, with what broke.
#include <gtest/gtest.h>

#include <cmath>

#include "mainwindow/map.h"
#include "tests/mainwindow/main_window_fixture.h"

namespace tarvo::mainwindow {
namespace {

// The window is 592 x 458 client pixels; a marker that is not seen lies wholly outside it.
bool OffTheWindow(const ui::PixelRect& box) {
  return box.right < 0 || box.left > 592 || box.bottom < 0 || box.top > 458;
}

// A position far outside Australia, or no number at all, put the marker at a pixel beyond
// the range of int (undefined; INT_MIN in practice, which drew it on the wrong side).
TEST(MapMarker, PositionsFarOutsideAustraliaAreDrawnOffTheMap) {
  struct Case {
    double latitude;
    double longitude;
  };
  const Case cases[] = {
      {32.5, -2.4e13}, {32.5, 2.4e13}, {1e300, 151.0},        {-1e300, 151.0},
      {NAN, 151.0},    {32.5, NAN},    {INFINITY, -INFINITY},
  };
  for (const Case& c : cases) {
    const ui::PixelRect box = MarkerBox(c.latitude, c.longitude);
    EXPECT_TRUE(OffTheWindow(box))
        << c.latitude << ", " << c.longitude << " marked at " << box.left << ", " << box.top;
  }
  EXPECT_LT(MapX(-2.4e13), 0) << "west of the map stays west";
  EXPECT_GT(MapX(2.4e13), 592) << "east of the map stays east";
  EXPECT_EQ(MapX(151.423), 261) << "positions on the map are unchanged";
}

// tarvo_prm.dat with a From North that is no number (it reads as 0): the calculation puts
// the point ten thousand kilometres north of the false origin, near the pole, where the
// longitude runs to about 1e13 degrees, and the marker overflowed. Found by
// settings_files_fuzzer. Such a longitude is no position: the calculation is refused, and
// nothing is marked.
TEST_F(MainWindowTest, SavedNorthThatIsNoNumberIsRefusedWithoutAMarker) {
  engine::TransformSettings medium;
  medium.accuracyMethod = engine::AccuracyMethod::Medium;
  std::string saved = FormatSavedSettings(WindowTexts{}, medium, ntv2::GridChoice{});
  const std::size_t line4 = saved.find('\n', saved.find('\n', saved.find('\n') + 1) + 1) + 1;
  saved.replace(line4, saved.find('\n', line4) - line4,
                "\xFF\xFF\xFF\xFF"
                "6359970.566");
  testing::WriteFile(folder / "tarvo_prm.dat", saved);
  Open();
  view->Click(MW::kCalculate);

  ASSERT_EQ(desktop.messages().size(), 1u);
  EXPECT_EQ(desktop.messages()[0].text, kNoResultMessage);
  EXPECT_TRUE(window->display().Layer(kMarkerLayer).empty());
}

}  // namespace
}  // namespace tarvo::mainwindow
