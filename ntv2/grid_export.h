// The text export of an NTv2 grid shift file: every header record and every node record of
// the grid written as a readable line, into a text file beside the grid.
//
// The text file's name is the grid file's path with its last three characters replaced by
// "asc" ("grids/nat.gsb" gives "grids/nat.asc"). Its lines, in file order:
//   overview records 1-3 (integers)       "%8s%3d"        label, value
//   overview records 4-7 (texts)          "%16s"          the whole 16-byte record
//   overview records 8-11 (reals)         "%8s%12.3f"     label, value
//   per sub-grid: header records 1-4      "%16s"
//                 header records 5-10     "%8s%15.6f"     label, value
//                 header record 11        "%8s %d"        label, node count
//                 one line per node       "%10.6f%10.6f%10.6f%10.6f"
//                                          latitude shift, longitude shift (positive west),
//                                          latitude accuracy, longitude accuracy, arc seconds
// Labels and text records are printed as read, up to their first NUL. Every line ends with
// "\n". The number of sub-grids is the overview's count, the number of node lines of a
// sub-grid its header's count.
//
// The header layout ("Canadian NTv2" or "Australian NTv2", see grid_layout.h) is detected
// from the file itself, so a file whose name says nothing about its layout exports right.
//
// The export streams: it reads one header or node record at a time and writes through a
// small buffer, so its memory does not grow with the grid (grids run to hundreds of
// megabytes). It works without a dialog: it shows the sub-grid being written and its
// progress through callbacks, and its messages through the Desktop.
//
// The text file is written as a temporary file beside it (text/atomic_file.h) that takes its
// name once every line is written: a failed write (a full disk) leaves an earlier text file
// as it was.
//
// Before anything is written it refuses, with a message, a grid file that cannot be opened
// or is no regular file (a folder, a pipe, a device), a text file name that is the grid file
// itself (a grid already named "...asc"), a file of
// neither layout, and a text file that cannot be created; it asks before replacing an
// existing text file. A grid file shorter than its headers claim is exported as far as it
// goes, and the export says the text file is incomplete.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ui/desktop.h"

namespace tarvo::ntv2 {

struct GridExportCallbacks {
  // The text of a sub-grid's first header record (its label and name, "SUB_NAMEEX1_0601"),
  // as soon as it is read.
  std::function<void(const std::string& subGridRecord)> subGridStarted;
  // The nodes of the current sub-grid written so far, out of `total`: at 0, about every
  // hundredth of the sub-grid, and at `total` when it is done.
  std::function<void(int written, int total)> progress;
};

enum class GridExportStatus {
  kRefused,     // nothing was written (a message said why, or the user kept the old file)
  kComplete,    // every record the headers announce was written
  kIncomplete,  // the grid file ended before its headers' records did
  kWriteFailed  // the text file could not be written completely
};

struct GridExportResult {
  GridExportStatus status = GridExportStatus::kRefused;
  std::string textPath;     // the text file's path, once it is known
  std::uint64_t lines = 0;  // lines written
};

// The text file's path for the grid file at `gridPath`: its last three characters replaced
// by "asc". Nothing when the file name is shorter than three characters (the replacement
// would reach into the folder's name).
std::optional<std::string> GridTextPath(const std::string& gridPath);

// Writes the text export of the grid file at `gridPath`. Messages:
//   - "Open failed on input file" (caption "ERROR", OK and Cancel) when it cannot be read;
//   - an error naming the file when the text file would be the grid file itself, when the
//     file is of neither layout, or when the text file cannot be created;
//   - "File Exists Overwrite" (Yes/No) with the text file's path when it exists already;
//   - at the end, "ASCII FILE COMPLETE" with the text file's path (information icon),
//     followed for a grid file that ended early by a warning that the text file is
//     incomplete; a failed write shows an error instead.
GridExportResult ExportGridText(const std::string& gridPath, const GridExportCallbacks& callbacks,
                                ui::Desktop& desktop);

// The node line of one node record, exactly as "%10.6f%10.6f%10.6f%10.6f\n" in the C locale
// prints the four values.
std::string GridNodeLine(float latitudeShift, float longitudeShift, float latitudeAccuracy,
                         float longitudeAccuracy);

}  // namespace tarvo::ntv2
