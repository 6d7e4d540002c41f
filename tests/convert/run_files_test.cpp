// The block-wise record output of a batch run: everything written, and a failed write.
#include "fileconv/run_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/support.h"

namespace tarvo::fileconv {
namespace {

using tarvo::testing::TempDir;

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
    output.RecordDone();
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
