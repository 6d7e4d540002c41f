#include "mainwindow/calculation.h"

#include <cmath>
#include <optional>

#include "angles/angle_writing.h"
#include "angles/dms_text.h"
#include "angles/packed_angle.h"
#include "engine/coordinate_limits.h"
#include "engine/datum_parameters.h"
#include "engine/ellipsoid.h"
#include "engine/grid_system.h"
#include "engine/projection_constants.h"
#include "engine/seven_parameter.h"
#include "engine/transverse_mercator.h"
#include "mainwindow/labels.h"
#include "mainwindow/mre_bridge.h"
#include "mainwindow/report.h"
#include "text/number_text.h"

namespace tarvo::mainwindow {
namespace {

// A geographic position in radians, south and east positive.
struct Position {
  double latitude = 0;
  double longitude = 0;
};

// The To values as a refused or failed calculation leaves them: empty, so the window never
// shows an earlier point's results beside a new point's input.
void EmptyToSide(WindowTexts& t, SessionValues& session) {
  for (std::string* value :
       {&t.toEast, &t.toNorth, &t.toHeight, &t.toLatitude, &t.toLongitude, &t.toConvergence,
        &t.toScaleFactor, &session.savedToLatitude, &session.savedToLongitude}) {
    value->clear();
  }
}

class Calculation {
 public:
  explicit Calculation(CalculationContext& context)
      : c_(context),
        t_(context.texts),
        decimals_(context.session.secondsDecimals),
        fromGda_(engine::IsGda(t_.fromSystem)),
        toGda_(engine::IsGda(t_.toSystem)) {}

  CalculationResult Run() {
    t_.statusText = std::string(13, ' ');
    if (c_.settings.accuracyMethod == engine::AccuracyMethod::High && fromGda_ != toGda_) {
      return HighAccuracyRoute();
    }
    FromSide();
    if (!allCoordinates_) return result_;
    ToSide();
    ResetToCaptions();
    result_.finished = true;
    result_.reportVersion = kMediumRouteVersionText;
    return result_;
  }

  // False when a value written was no coordinate (engine/coordinate_limits.h): a NaN, an
  // infinity, or a position that is no angle. The caller then undoes the calculation.
  bool allCoordinates() const { return allCoordinates_; }
  // True when the To side was written with this point's results.
  bool toWritten() const { return toWritten_; }

 private:
  // Every number the calculation writes goes through these, which note one that is no
  // coordinate.
  std::string Metres(double value) {
    allCoordinates_ = allCoordinates_ && engine::IsCoordinate(value);
    return text::Format("%.3f", value);
  }
  std::string Scale(double value) {
    allCoordinates_ = allCoordinates_ && engine::IsCoordinate(value);
    return text::Format("%.7f", value);
  }
  std::string Angle(double radians) {
    allCoordinates_ = allCoordinates_ && std::isfinite(radians);
    return angles::FormatRadiansDms(radians, decimals_);
  }
  double Packed(double radians) {
    const double packed = angles::RadiansToPacked(radians, decimals_);
    allCoordinates_ = allCoordinates_ && std::isfinite(packed) &&
                      angles::PackedToRadians(packed) != angles::kInvalidAngle;
    return packed;
  }

  // The zone of a side's zone text; stored as the zone of the next projection.
  engine::ProjectionConstants SelectZone(const std::string& zoneText, bool gda) {
    c_.settings.zone = text::ToInt(zoneText);
    return engine::SetZoneConstants(c_.settings.zone, gda);
  }

  // The stored From position (packed values) in radians.
  Position StoredPosition() const {
    return {angles::PackedToRadians(c_.settings.latitude),
            angles::PackedToRadians(c_.settings.longitude)};
  }

  // X, Y, Z typed into the From side, on the From ellipsoid, by the Cartesian-to-grid
  // operation of that side (its remembered first estimate; longitude east).
  engine::CartesianGridPoint FromCartesianTexts() {
    const int zone = text::ToInt(t_.fromZone);
    const double x = text::ToDouble(t_.fromEast);
    const double y = text::ToDouble(t_.fromNorth);
    const double z = text::ToDouble(t_.fromHeight);
    if (fromGda_) {
      return engine::CartesianToGridGda(engine::MakeDatumParameters(c_.settings), zone,
                                        c_.estimates, x, y, z);
    }
    return engine::CartesianToGridAgd(zone, c_.estimates, x, y, z);
  }

