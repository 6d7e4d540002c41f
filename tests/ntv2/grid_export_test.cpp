// The text export of a grid file: the lines it writes in both layouts, a grid file that ends
// early, the files it refuses to touch, a failed write, and the national grid exported in
// constant memory.
#include "ntv2/grid_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "ntv2/grid_file.h"
#include "tests/support/synthetic_grid.h"
#include "tests/support/support.h"
#include "text/number_text.h"
#include "ui/testing/scripted_desktop.h"

namespace tarvo::ntv2 {
namespace {

namespace fs = std::filesystem;
using tarvo::testing::ReadFile;
using tarvo::testing::TempDir;
using tarvo::testing::WriteFile;
using testing::GridBytes;
using testing::SyntheticGrid;
using testing::SyntheticSubGrid;
using ui::MessageAnswer;
using ui::MessageIcon;
using ui::testing::ScriptedDesktop;

std::size_t CountLines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// One sub-grid of 2 x 2 nodes; node (0, 0) holds the shifts 1.5" and -2.25" with
// accuracies 0.1" and 0.2".
SyntheticGrid FourNodes() {
  SyntheticSubGrid s{
      "ONE", "NONE", -36000, -32400, -540000, -536400, 3600, 3600, [](int row, int column) {
        if (row == 0 && column == 0) return GridNode{1.5f, -2.25f, 0.1f, 0.2f};
        const float k = static_cast<float>(2 * row + column);
        return GridNode{k, -k, -1.0f, -1.0f};
      }};
  return {{s}};
}

// Three sub-grids of 6, 20 and 4 nodes.
SyntheticGrid ThreeSubGrids() {
  const auto nodes = testing::ExactField{}.Nodes();
  return {{{"EX1_0601", "NONE", -162000, -158400, -547200, -540000, 3600, 3600, nodes},
           {"NSW_0701", "NONE", -129600, -115200, -547200, -536400, 3600, 3600, nodes},
           {"TAS_0601", "EX1_0601", -160200, -158400, -543600, -541800, 1800, 1800, nodes}}};
}

class GridExportTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes, const std::string& name = "grid.gsb") {
    const fs::path path = dir_ / name;
    WriteFile(path, bytes);
    return path.string();
  }
  GridExportResult Export(const std::string& path) {
    GridExportCallbacks callbacks;
    callbacks.subGridStarted = [this](const std::string& record) { started_.push_back(record); };
    callbacks.progress = [this](int written, int total) {
      if (written == total) finished_.push_back(total);
    };
    return ExportGridText(path, callbacks, desktop_);
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : desktop_.messages()) texts.push_back(m.caption + ": " + m.text);
    return texts;
  }

  TempDir dir_;
  ScriptedDesktop desktop_;
  std::vector<std::string> started_;  // the sub-grid records shown
  std::vector<int> finished_;         // the node counts of the sub-grids finished
};

// ---------------------------------------------------------------------------------------------
// The lines.

