// An NTv2 grid shift file held in memory, and the datum shift of one point by bilinear
// interpolation in it.
//
// GridFile::Open reads a file whole (layouts: ntv2/grid_layout.h), checks that every header
// and node record its headers announce lies inside the file and that every node holds
// finite, plausible values (shifts within one degree, accuracies within 1e4 seconds), and
// keeps the sub-grid headers and all node records. It shows no messages: it says why a file
// cannot be used, and each caller shows its own message with that reason under it.
//
// GridFile::Shift moves one point between the grid's source datum (SYSTEM_F) and its target
// datum (SYSTEM_T): AGD66 or AGD84 and GDA94, or GDA94 and GDA2020 (ntv2/grid_datum.h tells
// which); "forward" is from the source to the target, "reverse" the other way:
//   - The point is taken as packed DDD.MMSSsss values (south and east positive) and turned
//     into arc seconds in the file convention (north and west positive). The seconds are
//     snapped to the nearest 1e-8 second (0.3 micrometres on the ground), so that a position
//     typed as whole or simply decimal seconds is exact: a point on a limit is inside the
//     sub-grid and a point on a node takes exactly that node's shifts.
//   - The sub-grid is the one with the smallest latitude increment among those containing
//     the point (all bounds inclusive), the first in file order on equal increments; it is
//     chosen once, at the input point, and kept for every pass.
//   - The shift is the bilinear interpolation of the four nodes around the point, in double
//     precision:  v = A + (B - A)x + (C - A)y + (A - B - C + D)xy  with A the node south-east
//     of the point, B one column west, C one row north, D north-west, and x, y the point's
//     position in the cell as fractions of the increments.
//   - Forward (source to target) applies the shift once: phi' = phi + dphi. Reverse (target
//     to source) solves phi = phi' + dphi(phi') by three fixed-point passes
//     phi'_{k+1} = phi - dphi(phi'_k), starting at the target position. Each pass shrinks the
//     error by the shift's rate of change with position (about 1e-4 second per second in
//     the national AGD grids, 1e-5 in the GDA2020 island grids), so three passes agree with
//     an exact inverse to far below a millimetre.
//   - On the north or west limit of a sub-grid the node one row north or one column west
//     does not exist; the limit row or column is taken again (its weight is zero there, so
//     the shifts are those of the limit). A reverse estimate that strays outside the chosen
//     sub-grid uses its nearest edge cell: extrapolated linearly beyond the south and east
//     limits, held at the limit beyond the north and west ones. Nothing is ever read outside
//     the sub-grid's own records.
//   - Accuracy: when the latitude accuracies of the four nodes are all 0 or more, the
//     bilinear accuracies (arc seconds) become metres on the grid's source ellipsoid:
//     latitude  acc_phi * a * (pi / 648000), longitude  acc_lambda * cos(phi_in) * a *
//     (pi / 648000), with phi_in the input latitude. Otherwise no accuracy is known.
//
// Shift is pure (no messages, no counters, no I/O) and cheap: the batch conversion opens a
// grid once per run and calls it per record. A GridFile is immutable after Open and may be
// shared by any number of readers. A caller that shifts point after point keeps a
// SubGridHint of its own (one per thread) and passes it in: the sub-grid of the last point
// is tried first, which spares the search but never changes the sub-grid chosen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ntv2/grid_layout.h"

