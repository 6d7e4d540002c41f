// GridFile: the layout test, the checks that refuse files claiming more than they hold, the
// sub-grid choice and the interpolation with its accuracy, on grids the tests write.
#include "ntv2/grid_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>

#include "angles/packed_angle.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_grid.h"
#include "text/number_text.h"

namespace tarvo::ntv2 {
namespace {

using testing::ExactField;
using testing::GridBytes;
using testing::PackedFromSeconds;
using testing::SyntheticGrid;
using testing::SyntheticSubGrid;

constexpr double kRadiansPerSecond = angles::kRadiansPerSecond;

// 35 to 36 S, 150 to 151 E at 10' (file units: north and west positive).
SyntheticSubGrid Coarse(const std::string& name = "COARSE") {
  return {name, "NONE", -129600, -126000, -543600, -540000, 600, 600, ExactField{}.Nodes()};
}
// A finer sub-grid inside Coarse, at 2', with other shifts.
SyntheticSubGrid Fine(const std::string& name = "FINE") {
  return {
      name, "COARSE", -128400, -127200, -542400, -541200, 120, 120, ExactField{7.0, -2.0}.Nodes()};
}

class GridFileTest : public ::testing::Test {
 protected:
  std::unique_ptr<GridFile> Open(const std::string& bytes, GridOpenStatus& status) {
    const auto path = dir_ / ("grid" + std::to_string(++files_) + ".gsb");
    tarvo::testing::WriteFile(path, bytes);
    return GridFile::Open(path, status);
  }
  std::unique_ptr<GridFile> Open(const SyntheticGrid& grid,
                                 const GridLayout& layout = kCanadianLayout) {
    GridOpenStatus status;
    auto file = Open(GridBytes(grid, layout), status);
    EXPECT_TRUE(file) << "a well-formed grid opens: " << status.detail;
    return file;
  }

