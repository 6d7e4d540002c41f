#include "fileconv/run_grid.h"

#include <memory>

#include "engine/grid_system.h"
#include "ntv2/grid_choice.h"
#include "ntv2/grid_file.h"
#include "ntv2/grid_layout.h"
#include "text/number_text.h"

namespace tarvo::fileconv {

bool RunNeedsGrid(const FileConversionSettings& settings, int gridMethod) {
  return settings.gridFlag &&
         engine::IsGda(settings.inputSystem) != engine::IsGda(settings.outputSystem) &&
         gridMethod != ntv2::kNswMrePrograms;
}

std::optional<GridShift> PrepareGridShift(ntv2::GridInterpolator& interpolator,
                                          const std::string& gridFilePath, ui::Desktop& desktop) {
  ntv2::GridOpenStatus status;
  std::shared_ptr<const ntv2::GridFile> grid = interpolator.cache().Get(gridFilePath, status);
  if (!grid) {
    if (status.error == ntv2::GridOpenError::kCannotOpen) {
      desktop.ShowMessage(
          "Open failed on Input file and Count",
          text::Format("<<%s|%d|%d|%d>>", gridFilePath.c_str(), interpolator.calls(),
                       interpolator.successes(), interpolator.pointsOutside()),
          ui::MessageIcon::Error);
    } else {
      ntv2::ShowInvalidGridFile(desktop, ntv2::GridCaller::kInterpolation, gridFilePath);
    }
    return std::nullopt;
  }
  return GridShift([grid = std::move(grid)](double packedLatitude, double packedLongitude,
                                            bool reverse) -> std::optional<GeographicRadians> {
    const std::optional<ntv2::GridShift> shift =
        grid->Shift(packedLatitude, packedLongitude, reverse);
    if (!shift) return std::nullopt;
    return GeographicRadians{shift->latitude, shift->longitude};
  });
}

}  // namespace tarvo::fileconv
