// Whether a batch run needs an NTv2 grid. The grid is read once before the first record,
// through the program's grid cache (ntv2::OpenGridForInterpolation, which reports a file
// that cannot be used with the messages of the single-point datum change), and the chain
// shifts every record by it without touching the file system again.
#pragma once

#include "fileconv/file_conversion_settings.h"
#include "ntv2/grid_choice.h"

namespace tarvo::fileconv {

// True when a run with these settings changes the datum by an NTv2 grid: the High Accuracy
// method, exactly one side on an AGD datum, and a grid file method (not the NSW MRE
// programs, which the run refuses with its own message).
bool RunNeedsGrid(const FileConversionSettings& settings, ntv2::GridMethod gridMethod);

// True when a run with these settings changes between GDA94 and GDA2020 by the grid's GDA94
// -> GDA2020 grid: the High Accuracy method, exactly one side on GDA2020, and such a grid
// chosen (without one the step is the 7-parameter similarity).
bool RunNeedsGda2020Grid(const FileConversionSettings& settings, const ntv2::GridChoice& grid);

}  // namespace tarvo::fileconv
