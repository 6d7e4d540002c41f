// The single-point calculation: the point of the main window's From side is transformed into
// the system, zone and datum of its To side by the transformation chain
// (chain/point_chain.h), and every result text is written.
//
//   1. The From fields become the chain's input: grid coordinates, X, Y, Z (while the From
//      side shows them), or the stored position (packed values) for geographic input.
//   2. The chain locates the point on the From datum; its values fill the From side, and for
//      grid and Cartesian input its held position becomes the stored position.
//   3. The chain changes the datum (the 7-parameter similarity under Medium Accuracy; under
//      High Accuracy the NTv2 grid in use or the NSW programs) and projects into the To zone;
//      the results are written in the output notation. A step between GDA94 and GDA2020 is
//      the EPSG:8048 similarity, or under High Accuracy the GDA94 -> GDA2020 grid when one is
//      chosen; the status field names it.
// The window then marks the point on its map and logs the calculation in the report.
//
// The window's own rules are its chain settings (WindowChain) and the texts: the stored
// position carries secondsDecimals + 1 decimals of seconds and a GDA94 point goes on from
// it; a To height that is the From height as typed is shown as typed; a To side without a
// datum change shows the From latitude and longitude texts.
#pragma once

#include <string>

#include "chain/point_chain.h"
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
  // The first-estimate latitudes of Cartesian input, kept from call to call.
  chain::PointState& estimates;
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
  // For a chain through GDA2020, the steps the report's method line names in place of the
  // window's parameter set label: that label for an AGD step, then the GDA2020 step
  // (chain::Gda2020MethodText). Empty for every other chain.
  std::string stepsLabel;
};

// The chain settings of the window for a point from the `from` side to the `to` side: the
// datums of their systems (the AGD one of the method in use), their zones, the 7-parameter
// set, the stored position as the held one, and the outputs the window shows.
chain::ChainSettings WindowChain(const CalculationContext& context, const Side& from,
                                 const Side& to);

// Runs the calculation. Whenever it does not write this point's results to the To side (a
// message stopped it, or the datum change put the point outside the area), the To values are
// emptied; results that are no coordinates are refused with kNoResultMessage and leave
// everything else as it was before the calculation.
CalculationResult Calculate(CalculationContext& context);

}  // namespace tarvo::mainwindow
