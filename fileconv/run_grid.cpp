#include "fileconv/run_grid.h"

#include "engine/grid_system.h"

namespace tarvo::fileconv {

bool RunNeedsGrid(const FileConversionSettings& settings, ntv2::GridMethod gridMethod) {
  return settings.gridFlag &&
         engine::IsAgdSystem(settings.inputSystem) != engine::IsAgdSystem(settings.outputSystem) &&
         gridMethod != ntv2::GridMethod::NswMrePrograms;
}

bool RunNeedsGda2020Grid(const FileConversionSettings& settings, const ntv2::GridChoice& grid) {
  return settings.gridFlag && !grid.gda2020GridPath.empty() &&
         engine::IsGda2020(settings.inputSystem) != engine::IsGda2020(settings.outputSystem);
}

}  // namespace tarvo::fileconv
