#include "mainwindow/cartesian_display.h"

#include "angles/packed_angle.h"
#include "engine/cartesian.h"
#include "engine/datum_parameters.h"
#include "engine/grid_system.h"
#include "mainwindow/labels.h"
#include "mainwindow/report.h"
#include "text/number_text.h"

namespace tarvo::mainwindow {

std::optional<std::string> SwitchDisplay(CalculationContext& context, Side& side,
                                         double packedLatitude, double packedLongitude) {
  if (context.settings.accuracyMethod == engine::kHighAccuracy) {
    context.desktop.ShowMessage("XYZ option is unavailable\r\n when using High Accuracy",
                                "High Accuracy - NTv2", ui::MessageIcon::Error);
    return std::nullopt;
  }
  const auto now = context.desktop.LocalTime();
  std::string record = XyzRecordStart(context.texts, side, now);
  const bool gda = engine::IsGda(side.system);
  const auto metres = [](double value) { return text::Format("%.3f", value); };

  if (side.cartesian == 1) {
    side.label1 = "East";
    side.label2 = "North";
    side.label3 = side.heightCaption;
    side.gridLabel = SideLabels(side.system, context.settings, context.grid).first;
    context.settings.zone = text::ToInt(side.zone);
    const double x = text::ToDouble(side.east);
    const double y = text::ToDouble(side.north);
    const double z = text::ToDouble(side.height);
    const auto grid =
        gda ? engine::CartesianToGridGda(engine::MakeDatumParameters(context.settings),
                                         context.settings.zone, context.estimates, x, y, z)
            : engine::CartesianToGridAgd(context.settings.zone, context.estimates, x, y, z);
    side.east = metres(grid.easting);
    side.north = metres(grid.northing);
    side.height = metres(grid.height);
    side.cartesian = 0;
  } else {
    const std::string indent(static_cast<size_t>(side.cartesianIndent), ' ');
    side.label1 = indent + "X";
    side.label2 = indent + "Y";
    side.label3 = indent + "Z";
    side.gridLabel = indent;
    const double latitude = angles::PackedToRadians(packedLatitude);
    const double longitude = angles::PackedToRadians(packedLongitude);
    const double height = text::ToDouble(side.height);
    const auto point =
        gda ? engine::GeographicToCartesianGda(engine::MakeDatumParameters(context.settings),
                                               latitude, longitude, height)
            : engine::GeographicToCartesianAgd(latitude, longitude, height);
    side.east = metres(point.x);
    side.north = metres(point.y);
    side.height = metres(point.z);
    side.cartesian = 1;
  }
  return record + XyzRecordEnd(side);
}

}  // namespace tarvo::mainwindow
