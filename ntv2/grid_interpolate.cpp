#include "ntv2/grid_interpolate.h"

#include "engine/grid_system.h"
#include "ntv2/grid_messages.h"
#include "text/number_text.h"

namespace tarvo::ntv2 {

std::shared_ptr<const GridFile> OpenGridForInterpolation(GridInterpolator& interpolator,
                                                         const std::string& gridFilePath,
                                                         ui::Desktop& desktop) {
  GridOpenStatus status;
  std::shared_ptr<const GridFile> grid = interpolator.cache().Get(gridFilePath, status);
  if (grid) return grid;
  const std::string reason = GridOpenReason(gridFilePath, status);
  if (status.error == GridOpenError::kCannotOpen) {
    desktop.ShowMessage(ui::WithReason("Open failed on Input file and Count", reason),
                        text::Format("<<%s|%d|%d|%d>>", gridFilePath.c_str(), interpolator.calls(),
                                     interpolator.successes(), interpolator.pointsOutside()),
                        ui::MessageIcon::Error);
  } else {
    ShowInvalidGridFile(desktop, GridCaller::kInterpolation, gridFilePath, reason);
  }
  return nullptr;
}

int GridInterpolate(GridInterpolator& interpolator, ui::Desktop& desktop,
                    const std::string& gridFilePath, std::string_view inputSystem,
                    double packedLatitude, double packedLongitude, double& latitude,
                    double& longitude, std::string& accuracyText) {
  ++interpolator.calls_;
  const std::shared_ptr<const GridFile> grid =
      OpenGridForInterpolation(interpolator, gridFilePath, desktop);
  if (!grid) return kGridFileUnusable;

  const bool reverse = inputSystem == engine::GridSystem::kMga;
  const std::optional<GridShift> shift = grid->Shift(packedLatitude, packedLongitude, reverse);
  if (!shift) {
    ++interpolator.pointsOutside_;
    return kPointOutsideGrid;
  }
  ++interpolator.successes_;
  latitude = shift->latitude;
  longitude = shift->longitude;
  accuracyText = AccuracyText(*shift);
  return kGridShifted;
}

}  // namespace tarvo::ntv2
