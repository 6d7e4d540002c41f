#include "mainwindow/cartesian_display.h"

#include <algorithm>
#include <iterator>

#include "angles/packed_angle.h"
#include "engine/cartesian.h"
#include "engine/coordinate_limits.h"
#include "engine/datum_parameters.h"
#include "engine/grid_system.h"
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
  const bool gda = engine::IsGda(side.system);
  const bool toGrid = side.cartesian == 1;
  // The three values the side shows next: East, North, height from X, Y, Z, or the reverse.
  double values[3] = {};
  if (toGrid) {
    context.settings.zone = text::ToInt(side.zone);
    const double x = text::ToDouble(side.east);
    const double y = text::ToDouble(side.north);
    const double z = text::ToDouble(side.height);
    const auto grid =
        gda ? engine::CartesianToGridGda(engine::MakeDatumParameters(context.settings),
                                         context.settings.zone, context.estimates, x, y, z)
            : engine::CartesianToGridAgd(context.settings.zone, context.estimates, x, y, z);
    values[0] = grid.easting;
    values[1] = grid.northing;
    values[2] = grid.height;
  } else {
    const double latitude = angles::PackedToRadians(packedLatitude);
    const double longitude = angles::PackedToRadians(packedLongitude);
    const double height = text::ToDouble(side.height);
    const auto point =
        gda ? engine::GeographicToCartesianGda(engine::MakeDatumParameters(context.settings),
                                               latitude, longitude, height)
            : engine::GeographicToCartesianAgd(latitude, longitude, height);
    values[0] = point.x;
    values[1] = point.y;
    values[2] = point.z;
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
    side.cartesian = 0;
  } else {
    const std::string indent(static_cast<size_t>(side.cartesianIndent), ' ');
    side.label1 = indent + "X";
    side.label2 = indent + "Y";
    side.label3 = indent + "Z";
    side.gridLabel = indent;
    side.cartesian = 1;
  }
  side.east = text::Format("%.3f", values[0]);
  side.north = text::Format("%.3f", values[1]);
  side.height = text::Format("%.3f", values[2]);
  return record + XyzRecordEnd(side);
}

}  // namespace tarvo::mainwindow
