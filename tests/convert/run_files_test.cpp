// The block-wise line input and record output of a batch run: whole lines of any length
// across block boundaries, Windows line ends, a last line without one, byte offsets, and a
// failed write.
#include "fileconv/run_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/support.h"

namespace tarvo::fileconv {
namespace {

using tarvo::testing::TempDir;
using tarvo::testing::WriteFile;

std::vector<std::string> ReadAll(const std::string& contents, std::uint64_t* offset = nullptr) {
  TempDir dir;
  WriteFile(dir / "in.txt", contents);
  std::FILE* file = std::fopen((dir / "in.txt").c_str(), "rb");
  EXPECT_NE(file, nullptr);
  LineInput input(file);
  std::vector<std::string> lines;
  std::string_view line;
  while (input.Next(line)) lines.emplace_back(line);
  EXPECT_FALSE(input.failed());
  EXPECT_EQ(input.lineNumber(), lines.size());
  if (offset != nullptr) *offset = input.offset();
  std::fclose(file);
  return lines;
}

TEST(LineInput, ReadsLinesAcrossBlocksWhateverTheirLength) {
  // Lines of 3 MiB and of every length around the 1 MiB block, so that line ends fall on,
  // just before and just after each block boundary.
  std::string contents;
  std::vector<std::string> expected;
  for (std::size_t length : {std::size_t{3} << 20, std::size_t{1} << 20, (std::size_t{1} << 20) - 1,
                             std::size_t{0}, std::size_t{1}, (std::size_t{1} << 20) + 1}) {
    expected.emplace_back(length, static_cast<char>('a' + expected.size()));
    contents += expected.back() + "\n";
  }
  std::uint64_t offset = 0;
  EXPECT_EQ(ReadAll(contents, &offset), expected);
  EXPECT_EQ(offset, contents.size());
}

TEST(LineInput, WindowsLineEndsAndALastLineWithoutEnd) {
  std::uint64_t offset = 0;
  EXPECT_EQ(ReadAll("one\r\ntwo\n\r\nlast", &offset),
            (std::vector<std::string>{"one", "two", "", "last"}));
  EXPECT_EQ(offset, 15u) << "every byte is counted, line ends included";
  EXPECT_EQ(ReadAll("only\n"), std::vector<std::string>{"only"}) << "no empty line after it";
  EXPECT_TRUE(ReadAll("").empty());
}

TEST(RecordOutput, WritesEverythingAndReportsAFailedWrite) {
  TempDir dir;
  std::FILE* file = std::fopen((dir / "out.txt").c_str(), "wb");
  ASSERT_NE(file, nullptr);
  RecordOutput output(file);
  std::string expected;
  for (int i = 0; i < 200000; ++i) {
    const std::string record = "record " + std::to_string(i) + "\n";
    output.buffer() += record;
    expected += record;
    output.Commit();
  }
  EXPECT_TRUE(output.Finish());
  std::fclose(file);
  EXPECT_EQ(tarvo::testing::ReadFile(dir / "out.txt"), expected);

  std::FILE* full = std::fopen("/dev/full", "wb");
  if (full == nullptr) GTEST_SKIP() << "/dev/full is not available";
  RecordOutput failing(full);
  failing.buffer() = "lost";
  EXPECT_FALSE(failing.Finish());
  std::fclose(full);
}

}  // namespace
}  // namespace tarvo::fileconv
