// Reading files line by line: whole lines across block boundaries, Windows line ends, a last
// line without one, byte offsets; a line longer than 1 MiB stops the input and is named; and
// only regular files are opened, a pipe without ever blocking on it.
#include "text/line_input.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/support.h"

namespace tarvo::text {
namespace {

using tarvo::testing::TempDir;
using tarvo::testing::WriteFile;

struct ReadOut {
  std::vector<std::string> lines;
  std::uint64_t offset = 0;
  std::uint64_t overlongLine = 0;
};

ReadOut ReadAll(const std::string& contents) {
  TempDir dir;
  WriteFile(dir / "in.txt", contents);
  std::FILE* file = std::fopen((dir / "in.txt").c_str(), "rb");
  EXPECT_NE(file, nullptr);
  LineInput input(file);
  ReadOut out;
  std::string_view line;
  while (input.Next(line)) out.lines.emplace_back(line);
  EXPECT_FALSE(input.failed());
  EXPECT_EQ(input.lineNumber(), out.lines.size());
  out.offset = input.offset();
  out.overlongLine = input.overlongLine();
  std::fclose(file);
  return out;
}

TEST(LineInput, ReadsLinesAcrossBlocksUpToTheLongestLine) {
  // Lines of every length around the 1 MiB block and the longest line, so that line ends
  // fall on, just before and just after each block boundary.
  std::string contents;
  std::vector<std::string> expected;
  for (std::size_t length : {kMaxLineLength, kMaxLineLength - 1, std::size_t{0}, std::size_t{1},
                             kMaxLineLength, std::size_t{7}}) {
    expected.emplace_back(length, static_cast<char>('a' + expected.size()));
    contents += expected.back() + "\n";
  }
  const ReadOut out = ReadAll(contents);
  EXPECT_EQ(out.lines, expected);
  EXPECT_EQ(out.offset, contents.size());
  EXPECT_EQ(out.overlongLine, 0u);
}

TEST(LineInput, WindowsLineEndsAndALastLineWithoutEnd) {
  const ReadOut out = ReadAll("one\r\ntwo\n\r\nlast");
  EXPECT_EQ(out.lines, (std::vector<std::string>{"one", "two", "", "last"}));
  EXPECT_EQ(out.offset, 15u) << "every byte is counted, line ends included";
  EXPECT_EQ(ReadAll("only\n").lines, std::vector<std::string>{"only"}) << "no empty line after it";
  EXPECT_TRUE(ReadAll("").lines.empty());
}

// Found: a file without line ends (a device, a damaged file) grew the buffer until the
// process aborted with std::bad_alloc.
TEST(LineInput, ALineLongerThanOneMebibyteStopsTheInputAndIsNamed) {
  const std::string longest(kMaxLineLength, 'x');
  struct Case {
    std::string contents;
    std::vector<std::string> lines;  // read before the input stops
    std::uint64_t overlongLine;
  };
  const std::vector<Case> cases = {
      {"a\n" + longest + "\r\nb\n", {"a", longest, "b"}, 0},  // "\r" is part of the line end
      {"a\n" + longest + "y\nb\n", {"a"}, 2},
      {"a\nb\n" + std::string(3 * kMaxLineLength, 'z'), {"a", "b"}, 3},  // no end at all
  };
  for (const Case& c : cases) {
    const ReadOut out = ReadAll(c.contents);
    EXPECT_EQ(out.lines, c.lines);
    EXPECT_EQ(out.overlongLine, c.overlongLine);
  }
  EXPECT_EQ(OverlongLineText("in.csv", 3), "in.csv line 3 is longer than 1 MiB");
}

// Found: a grid, settings or coordinate file that is a pipe hung the program in its open;
// a folder gave a misleading message.
TEST(OpenRegularFile, OnlyRegularFilesAreOpenedAndThePipeIsNeverWaitedFor) {
  TempDir dir;
  WriteFile(dir / "file.txt", "text\n");
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  std::filesystem::create_directory(dir / "folder");
  std::filesystem::create_symlink(dir / "file.txt", dir / "link");
  struct Case {
    std::filesystem::path path;
    bool opened;
    std::string refusal;
  };
  const std::vector<Case> cases = {
      {dir / "file.txt", true, ""},
      {dir / "link", true, ""},
      {dir / "missing", false, ""},
      {dir / "pipe", false, (dir / "pipe").string() + " is not a regular file"},
      {"/dev/zero", false, "/dev/zero is not a regular file"},
      {dir / "folder", false, (dir / "folder").string() + " is a folder, not a grid file"},
  };
  for (const Case& c : cases) {
    const OpenedFile opened = OpenRegularFile(c.path, "grid file");
    EXPECT_EQ(opened.file != nullptr, c.opened) << c.path;
    EXPECT_EQ(opened.refusal, c.refusal) << c.path;
  }
}

TEST(ReadFileHead, ReadsTheFirstLinesOrSaysWhyNot) {
  TempDir dir;
  WriteFile(dir / "short.dat", "one\r\ntwo\nthree\n");
  WriteFile(dir / "long.dat", "one\n" + std::string(kMaxLineLength + 1, '9') + "\n");
  std::string refusal;
  EXPECT_EQ(ReadFileHead(dir / "short.dat", 2, "settings file", refusal), "one\ntwo\n");
  EXPECT_EQ(refusal, "");
  EXPECT_EQ(ReadFileHead(dir / "missing.dat", 2, "settings file", refusal), std::nullopt);
  EXPECT_EQ(refusal, "") << "a missing file is no refusal: it is treated as absent";
  EXPECT_EQ(ReadFileHead(dir / "long.dat", 9, "settings file", refusal), std::nullopt);
  EXPECT_EQ(refusal, (dir / "long.dat").string() + " line 2 is longer than 1 MiB");
  EXPECT_EQ(ReadFileHead(dir.path(), 9, "settings file", refusal), std::nullopt);
  EXPECT_EQ(refusal, dir.path().string() + " is a folder, not a settings file");
}

}  // namespace
}  // namespace tarvo::text
