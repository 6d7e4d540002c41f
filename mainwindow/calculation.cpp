#include "mainwindow/calculation.h"

#include <cmath>
#include <optional>

#include "angles/angle_writing.h"
#include "angles/dms_text.h"
#include "angles/packed_angle.h"
#include "engine/coordinate_limits.h"
#include "engine/datum_parameters.h"
#include "mainwindow/labels.h"
#include "mainwindow/mre_bridge.h"
#include "mainwindow/report.h"
#include "text/number_text.h"

namespace tarvo::mainwindow {
namespace {

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
      : context_(context),
        texts_(context.texts),
        from_(mainwindow::FromSide(context.texts, context.session)),
        to_(mainwindow::ToSide(context.texts, context.session)),
        decimals_(context.session.secondsDecimals) {}

  CalculationResult Run() {
    texts_.statusText = std::string(13, ' ');
    chain::ChainSettings settings = WindowChain(context_, from_, to_);
    const bool high = context_.settings.accuracyMethod == engine::AccuracyMethod::High;
    const bool agdStep = chain::IsAgd(settings.source.datum) != chain::IsAgd(settings.target.datum);
    const bool gda2020Step = (settings.source.datum == chain::Datum::Gda2020) !=
                             (settings.target.datum == chain::Datum::Gda2020);
    if (gda2020Step && high && !context_.grid.gda2020GridPath.empty()) {
      settings.grid2020 = ntv2::OpenGda2020Grid(context_.interpolator,
                                                context_.grid.gda2020GridPath, context_.desktop);
      // An unusable grid file has shown its own message.
      if (!settings.grid2020) return result_;
    }
    if (gda2020Step) {
      const std::string step = chain::Gda2020MethodText(
          settings.grid2020 ? ntv2::GridBaseName(context_.grid.gda2020GridPath) : std::string());
      result_.stepsLabel = agdStep ? texts_.parameterSetLabel + ", then " + step : step;
    }
    const chain::PointChain chain(settings);
    const std::optional<chain::SourcePoint> source = LocateFromSide(chain);
    if (!source) return result_;
    if (high && agdStep) return HighAccuracyRoute(std::move(settings), *source);
    const chain::PointResult result = chain.Transform(*source);
    if (result.status == chain::Status::OutsideGrid) {
      context_.desktop.ShowMessage("Point Outside Grid Boundary", "Error", ui::MessageIcon::Error);
      return result_;
    }
    NoteGda2020Step(result);
    WriteToSide(result);
    ResetToCaptions();
    result_.finished = true;
    result_.reportVersion =
        high && gda2020Step ? ProgramVersionText() : std::string(kMediumRouteVersionText);
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
  double Packed(double packed) {
    allCoordinates_ = allCoordinates_ && std::isfinite(packed) &&
                      angles::PackedToRadians(packed) != angles::kInvalidAngle;
    return packed;
  }

  // The point of the From fields: the stored position for geographic input, X, Y, Z while
  // the side shows them, grid coordinates otherwise.
  chain::PointInput Input() const {
    const double first = text::ToDouble(texts_.fromEast);
    const double second = text::ToDouble(texts_.fromNorth);
    const double third = text::ToDouble(texts_.fromHeight);
    if (context_.session.inputMode == InputMode::Geographic) {
      return {chain::InputKind::Packed, context_.settings.latitude, context_.settings.longitude,
              third};
    }
    if (from_.display == DisplayMode::Cartesian) {
      return {chain::InputKind::Cartesian, first, second, third};
    }
    return {chain::InputKind::Grid, first, second, third};
  }

  // The From side: the point located on the From datum fills in what the From fields do not
  // hold. Nothing when a value is no coordinate.
  std::optional<chain::SourcePoint> LocateFromSide(const chain::PointChain& chain) {
    if (context_.session.inputMode == InputMode::Geographic) {
      result_.geographicInput = true;
      if (from_.display == DisplayMode::Cartesian) {
        // The From side shows X, Y, Z: only their ellipsoidal height is taken, and the side
        // returns to grid display.
        const chain::PointInput xyz{chain::InputKind::Cartesian, text::ToDouble(texts_.fromEast),
                                    text::ToDouble(texts_.fromNorth),
                                    text::ToDouble(texts_.fromHeight)};
        texts_.fromHeight = Metres(chain.Locate(xyz, context_.estimates).height);
        ShowGridCaptions(from_);
      }
    }
    const chain::SourcePoint source = chain.Locate(Input(), context_.estimates);
    if (source.kind == chain::InputKind::Packed) {
      texts_.fromEast = Metres(source.grid.east);
      texts_.fromNorth = Metres(source.grid.north);
    } else {
      texts_.fromLatitude = Angle(source.latitude);
      context_.settings.latitude = Packed(source.heldLatitude);
      texts_.fromLongitude = Angle(source.longitude);
      context_.settings.longitude = Packed(source.heldLongitude);
    }
    texts_.fromConvergence = Angle(source.grid.convergence);
    texts_.fromScaleFactor = Scale(source.grid.pointScale);
    if (!allCoordinates_) return std::nullopt;
    return source;
  }

  // The To side from the chain's result: the latitude and longitude texts of the From side
  // where the datum did not change, the To height as typed where it is the From height.
  void WriteToSide(const chain::PointResult& result) {
    if (result.datumChanged) {
      WriteToAngles(Angle(result.latitude), Angle(result.longitude));
    } else {
      WriteToAngles(texts_.fromLatitude, texts_.fromLongitude);
    }
    texts_.toEast = Metres(result.grid.east);
    texts_.toNorth = Metres(result.grid.north);
    texts_.toConvergence = Angle(result.grid.convergence);
    texts_.toScaleFactor = Scale(result.grid.pointScale);
    texts_.toHeight = result.heightAsGiven ? texts_.fromHeight : Metres(result.height);
    toWritten_ = true;
  }

  // The To latitude and longitude: kept in the standard form, shown in the output notation.
  void WriteToAngles(const std::string& latitude, const std::string& longitude) {
    context_.session.savedToLatitude = latitude;
    context_.session.savedToLongitude = longitude;
    texts_.toLatitude = latitude;
    texts_.toLongitude = longitude;
    angles::ApplyOutputFormat(texts_.toLatitude, texts_.toLongitude, context_.settings.outputFormat,
                              decimals_, context_.desktop);
  }

  // A To side that showed X, Y, Z shows the grid results under grid captions.
  void ResetToCaptions() {
    if (!ShowsGrid(to_)) ShowGridCaptions(to_);
  }

  void ShowGridCaptions(Side& side) {
    side.label1 = "East";
    side.label2 = "North";
    side.label3 = side.heightCaption;
    side.display = DisplayMode::Grid;
    // The grid label was blanked for X, Y, Z display; it names the grid again.
    side.gridLabel = SideLabels(side.system, context_.settings, context_.grid).first;
  }

  // A GDA2020 step that ran is named in the status field (in place of a grid's accuracy).
  void NoteGda2020Step(const chain::PointResult& result) {
    if (result.gda2020Step == chain::PointResult::Gda2020Step::None) return;
    const std::string& steps = result_.stepsLabel;
    texts_.statusText = steps.substr(steps.rfind("GDA2020 by "));
  }

  // The High Accuracy route: the datum changes by the NTv2 grid in use, or by the NSW MRE
  // programs; the grids carry no height, so the To height is the From height.
  CalculationResult HighAccuracyRoute(chain::ChainSettings settings,
                                      const chain::SourcePoint& source) {
    result_.reportVersion = ProgramVersionText();
    if (!context_.desktop.CurrentDirectory()) {
      context_.desktop.ShowMessage(
          context_.session.startDirectory.string() + " does not exist/nOption Terminated",
          "INVALID DIRECTORY", ui::MessageIcon::Error);
      return result_;
    }
    const bool byGrid = context_.grid.gridMethod != ntv2::GridMethod::NswMrePrograms;
    if (byGrid) {
      settings.method = chain::DatumMethod::Grid;
      settings.grid =
          context_.interpolator.GridForPoint(context_.grid.gridFilePath, context_.desktop);
      // An unusable grid file has shown its own message.
      if (!settings.grid) return result_;
    } else {
      settings.method = chain::DatumMethod::External;
      settings.external = [this](chain::Geographic held,
                                 bool toGda94) -> std::optional<chain::Geographic> {
        const auto moved =
            RunMreBridge(toGda94, held.latitude, held.longitude, context_.session.startDirectory,
                         context_.desktop, context_.session.programDirectory);
        if (!moved) return std::nullopt;
        return chain::Geographic{moved->latitude, moved->longitude};
      };
    }
    const chain::PointResult result = chain::PointChain(std::move(settings)).Transform(source);
    if (byGrid) context_.interpolator.CountShift(result.status != chain::Status::OutsideGrid);
    if (result.gridShift) texts_.statusText = ntv2::AccuracyText(*result.gridShift);
    NoteGda2020Step(result);
    switch (result.status) {
      case chain::Status::OutsideGrid:
        context_.desktop.ShowMessage("Point Outside Grid Boundary", "Error",
                                     ui::MessageIcon::Error);
        return result_;
      case chain::Status::Refused:
        return result_;  // the NSW programs have said why
      case chain::Status::OutsideArea:
        context_.desktop.ShowMessage("Point is outside Area\r\nCheck Limits", "ERROR",
                                     ui::MessageIcon::Information);
        break;
      default:
        WriteToSide(result);
        ResetToCaptions();
        break;
    }
    result_.finished = true;
    return result_;
  }

  CalculationContext& context_;
  WindowTexts& texts_;
  Side from_;
  Side to_;
  const int decimals_;
  CalculationResult result_;
  bool allCoordinates_ = true;
  bool toWritten_ = false;
};

}  // namespace

chain::ChainSettings WindowChain(const CalculationContext& context, const Side& from,
                                 const Side& to) {
  const engine::TransformSettings& s = context.settings;
  const auto agd = chain::AgdDatumInUse(s.accuracyMethod, s.parameterSet, context.grid.gridMethod);
  chain::ChainSettings settings;
  settings.source = {chain::DatumOfSystem(from.system, agd), text::ToInt(from.zone)};
  settings.target = {chain::DatumOfSystem(to.system, agd), text::ToInt(to.zone)};
  settings.method = chain::DatumMethod::SevenParameter;
  settings.parameters = engine::MakeDatumParameters(s);
  settings.holding = {chain::PackedRounding::RadiansToPacked, context.session.secondsDecimals,
                      true};
  settings.outputs.sourceGrid = true;
  return settings;
}

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
