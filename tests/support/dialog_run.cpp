#include "tests/support/dialog_run.h"

namespace tarvo::testing {

fileconv::BatchRunResult RunDialogSettings(const fileconv::FileConversionSettings& settings,
                                           fileconv::BatchValues& batch,
                                           const engine::TransformSettings& transform,
                                           const fileconv::JobChoices& choices,
                                           const fileconv::BatchRunOptions& options,
                                           ui::Desktop& desktop) {
  const auto job = fileconv::MakeBatchJob(settings, batch, transform, choices, desktop);
  if (!job) return {};
  fileconv::BatchRunResult result = fileconv::RunBatchConversion(*job, options, desktop);
  batch.longestLineLength = result.longestLineLength;
  return result;
}

}  // namespace tarvo::testing