namespace tarvo::ntv2 {

enum class GridOpenError {
  kNone,
  kCannotOpen,     // the file does not exist or cannot be read
  kInvalidLayout,  // neither sub-grid count is 1 to 30
  kCorrupt,        // the headers claim records the file does not hold, or describe no grid,
                   // or a node holds a value no shift can mean (below)
};

struct GridOpenStatus {
  GridOpenError error = GridOpenError::kNone;
  // What the layout test read (empty when the file could not be opened).
  LayoutDetection detection;
  // Why the file cannot be used, quoting the values: "sub-grid NSW_0701: GS_COUNT(100) does
  // not match expected cells (11x10)", "NUM_FILE reads 0 (Canadian layout) and 48
  // (Australian layout); ...", the system's reason a file cannot be opened, or for a file
  // that is no regular file "PATH is a folder, not a grid file", "PATH is not a regular file".
  std::string detail;
  // The file exists but is a folder, pipe or device: `detail` is a sentence naming it.
  bool notRegularFile = false;
};

// The reason a file cannot be used as callers show it under their message: the file's path
// and the status's detail ("grids/nat.gsb: sub-grid NSW_0701: GS_COUNT(100) ...").
std::string GridOpenReason(const std::string& path, const GridOpenStatus& status);

// One sub-grid's header. Limits and increments are arc seconds in the file convention
// (latitudes positive north, longitudes positive west).
struct SubGrid {
  std::string name;    // the 8 characters as read
  std::string parent;  // the 8 characters as read
  double south = 0.0;
  double north = 0.0;
  double east = 0.0;
  double west = 0.0;
  double latitudeIncrement = 0.0;
  double longitudeIncrement = 0.0;
  std::int32_t nodeCount = 0;
  // Columns C = trunc(trunc(W - E) / dlambda + 1 + 0.49); rows alike from N - S. The node
  // count is rows * columns (checked by Open).
  int columns = 0;
  int rows = 0;
};

// The sub-grid header that `header` starts with (at least layout.subGrid.size bytes), as
// read: name, parent, limits, increments and node count; rows and columns are not counted.
// GridFile::Open and the text export (grid_export.h) both read sub-grid headers by it.
SubGrid ReadSubGridHeader(const unsigned char* header, const GridLayout& layout);

// One node record, as stored in the file: arc seconds, longitude shift positive west; a
// negative accuracy means none is known.
struct GridNode {
  float latitudeShift;
  float longitudeShift;
  float latitudeAccuracy;
  float longitudeAccuracy;
};
static_assert(sizeof(GridNode) == kNodeRecordSize);

// The result of shifting one point.
struct GridShift {
  double latitude = 0.0;   // radians, south positive
  double longitude = 0.0;  // radians, east positive
  bool accuracyKnown = false;
  double latitudeAccuracy = 0.0;   // metres (when known)
  double longitudeAccuracy = 0.0;  // metres (when known)
  int subGrid = -1;                // index, in file order, of the sub-grid used
};

// The sub-grid a caller's last point fell in, kept by the caller from one Shift to the next.
// A point inside it is placed there at once when no sub-grid the selection rule tries first
// overlaps it there; any other point, and a hint from another grid, goes through the whole
// search, which updates the hint.
struct SubGridHint {
  int searchIndex = -1;  // the sub-grid's place in the search order; -1 before the first point
};

// Whether Shift computes the accuracies (a batch conversion writes none).
enum class ShiftAccuracy { Computed, Skipped };

// "Acc: Lat %.3fm Long %.3fm" with the two accuracies, or "No Accuracy Available".
std::string AccuracyText(const GridShift& shift);

class GridFile {
 public:
  // Reads the file at `path` whole. On failure returns nullptr and says why in `status`;
  // on success `status.detection` tells what the layout test read. The caller owns the
  // result.
  static std::unique_ptr<GridFile> Open(const std::filesystem::path& path, GridOpenStatus& status);

  GridFile(const GridFile&) = delete;
  GridFile& operator=(const GridFile&) = delete;

  const GridLayout& layout() const { return *detection_.layout; }
  // What the layout test read when the file was opened.
  const LayoutDetection& detection() const { return detection_; }
  // The source ellipsoid's semi-major axis from the overview header, metres.
  double sourceSemiMajorAxis() const { return sourceSemiMajorAxis_; }
  // The source and target datum names of the overview header (SYSTEM_F, SYSTEM_T): the 8
  // characters as read, such as "AGD66   " and "GDA94   ", or "GDA94   " and "GDA2020 ".
  const std::string& systemFrom() const { return systemFrom_; }
  const std::string& systemTo() const { return systemTo_; }
  // In file order.
  std::span<const SubGrid> subGrids() const { return subGrids_; }
  // Node `row` (from the south), `column` (from the east) of sub-grid `subGrid`.
  const GridNode& Node(int subGrid, int row, int column) const;

  // Moves a point (packed values, south and east positive) from the grid's source datum to
  // its target datum, or with `reverse` back. Nothing when no sub-grid contains it or a value
  // is no packed angle.
  std::optional<GridShift> Shift(double packedLatitude, double packedLongitude, bool reverse) const;
  // The same, trying the sub-grid of `hint` first and leaving the sub-grid used in it; with
  // ShiftAccuracy::Skipped no accuracy is computed (accuracyKnown is false).
  std::optional<GridShift> Shift(double packedLatitude, double packedLongitude, bool reverse,
                                 SubGridHint& hint, ShiftAccuracy accuracy) const;

 private:
  GridFile() = default;

  // A sub-grid's bounds as the search needs them, in the order the search tries them, and
  // the earlier entries whose bounds meet its own: shadows_[firstShadow, + shadowCount).
  struct SearchEntry {
    double south;
    double north;
    double east;
    double west;
    int subGrid;
    std::uint32_t firstShadow;
    std::uint32_t shadowCount;

    bool Contains(double phi, double lambda) const {
      return south <= phi && phi <= north && east <= lambda && lambda <= west;
    }
  };

  // The search order's index of the sub-grid that holds a point (file units), or -1.
  int FindEntry(double phi, double lambda, const SubGridHint* hint) const;
  std::optional<GridShift> ShiftAt(double packedLatitude, double packedLongitude, bool reverse,
                                   SubGridHint* hint, ShiftAccuracy accuracy) const;

  LayoutDetection detection_;
  double sourceSemiMajorAxis_ = 0.0;
  std::string systemFrom_;
  std::string systemTo_;
  std::vector<SubGrid> subGrids_;
  std::vector<std::size_t> firstNode_;  // per sub-grid, its first record in nodes_
  std::vector<GridNode> nodes_;         // every sub-grid's records, in file order
  std::vector<SearchEntry> searchOrder_;
  std::vector<int> shadows_;  // indices into searchOrder_
};

}  // namespace tarvo::ntv2