  // Step 1: the From side, in the input mode of the window.
  void FromSide() {
    if (c_.session.geographicInput == 1) {
      result_.geographicInput = true;
      if (t_.fromLabel1 != "East") {
        // The From side shows X, Y, Z: only their ellipsoidal height is used, and the side
        // returns to grid display.
        height_ = FromCartesianTexts().height;
        t_.fromHeight = Metres(height_);
        Side from = mainwindow::FromSide(t_, c_.session);
        ShowGridCaptions(from);
      }
      const auto constants = SelectZone(t_.fromZone, fromGda_);
      const auto grid = engine::GeographicToGrid(constants, StoredPosition().latitude,
                                                 StoredPosition().longitude);
      t_.fromEast = Metres(grid.easting);
      t_.fromNorth = Metres(grid.northing);
      t_.fromConvergence = Angle(grid.convergence);
      t_.fromScaleFactor = Scale(grid.pointScale);
      height_ = text::ToDouble(t_.fromHeight);
      position_ = StoredPosition();
      return;
    }
    double convergence = 0;
    if (c_.session.fromCartesian == 1) {
      const auto point = FromCartesianTexts();
      exact_ = {point.latitude, point.longitude};
      height_ = point.height;
      cartesianInput_ = true;
      const auto constants = SelectZone(t_.fromZone, fromGda_);
      convergence =
          engine::GeographicToGrid(constants, exact_.latitude, exact_.longitude).convergence;
    } else {
      const auto constants = SelectZone(t_.fromZone, fromGda_);
      const auto geographic = engine::GridToGeographic(constants, text::ToDouble(t_.fromEast),
                                                       text::ToDouble(t_.fromNorth));
      exact_ = {geographic.latitude, geographic.longitude};
      convergence = geographic.convergence;
      height_ = text::ToDouble(t_.fromHeight);
    }
    t_.fromLatitude = Angle(exact_.latitude);
    c_.settings.latitude = Packed(exact_.latitude);
    t_.fromLongitude = Angle(exact_.longitude);
    c_.settings.longitude = Packed(exact_.longitude);
    t_.fromConvergence = Angle(convergence);
    const auto constants = SelectZone(t_.fromZone, fromGda_);
    t_.fromScaleFactor =
        Scale(engine::GeographicToGrid(constants, exact_.latitude, exact_.longitude).pointScale);
    position_ = exact_;
  }

  // Step 2: the datum change, where the datums differ, and the To side.
  void ToSide() {
    if (fromGda_ == toGda_) {
      // GDA to GDA always projects the stored position; AGD to AGD the exact one.
      const Position position = fromGda_ ? StoredPosition() : position_;
      WriteToGrid(position);
      t_.toHeight = cartesianInput_ ? Metres(height_) : t_.fromHeight;
      WriteToAngles(t_.fromLatitude, t_.fromLongitude);
      return;
    }
    const auto parameters = engine::MakeDatumParameters(c_.settings);
    engine::GeodeticPoint moved;
    if (fromGda_) {
      const Position stored = StoredPosition();
      moved = engine::SevenParameterReverse(parameters, stored.latitude, stored.longitude, height_);
    } else {
      moved = engine::SevenParameterForward(parameters, position_.latitude, position_.longitude,
                                            height_);
      // The forward transformation gives the principal value of the arctangent.
      moved.longitude += engine::kPi;
    }
    WriteToAngles(Angle(moved.latitude), Angle(moved.longitude));
    WriteToGrid({std::fabs(moved.latitude), moved.longitude});
    t_.toHeight = Metres(moved.height);
  }

  // The To latitude and longitude: kept in the standard form, shown in the output notation.
  void WriteToAngles(const std::string& latitude, const std::string& longitude) {
    c_.session.savedToLatitude = latitude;
    c_.session.savedToLongitude = longitude;
    t_.toLatitude = latitude;
    t_.toLongitude = longitude;
    angles::ApplyOutputFormat(t_.toLatitude, t_.toLongitude, c_.settings.outputFormat, decimals_,
                              c_.desktop);
  }

  void WriteToGrid(const Position& position) {
    const auto constants = SelectZone(t_.toZone, toGda_);
    const auto grid = engine::GeographicToGrid(constants, position.latitude, position.longitude);
    t_.toEast = Metres(grid.easting);
    t_.toNorth = Metres(grid.northing);
    t_.toConvergence = Angle(grid.convergence);
    t_.toScaleFactor = Scale(grid.pointScale);
    toWritten_ = true;
  }

