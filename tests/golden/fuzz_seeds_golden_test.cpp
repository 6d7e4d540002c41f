// Golden outputs of the batch conversion fuzz target's seed corpus (fuzz/corpus), each seed run
// through the target's own run: the run's result, what the user was told, and the output file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/batch_conversion_fuzzer.h"
#include "fuzz/fuzz_support.h"
#include "tests/golden/golden.h"
#include "tests/support/support.h"
#include "text/number_text.h"

namespace tarvo::golden {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSet = "fuzz_seeds";

fs::path CorpusFolder() {
  return fs::path(TARVO_SOURCE_DIR) / "fuzz" / "corpus" / "batch_conversion_fuzzer";
}

std::vector<std::string> Seeds() {
  std::vector<std::string> seeds;
  for (const fs::directory_entry& entry : fs::directory_iterator(CorpusFolder())) {
    seeds.push_back(entry.path().filename().string());
  }
  std::sort(seeds.begin(), seeds.end());
  return seeds;
}

std::string RecordOf(const std::string& seed) {
  const std::string bytes = testing::ReadFile(CorpusFolder() / seed);
  const fuzz::BatchConversionCase run = fuzz::RunBatchConversionCase(
      reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  const fileconv::BatchRunResult& r = run.result;
  std::string record = text::Format(
      "converted %d, count %llu, outside the grid %llu, stopped at line %llu, write failed %d, "
      "read failed %d\n",
      r.converted, static_cast<unsigned long long>(r.count),
      static_cast<unsigned long long>(r.outsideGrid),
      static_cast<unsigned long long>(r.stoppedAtLine), r.writeFailed, r.readFailed);
  record += "preview text: " + (r.previewText ? "\"" + Escaped(*r.previewText) + "\"" : "none");
  record += text::Format("\nmessages %d, beeps %d\n", run.messages, run.beeps);
  if (run.messages > 0) {
    record += "last message: " + Escaped(run.lastCaption) + ": " + Escaped(run.lastMessage) + "\n";
  }
  if (fs::exists(run.outputFile)) {
    record += Section("output file", testing::ReadFile(run.outputFile));
    // The next seed starts without it, as the first one did.
    fs::remove(run.outputFile);
  } else {
    record += "no output file\n";
  }
  return ReplaceAll(record, fuzz::ScratchFolder().string(), "(scratch)");
}

class FuzzSeeds : public ::testing::TestWithParam<std::string> {};

TEST_P(FuzzSeeds, RunAsBefore) {
  Check(kSet, GetParam(), RecordOf(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(BatchConversion, FuzzSeeds, ::testing::ValuesIn(Seeds()),
                         [](const auto& info) { return info.param; });

TEST(FuzzSeedGoldenFiles, BelongToSeeds) {
  CheckNoOtherFiles(kSet, Seeds());
}

}  // namespace
}  // namespace tarvo::golden
