// The window's NTv2 datum change: the direction from the input system, the three counters and
// the messages of a file that cannot be used, and the cache that reads a replaced file afresh.
#include "ntv2/grid_interpolate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "chain/point_chain.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::ntv2 {
namespace {

using testing::ExactField;
using testing::GridBytes;
using testing::SyntheticGrid;
using testing::SyntheticSubGrid;
using ui::testing::ScriptedDesktop;

// 35 to 36 S, 150 to 151 E at 10'.
SyntheticGrid TestGrid(double latitudeBase = 5.0) {
  return {{{"COARSE", "NONE", -129600, -126000, -543600, -540000, 600, 600,
            ExactField{latitudeBase, -4.0}.Nodes()}}};
}

// 35 33' 20.1234" S, 150 30' 00.5" E
constexpr double kLatitude = 35.33201234;
constexpr double kLongitude = 150.30005;

class GridInterpolateTest : public ::testing::Test {
 protected:
  std::string Write(const SyntheticGrid& grid, const std::string& name = "grid.gsb") {
    const auto path = dir_ / name;
    tarvo::testing::WriteFile(path, GridBytes(grid, kCanadianLayout));
    return path.string();
  }
  enum Outcome { kGridShifted, kPointOutsideGrid, kGridFileUnusable };

  // One point through the window's datum change: the grid from the interpolator, the chain
  // from `system` to the other datum, the outcome counted.
  Outcome Interpolate(const std::string& path, std::string_view system, double latitude = kLatitude,
                      double longitude = kLongitude) {
    chain::ChainSettings settings;
    settings.source = {chain::DatumOfSystem(system, chain::Datum::Agd66), 56};
    settings.target = {
        settings.source.datum == chain::Datum::Gda94 ? chain::Datum::Agd66 : chain::Datum::Gda94,
        56};
    settings.method = chain::DatumMethod::Grid;
    settings.grid = interpolator_.GridForPoint(path, desktop_);
    if (!settings.grid) return kGridFileUnusable;
    chain::PointState state;
    const chain::PointResult result = chain::PointChain(settings).Convert(
        {chain::InputKind::Packed, latitude, longitude, 0.0}, state);
    const bool inside = result.status != chain::Status::OutsideGrid;
    interpolator_.CountShift(inside);
    if (!inside) return kPointOutsideGrid;
    latitudeOut_ = result.latitude;
    longitudeOut_ = result.longitude;
    accuracyOut_ = AccuracyText(*result.gridShift);
    return kGridShifted;
  }

