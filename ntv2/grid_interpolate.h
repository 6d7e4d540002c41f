// The NTv2 datum change of one point for the single-point calculation: GridInterpolate.
//
// It moves the stored position (packed values, south and east positive) between the datum
// of the grid file in use (AGD66 or AGD84) and GDA94, by GridFile::Shift (the method, its
// accuracy and the rules at the sub-grid limits are described in ntv2/grid_file.h), and
// writes the accuracy text. The input system tells the direction: "GDA/MGA" is on GDA94 and
// goes to the grid's datum (reverse, three passes); any other system goes to GDA94
// (forward, one pass).
//
// The grid comes from the interpolator's cache, so the file is read once and again only
// when it changes. The interpolator also keeps the three counters of the program run
// (calls, successes, points outside the grid), which only feed the caption of the message
// shown when the file cannot be opened. The caller owns the interpolator; there is no
// process-wide state.
#pragma once

#include <string>
#include <string_view>

#include "ntv2/grid_cache.h"
#include "ui/desktop.h"

namespace tarvo::ntv2 {

// Results of GridInterpolate.
inline constexpr int kGridShifted = 1;
// No sub-grid contains the point. Nothing was shown: the caller says "Point Outside Grid
// Boundary".
inline constexpr int kPointOutsideGrid = -1;
// The grid file cannot be opened or is no valid grid. Its message was shown; the caller
// shows nothing more.
inline constexpr int kGridFileUnusable = -2;

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

class GridInterpolator {
 public:
  // Counters since the interpolator was made: every call, every success, every point
  // outside the grid.
  int calls() const { return calls_; }
  int successes() const { return successes_; }
  int pointsOutside() const { return pointsOutside_; }
  GridCache& cache() { return cache_; }

 private:
  friend int GridInterpolate(GridInterpolator& interpolator, ui::Desktop& desktop,
                             const std::string& gridFilePath, std::string_view inputSystem,
                             double packedLatitude, double packedLongitude, double& latitude,
                             double& longitude, std::string& accuracyText);
  int calls_ = 0;
  int successes_ = 0;
  int pointsOutside_ = 0;
  GridCache cache_;
};

// Shifts the point (packedLatitude, packedLongitude) with the grid at `gridFilePath` in the
// direction `inputSystem` tells. On success returns kGridShifted and sets `latitude` and
// `longitude` (radians, south and east positive) and `accuracyText` ("Acc: Lat 0.012m Long
// 0.034m" or "No Accuracy Available"); otherwise leaves them unchanged and returns
// kPointOutsideGrid or kGridFileUnusable. Messages, for a file that cannot be used only (each
// with the reason under it):
//   - cannot be opened: "Open failed on Input file and Count", captioned
//     "<<path|calls|successes|outside>>", error icon;
//   - no valid grid: "Invalid GSB File (4320)", caption "ERROR", error icon.
int GridInterpolate(GridInterpolator& interpolator, ui::Desktop& desktop,
                    const std::string& gridFilePath, std::string_view inputSystem,
                    double packedLatitude, double packedLongitude, double& latitude,
                    double& longitude, std::string& accuracyText);

}  // namespace tarvo::ntv2
