// The single-point calculation: the point of the main window's From side is transformed into
// the system, zone and datum of its To side, and every result text is written.
//
//   1. From side: grid input is projected to latitude and longitude on the From datum;
//      Cartesian input is converted on the From ellipsoid; geographic input is the stored
//      position. The From side's missing values are filled in.
//   2. Datum change where the datums differ: the 7-parameter similarity (Medium Accuracy) or
//      the NTv2 grid (High Accuracy); otherwise the position goes on unchanged.
//   3. The result is projected into the To zone and written in the output notation.
// The window then marks the point on its map and logs the calculation in the report.
#pragma once

#include <string>

#include "engine/cartesian.h"
#include "engine/transform_settings.h"
#include "mainwindow/window_state.h"
#include "ntv2/grid_choice.h"
#include "ntv2/grid_interpolate.h"
#include "ui/desktop.h"

namespace tarvo::mainwindow {

// Everything a calculation reads and changes; the window owns all of it.
struct CalculationContext {
  WindowTexts& texts;
  SessionValues& session;
  engine::TransformSettings& settings;
  // The first-estimate latitudes of Cartesian conversions, kept from call to call.
  engine::CartesianEstimates& estimates;
  ntv2::GridChoice& grid;
  // The NTv2 interpolation with its counters and grid cache, kept for the run.
  ntv2::GridInterpolator& interpolator;
  ui::Desktop& desktop;
};

// The message of a calculation (or an X, Y, Z switch) whose results are no coordinates (a
// NaN, an infinity, a value beyond 1e9 m): nothing is shown or kept of them.
inline constexpr const char* kNoResultMessage = "No valid result\r\nCheck the input values";

struct CalculationResult {
  // False when the calculation stopped with a message: no marker and no report record.
  bool finished = false;
  // The version text of the report record: kMediumRouteVersionText or ProgramVersionText().
  std::string reportVersion;
  // True when the input was geographic: the latitude and longitude fields are the editable
  // pair now.
  bool geographicInput = false;
};

// Runs the calculation. Whenever it does not write this point's results to the To side (a
// message stopped it, or the datum change put the point outside the area), the To values are
// emptied; results that are no coordinates are refused with kNoResultMessage and leave
// everything else as it was before the calculation.
CalculationResult Calculate(CalculationContext& context);

}  // namespace tarvo::mainwindow
