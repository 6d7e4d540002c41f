// Which datums a grid file shifts between: GDA94 and GDA2020 (Gda2020GridFrom), or else
// which AGD datum it shifts to GDA94 from, AGD66 or AGD84 (DetectGridDatum).
//
// NTv2 files carry the datum only as free text, so the AGD datum is decided by convention:
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
//
// A GDA94 -> GDA2020 grid must be recognised before those rules, which know nothing of
// GDA2020: its sub-grid names may hold "NT", "SA" or "TAS" as well as an AGD grid's. Its
// overview header tells (the ICSM grids say SYSTEM_F "GDA94", SYSTEM_T "GDA2020"), and only
// where the header names no datum does the file name:
//   1. SYSTEM_F and SYSTEM_T (each up to a NUL, blanks trimmed, any case): "GDA94" and
//      "GDA2020" is a GDA94 -> GDA2020 grid; any other pair that names GDA2020 (the reverse
//      direction, or from AGD66 or AGD84) is a grid the program cannot use; a pair that names
//      AGD66, AGD84 or GDA94 without GDA2020 is an AGD grid;
//   2. otherwise, when the file's own name (not its folders') holds "GDA2020" in any case,
//      a GDA94 -> GDA2020 grid;
//   3. otherwise an AGD grid, for the rules above.
// Sub-grid names are not used here: no convention is known by which a GDA2020 grid's
// sub-grid names tell its datums (the islands' grids call theirs "XMAS_C1" and "COCOS_C1").
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

enum class Gda2020Grid {
  kNone,            // an AGD grid: DetectGridDatum tells its datum
  kGda94ToGda2020,  // forward GDA94 -> GDA2020, reverse GDA2020 -> GDA94
  kUnusable,        // names GDA2020, but not as GDA94 -> GDA2020
};

// The GDA2020 rules for a grid whose overview header holds `systemFrom` and `systemTo` (the
// 8 characters as read), at `path`.
Gda2020Grid Gda2020GridFrom(std::string_view systemFrom, std::string_view systemTo,
                            std::string_view path);

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