TEST_F(GridExportTest, OneSubGridOfFourNodesGivesElevenElevenAndFourLines) {
  const std::string path = Write(GridBytes(FourNodes(), kCanadianLayout), "grids.gsb");
  const GridExportResult result = Export(path);
  EXPECT_EQ(result.status, GridExportStatus::kComplete);
  EXPECT_EQ(result.textPath, (dir_ / "grids.asc").string());
  EXPECT_EQ(result.lines, 26u);
  EXPECT_EQ(ReadFile(dir_ / "grids.asc"),
            "NUM_OREC 11\n"
            "NUM_SREC 11\n"
            "NUM_FILE  1\n"
            "GS_TYPE SECONDS \n"
            "VERSION TEST 1.0\n"
            "SYSTEM_FAGD66   \n"
            "SYSTEM_TGDA94   \n"
            "MAJOR_F  6378160.000\n"
            "MINOR_F  6356774.719\n"
            "MAJOR_T  6378137.000\n"
            "MINOR_T  6356752.314\n"
            "SUB_NAMEONE     \n"
            "PARENT  NONE    \n"
            "CREATED 01012024\n"
            "UPDATED 01012024\n"
            "S_LAT     -36000.000000\n"
            "N_LAT     -32400.000000\n"
            "E_LONG   -540000.000000\n"
            "W_LONG   -536400.000000\n"
            "LAT_INC     3600.000000\n"
            "LONG_INC    3600.000000\n"
            "GS_COUNT 4\n"
            "  1.500000 -2.250000  0.100000  0.200000\n"
            "  1.000000 -1.000000 -1.000000 -1.000000\n"
            "  2.000000 -2.000000 -1.000000 -1.000000\n"
            "  3.000000 -3.000000 -1.000000 -1.000000\n");
  EXPECT_EQ(started_, std::vector<std::string>{"SUB_NAMEONE     "});
  EXPECT_EQ(finished_, std::vector<int>{4});
  ASSERT_EQ(desktop_.messages().size(), 1u);
  EXPECT_EQ(desktop_.messages()[0].text, result.textPath);
  EXPECT_EQ(desktop_.messages()[0].caption, "ASCII FILE COMPLETE");
  EXPECT_EQ(desktop_.messages()[0].icon, MessageIcon::Information);
}

TEST_F(GridExportTest, BothLayoutsGiveTheSameTextFromTheFileAlone) {
  const std::string canadian = Write(GridBytes(ThreeSubGrids(), kCanadianLayout), "can.gsb");
  const std::string australian = Write(GridBytes(ThreeSubGrids(), kAustralianLayout), "aus.gsb");
  EXPECT_EQ(Export(canadian).status, GridExportStatus::kComplete);
  EXPECT_EQ(Export(australian).status, GridExportStatus::kComplete);
  const std::string text = ReadFile(dir_ / "can.asc");
  EXPECT_EQ(CountLines(text), 11u + 3 * 11 + 6 + 20 + 4);
  EXPECT_EQ(ReadFile(dir_ / "aus.asc"), text)
      << "the Australian layout's 12-byte integer records are read without padding";
  EXPECT_NE(text.find("NUM_FILE  3\n"), std::string::npos);
  EXPECT_NE(text.find("GS_COUNT 20\n"), std::string::npos);
  EXPECT_EQ(finished_, (std::vector<int>{6, 20, 4, 6, 20, 4}));
  EXPECT_EQ(started_.at(2), "SUB_NAMETAS_0601");
}

