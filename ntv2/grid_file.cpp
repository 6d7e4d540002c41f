#include "ntv2/grid_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdio>

#include "angles/fixed_decimal.h"
#include "angles/packed_angle.h"
#include "text/line_input.h"
#include "text/number_text.h"

namespace tarvo::ntv2 {
namespace {

// Radians per arc second (pi / 648000), the program's constant.
constexpr double kRadiansPerSecond = angles::kRadiansPerSecond;

// Seconds are snapped to multiples of 1e-8": far below the 0.0001" a surveyor types (3 mm)
// and far above the rounding of the packed-to-seconds conversion (about 1e-10" at 180
// degrees), so whole and decimal seconds come out exact.
constexpr double kSnapsPerSecond = 1e8;

double SnappedSeconds(double radians) {
  return angles::detail::RoundHalfAway(radians / kRadiansPerSecond * kSnapsPerSecond) /
         kSnapsPerSecond;
}

bool ReadAt(std::FILE* in, std::uint64_t offset, void* destination, std::uint64_t count) {
  return ::fseeko(in, static_cast<off_t>(offset), SEEK_SET) == 0 &&
         std::fread(destination, 1, count, in) == count;
}

// C = trunc(trunc(W - E) / dlambda + 1 + 0.49): the difference of the limits is truncated to
// whole seconds before the division, as the files' producers count columns. Nothing when
// the result is no usable count.
std::optional<int> CellCount(double low, double high, double increment) {
  const double count = std::trunc(std::trunc(high - low) / increment + 1.0 + 0.49);
  if (!(count >= 1.0 && count <= static_cast<double>(INT_MAX))) return std::nullopt;
  return static_cast<int>(count);
}

// The 8 characters of a label's value as read, NULs included.
std::string Characters(const unsigned char* bytes) {
  return std::string(reinterpret_cast<const char*>(bytes), 8);
}

// The printable name of a sub-grid for diagnostics: up to its first NUL, blanks trimmed.
std::string Printable(const std::string& name) {
  std::string shown = name.substr(0, name.find('\0'));
  while (!shown.empty() && shown.back() == ' ') shown.pop_back();
  return shown;
}

// Why the layout test found no layout: the sub-grid counts it read (NUM_FILE), or a file too
// short to hold them.
std::string LayoutReason(const LayoutDetection& detection, std::uintmax_t fileSize) {
  if (!detection.canadianCount || !detection.australianCount) {
    return text::Format("the file holds %ju bytes, too few for a grid's overview header", fileSize);
  }
  return text::Format(
      "NUM_FILE reads %d (Canadian layout) and %d (Australian layout); a grid "
      "has 1 to 30 sub-grids",
      static_cast<int>(*detection.canadianCount), static_cast<int>(*detection.australianCount));
}

// The values a node may hold. The datum shifts of the region are a few seconds of arc (about
// 200 m); a shift beyond one degree, an accuracy beyond 1e4 seconds (300 km) or any value
// that is not finite is no shift a grid can mean, and would flow into every coordinate
// interpolated near it. A negative accuracy is the file's way of saying none is known.
constexpr double kMaxShiftSeconds = 3600.0;
constexpr double kMaxAccuracySeconds = 1e4;

// What is wrong with a node's values, or nothing.
std::optional<std::string> NodeProblem(const GridNode& node) {
  struct Value {
    const char* name;
    float value;
    double limit;
  };
  const Value values[] = {{"latitude shift", node.latitudeShift, kMaxShiftSeconds},
                          {"longitude shift", node.longitudeShift, kMaxShiftSeconds},
                          {"latitude accuracy", node.latitudeAccuracy, kMaxAccuracySeconds},
                          {"longitude accuracy", node.longitudeAccuracy, kMaxAccuracySeconds}};
  for (const Value& v : values) {
    if (!std::isfinite(v.value)) return text::Format("%s %g is not a number", v.name, v.value);
    const bool accuracy = v.limit == kMaxAccuracySeconds;
    if ((accuracy ? v.value : std::fabs(v.value)) > v.limit) {
      return text::Format("%s of %g\" is beyond %g\"", v.name, v.value, v.limit);
    }
  }
  return std::nullopt;
}

// The four nodes around a point and its place in their cell.
struct Cell {
  const GridNode* a;  // south-east corner
  const GridNode* b;  // one column west
  const GridNode* c;  // one row north
  const GridNode* d;  // north-west
  double x;           // fraction of the longitude increment west of a
  double y;           // fraction of the latitude increment north of a
};

double Bilinear(const Cell& cell, float GridNode::*value) {
  const double a = cell.a->*value;
  const double b = cell.b->*value;
  const double c = cell.c->*value;
  const double d = cell.d->*value;
  return a + (b - a) * cell.x + (c - a) * cell.y + (a - b - c + d) * cell.x * cell.y;
}

// Row or column index of a position: trunc((p - limit) / increment), kept inside 0 ... last
// (NaN counts as 0). Estimates of a reverse pass may lie outside the sub-grid.
double IndexInside(double position, double limit, double increment, int count) {
  const double index = std::trunc((position - limit) / increment);
  if (!(index >= 0.0)) return 0.0;
  return std::min(index, static_cast<double>(count - 1));
}

}  // namespace

std::string GridOpenReason(const std::string& path, const GridOpenStatus& status) {
  if (status.notRegularFile) return status.detail;
  return path + ": " + status.detail;
}

std::string AccuracyText(const GridShift& shift) {
  if (!shift.accuracyKnown) return "No Accuracy Available";
  return text::Format("Acc: Lat %.3fm Long %.3fm", shift.latitudeAccuracy, shift.longitudeAccuracy);
}

SubGrid ReadSubGridHeader(const unsigned char* header, const GridLayout& layout) {
  const SubGridOffsets& h = layout.subGrid;
  SubGrid s;
  s.name = Characters(header + h.name);
  s.parent = Characters(header + h.parent);
  s.south = detail::LoadFloat64(header + h.south);
  s.north = detail::LoadFloat64(header + h.north);
  s.east = detail::LoadFloat64(header + h.east);
  s.west = detail::LoadFloat64(header + h.west);
  s.latitudeIncrement = detail::LoadFloat64(header + h.latitudeIncrement);
  s.longitudeIncrement = detail::LoadFloat64(header + h.longitudeIncrement);
  s.nodeCount = detail::LoadInt32(header + h.nodeCount);
  return s;
}

std::unique_ptr<GridFile> GridFile::Open(const std::filesystem::path& path,
                                         GridOpenStatus& status) {
  status = {};
  auto fail = [&status](GridOpenError error, std::string detail = {}) {
    status.error = error;
    status.detail = std::move(detail);
    return nullptr;
  };

  // Only a regular file is read: a folder, pipe or device is refused, with the reason.
  text::OpenedFile opened = text::OpenRegularFile(path, "grid file");
  struct stat fileStatus {};
  if (!opened.refusal.empty()) {
    status.notRegularFile = true;
    return fail(GridOpenError::kCannotOpen, std::move(opened.refusal));
  }
  if (!opened.file || ::fstat(::fileno(opened.file.get()), &fileStatus) != 0) {
    std::error_code missing;
    (void)std::filesystem::status(path, missing);
    return fail(GridOpenError::kCannotOpen,
                missing ? missing.message() : std::string("the file cannot be read"));
  }
  std::FILE* const in = opened.file.get();
  const auto fileSize = static_cast<std::uintmax_t>(fileStatus.st_size);

  // The overview header; a file shorter than the Canadian one still gets the layout test on
  // what it holds.
  std::array<unsigned char, kCanadianLayout.overview.size> overview{};
  const auto overviewRead = std::min<std::uintmax_t>(overview.size(), fileSize);
  if (!ReadAt(in, 0, overview.data(), overviewRead)) {
    return fail(GridOpenError::kCannotOpen, "the file cannot be read");
  }
  status.detection = DetectGridLayout(std::span(overview.data(), overviewRead));
  if (status.detection.layout == nullptr) {
    return fail(GridOpenError::kInvalidLayout, LayoutReason(status.detection, fileSize));
  }

  const GridLayout& layout = *status.detection.layout;
  const OverviewOffsets& o = layout.overview;
  const SubGridOffsets& h = layout.subGrid;
  if (fileSize < static_cast<std::uintmax_t>(o.size)) {
    return fail(
        GridOpenError::kCorrupt,
        text::Format("the overview header needs %d bytes; the file has %ju", o.size, fileSize));
  }

  std::unique_ptr<GridFile> grid(new GridFile);
  grid->detection_ = status.detection;
  grid->sourceSemiMajorAxis_ = detail::LoadFloat64(overview.data() + o.sourceSemiMajorAxis);
  grid->systemFrom_ = Characters(overview.data() + o.sourceDatum);
  grid->systemTo_ = Characters(overview.data() + o.targetDatum);
  // The accuracies are turned into metres on this axis.
  if (!std::isfinite(grid->sourceSemiMajorAxis_)) {
    return fail(GridOpenError::kCorrupt,
                text::Format("SMAJOR_F(%g) is not a number", grid->sourceSemiMajorAxis_));
  }

  // Walk the sub-grid headers, checking each against the file's size before it is used.
  std::uint64_t headerAt = static_cast<std::uint64_t>(o.size);
  std::uint64_t totalNodes = 0;
  std::vector<std::uint64_t> nodesAt;
  std::array<unsigned char, kCanadianLayout.subGrid.size> header{};
  for (int i = 0; i < status.detection.subGridCount; ++i) {
    if (headerAt + static_cast<std::uint64_t>(h.size) > fileSize) {
      return fail(GridOpenError::kCorrupt,
                  text::Format("sub-grid %d: its header at byte %ju lies beyond the end of "
                               "the file (%ju bytes)",
                               i + 1, static_cast<std::uintmax_t>(headerAt), fileSize));
    }
    if (!ReadAt(in, headerAt, header.data(), static_cast<std::uint64_t>(h.size))) {
      return fail(GridOpenError::kCannotOpen, "the file cannot be read");
    }
    SubGrid s = ReadSubGridHeader(header.data(), layout);
    const std::string name = Printable(s.name);

    for (const double limit : {s.south, s.north, s.east, s.west}) {
      if (!std::isfinite(limit)) {
        return fail(GridOpenError::kCorrupt,
                    text::Format("sub-grid %s: a limit is not a number", name.c_str()));
      }
    }
    if (!(s.latitudeIncrement > 0.0 && s.longitudeIncrement > 0.0) ||
        !std::isfinite(s.latitudeIncrement) || !std::isfinite(s.longitudeIncrement)) {
      return fail(GridOpenError::kCorrupt,
                  text::Format("sub-grid %s: LAT_INC(%g) and LONG_INC(%g) must be positive",
                               name.c_str(), s.latitudeIncrement, s.longitudeIncrement));
    }
    const auto columns = CellCount(s.east, s.west, s.longitudeIncrement);
    const auto rows = CellCount(s.south, s.north, s.latitudeIncrement);
    if (!columns || !rows ||
        static_cast<std::int64_t>(*rows) * *columns != static_cast<std::int64_t>(s.nodeCount)) {
      return fail(GridOpenError::kCorrupt,
                  text::Format("sub-grid %s: GS_COUNT(%d) does not match expected cells "
                               "(%dx%d)",
                               name.c_str(), static_cast<int>(s.nodeCount), rows.value_or(0),
                               columns.value_or(0)));
    }
    s.rows = *rows;
    s.columns = *columns;

    const std::uint64_t nodesStart = headerAt + static_cast<std::uint64_t>(h.size);
    const std::uint64_t nodesEnd =
        nodesStart + static_cast<std::uint64_t>(s.nodeCount) * kNodeRecordSize;
    if (nodesEnd > fileSize) {
      return fail(GridOpenError::kCorrupt,
                  text::Format("sub-grid %s: its %d node records end at byte %ju, beyond the "
                               "end of the file (%ju bytes)",
                               name.c_str(), static_cast<int>(s.nodeCount),
                               static_cast<std::uintmax_t>(nodesEnd), fileSize));
    }
    grid->firstNode_.push_back(static_cast<std::size_t>(totalNodes));
    nodesAt.push_back(nodesStart);
    totalNodes += static_cast<std::uint64_t>(s.nodeCount);
    grid->subGrids_.push_back(std::move(s));
    headerAt = nodesEnd;
  }

  // Every count is now known to fit the file; read the node records straight into place.
  grid->nodes_.resize(static_cast<std::size_t>(totalNodes));
  for (std::size_t i = 0; i < grid->subGrids_.size(); ++i) {
    GridNode* first = grid->nodes_.data() + grid->firstNode_[i];
    const auto bytes = static_cast<std::uint64_t>(grid->subGrids_[i].nodeCount) * kNodeRecordSize;
    if (!ReadAt(in, nodesAt[i], first, bytes)) {
      return fail(GridOpenError::kCannotOpen, "the file cannot be read");
    }
  }
  if constexpr (std::endian::native == std::endian::big) {
    for (GridNode& node : grid->nodes_) {
      const auto* raw = reinterpret_cast<const unsigned char*>(&node);
      node = {detail::LoadFloat32(raw), detail::LoadFloat32(raw + 4), detail::LoadFloat32(raw + 8),
              detail::LoadFloat32(raw + 12)};
    }
  }
  for (std::size_t i = 0; i < grid->subGrids_.size(); ++i) {
    const SubGrid& s = grid->subGrids_[i];
    const auto count = static_cast<std::size_t>(s.nodeCount);
    const auto columns = static_cast<std::size_t>(s.columns);
    for (std::size_t k = 0; k < count; ++k) {
      if (const auto problem = NodeProblem(grid->nodes_[grid->firstNode_[i] + k])) {
        return fail(
            GridOpenError::kCorrupt,
            text::Format("sub-grid %s, node of row %zu, column %zu: %s", Printable(s.name).c_str(),
                         k / columns + 1, k % columns + 1, problem->c_str()));
      }
    }
  }

  // The search tries the finest sub-grids first; a stable sort keeps file order among equal
  // increments, so the first hit is the one the selection rule names.
  for (std::size_t i = 0; i < grid->subGrids_.size(); ++i) {
    const SubGrid& s = grid->subGrids_[i];
    grid->searchOrder_.push_back({s.south, s.north, s.east, s.west, static_cast<int>(i), 0, 0});
  }
  std::stable_sort(grid->searchOrder_.begin(), grid->searchOrder_.end(),
                   [&grid](const SearchEntry& p, const SearchEntry& q) {
                     return grid->subGrids_[static_cast<std::size_t>(p.subGrid)].latitudeIncrement <
                            grid->subGrids_[static_cast<std::size_t>(q.subGrid)].latitudeIncrement;
                   });
  // A point inside an entry belongs to it unless an earlier entry also holds it; only the
  // earlier entries whose bounds meet its own (all bounds inclusive) can.
  for (std::size_t j = 0; j < grid->searchOrder_.size(); ++j) {
    SearchEntry& entry = grid->searchOrder_[j];
    entry.firstShadow = static_cast<std::uint32_t>(grid->shadows_.size());
    for (std::size_t i = 0; i < j; ++i) {
      const SearchEntry& earlier = grid->searchOrder_[i];
      if (earlier.south <= entry.north && entry.south <= earlier.north &&
          earlier.east <= entry.west && entry.east <= earlier.west) {
        grid->shadows_.push_back(static_cast<int>(i));
      }
    }
    entry.shadowCount = static_cast<std::uint32_t>(grid->shadows_.size()) - entry.firstShadow;
  }
  return grid;
}

const GridNode& GridFile::Node(int subGrid, int row, int column) const {
  const auto index = static_cast<std::size_t>(subGrid);
  const SubGrid& s = subGrids_[index];
  return nodes_[firstNode_[index] +
                static_cast<std::size_t>(row) * static_cast<std::size_t>(s.columns) +
                static_cast<std::size_t>(column)];
}

int GridFile::FindEntry(double phi, double lambda, const SubGridHint* hint) const {
  if (hint != nullptr && hint->searchIndex >= 0 &&
      static_cast<std::size_t>(hint->searchIndex) < searchOrder_.size()) {
    const SearchEntry& entry = searchOrder_[static_cast<std::size_t>(hint->searchIndex)];
    if (entry.Contains(phi, lambda)) {
      const auto first = shadows_.begin() + entry.firstShadow;
      const bool shadowed = std::any_of(first, first + entry.shadowCount, [&](int earlier) {
        return searchOrder_[static_cast<std::size_t>(earlier)].Contains(phi, lambda);
      });
      if (!shadowed) return hint->searchIndex;
    }
  }
  for (std::size_t i = 0; i < searchOrder_.size(); ++i) {
    if (searchOrder_[i].Contains(phi, lambda)) return static_cast<int>(i);
  }
  return -1;
}

std::optional<GridShift> GridFile::Shift(double packedLatitude, double packedLongitude,
                                         bool reverse) const {
  return ShiftAt(packedLatitude, packedLongitude, reverse, nullptr, ShiftAccuracy::Computed);
}

std::optional<GridShift> GridFile::Shift(double packedLatitude, double packedLongitude,
                                         bool reverse, SubGridHint& hint,
                                         ShiftAccuracy accuracy) const {
  return ShiftAt(packedLatitude, packedLongitude, reverse, &hint, accuracy);
}

std::optional<GridShift> GridFile::ShiftAt(double packedLatitude, double packedLongitude,
                                           bool reverse, SubGridHint* hint,
                                           ShiftAccuracy accuracy) const {
  const double inputLatitude = angles::PackedToRadians(packedLatitude);
  const double inputLongitude = angles::PackedToRadians(packedLongitude);
  // A value that is no packed angle (kInvalidAngle, the only negative result) lies in no
  // sub-grid, rather than 57 degrees north of the equator.
  if (inputLatitude < 0.0 || inputLongitude < 0.0) return std::nullopt;
  // File units: arc seconds, north and west positive.
  const double phi0 = -SnappedSeconds(inputLatitude);
  const double lambda0 = -SnappedSeconds(inputLongitude);

  const int entry = FindEntry(phi0, lambda0, hint);
  if (entry < 0) return std::nullopt;
  if (hint != nullptr) hint->searchIndex = entry;
  const SearchEntry* found = &searchOrder_[static_cast<std::size_t>(entry)];
  const auto index = static_cast<std::size_t>(found->subGrid);
  const SubGrid& s = subGrids_[index];
  const GridNode* nodes = nodes_.data() + firstNode_[index];
  const auto columns = static_cast<std::size_t>(s.columns);

  double phi = phi0;
  double lambda = lambda0;
  Cell cell{};
  const int passes = reverse ? 3 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const double r = IndexInside(phi, s.south, s.latitudeIncrement, s.rows);
    const double c = IndexInside(lambda, s.east, s.longitudeIncrement, s.columns);
    const auto row = static_cast<std::size_t>(r);
    const auto column = static_cast<std::size_t>(c);
    // The limit row or column stands in for the one beyond it (its weight is zero on the
    // limit itself).
    const std::size_t west = column + 1 < columns ? 1 : 0;
    const std::size_t north = row + 1 < static_cast<std::size_t>(s.rows) ? columns : 0;
    cell.a = nodes + row * columns + column;
    cell.b = cell.a + west;
    cell.c = cell.a + north;
    cell.d = cell.a + north + west;
    cell.x = (lambda - (c * s.longitudeIncrement + s.east)) / s.longitudeIncrement;
    cell.y = (phi - (r * s.latitudeIncrement + s.south)) / s.latitudeIncrement;

    const double latitudeShift = Bilinear(cell, &GridNode::latitudeShift);
    const double longitudeShift = Bilinear(cell, &GridNode::longitudeShift);
    if (reverse) {
      phi = phi0 - latitudeShift;
      lambda = lambda0 - longitudeShift;
    } else {
      phi += latitudeShift;
      lambda += longitudeShift;
    }
  }

  GridShift shift;
  shift.latitude = phi * -kRadiansPerSecond;
  shift.longitude = lambda * -kRadiansPerSecond;
  shift.subGrid = found->subGrid;
  // Only the latitude accuracies decide whether an accuracy is known.
  shift.accuracyKnown = accuracy == ShiftAccuracy::Computed && cell.a->latitudeAccuracy >= 0.0f &&
                        cell.b->latitudeAccuracy >= 0.0f && cell.c->latitudeAccuracy >= 0.0f &&
                        cell.d->latitudeAccuracy >= 0.0f;
  if (shift.accuracyKnown) {
    // Arc seconds on the source ellipsoid's equatorial radius; a second of longitude
    // shrinks with the cosine of the (input) latitude.
    const double a = sourceSemiMajorAxis_;
    shift.latitudeAccuracy = Bilinear(cell, &GridNode::latitudeAccuracy) * a * kRadiansPerSecond;
    shift.longitudeAccuracy = Bilinear(cell, &GridNode::longitudeAccuracy) *
                              std::cos(inputLatitude) * a * kRadiansPerSecond;
  }
  return shift;
}

}  // namespace tarvo::ntv2
