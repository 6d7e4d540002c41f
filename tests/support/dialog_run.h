// A batch run as the file conversion dialog makes it: the job made from its texts (a
// refusal shown on the desktop, as a run that did not convert) and run; the longest SSV line
// kept in `batch` for the next run.
#pragma once

#include "fileconv/batch_job.h"
#include "fileconv/batch_run.h"

namespace tarvo::testing {

fileconv::BatchRunResult RunDialogSettings(const fileconv::FileConversionSettings& settings,
                                           fileconv::BatchValues& batch,
                                           const engine::TransformSettings& transform,
                                           const fileconv::JobChoices& choices,
                                           const fileconv::BatchRunOptions& options,
                                           ui::Desktop& desktop);

}  // namespace tarvo::testing
