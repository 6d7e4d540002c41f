#include "fileconv/run_grid.h"

#include "engine/grid_system.h"

namespace tarvo::fileconv {

bool RunNeedsGrid(const FileConversionSettings& settings, ntv2::GridMethod gridMethod) {
  return settings.gridFlag &&
         engine::IsGda(settings.inputSystem) != engine::IsGda(settings.outputSystem) &&
         gridMethod != ntv2::GridMethod::NswMrePrograms;
}

}  // namespace tarvo::fileconv
