// Reading what a grid file's headers say, for the grid file dialog (ReadGridHeader) and for
// the sub-grid outlines on the main window's map (ReadSubGridExtents).
//
// Both read the file through GridFile::Open, so a file whose headers claim records it does
// not hold is refused like one of unknown layout, with the caller's "Invalid GSB File"
// message.
#pragma once

#include <string>
#include <vector>

#include "ntv2/grid_choice.h"
#include "ntv2/grid_messages.h"
#include "ui/desktop.h"

namespace tarvo::ntv2 {

// The grid file dialog's texts that ReadGridHeader fills, with their initial values.
struct GridHeaderTexts {
  std::string format = "Grid Format";  // "Canadian NTv2" or "Australian NTv2"
  std::string datum = "AGD66/84";      // "AGD66" or "AGD84"
  std::string maxLatitude;             // the southern extent
  std::string minLatitude;             // the northern extent
  std::string maxLongitude;            // the eastern extent
  std::string minLongitude;            // the western extent
  // The last file whose header was read successfully (the dialog's OK takes it).
  std::string pendingPath;
};

// Reads the header of the grid file at `path` for `caller` (kStoredPath, kGetGsbFile or
// kListChoice) into `texts`:
//   - format: the layout found; on failure the last one tried ("Australian NTv2"), unless
//     the layout was found and the file is corrupt, when it keeps that layout's name;
//   - datum: DetectGridDatum on the first sub-grid's name (which may ask the user and change
//     `grid`);
//   - the four extents: over all sub-grids, south = the smallest south limit, north = the
//     largest north limit, east = the smallest east limit, west = the largest west limit
//     (file units, north and west positive). Each running value starts at 0 and is replaced
//     outright while it is -1 or more, so the first Australian sub-grid sets all four.
//     Written by ExtentLatitudeText / ExtentLongitudeText;
//   - pendingPath = path.
// For a list choice the sub-grid counts read are shown first ("Number of Files"). A file
// that cannot be used shows "Invalid GSB File (<code>)" with the reason under it (as
// GridOpenReason gives it), leaves every text but the format
// as it was, and returns false.
bool ReadGridHeader(const std::string& path, GridCaller caller, GridHeaderTexts& texts,
                    GridChoice& grid, ui::Desktop& desktop);

// An extent (arc seconds, positive south or east) as the dialog shows it: degrees, the
// degree sign (0xB0), two-digit minutes, seconds to three decimals with two digits before
// the point, the second mark: "-45\xB0 00' 00.000\"" for latitudes (always with the minus
// of a southern latitude), "153\xB0 20' 59.000\"" for longitudes. Seconds above 59.9 carry
// into the minute.
std::string ExtentLatitudeText(double seconds);
std::string ExtentLongitudeText(double seconds);

// A sub-grid's limits in degrees, south latitudes and east longitudes positive.
struct SubGridExtent {
  double west = 0.0;
  double east = 0.0;
  double north = 0.0;
  double south = 0.0;
};

struct SubGridExtents {
  int count = -1;                       // -1: the file cannot be used
  std::vector<SubGridExtent> subGrids;  // in file order, `count` of them
};

// The limits of every sub-grid of the grid file at `gridFilePath`. A file that cannot be
// used shows "Invalid GSB File (884)", with the reason under it, and gives count -1.
SubGridExtents ReadSubGridExtents(const std::string& gridFilePath, ui::Desktop& desktop);

}  // namespace tarvo::ntv2