  tarvo::testing::TempDir dir_;
  int files_ = 0;
};

// Shift at a point given in file units (arc seconds, north and west positive).
std::optional<GridShift> ShiftAt(const GridFile& grid, double phi, double lambda,
                                 bool reverse = false) {
  return grid.Shift(PackedFromSeconds(-phi), PackedFromSeconds(-lambda), reverse);
}

// ---------------------------------------------------------------------------------------------
// The layout test.

std::array<unsigned char, 44> FileStart(std::int32_t at40, std::int32_t at32) {
  std::array<unsigned char, 44> bytes{};
  std::memcpy(bytes.data() + 40, &at40, 4);
  std::memcpy(bytes.data() + 32, &at32, 4);
  return bytes;
}

TEST(DetectGridLayout, CanadianCountDecidesFirstThenAustralian) {
  struct Case {
    std::int32_t at40;
    std::int32_t at32;
    const GridLayout* layout;
    int subGrids;
  } cases[] = {
      {0, 5, &kAustralianLayout, 5},
      {3, 7, &kCanadianLayout, 3},
      {30, 30, &kCanadianLayout, 30},
      {1, 0, &kCanadianLayout, 1},
      {31, 31, nullptr, 0},
      {-1, 30, &kAustralianLayout, 30},
      {0, 0, nullptr, 0},
      {31, -2, nullptr, 0},
  };
  for (const Case& c : cases) {
    const auto bytes = FileStart(c.at40, c.at32);
    const LayoutDetection found = DetectGridLayout(bytes);
    EXPECT_EQ(found.layout, c.layout) << "counts " << c.at40 << " at 40, " << c.at32 << " at 32";
    EXPECT_EQ(found.subGridCount, c.subGrids);
    EXPECT_EQ(found.canadianCount, c.at40);
    EXPECT_EQ(found.australianCount.has_value(), c.layout != &kCanadianLayout)
        << "the Australian count is read only when the Canadian one fails";
  }
}

TEST(DetectGridLayout, CountsBeyondTheEndOfAShortFileAreNotRead) {
  const auto bytes = FileStart(0, 5);
  const LayoutDetection found = DetectGridLayout(std::span(bytes.data(), 40));
  EXPECT_FALSE(found.canadianCount);
  EXPECT_EQ(found.australianCount, 5);
  EXPECT_EQ(found.layout, &kAustralianLayout);
  EXPECT_EQ(DetectGridLayout({}).layout, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Opening: both layouts, and files that claim more than they hold.

TEST_F(GridFileTest, BothLayoutsOfOneGridReadAlikeAndShiftAlike) {
  const SyntheticGrid grid{{Coarse(), Fine()}, 6378160.0};
  const auto canadian = Open(grid, kCanadianLayout);
  const auto australian = Open(grid, kAustralianLayout);
  ASSERT_TRUE(canadian && australian);
  EXPECT_EQ(canadian->layout().label, "Canadian NTv2");
  EXPECT_EQ(australian->layout().label, "Australian NTv2");
  ASSERT_EQ(australian->subGrids().size(), 2u);
  const SubGrid& fine = australian->subGrids()[1];
  EXPECT_EQ(fine.name, "FINE    ");
  EXPECT_EQ(fine.parent, "COARSE  ");
  EXPECT_EQ(fine.south, -128400);
  EXPECT_EQ(fine.west, -541200);
  EXPECT_EQ(fine.rows, 11);
  EXPECT_EQ(fine.columns, 11);
  EXPECT_EQ(australian->sourceSemiMajorAxis(), 6378160.0);
  for (const double phi : {-129000.5, -127777.7, -126000.0}) {
    for (const bool reverse : {false, true}) {
      const auto a = ShiftAt(*canadian, phi, -541900.25, reverse);
      const auto b = ShiftAt(*australian, phi, -541900.25, reverse);
      ASSERT_TRUE(a && b);
      EXPECT_EQ(a->latitude, b->latitude);
      EXPECT_EQ(a->longitude, b->longitude);
      EXPECT_EQ(AccuracyText(*a), AccuracyText(*b));
    }
  }
}

TEST_F(GridFileTest, FilesThatCannotBeUsedSayWhy) {
  const SyntheticGrid one{{Coarse()}};
  const SubGridOffsets& h = kCanadianLayout.subGrid;
  const std::size_t firstHeader = kCanadianLayout.overview.size;
  auto patched = [&](auto change) {
    std::string bytes = GridBytes(one, kCanadianLayout);
    change(bytes);
    return bytes;
  };
  const std::string whole = GridBytes(one, kCanadianLayout);
  // The grid with one value of the node of row 3, column 4 replaced.
  auto node = [](float GridNode::*value, float v) {
    SyntheticSubGrid s = Coarse();
    s.node = [value, v](int row, int column) {
      GridNode n = ExactField{}.Nodes()(row, column);
      if (row == 2 && column == 3) n.*value = v;
      return n;
    };
    return GridBytes(SyntheticGrid{{s}}, kCanadianLayout);
  };
  struct Case {
    const char* what;
    std::string bytes;
    GridOpenError error;
    const char* detail;
  } cases[] = {
      {"an empty file", "", GridOpenError::kInvalidLayout,
       "the file holds 0 bytes, too few for a grid's overview header"},
      {"31 sub-grids at both offsets", patched([](std::string& b) {
         testing::PatchInt32(b, 40, 31);
         testing::PatchInt32(b, 32, 31);
       }),
       GridOpenError::kInvalidLayout,
       "NUM_FILE reads 31 (Canadian layout) and 31 (Australian layout); a grid has 1 to 30"},
      // Node values no shift can mean were interpolated into every point near them.
      {"a NaN shift", node(&GridNode::latitudeShift, NAN), GridOpenError::kCorrupt,
       "sub-grid COARSE, node of row 3, column 4: latitude shift nan is not a number"},
      {"an infinite shift", node(&GridNode::longitudeShift, -INFINITY), GridOpenError::kCorrupt,
       "longitude shift -inf is not a number"},
      {"a shift of 3e38 seconds", node(&GridNode::latitudeShift, 3e38f), GridOpenError::kCorrupt,
       "latitude shift of 3e+38\" is beyond 3600\""},
      {"a shift beyond one degree", node(&GridNode::longitudeShift, -3600.5f),
       GridOpenError::kCorrupt, "longitude shift of -3600.5\" is beyond 3600\""},
      {"an accuracy beyond 1e4 seconds", node(&GridNode::latitudeAccuracy, 2e4f),
       GridOpenError::kCorrupt, "latitude accuracy of 20000\" is beyond 10000\""},
      {"a NaN accuracy", node(&GridNode::longitudeAccuracy, NAN), GridOpenError::kCorrupt,
       "longitude accuracy nan is not a number"},
      {"a source axis that is no number", patched([](std::string& b) {
         testing::PatchDouble(
             b, static_cast<std::size_t>(kCanadianLayout.overview.sourceSemiMajorAxis), NAN);
       }),
       GridOpenError::kCorrupt, "SMAJOR_F(nan) is not a number"},
      {"the last node record cut short", whole.substr(0, whole.size() - 17),
       GridOpenError::kCorrupt, "beyond the end of the file"},
      {"a node count one short of rows times columns", patched([&](std::string& b) {
         testing::PatchInt32(b, firstHeader + static_cast<std::size_t>(h.nodeCount), 48);
       }),
       GridOpenError::kCorrupt, "GS_COUNT(48) does not match expected cells (7x7)"},
      {"a zero latitude increment", patched([&](std::string& b) {
         testing::PatchDouble(b, firstHeader + static_cast<std::size_t>(h.latitudeIncrement), 0);
       }),
       GridOpenError::kCorrupt, "LAT_INC(0)"},
      {"a negative longitude increment", patched([&](std::string& b) {
         testing::PatchDouble(b, firstHeader + static_cast<std::size_t>(h.longitudeIncrement),
                              -600);
       }),
       GridOpenError::kCorrupt, "LONG_INC(-600)"},
      {"a node count beyond the file", patched([&](std::string& b) {
         testing::PatchInt32(b, firstHeader + static_cast<std::size_t>(h.nodeCount), 1 << 30);
       }),
       GridOpenError::kCorrupt, "GS_COUNT(1073741824)"},
      {"two sub-grids claimed, one written",
       patched([](std::string& b) { testing::PatchInt32(b, 40, 2); }), GridOpenError::kCorrupt,
       "sub-grid 2: its header"},
      {"an overview header cut short", whole.substr(0, 100), GridOpenError::kCorrupt,
       "the overview header needs 176 bytes"},
  };
  for (const Case& c : cases) {
    GridOpenStatus status;
    EXPECT_FALSE(Open(c.bytes, status)) << c.what;
    EXPECT_EQ(status.error, c.error) << c.what;
    EXPECT_NE(status.detail.find(c.detail), std::string::npos)
        << c.what << ": detail \"" << status.detail << "\" should say \"" << c.detail << "\"";
  }

  GridOpenStatus status;
  EXPECT_TRUE(Open(node(&GridNode::latitudeAccuracy, -1.0f), status))
      << "a negative accuracy says none is known: " << status.detail;
  EXPECT_FALSE(GridFile::Open(dir_ / "missing.gsb", status));
  EXPECT_EQ(status.error, GridOpenError::kCannotOpen);
  EXPECT_EQ(status.detail, "No such file or directory");
  EXPECT_FALSE(GridFile::Open(dir_.path(), status)) << "a folder is no grid file";
  EXPECT_EQ(status.error, GridOpenError::kCannotOpen);
}

TEST_F(GridFileTest, AnAustralianFileCutShortIsRefusedToo) {
  const std::string bytes = GridBytes({{Coarse(), Fine()}}, kAustralianLayout);
  GridOpenStatus status;
  EXPECT_FALSE(Open(bytes.substr(0, bytes.size() - 100), status));
  EXPECT_EQ(status.error, GridOpenError::kCorrupt);
  EXPECT_EQ(status.detection.layout, &kAustralianLayout);
}

// ---------------------------------------------------------------------------------------------
// Which sub-grid a point uses.

TEST_F(GridFileTest, TheFinestContainingSubGridWinsAndFileOrderBreaksTies) {
  SyntheticSubGrid twin = Coarse("TWIN");
  twin.node = ExactField{9.0, 1.0}.Nodes();
  struct Case {
    const char* what;
    SyntheticGrid grid;
    double phi;
    double lambda;
    const char* used;
  } cases[] = {
      {"nested, finer last", {{Coarse(), Fine()}}, -127800, -541800, "FINE    "},
      {"nested, finer first", {{Fine(), Coarse()}}, -127800, -541800, "FINE    "},
      {"on the finer one's south limit", {{Coarse(), Fine()}}, -128400, -541800, "FINE    "},
      {"just outside the finer one", {{Coarse(), Fine()}}, -128400.001, -541800, "COARSE  "},
      {"equal increments", {{Coarse(), twin}}, -127800, -541800, "COARSE  "},
      {"equal increments, other order", {{twin, Coarse()}}, -127800, -541800, "TWIN    "},
  };
  for (const Case& c : cases) {
    const auto grid = Open(c.grid);
    ASSERT_TRUE(grid);
    const auto shift = ShiftAt(*grid, c.phi, c.lambda);
    ASSERT_TRUE(shift) << c.what;
    EXPECT_EQ(grid->subGrids()[static_cast<std::size_t>(shift->subGrid)].name, c.used) << c.what;
    // A hint naming any sub-grid, none, or one of a larger grid, changes nothing.
    for (const int remembered : {-1, 0, 1, 30}) {
      SubGridHint hint{remembered};
      const auto hinted = grid->Shift(PackedFromSeconds(-c.phi), PackedFromSeconds(-c.lambda),
                                      false, hint, ShiftAccuracy::Computed);
      ASSERT_TRUE(hinted) << c.what;
      EXPECT_EQ(hinted->subGrid, shift->subGrid) << c.what << ", hint " << remembered;
    }
  }
}

TEST_F(GridFileTest, APointInNoSubGridHasNoShift) {
  const auto grid = Open({{Coarse()}});
  ASSERT_TRUE(grid);
  const double outside[][2] = {
      {-129600.0001, -541800}, {-125999.9999, -541800}, {-128000, -543600.0001},
      {-128000, -539999.9999}, {-200000, -400000},
  };
  for (const auto& p : outside) {
    EXPECT_FALSE(ShiftAt(*grid, p[0], p[1])) << p[0] << " " << p[1];
    EXPECT_FALSE(ShiftAt(*grid, p[0], p[1], true)) << "reverse " << p[0] << " " << p[1];
  }

  // 36 deg 60' is no angle; taken as the -1 radian that flags it, it would lie in this grid.
  const auto north = Open({{SyntheticSubGrid{"NORTH", "NONE", 205200, 208800, -543600, -540000, 600,
                                             600, ExactField{}.Nodes()}}});
  ASSERT_TRUE(north);
  EXPECT_FALSE(north->Shift(36.6, 150.3, false));
}

// ---------------------------------------------------------------------------------------------
// The interpolation.

TEST_F(GridFileTest, ANodeAndEveryLimitGiveTheNodesShiftsExactly) {
  // Coarse is the last sub-grid of the file, so a read one row north or one column west of
  // its north-west corner would run off the end of the nodes (the sanitizer build sees it).
  const auto grid = Open({{Coarse()}});
  ASSERT_TRUE(grid);
  struct Case {
    const char* what;
    int row;
    int column;
  } cases[] = {
      {"inner node", 2, 3},        {"south limit", 0, 3}, {"north limit", 6, 2},
      {"east limit", 4, 0},        {"west limit", 1, 6},  {"south-east corner", 0, 0},
      {"north-west corner", 6, 6},
  };
  for (const Case& c : cases) {
    const double phi = -129600.0 + 600.0 * c.row;
    const double lambda = -543600.0 + 600.0 * c.column;
    const auto shift = ShiftAt(*grid, phi, lambda);
    ASSERT_TRUE(shift) << c.what << ": limits are inside";
    const GridNode& node = grid->Node(0, c.row, c.column);
    EXPECT_EQ(shift->latitude, (phi + node.latitudeShift) * -kRadiansPerSecond) << c.what;
    EXPECT_EQ(shift->longitude, (lambda + node.longitudeShift) * -kRadiansPerSecond) << c.what;
    EXPECT_TRUE(shift->accuracyKnown) << c.what;
  }
}

TEST_F(GridFileTest, BetweenNodesTheShiftIsBilinear) {
  // The field is bilinear and exact in floats, so interpolation reproduces it.
  const ExactField field;
  const auto grid = Open({{Coarse()}});
  ASSERT_TRUE(grid);
  const double points[][2] = {
      {-129000.5, -541900.25}, {-126000, -541234.5}, {-128888.125, -540000}, {-126300, -540300}};
  for (const auto& p : points) {
    const double row = (p[0] + 129600.0) / 600.0;
    const double column = (p[1] + 543600.0) / 600.0;
    const auto shift = ShiftAt(*grid, p[0], p[1]);
    ASSERT_TRUE(shift);
    EXPECT_NEAR(shift->latitude / -kRadiansPerSecond, p[0] + field.LatitudeShift(row, column),
                1e-9);
    EXPECT_NEAR(shift->longitude / -kRadiansPerSecond, p[1] + field.LongitudeShift(row, column),
                1e-9);
    const double a = 6378160.0;
    EXPECT_NEAR(shift->latitudeAccuracy,
                ExactField::LatitudeAccuracy(row, column) * a * kRadiansPerSecond, 1e-9);
    EXPECT_NEAR(shift->longitudeAccuracy,
                ExactField::LongitudeAccuracy(row, column) * std::cos(-p[0] * kRadiansPerSecond) *
                    a * kRadiansPerSecond,
                1e-9)
        << "the longitude accuracy shrinks with the cosine of the input latitude";
  }
}

TEST_F(GridFileTest, ReverseUndoesForwardToFarBelowAMillimetre) {
  const auto grid = Open({{Coarse(), Fine()}});
  ASSERT_TRUE(grid);
  for (const double phi : {-129500.0, -127800.0, -126100.0}) {
    const double lambda = -541700.0;
    const auto forward = ShiftAt(*grid, phi, lambda);
    ASSERT_TRUE(forward);
    const double gdaPhi = forward->latitude / -kRadiansPerSecond;
    const double gdaLambda = forward->longitude / -kRadiansPerSecond;
    const auto back = grid->Shift(angles::RadiansToPacked(forward->latitude, 7),
                                  angles::RadiansToPacked(forward->longitude, 7), true);
    ASSERT_TRUE(back);
    // One pass would be off by the change of the shift over the shift itself (about 5e-4"
    // here); three passes leave only the packed input's rounding (5e-9").
    EXPECT_NEAR(back->latitude / -kRadiansPerSecond, phi, 1e-7) << "from " << gdaPhi;
    EXPECT_NEAR(back->longitude / -kRadiansPerSecond, lambda, 1e-7) << "from " << gdaLambda;
  }
}

TEST_F(GridFileTest, ANegativeLatitudeAccuracyAtAnyCornerMeansNoAccuracyButTheShiftStands) {
  for (const auto& corner :
       {std::array{2, 3}, std::array{2, 4}, std::array{3, 3}, std::array{3, 4}}) {
    SyntheticSubGrid s = Coarse();
    const auto exact = ExactField{}.Nodes();
    s.node = [&](int row, int column) {
      GridNode node = exact(row, column);
      if (row == corner[0] && column == corner[1]) node.latitudeAccuracy = -1.0f;
      return node;
    };
    const auto grid = Open({{s}});
    ASSERT_TRUE(grid);
    const auto shift = ShiftAt(*grid, -129600.0 + 600 * 2.5, -543600.0 + 600 * 3.5);
    ASSERT_TRUE(shift);
    EXPECT_FALSE(shift->accuracyKnown) << "-1 at row " << corner[0] << " column " << corner[1];
    EXPECT_EQ(AccuracyText(*shift), "No Accuracy Available");
    const auto plain = ShiftAt(*Open({{Coarse()}}), -129600.0 + 600 * 2.5, -543600.0 + 600 * 3.5);
    EXPECT_EQ(shift->latitude, plain->latitude);
  }

  // The longitude accuracies are not consulted.
  SyntheticSubGrid s = Coarse();
  s.node = [](int, int) { return GridNode{1.0f, 2.0f, 0.5f, -1.0f}; };
  const auto shift = ShiftAt(*Open({{s}}), -128000, -542000);
  ASSERT_TRUE(shift);
  EXPECT_EQ(
      AccuracyText(*shift),
      text::Format("Acc: Lat %.3fm Long %.3fm", 0.5 * 6378160.0 * kRadiansPerSecond,
                   -1.0 * std::cos(128000 * kRadiansPerSecond) * 6378160.0 * kRadiansPerSecond));
}

TEST_F(GridFileTest, OnANorthLimitTheRecordsThatFollowInTheFileAreNotUsed) {
  // The records one row north of Coarse's north limit would be the start of BEYOND, whose
  // accuracies are all unknown; the limit row itself is used instead.
  SyntheticSubGrid beyond{"BEYOND", "NONE",  -100000,
                          -99000,   -500000, -499000,
                          500,      500,     [](int, int) { return GridNode{99, 99, -1, -1}; }};
  const auto grid = Open({{Coarse(), beyond}});
  ASSERT_TRUE(grid);
  const auto shift = ShiftAt(*grid, -126000, -540000 - 300);
  ASSERT_TRUE(shift);
  EXPECT_TRUE(shift->accuracyKnown);
  EXPECT_EQ(AccuracyText(*shift).substr(0, 8), "Acc: Lat");
}

TEST_F(GridFileTest, TypedPositionsOnLimitsAndNodesAreExact) {
  // 36 S is the south limit; as typed, 36.0000 and 35.595999999 are not the same angle, but
  // 35.5960 (35 59' 60") is read as 36 exactly.
  const auto grid = Open({{Coarse()}});
  ASSERT_TRUE(grid);
  EXPECT_TRUE(grid->Shift(36.0, 150.3, false));
  EXPECT_TRUE(grid->Shift(35.5960, 150.3, false));
  EXPECT_FALSE(grid->Shift(36.00000001, 150.3, false));
  const auto onNode = grid->Shift(35.4, 150.4, false);  // row 2, column 2
  ASSERT_TRUE(onNode);
  EXPECT_EQ(onNode->latitude, (-128400.0 + grid->Node(0, 2, 2).latitudeShift) * -kRadiansPerSecond);
}

}  // namespace
}  // namespace tarvo::ntv2
