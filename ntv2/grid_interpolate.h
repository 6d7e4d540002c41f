// The grid of the main window's NTv2 datum change, and the counters of the program run.
//
// The window shifts one point at a time through the transformation chain
// (chain/point_chain.h) with the grid in use. GridForPoint hands it that grid from the
// interpolator's cache, so the file is read once and again only when it changes, and shows
// the message of a file that cannot be used. The interpolator also keeps the three counters
// of the program run (calls, successes, points outside the grid), which only feed the
// caption of the message shown when the file cannot be opened. The caller owns the
// interpolator; there is no process-wide state.
#pragma once

#include <memory>
#include <string>

#include "ntv2/grid_cache.h"
#include "ui/desktop.h"

namespace tarvo::ntv2 {

class GridInterpolator;

// The grid at `gridFilePath` for interpolation, from the interpolator's cache. When it cannot
// be used its message is shown, with the reason (GridOpenReason) under it, and nothing is
// returned:
//   - cannot be opened: "Open failed on Input file and Count", captioned
//     "<<path|calls|successes|outside>>" with the interpolator's counters, error icon;
//   - no valid grid: "Invalid GSB File (4320)", caption "ERROR", error icon.
std::shared_ptr<const GridFile> OpenGridForInterpolation(GridInterpolator& interpolator,
                                                         const std::string& gridFilePath,
                                                         ui::Desktop& desktop);

// The GDA94 -> GDA2020 grid at `path` (grid_datum.h tells which grids are), as
// OpenGridForInterpolation opens it; a grid between other datums is refused with "Not a GDA94
// to GDA2020 grid" (caption "ERROR", error icon) and the path and header datums under it.
std::shared_ptr<const GridFile> OpenGda2020Grid(GridInterpolator& interpolator,
                                                const std::string& path, ui::Desktop& desktop);

class GridInterpolator {
 public:
  // Counters since the interpolator was made: every point shifted or tried, every success,
  // every point outside the grid.
  int calls() const { return calls_; }
  int successes() const { return successes_; }
  int pointsOutside() const { return pointsOutside_; }
  GridCache& cache() { return cache_; }

  // The grid for the datum change of one point, counted as a call; as
  // OpenGridForInterpolation, with its messages, when it cannot be used.
  std::shared_ptr<const GridFile> GridForPoint(const std::string& gridFilePath,
                                               ui::Desktop& desktop);
  // Counts what the shift of that point came to: inside the grid or outside it.
  void CountShift(bool insideGrid) { ++(insideGrid ? successes_ : pointsOutside_); }

 private:
  int calls_ = 0;
  int successes_ = 0;
  int pointsOutside_ = 0;
  GridCache cache_;
};

}  // namespace tarvo::ntv2
