#include "mainwindow/labels.h"

#include "chain/datum.h"
#include "engine/grid_system.h"

namespace tarvo::mainwindow {

std::pair<std::string, std::string> SideLabels(const std::string& system,
                                               const engine::TransformSettings& settings,
                                               const ntv2::GridChoice& grid) {
  if (engine::IsGda(system)) return {"MGA 94", "GDA 94"};
  if (engine::IsGda2020(system)) return {"MGA 2020", "GDA 2020"};
  const std::optional<chain::Datum> agd =
      chain::AgdDatumInUse(settings.accuracyMethod, settings.parameterSet, grid.gridMethod);
  const std::string suffix = !agd ? "" : (agd == chain::Datum::Agd84 ? " 84" : " 66");
  const std::string gridName = system == engine::GridSystem::kIsg ? "ISG" : "AMG";
  return {gridName + suffix, "AGD" + suffix};
}

}  // namespace tarvo::mainwindow
