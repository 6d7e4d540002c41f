// The job of a command-line conversion (tarvo-convert, and tarvo.convert_file in Python),
// made exactly as the file conversion dialog's "&Calculate" would make it.
//
// The settings start where the program's do, in a folder: tarvofile.dat (the file
// conversion settings), tarvo_prm.dat (method, input notation, parameter set, grid method
// and file) and Tarvo.var (the 7-parameter set); without a folder, at the program's
// defaults. The options replace single settings in the order the program would apply them:
// first the transformation settings (method, parameters, grid, input notation), then what
// the dialog takes over from them when it opens (TakeMethodSettings), then the dialog's own
// settings, each changed as picking it in the dialog changes it (a new input system adjusts
// the zone, new input units reset the height field). The texts then become the job through
// the dialog's one rule (batch_job.h), and its refusals name where each setting came from:
// the line of tarvofile.dat or tarvo_prm.dat, or the option.
//
// A damaged tarvo_prm.dat is not used, with a warning that says why; a 7-parameter set no
// transformation can use (from Tarvo.var or --params) refuses a run by the 7-parameter
// method. "-" as the input or output file name is standard input or output.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "fileconv/batch_job.h"
#include "fileconv/batch_run.h"
#include "fileconv/convert_options.h"
#include "ui/desktop.h"

namespace tarvo::fileconv {

// A command-line conversion ready to run, or why it is not.
struct ConvertJob {
  // None: the desktop was told why (a refused setting, a grid that cannot be used), or an
  // option the settings cannot take (usageError).
  std::optional<BatchJob> job;
  std::string usageError;
  bool gridUnusable = false;  // the refusal was the grid file's
  BatchRunOptions run;  // what to do with bad records; no progress
};

// The job of `options` over the settings files of `folder` (none: the program's defaults).
ConvertJob MakeConvertJob(const ConvertOptions& options,
                          const std::optional<std::filesystem::path>& folder, ui::Desktop& desktop);

}  // namespace tarvo::fileconv
