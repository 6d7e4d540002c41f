// The NTv2 grid of a batch run: read once before the first record, through the program's
// grid cache, and used for every record without touching the file system again.
//
// Per record the shift is GridFile::Shift itself (ntv2/grid_file.h): forward from the grid's
// datum to GDA94, or reverse from GDA94, as the run's systems say. A file that cannot be used
// is reported with the same messages as the single-point datum change (GridInterpolate).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "fileconv/file_conversion_settings.h"
#include "fileconv/record_chain.h"
#include "ntv2/grid_file.h"
#include "ntv2/grid_interpolate.h"
#include "ui/desktop.h"

namespace tarvo::fileconv {

// True when a run with these settings changes the datum by an NTv2 grid: the High Accuracy
// method, exactly one side on GDA94, and a grid file method (not the NSW MRE programs, which
// the run refuses with its own message).
bool RunNeedsGrid(const FileConversionSettings& settings, int gridMethod);

// The shift of a run by a grid already read: GridFile::Shift per record, starting its search
// at the sub-grid of the record before and computing no accuracy. That sub-grid is kept in
// the function object: threads that shift at the same time each need a copy of their own.
GridShift ShiftByGrid(std::shared_ptr<const ntv2::GridFile> grid);

// The shift of a run with the grid at `gridFilePath`, read now (or taken from the cache when
// the file is unchanged). Nothing, after the message of ntv2::OpenGridForInterpolation, when
// the file cannot be used.
std::optional<GridShift> PrepareGridShift(ntv2::GridInterpolator& interpolator,
                                          const std::string& gridFilePath, ui::Desktop& desktop);

}  // namespace tarvo::fileconv
