// Writing a file whole: the old file or the new one, never a part; nothing written through a
// link planted under a temporary name; the permission bits of the replaced file kept; a
// link to the file kept as a link.
#include "text/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/support.h"
#include "text/text_file.h"

namespace tarvo::text {
namespace {

namespace fs = std::filesystem;
using tarvo::testing::ReadFile;
using tarvo::testing::TempDir;
using tarvo::testing::WriteFile;

mode_t ModeOf(const fs::path& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

std::size_t EntriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Found: settings files went to "<name>.tmp<pid>", opened with fopen("wb"): a link planted
// under the next process ids had the program write into the file of someone's choice.
TEST(TemporaryNames, PlantedLinksAreNeverWrittenThrough) {
  TempDir dir;
  WriteFile(dir / "victim", "precious\n");
  const int pid = static_cast<int>(::getpid());
  for (int next = pid - 50; next < pid + 200; ++next) {
    fs::create_symlink(dir / "victim", dir / ("tarvo_prm.dat.tmp" + std::to_string(next)));
  }
  ASSERT_TRUE(WriteFileAtomically(dir / "tarvo_prm.dat", "saved\n"));
  EXPECT_EQ(ReadFile(dir / "victim"), "precious\n");
  EXPECT_FALSE(fs::is_symlink(dir / "tarvo_prm.dat")) << "the file did not become the link";
  EXPECT_EQ(ReadFile(dir / "tarvo_prm.dat"), "saved\n");
}

TEST(AtomicFile, TheTemporaryNameIsUnpredictableAndCreatedExclusively) {
  TempDir dir;
  auto first = AtomicFile::Create(dir / "out.csv");
  auto second = AtomicFile::Create(dir / "out.csv");
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->temporaryPath().parent_path(), dir.path()) << "beside the target";
  EXPECT_NE(first->temporaryPath(), second->temporaryPath());
  EXPECT_EQ(first->temporaryPath().filename().string().rfind("out.csv.tmp-", 0), 0u);
  second.reset();
  EXPECT_EQ(EntriesIn(dir.path()), 1u) << "a writer dropped before Commit leaves nothing";
  ASSERT_TRUE(first->Write("whole\n"));
  ASSERT_TRUE(first->Commit());
  EXPECT_EQ(ReadFile(dir / "out.csv"), "whole\n");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

// Found: a save turned a 0600 tarvo_prm.dat into 0644, and replaced a tarvo_prm.dat that
// was a link by a regular file.
TEST(AtomicFile, KeepsThePermissionBitsAndWritesThroughALink) {
  TempDir dir;
  WriteFile(dir / "private.dat", "old\n");
  fs::permissions(dir / "private.dat", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(WriteFileAtomically(dir / "private.dat", "new\n"));
  EXPECT_EQ(ModeOf(dir / "private.dat"), 0600u);

  const mode_t mask = ::umask(022);
  ASSERT_TRUE(WriteFileAtomically(dir / "fresh.dat", "new\n"));
  ::umask(mask);
  EXPECT_EQ(ModeOf(dir / "fresh.dat"), 0644u) << "a new file: the usual mode under the umask";

  fs::create_directory(dir / "shared");
  WriteFile(dir / "shared" / "real.dat", "old\n");
  fs::permissions(dir / "shared" / "real.dat", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("shared/real.dat", dir / "relative.lnk");
  fs::create_symlink(dir / "relative.lnk", dir / "chained.lnk");
  ASSERT_TRUE(WriteFileAtomically(dir / "chained.lnk", "through\n"));
  EXPECT_TRUE(fs::is_symlink(dir / "chained.lnk"));
  EXPECT_TRUE(fs::is_symlink(dir / "relative.lnk"));
  EXPECT_EQ(ReadFile(dir / "shared" / "real.dat"), "through\n");
  EXPECT_EQ(ModeOf(dir / "shared" / "real.dat"), 0600u);
  EXPECT_EQ(EntriesIn(dir / "shared"), 1u) << "the temporary file was made beside the file";
}

TEST(AtomicFile, WhatCannotBeReplacedByAFileIsRefusedAndLeftAsItWas) {
  TempDir dir;
  fs::create_directory(dir / "folder");
  EXPECT_EQ(AtomicFile::Create(dir / "folder"), nullptr);
  EXPECT_EQ(AtomicFile::Create("/dev/null"), nullptr) << "a device is no file to replace";
  EXPECT_EQ(AtomicFile::Create(dir / "missing" / "x.dat"), nullptr);
  fs::create_symlink(dir / "loop.lnk", dir / "loop.lnk");
  EXPECT_EQ(AtomicFile::Create(dir / "loop.lnk"), nullptr);
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
  EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

}  // namespace
}  // namespace tarvo::text