TEST(GridNodeLine, PrintsExactlyAsPrintfInTheCLocale) {
  const auto printf = [](float a, float b, float c, float d) {
    return text::Format("%10.6f%10.6f%10.6f%10.6f\n", a, b, c, d);
  };
  EXPECT_EQ(GridNodeLine(1.5f, -2.25f, 0.1f, 0.2f), "  1.500000 -2.250000  0.100000  0.200000\n");
  // Halfway cases (0.0078125 lies exactly between two sixth decimals), signed zero, values
  // wider than the field, and what a damaged file may hold.
  const float edgeValues[] = {0.0078125f, -0.0234375f, -0.0f,    1e-9f,     -1e-9f, 12345.678f,
                              -1.0e30f,   3.4e38f,     INFINITY, -INFINITY, NAN,    -NAN};
  for (const float v : edgeValues) {
    EXPECT_EQ(GridNodeLine(v, -v, v, 0.5f), printf(v, -v, v, 0.5f)) << v;
  }
  std::mt19937 random(20240901);
  for (int i = 0; i < 200000; ++i) {
    float v[4];
    for (float& x : v) {
      // Half the values as a grid holds them (a few seconds), half any bit pattern.
      if (i % 2 == 0) {
        x = std::uniform_real_distribution<float>(-20.0f, 20.0f)(random);
      } else {
        const std::uint32_t bits = random();
        std::memcpy(&x, &bits, sizeof x);
      }
    }
    const std::string line = GridNodeLine(v[0], v[1], v[2], v[3]);
    const std::string expected = printf(v[0], v[1], v[2], v[3]);
    if (line != expected) {
      ADD_FAILURE() << "expected " << expected << "got      " << line;
      break;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// A grid file that ends early.

TEST_F(GridExportTest, AFileThatEndsEarlyIsExportedAsFarAsItGoesAndSaysSo) {
  const std::string whole = GridBytes(ThreeSubGrids(), kCanadianLayout);
  ASSERT_EQ(Export(Write(whole, "whole.gsb")).status, GridExportStatus::kComplete);
  const std::string wholeText = ReadFile(dir_ / "whole.asc");
  const std::size_t subGrid2 = 176 + 176 + 6 * 16;
  const struct {
    const char* what;
    std::size_t size;
    std::size_t lines;
    std::size_t shown;  // sub-grid names shown
    const char* where;
  } cases[] = {
      {"in the overview", 100, 6, 0, "in its overview header"},
      {"after two records of a sub-grid header", subGrid2 + 40, 11 + 17 + 2, 2,
       "in the header of sub-grid 2 of 3"},
      {"inside a node record", subGrid2 + 176 + 5 * 16 + 8, 11 + 17 + 16, 2,
       "in sub-grid 2 of 3, after 5 of its 20 nodes"},
      {"between two sub-grids", subGrid2, 11 + 17, 1, "in the header of sub-grid 2 of 3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    desktop_.ClearMessages();
    started_.clear();
    const std::string name = "short" + std::to_string(c.size);
    const GridExportResult result = Export(Write(whole.substr(0, c.size), name + ".gsb"));
    EXPECT_EQ(result.status, GridExportStatus::kIncomplete);
    const std::string text = ReadFile(dir_ / (name + ".asc"));
    EXPECT_EQ(CountLines(text), c.lines);
    EXPECT_EQ(result.lines, c.lines);
    EXPECT_EQ(text, wholeText.substr(0, text.size()))
        << "every line written is a line of the whole file's export";
    EXPECT_EQ(started_.size(), c.shown);
    ASSERT_EQ(desktop_.messages().size(), 2u);
    EXPECT_EQ(desktop_.messages()[0].caption, "ASCII FILE COMPLETE");
    EXPECT_EQ(desktop_.messages()[1].caption, "WARNING");
    EXPECT_EQ(desktop_.messages()[1].icon, MessageIcon::Warning);
    EXPECT_EQ(desktop_.messages()[1].text, std::string("The grid file ends early, ") + c.where +
                                               ":\n" + result.textPath +
                                               "\nThe text file is incomplete");
  }
}

// ---------------------------------------------------------------------------------------------
// What the export refuses to touch.

TEST_F(GridExportTest, RefusalsWriteNothingAndSayWhy) {
  const std::string grid = GridBytes(FourNodes(), kCanadianLayout);
  std::string noLayout = grid;
  testing::PatchInt32(noLayout, 40, 0);
  testing::PatchInt32(noLayout, 32, 31);
  const struct {
    const char* what;
    std::string name;      // the grid file's name ("" for none written)
    std::string contents;  // what the grid file holds
    std::string message;   // the start of the message
  } cases[] = {
      {"no such file", "missing.gsb", "", "Open failed on input file"},
      {"a grid already named .asc", "grid.asc", grid, "The text file would replace"},
      {"neither layout", "bad.gsb", noLayout, "is no NTv2 grid file"},
      {"a file name too short for the text name", "gs", grid, "No text file name"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    desktop_.ClearMessages();
    const std::string path = (dir_ / c.name).string();
    if (!c.contents.empty()) Write(c.contents, c.name);
    const auto before = fs::directory_iterator(dir_.path());
    const std::size_t filesBefore =
        static_cast<std::size_t>(std::distance(before, fs::directory_iterator()));

    EXPECT_EQ(Export(path).status, GridExportStatus::kRefused);
    ASSERT_EQ(desktop_.messages().size(), 1u);
    EXPECT_NE(desktop_.messages()[0].text.find(c.message), std::string::npos)
        << desktop_.messages()[0].text;
    EXPECT_EQ(desktop_.messages()[0].icon, MessageIcon::Error);
    const auto after = fs::directory_iterator(dir_.path());
    EXPECT_EQ(static_cast<std::size_t>(std::distance(after, fs::directory_iterator())), filesBefore)
        << "no file was made";
    if (!c.contents.empty()) {
      EXPECT_EQ(ReadFile(path), c.contents) << "the grid file is intact";
    }
  }
  EXPECT_EQ(desktop_.messages()[0].caption, "ERROR");
  EXPECT_TRUE(started_.empty());
  desktop_.ClearMessages();
  Export((dir_ / "missing.gsb").string());
  EXPECT_EQ(desktop_.messages().at(0).buttons, ui::MessageButtons::OkCancel)
      << "an input that cannot be opened is answered with OK or Cancel";
}

TEST_F(GridExportTest, AnExistingTextFileIsReplacedOnlyWhenTheUserSaysYes) {
  const std::string path = Write(GridBytes(FourNodes(), kAustralianLayout));
  const fs::path text = dir_ / "grid.asc";
  WriteFile(text, "the user's notes\n");

  desktop_.QueueAnswer(MessageAnswer::No);
  EXPECT_EQ(Export(path).status, GridExportStatus::kRefused);
  EXPECT_EQ(ReadFile(text), "the user's notes\n");
  ASSERT_EQ(desktop_.messages().size(), 1u);
  EXPECT_EQ(desktop_.messages()[0].text, text.string());
  EXPECT_EQ(desktop_.messages()[0].caption, "File Exists Overwrite");
  EXPECT_EQ(desktop_.messages()[0].buttons, ui::MessageButtons::YesNo);

  desktop_.QueueAnswer(MessageAnswer::Yes);
  EXPECT_EQ(Export(path).status, GridExportStatus::kComplete);
  EXPECT_EQ(CountLines(ReadFile(text)), 26u);
}

TEST_F(GridExportTest, ATextFileThatCannotBeCreatedStopsBeforeReading) {
  const std::string path = Write(GridBytes(FourNodes(), kCanadianLayout));
  fs::create_directory(dir_ / "grid.asc");  // exists, so asked; cannot be opened as a file
  EXPECT_EQ(Export(path).status, GridExportStatus::kRefused);
  ASSERT_EQ(desktop_.messages().size(), 2u);
  EXPECT_EQ(
      desktop_.messages()[1].text,
      "Cannot create the text file\n" + (dir_ / "grid.asc").string() + "\nNothing was written");
  EXPECT_TRUE(started_.empty()) << "no sub-grid was read";
}

// Found: a failed write left a part of the text file under its name; an earlier text file
// was lost with it.
TEST_F(GridExportTest, AFullDiskLeavesTheEarlierTextFileAndIsReported) {
  const SyntheticSubGrid dense{
      "DENSE", "NONE",  -36000,
      -32400,  -540000, -536400,
      36,      36,      [](int, int) { return GridNode{1.0f, 2.0f, 3.0f, 4.0f}; }};
  const std::string grid = GridBytes(SyntheticGrid{{dense}}, kCanadianLayout);  // 163 kB
  // Room for the grid, not for its 420 kB of text.
  const std::string report = tarvo::testing::OnFullDisk(dir_.path(), grid.size() + 65536, [&] {
    const std::string path = Write(grid);
    WriteFile(dir_ / "grid.asc", "earlier text\n");
    const GridExportResult result = Export(path);  // "File Exists Overwrite" answered Yes
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return std::to_string(static_cast<int>(result.status)) + "|" + MessageTexts().back() + "|" +
           ReadFile(dir_ / "grid.asc") + "|" + names[0] + " " + names[1] + " " +
           std::to_string(names.size());
  });
  EXPECT_EQ(report, std::to_string(static_cast<int>(GridExportStatus::kWriteFailed)) +
                        "|ERROR: " + (dir_ / "grid.asc").string() +
                        "\nThe text file could not be written completely\nNothing was written"
                        "|earlier text\n|grid.asc grid.gsb 2");
}

// ---------------------------------------------------------------------------------------------
// The national grid.

// A memory figure of this process from /proc/self/status ("VmRSS", "VmHWM" for the peak
// since the last ResetPeakMemory), in kilobytes.
std::optional<long> MemoryKb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return text::ToInt(line.substr(field.size() + 1));
  }
  return std::nullopt;
}
// Linux resets the peak to the present resident size when "5" is written to clear_refs.
bool ResetPeakMemory() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.close();
  return !clear.fail();
}

TEST(GridExportNational, ExportsEveryRecordInConstantMemoryInBothLayouts) {
  TARVO_REQUIRE_SHARED_DATA(shared);
  TempDir dir;
  // The text goes beside its grid, so the grids are copied first.
  const fs::path canadian = dir / "A66_National_13_09_01.gsb";
  const fs::path australian = dir / "A66_National_13_09_01_australian_layout.gsb";
  fs::copy_file(shared / "grids" / canadian.filename(), canadian);
  fs::copy_file(shared / "grids" / australian.filename(), australian);
  const auto gridSizeKb = static_cast<long>(fs::file_size(canadian) / 1024);

  ScriptedDesktop desktop;
  int subGrids = 0;
  GridExportCallbacks callbacks;
  callbacks.subGridStarted = [&subGrids](const std::string&) { ++subGrids; };

  // A small export first, so that code and allocator pages touched once are not counted.
  WriteFile(dir / "warm-up.gsb", GridBytes(ThreeSubGrids(), kCanadianLayout));
  ASSERT_EQ(ExportGridText((dir / "warm-up.gsb").string(), callbacks, desktop).status,
            GridExportStatus::kComplete);
  subGrids = 0;
  desktop.ClearMessages();

  const bool measured = ResetPeakMemory();
  const std::optional<long> before = MemoryKb("VmRSS");
  const GridExportResult result = ExportGridText(canadian.string(), callbacks, desktop);
  const std::optional<long> peak = MemoryKb("VmHWM");

  EXPECT_EQ(result.status, GridExportStatus::kComplete);
  EXPECT_EQ(subGrids, 20);
  EXPECT_EQ(result.lines, 11u + 20 * 11 + 290225);
  const std::string text = ReadFile(dir / "A66_National_13_09_01.asc");
  EXPECT_EQ(CountLines(text), 11u + 20 * 11 + 290225);
  if (measured && before && peak) {
    const long growth = *peak - *before;
    std::printf("national grid export: %ld kB of grid, peak memory grew by %ld kB\n", gridSizeKb,
                growth);
    // Holding the grid (4.6 MB) or the text (12 MB) would raise the peak by megabytes.
    EXPECT_LT(growth, gridSizeKb / 4) << "the export must not hold the grid or its text";
  } else {
    std::printf("national grid export: peak memory not measurable here\n");
  }

  // The node lines are the reader's node values, and the other layout gives the same text.
  GridOpenStatus status;
  const auto grid = GridFile::Open(canadian, status);
  ASSERT_NE(grid, nullptr);
  const GridNode& first = grid->Node(0, 0, 0);
  const std::string firstLine = GridNodeLine(first.latitudeShift, first.longitudeShift,
                                             first.latitudeAccuracy, first.longitudeAccuracy);
  EXPECT_NE(
      text.find("GS_COUNT " + std::to_string(grid->subGrids()[0].nodeCount) + "\n" + firstLine),
      std::string::npos);
  EXPECT_EQ(ExportGridText(australian.string(), {}, desktop).status, GridExportStatus::kComplete);
  EXPECT_EQ(ReadFile(dir / "A66_National_13_09_01_australian_layout.asc"), text);
}

}  // namespace
}  // namespace tarvo::ntv2
