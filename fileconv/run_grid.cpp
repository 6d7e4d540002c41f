#include "fileconv/run_grid.h"

#include <memory>

#include "engine/grid_system.h"
#include "ntv2/grid_choice.h"
#include "ntv2/grid_file.h"

namespace tarvo::fileconv {

bool RunNeedsGrid(const FileConversionSettings& settings, int gridMethod) {
  return settings.gridFlag &&
         engine::IsGda(settings.inputSystem) != engine::IsGda(settings.outputSystem) &&
         gridMethod != ntv2::kNswMrePrograms;
}

GridShift ShiftByGrid(std::shared_ptr<const ntv2::GridFile> grid) {
  // The hint lives in the function object: each copy of it (one per thread) keeps its own.
  return GridShift([grid = std::move(grid), hint = ntv2::SubGridHint{}](
                       double packedLatitude, double packedLongitude,
                       bool reverse) mutable -> std::optional<GeographicRadians> {
    const std::optional<ntv2::GridShift> shift =
        grid->Shift(packedLatitude, packedLongitude, reverse, hint, ntv2::ShiftAccuracy::Skipped);
    if (!shift) return std::nullopt;
    return GeographicRadians{shift->latitude, shift->longitude};
  });
}

std::optional<GridShift> PrepareGridShift(ntv2::GridInterpolator& interpolator,
                                          const std::string& gridFilePath, ui::Desktop& desktop) {
  std::shared_ptr<const ntv2::GridFile> grid =
      ntv2::OpenGridForInterpolation(interpolator, gridFilePath, desktop);
  if (!grid) return std::nullopt;
  return ShiftByGrid(std::move(grid));
}

}  // namespace tarvo::fileconv
