// Switching a side of the main window between grid coordinates (East, North, ellipsoidal
// height) and earth-centred Cartesian X, Y, Z in the same three fields.
#pragma once

#include <optional>
#include <string>

#include "mainwindow/calculation.h"
#include "mainwindow/window_state.h"

namespace tarvo::mainwindow {

// Switches `side`, whose position is the packed latitude and longitude given, to the other
// display and returns the report record of the switch. Under High Accuracy the switch is
// refused with a message and nothing changes (no record); so it is when the values of the
// other display are no coordinates (kNoResultMessage).
std::optional<std::string> SwitchDisplay(CalculationContext& context, Side& side,
                                         double packedLatitude, double packedLongitude);

}  // namespace tarvo::mainwindow
