// The batch conversion fuzz target's run of one input as a function: the fuzzer runs it for
// every input it makes, and the golden outputs (tests/golden) replay the target's seed corpus
// through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fileconv/batch_run.h"

namespace tarvo::fuzz {

// What one run did: its result, where its output file is, and what the user was told.
struct BatchConversionCase {
  fileconv::BatchRunResult result;
  std::filesystem::path outputFile;
  int messages = 0;
  int beeps = 0;
  std::string lastMessage;
  std::string lastCaption;
};

// Runs the batch conversion that `data` describes (the settings in its first bytes, then the
// input file) in the process's scratch folder, and stops with a finding when the run's
// account is broken.
BatchConversionCase RunBatchConversionCase(const std::uint8_t* data, std::size_t size);

}  // namespace tarvo::fuzz