  // Step 3: a To side that showed X, Y, Z shows the grid results under grid captions.
  void ResetToCaptions() {
    Side to = mainwindow::ToSide(t_, c_.session);
    if (!ShowsGrid(to)) ShowGridCaptions(to);
  }

  void ShowGridCaptions(Side& side) {
    side.label1 = "East";
    side.label2 = "North";
    side.label3 = side.heightCaption;
    side.cartesian = 0;
    // The grid label was blanked for X, Y, Z display; it names the grid again.
    side.gridLabel = SideLabels(side.system, c_.settings, c_.grid).first;
  }

  // The High Accuracy route: the datum changes by the NTv2 grid in use, or by the NSW MRE
  // programs; the grids carry no height, so the To height is the From height.
  CalculationResult HighAccuracyRoute() {
    FromSide();
    if (!allCoordinates_) return result_;
    result_.reportVersion = ProgramVersionText();
    if (!c_.desktop.CurrentDirectory()) {
      c_.desktop.ShowMessage(
          c_.session.startDirectory.string() + " does not exist/nOption Terminated",
          "INVALID DIRECTORY", ui::MessageIcon::Error);
      return result_;
    }
    const Position stored = StoredPosition();
    std::optional<Position> moved;
    if (c_.grid.gridMethod == ntv2::GridMethod::NswMrePrograms) {
      const auto answer =
          RunMreBridge(!fromGda_, stored.latitude, stored.longitude, c_.session.startDirectory,
                       c_.desktop, c_.session.programDirectory);
      if (!answer) return result_;
      moved = Position{answer->latitude, answer->longitude};
    } else {
      moved = GridShift();
      if (!moved) return result_;
    }
    if (moved->latitude <= 0 || moved->longitude <= 0) {
      c_.desktop.ShowMessage("Point is outside Area\r\nCheck Limits", "ERROR",
                             ui::MessageIcon::Information);
    } else {
      WriteToAngles(Angle(moved->latitude), Angle(moved->longitude));
      WriteToGrid({std::fabs(moved->latitude), moved->longitude});
      t_.toHeight = cartesianInput_ ? Metres(height_) : t_.fromHeight;
      ResetToCaptions();
    }
    result_.finished = true;
    return result_;
  }

  // The NTv2 shift of the stored position; nothing after the message that stops the
  // calculation.
  std::optional<Position> GridShift() {
    Position moved;
    const int result = ntv2::GridInterpolate(
        c_.interpolator, c_.desktop, c_.grid.gridFilePath, t_.fromSystem, c_.settings.latitude,
        c_.settings.longitude, moved.latitude, moved.longitude, t_.statusText);
    if (result == ntv2::kGridShifted) return moved;
    // An unusable grid file has shown its own message already.
    if (result == ntv2::kPointOutsideGrid) {
      c_.desktop.ShowMessage("Point Outside Grid Boundary", "Error", ui::MessageIcon::Error);
    }
    return std::nullopt;
  }

  CalculationContext& c_;
  WindowTexts& t_;
  const int decimals_;
  const bool fromGda_;
  const bool toGda_;
  CalculationResult result_;
  Position exact_;     // straight from the From side's projection or Cartesian conversion
  Position position_;  // the position passed on: exact, or stored for geographic input
  double height_ = 0;
  bool cartesianInput_ = false;
  bool allCoordinates_ = true;
  bool toWritten_ = false;
};

}  // namespace

CalculationResult Calculate(CalculationContext& context) {
  // A calculation whose values are no coordinates changes nothing but the To side: the
  // texts, the position and the flags of before come back.
  const WindowTexts texts = context.texts;
  const SessionValues session = context.session;
  const engine::TransformSettings settings = context.settings;
  Calculation calculation(context);
  CalculationResult result = calculation.Run();
  if (!calculation.allCoordinates()) {
    context.texts = texts;
    context.session = session;
    context.settings = settings;
    context.desktop.ShowMessage(kNoResultMessage, "ERROR", ui::MessageIcon::Error);
    result.finished = false;
  }
  if (!calculation.toWritten() || !calculation.allCoordinates()) {
    EmptyToSide(context.texts, context.session);
  }
  return result;
}

}  // namespace tarvo::mainwindow
