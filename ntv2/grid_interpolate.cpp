#include "ntv2/grid_interpolate.h"

#include "ntv2/grid_datum.h"
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

std::shared_ptr<const GridFile> OpenGda2020Grid(GridInterpolator& interpolator,
                                                const std::string& path, ui::Desktop& desktop) {
  std::shared_ptr<const GridFile> grid = OpenGridForInterpolation(interpolator, path, desktop);
  if (!grid ||
      Gda2020GridFrom(grid->systemFrom(), grid->systemTo(), path) == Gda2020Grid::kGda94ToGda2020) {
    return grid;
  }
  desktop.ShowMessage(
      ui::WithReason("Not a GDA94 to GDA2020 grid", path + ": SYSTEM_F '" + grid->systemFrom() +
                                                        "', SYSTEM_T '" + grid->systemTo() + "'"),
      "ERROR", ui::MessageIcon::Error);
  return nullptr;
}

std::shared_ptr<const GridFile> GridInterpolator::GridForPoint(const std::string& gridFilePath,
                                                               ui::Desktop& desktop) {
  ++calls_;
  return OpenGridForInterpolation(*this, gridFilePath, desktop);
}

}  // namespace tarvo::ntv2
