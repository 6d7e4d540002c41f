// The messages about grid files that the program's windows show: the grid file reader itself
// (grid_file.h, grid_layout.h) shows none, it says why a file cannot be used, and each caller
// shows its message with that reason under it.
#pragma once

#include <string>
#include <string_view>

#include "ntv2/grid_layout.h"
#include "ui/desktop.h"

namespace tarvo::ntv2 {

// Who asked for a grid file to be read. The value is the number the "Invalid GSB File"
// message quotes, so a user's report says which operation met the bad file.
enum class GridCaller : int {
  kStoredPath = 709,      // the grid file dialog opening with a stored path
  kGetGsbFile = 370,      // the dialog's "Get GSB File" button
  kListChoice = 543,      // a choice from the dialog's list of files
  kSubGridExtents = 884,  // the sub-grid outlines of the main window's map
  kInterpolation = 4320,  // the datum change of a point
};

// For a list choice: each sub-grid count the layout test read, in the order it was read, in
// a "Number of Files" box with the count as caption (question icon). Other callers show
// nothing.
void ShowSubGridCounts(ui::Desktop& desktop, GridCaller caller, const LayoutDetection& detection);

// "Invalid GSB File (<code>)" with an error icon and `reason` under it; the caption is
// "ERROR", or the file path for a list choice.
void ShowInvalidGridFile(ui::Desktop& desktop, GridCaller caller, const std::string& path,
                         std::string_view reason);

}  // namespace tarvo::ntv2
