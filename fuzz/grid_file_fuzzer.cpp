// Fuzz target: an NTv2 grid shift file of arbitrary bytes, in either header layout and with
// any counts, through everything that reads one: the grid file dialog's header reading
// (every caller), the map's sub-grid outlines, the grid open and its checks, the shift of
// points in and around each sub-grid and of two points taken from the file's last bytes
// (both directions, with the accuracy text and the result written as the main window shows
// it), the single-point route through the interpolator's cache and the chain, and the text
// export.
//
// Besides the sanitizers it checks what the reader promises: an opened grid has exactly the
// sub-grids its layout test counted and rows x columns nodes in each, and a shifted point
// comes from a sub-grid that contains it.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "angles/dms_text.h"
#include "angles/packed_angle.h"
#include "chain/point_chain.h"
#include "fuzz/fuzz_support.h"
#include "ntv2/grid_export.h"
#include "ntv2/grid_file.h"
#include "ntv2/grid_header.h"
#include "ntv2/grid_interpolate.h"

namespace {

using namespace tarvo;
using tarvo::fuzz::Require;

// File units (arc seconds, north and west positive) to the packed values a user types
// (south and east positive), as the calculation would hold them.
double PackedLatitude(double northSeconds) {
  return angles::DecimalDegreesToPacked(-northSeconds / 3600.0, 6);
}
double PackedLongitude(double westSeconds) {
  return angles::DecimalDegreesToPacked(-westSeconds / 3600.0, 6);
}

void ShiftPoint(const ntv2::GridFile& grid, double packedLatitude, double packedLongitude) {
  for (const bool reverse : {false, true}) {
    const auto shift = grid.Shift(packedLatitude, packedLongitude, reverse);
    if (!shift) continue;
    Require(
        shift->subGrid >= 0 && static_cast<std::size_t>(shift->subGrid) < grid.subGrids().size(),
        "the sub-grid of a shift is one of the file's");
    // What the window shows of a result.
    (void)ntv2::AccuracyText(*shift);
    (void)angles::FormatRadiansDms(shift->latitude, 5);
    (void)angles::FormatRadiansDms(shift->longitude, 5);
  }
}

void ExerciseGrid(const ntv2::GridFile& grid, tarvo::fuzz::ByteReader& tail) {
  const auto subGrids = grid.subGrids();
  Require(static_cast<int>(subGrids.size()) == grid.detection().subGridCount,
          "an opened grid holds as many sub-grids as its layout test counted");
  for (std::size_t i = 0; i < subGrids.size(); ++i) {
    const ntv2::SubGrid& s = subGrids[i];
    Require(s.rows >= 1 && s.columns >= 1 &&
                static_cast<std::int64_t>(s.rows) * s.columns == s.nodeCount,
            "a sub-grid holds rows x columns nodes");
    // The last node of the sub-grid is there to read.
    (void)grid.Node(static_cast<int>(i), s.rows - 1, s.columns - 1).latitudeShift;

    // The corners, the middle, a point a third of the way in, and points just outside.
    const double lat[] = {s.south,
                          s.north,
                          (s.south + s.north) / 2,
                          s.south + (s.north - s.south) / 3,
                          s.north + s.latitudeIncrement / 2,
                          s.south - s.latitudeIncrement / 2};
    const double lon[] = {s.east,
                          s.west,
                          (s.east + s.west) / 2,
                          s.east + (s.west - s.east) / 3,
                          s.west + s.longitudeIncrement / 2,
                          s.east - s.longitudeIncrement / 2};
    for (const double phi : lat) {
      for (const double lambda : lon)
        ShiftPoint(grid, PackedLatitude(phi), PackedLongitude(lambda));
    }
  }
  // Two points as any packed values at all.
  for (int i = 0; i < 2; ++i) {
    const double packedLatitude = tail.Double();
    const double packedLongitude = tail.Double();
    ShiftPoint(grid, packedLatitude, packedLongitude);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path& folder = tarvo::fuzz::ScratchFolder();
  const std::filesystem::path gridPath = folder / "grid.gsb";
  const std::string gridName = gridPath.string();
  tarvo::fuzz::WriteBytes(gridPath, std::string_view(reinterpret_cast<const char*>(data), size));
  std::error_code ignored;
  std::filesystem::remove(folder / "grid.asc", ignored);
  tarvo::fuzz::FuzzDesktop desktop(folder);

  // The grid file dialog and the map.
  for (const auto caller : {ntv2::GridCaller::kStoredPath, ntv2::GridCaller::kGetGsbFile,
                            ntv2::GridCaller::kListChoice}) {
    ntv2::GridChoice choice;
    ntv2::GridHeaderTexts texts;
    ntv2::ReadGridHeader(gridName, caller, texts, choice, desktop);
  }
  const ntv2::SubGridExtents extents = ntv2::ReadSubGridExtents(gridName, desktop);
  Require(extents.count == -1 || extents.count == static_cast<int>(extents.subGrids.size()),
          "the outline count is the number of outlines");

  // The grid itself, and points taken from the file's last 32 bytes.
  ntv2::GridOpenStatus status;
  const std::unique_ptr<ntv2::GridFile> grid = ntv2::GridFile::Open(gridPath, status);
  const std::size_t tailSize = std::min<std::size_t>(size, 32);
  tarvo::fuzz::ByteReader tail(data + size - tailSize, tailSize);
  if (grid) {
    Require(status.error == ntv2::GridOpenError::kNone, "an opened grid reports no error");
    ExerciseGrid(*grid, tail);
  } else {
    Require(status.error != ntv2::GridOpenError::kNone, "a refused grid says why");
  }

  // The single-point route: the grid from the interpolator's cache, through the chain, in
  // both directions, with the accuracy text the main window shows.
  ntv2::GridInterpolator interpolator;
  for (const bool toGda94 : {true, false}) {
    const double packedLatitude =
        grid && !grid->subGrids().empty() ? PackedLatitude(grid->subGrids()[0].south) : 33.5;
    const double packedLongitude =
        grid && !grid->subGrids().empty() ? PackedLongitude(grid->subGrids()[0].east) : 151.25;
    chain::ChainSettings settings;
    settings.source.datum = toGda94 ? chain::Datum::Agd66 : chain::Datum::Gda94;
    settings.target.datum = toGda94 ? chain::Datum::Gda94 : chain::Datum::Agd66;
    settings.method = chain::DatumMethod::Grid;
    settings.grid = interpolator.GridForPoint(gridName, desktop);
    if (!settings.grid) continue;
    chain::PointState state;
    const chain::PointResult result = chain::PointChain(settings).Convert(
        {chain::InputKind::Packed, packedLatitude, packedLongitude, 0.0}, state);
    interpolator.CountShift(result.status != chain::Status::OutsideGrid);
    if (result.gridShift) {
      (void)angles::FormatRadiansDms(result.latitude, 5);
      (void)angles::FormatRadiansDms(result.longitude, 5);
      (void)ntv2::AccuracyText(*result.gridShift);
    }
  }

  // The text export: it reads the file by its own streaming route.
  ntv2::ExportGridText(gridName, {}, desktop);
  return 0;
}
