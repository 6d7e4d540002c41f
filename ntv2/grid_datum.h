// Which AGD datum a grid file shifts from: AGD66 or AGD84.
//
// NTv2 files carry the datum only as free text, so it is decided by convention:
//   1. the first sub-grid's name (its 8 characters, up to a NUL) holds "BROOME", "NTH",
//      "GERALD", "GREAT SW", "KPH", "S CENTRE" or "WA STATE": AGD84 (the Western
//      Australian, Northern Territory and South Australian grids on AGD84);
//   2. otherwise "NSW", "VIC", "TAS", "NT" or "MELB": AGD66 ("NTH" was tested first, so it
//      is not taken as "NT");
//   3. otherwise "QLD" or "SA": AGD84;
//   4. otherwise the path: "84" without "66" is AGD84, "66" without "84" AGD66, and the grid
//      method is set to match;
//   5. otherwise the user is asked (an error message, then the datum choice dialog).
// Substrings are matched case-sensitively anywhere in the text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ntv2/grid_choice.h"
#include "ntv2/grid_messages.h"
#include "ui/desktop.h"

namespace tarvo::ntv2 {

inline constexpr std::string_view kAgd66Text = "AGD66";
inline constexpr std::string_view kAgd84Text = "AGD84";

// Rules 1 to 3: the datum a sub-grid name tells, if any.
std::optional<std::string_view> DatumFromSubGridName(std::string_view subGridName);

// Rule 4: the datum a grid file's path tells, if any.
std::optional<std::string_view> DatumFromPath(std::string_view path);

// Rules 1 to 5 for a file read by `caller` (the grid file dialog's callers). Returns the
// datum text, or `currentDatum` when the user leaves the datum choice dialog without OK.
//   - Rule 4 sets grid.gridMethod; for a list choice it first copies `path` into
//     grid.gridFilePath.
//   - Rule 5 shows "Unable to determine Datum 66/84" (error icon, caption "ERROR", or the
//     current datum text after "Get GSB File"), then the datum choice dialog, which sets
//     grid.gridMethod on OK; the result then follows grid.gridMethod.
std::string DetectGridDatum(std::string_view subGridName, const std::string& path,
                            GridCaller caller, const std::string& currentDatum, GridChoice& grid,
                            ui::Desktop& desktop);

}  // namespace tarvo::ntv2
