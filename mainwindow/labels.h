// The grid and datum labels of a window side: "MGA 94"/"GDA 94" for GDA94, "MGA 2020"/
// "GDA 2020" for GDA2020, otherwise
// "AMG" or "ISG" and "AGD" with the suffix of the AGD datum in use (" 84", " 66" or none,
// from the parameter set under Medium Accuracy or the grid under High Accuracy).
#pragma once

#include <string>
#include <utility>

#include "engine/transform_settings.h"
#include "ntv2/grid_choice.h"

namespace tarvo::mainwindow {

// (grid label, datum label) of a side whose system is `system`.
std::pair<std::string, std::string> SideLabels(const std::string& system,
                                               const engine::TransformSettings& settings,
                                               const ntv2::GridChoice& grid);

}  // namespace tarvo::mainwindow
