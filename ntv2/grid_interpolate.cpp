#include "ntv2/grid_interpolate.h"

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

std::shared_ptr<const GridFile> GridInterpolator::GridForPoint(const std::string& gridFilePath,
                                                               ui::Desktop& desktop) {
  ++calls_;
  return OpenGridForInterpolation(*this, gridFilePath, desktop);
}

}  // namespace tarvo::ntv2
