#include "fileconv/run_grid.h"

#include "engine/grid_system.h"

namespace tarvo::fileconv {
namespace {

// The systems on GRS80 are GDA94's and GDA2020's; every other text is taken as AGD.
bool IsAgdSystem(std::string_view system) {
  return !engine::IsGda(system) && !engine::IsGda2020(system);
}

}  // namespace

bool RunNeedsGrid(const FileConversionSettings& settings, ntv2::GridMethod gridMethod) {
  return settings.gridFlag &&
         IsAgdSystem(settings.inputSystem) != IsAgdSystem(settings.outputSystem) &&
         gridMethod != ntv2::GridMethod::NswMrePrograms;
}

}  // namespace tarvo::fileconv