  tarvo::testing::TempDir dir_;
  ScriptedDesktop desktop_;
  GridInterpolator interpolator_;
  double latitudeOut_ = 1.0;
  double longitudeOut_ = 2.0;
  std::string accuracyOut_ = "before";
};

TEST_F(GridInterpolateTest, OnlyGdaMgaInputIsShiftedInReverse) {
  const std::string path = Write(TestGrid());
  GridOpenStatus status;
  const auto grid = GridFile::Open(path, status);
  ASSERT_TRUE(grid);
  for (const auto& [system, reverse] :
       {std::pair{"GDA/MGA", true}, std::pair{"AGD/AMG", false}, std::pair{"AGD/ISG", false}}) {
    ASSERT_EQ(Interpolate(path, system), kGridShifted) << system;
    const auto expected = grid->Shift(kLatitude, kLongitude, reverse);
    EXPECT_EQ(latitudeOut_, expected->latitude) << system;
    EXPECT_EQ(longitudeOut_, expected->longitude) << system;
    EXPECT_EQ(accuracyOut_, AccuracyText(*expected)) << system;
  }
  EXPECT_EQ(accuracyOut_.substr(0, 9), "Acc: Lat ");
  EXPECT_TRUE(desktop_.messages().empty());
}

TEST_F(GridInterpolateTest, OpenFailureCaptionCarriesTheCounters) {
  const std::string path = Write(TestGrid());
  EXPECT_EQ(Interpolate(path, "AGD/AMG"), kGridShifted);
  EXPECT_EQ(Interpolate(path, "GDA/MGA"), kGridShifted);
  EXPECT_EQ(Interpolate(path, "AGD/AMG", 20.0, 150.3), kPointOutsideGrid);
  EXPECT_TRUE(desktop_.messages().empty()) << "a point outside is the caller's to report";
  std::filesystem::remove(path);

  const double latitude = latitudeOut_;
  EXPECT_EQ(Interpolate(path, "AGD/AMG"), kGridFileUnusable);
  ASSERT_EQ(desktop_.messages().size(), 1u);
  EXPECT_EQ(desktop_.messages()[0].text,
            "Open failed on Input file and Count\n\n" + path + ": No such file or directory");
  EXPECT_EQ(desktop_.messages()[0].caption, "<<" + path + "|4|2|1>>");
  EXPECT_EQ(desktop_.messages()[0].icon, ui::MessageIcon::Error);
  EXPECT_EQ(latitudeOut_, latitude) << "a failure leaves the outputs as they were";
  EXPECT_EQ(interpolator_.calls(), 4);
  EXPECT_EQ(interpolator_.successes(), 2);
  EXPECT_EQ(interpolator_.pointsOutside(), 1);
}

TEST_F(GridInterpolateTest, AnInvalidFileIsReportedOnceAndNotAsAPointOutside) {
  const std::string path = (dir_ / "bad.gsb").string();
  std::string bytes = GridBytes(TestGrid(), kCanadianLayout);
  tarvo::testing::WriteFile(path, bytes.substr(0, bytes.size() - 40));
  EXPECT_EQ(Interpolate(path, "AGD/AMG"), kGridFileUnusable);
  testing::PatchInt32(bytes, 40, 0);
  tarvo::testing::WriteFile(path, bytes);
  EXPECT_EQ(Interpolate(path, "AGD/AMG"), kGridFileUnusable);
  ASSERT_EQ(desktop_.messages().size(), 2u);
  for (const auto& message : desktop_.messages()) {
    EXPECT_EQ(tarvo::testing::Split(message.text).message, "Invalid GSB File (4320)");
    EXPECT_EQ(message.caption, "ERROR");
  }
  EXPECT_EQ(interpolator_.pointsOutside(), 0);
  EXPECT_EQ(accuracyOut_, "before");
}

// ---------------------------------------------------------------------------------------------
// The cache.

TEST_F(GridInterpolateTest, AnUnchangedFileIsReadOnceAndGivesWhatAFreshReadGives) {
  const std::string path = Write(TestGrid());
  ASSERT_EQ(Interpolate(path, "AGD/AMG"), kGridShifted);
  ASSERT_EQ(Interpolate(path, "AGD/AMG", 35.5, 150.5), kGridShifted);
  EXPECT_EQ(interpolator_.cache().fileReads(), 1);

  GridOpenStatus status;
  const auto fresh = GridFile::Open(path, status);
  const auto shift = fresh->Shift(35.5, 150.5, false);
  EXPECT_EQ(latitudeOut_, shift->latitude);
  EXPECT_EQ(longitudeOut_, shift->longitude);
}

TEST_F(GridInterpolateTest, AReplacedFileIsReadAfresh) {
  const std::string path = Write(TestGrid(5.0));
  ASSERT_EQ(Interpolate(path, "AGD/AMG"), kGridShifted);
  const double before = latitudeOut_;

  // Same size, other shifts. A copy that keeps the old modification time is caught too.
  const auto modified = std::filesystem::last_write_time(path);
  Write(TestGrid(6.0));
  std::filesystem::last_write_time(path, modified);
  ASSERT_EQ(Interpolate(path, "AGD/AMG"), kGridShifted);
  EXPECT_NE(latitudeOut_, before);
  GridOpenStatus status;
  EXPECT_EQ(latitudeOut_,
            GridFile::Open(path, status)->Shift(kLatitude, kLongitude, false)->latitude);

  // Replaced by one that is no grid at all.
  tarvo::testing::WriteFile(path, "not a grid");
  EXPECT_EQ(Interpolate(path, "AGD/AMG"), kGridFileUnusable);
  EXPECT_EQ(interpolator_.cache().fileReads(), 3);
}

TEST(GridCache, AGridHandedOutStaysValidWhenTheCacheMovesOn) {
  tarvo::testing::TempDir dir;
  GridCache cache;
  GridOpenStatus status;
  std::vector<std::string> paths;
  for (int i = 0; i <= static_cast<int>(GridCache::kCapacity); ++i) {
    paths.push_back((dir / ("g" + std::to_string(i) + ".gsb")).string());
    tarvo::testing::WriteFile(paths.back(), GridBytes(TestGrid(5.0 + i), kCanadianLayout));
  }
  const auto first = cache.Get(paths[0], status);
  ASSERT_TRUE(first);
  for (const auto& path : paths) ASSERT_TRUE(cache.Get(path, status));
  EXPECT_EQ(cache.fileReads(), static_cast<int>(paths.size()));
  EXPECT_TRUE(first->Shift(kLatitude, kLongitude, false)) << "the first grid is still usable";
  ASSERT_TRUE(cache.Get(paths[0], status));
  EXPECT_EQ(cache.fileReads(), static_cast<int>(paths.size()) + 1)
      << "the least recently used grid was dropped";
  ASSERT_TRUE(cache.Get(paths.back(), status));
  EXPECT_EQ(cache.fileReads(), static_cast<int>(paths.size()) + 1);
}

}  // namespace
}  // namespace tarvo::ntv2
