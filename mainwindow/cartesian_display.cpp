#include "mainwindow/cartesian_display.h"

#include <algorithm>
#include <iterator>

#include "chain/point_chain.h"
#include "engine/coordinate_limits.h"
#include "mainwindow/labels.h"
#include "mainwindow/report.h"
#include "text/number_text.h"

namespace tarvo::mainwindow {

std::optional<std::string> SwitchDisplay(CalculationContext& context, Side& side,
                                         double packedLatitude, double packedLongitude) {
  if (context.settings.accuracyMethod == engine::AccuracyMethod::High) {
    context.desktop.ShowMessage("XYZ option is unavailable\r\n when using High Accuracy",
                                "High Accuracy - NTv2", ui::MessageIcon::Error);
    return std::nullopt;
  }
  const bool toGrid = side.display == DisplayMode::Cartesian;
  // The side's own point, on its own datum: from X, Y, Z to grid, or from its position to
  // X, Y, Z.
  chain::ChainSettings settings = WindowChain(context, side, side);
  settings.outputs = {toGrid, false, !toGrid};
  const chain::PointChain chain(settings);
  // The three values the side shows next: East, North, height from X, Y, Z, or the reverse.
  double values[3] = {};
  if (toGrid) {
    const chain::SourcePoint point =
        chain.Locate({chain::InputKind::Cartesian, text::ToDouble(side.east),
                      text::ToDouble(side.north), text::ToDouble(side.height)},
                     context.estimates);
    values[0] = point.grid.east;
    values[1] = point.grid.north;
    values[2] = point.height;
  } else {
    const chain::PointResult point = chain.Convert(
        {chain::InputKind::Packed, packedLatitude, packedLongitude, text::ToDouble(side.height)},
        context.estimates);
    values[0] = point.cartesian.x;
    values[1] = point.cartesian.y;
    values[2] = point.cartesian.z;
  }
  // Values that are no coordinates are not shown: the side stays as it was.
  if (!std::all_of(std::begin(values), std::end(values), engine::IsCoordinate)) {
    context.desktop.ShowMessage(kNoResultMessage, "ERROR", ui::MessageIcon::Error);
    return std::nullopt;
  }

  const auto now = context.desktop.LocalTime();
  std::string record = XyzRecordStart(context.texts, side, now);
  if (toGrid) {
    side.label1 = "East";
    side.label2 = "North";
    side.label3 = side.heightCaption;
    side.gridLabel = SideLabels(side.system, context.settings, context.grid).first;
    side.display = DisplayMode::Grid;
  } else {
    const std::string indent(static_cast<size_t>(side.cartesianIndent), ' ');
    side.label1 = indent + "X";
    side.label2 = indent + "Y";
    side.label3 = indent + "Z";
    side.gridLabel = indent;
    side.display = DisplayMode::Cartesian;
  }
  side.east = text::Format("%.3f", values[0]);
  side.north = text::Format("%.3f", values[1]);
  side.height = text::Format("%.3f", values[2]);
  return record + XyzRecordEnd(side);
}

}  // namespace tarvo::mainwindow
