// The transformation chain of one point; see point_chain.h.
#include "chain/point_chain.h"

#include <cmath>

#include "angles/packed_angle.h"
#include "engine/ellipsoid.h"
#include "engine/gda2020.h"
#include "engine/seven_parameter.h"
#include "engine/transverse_mercator.h"

namespace tarvo::chain {
namespace {

// The east longitude of a point whose Cartesian-to-geographic conversion gave the principal
// value of arctan(Y / X): for Australian points (X < 0 < Y) that value lies between -pi/2
// and 0, and the longitude is pi more.
double EastLongitude(double principalValue) {
  return principalValue + engine::kPi;
}

bool AllFinite(std::initializer_list<double> values) {
  for (const double value : values) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

bool IsFinite(const GridValues& grid) {
  return AllFinite({grid.east, grid.north, grid.convergence, grid.pointScale});
}

// The point a shift moved, as the rest of the chain takes it: out of the area served when
// it has no southern latitude or eastern longitude, and at the latitude's magnitude.
void TakeShifted(double latitude, double longitude, double& toLatitude, double& toLongitude,
                 bool& outsideArea) {
  outsideArea = outsideArea || latitude <= 0.0 || longitude <= 0.0;
  toLatitude = std::fabs(latitude);
  toLongitude = longitude;
}

// use(constants) with the constants of `side` in `zone`: the side's own (`own`, made with
// the chain), or those of another zone, made for this point (a record's zone field may name
// one). Nothing is copied for the side's own zone.
template <typename Use>
auto InZone(const Side& side, const engine::ProjectionConstants& own, int zone, Use use) {
  if (zone == side.zone) return use(own);
  return use(engine::SetZoneConstants(zone, IsGeocentric(side.datum)));
}

}  // namespace

PointChain::PointChain(ChainSettings settings) : settings_(std::move(settings)) {
  sourceConstants_ =
      engine::SetZoneConstants(settings_.source.zone, IsGeocentric(settings_.source.datum));
  targetConstants_ =
      engine::SetZoneConstants(settings_.target.zone, IsGeocentric(settings_.target.datum));

  // The steps from the source datum to the target datum, through GDA94.
  const Datum from = settings_.source.datum;
  const Datum to = settings_.target.datum;
  if (from == to) return;
  if (IsAgd(from) && IsAgd(to)) {
    refused_ = true;  // the program has no transformation between AGD66 and AGD84
    return;
  }
  const bool grid2020 = settings_.grid2020 != nullptr;
  if (IsAgd(from)) steps_[stepCount_++] = AgdStep(true);
  if (from == Datum::Gda2020) {
    steps_[stepCount_++] = grid2020 ? StepKind::GridFromGda2020 : StepKind::SimilarityFromGda2020;
  }
  if (to == Datum::Gda2020) {
    steps_[stepCount_++] = grid2020 ? StepKind::GridToGda2020 : StepKind::SimilarityToGda2020;
  }
  if (IsAgd(to)) steps_[stepCount_++] = AgdStep(false);
}

PointChain::StepKind PointChain::AgdStep(bool toGda94) {
  switch (settings_.method) {
    case DatumMethod::Grid:
      refused_ = refused_ || settings_.grid == nullptr;
      return toGda94 ? StepKind::GridToGda94 : StepKind::GridFromGda94;
    case DatumMethod::External:
      refused_ = refused_ || !settings_.external;
      return toGda94 ? StepKind::ExternalToGda94 : StepKind::ExternalFromGda94;
    case DatumMethod::SevenParameter:
      break;
  }
  return toGda94 ? StepKind::SimilarityToGda94 : StepKind::SimilarityFromGda94;
}

const engine::Ellipsoid& PointChain::EllipsoidOf(Datum datum) const {
  if (datum == Datum::Gda2020) return engine::kGrs80Ellipsoid;
  return datum == Datum::Gda94 ? settings_.parameters.gdaEllipsoid : engine::kAnsEllipsoid;
}

double& PointChain::EstimateOf(Datum datum, PointState& state) const {
  if (datum == Datum::Gda2020) return state.gda2020Latitude;
  return datum == Datum::Gda94 ? state.gdaLatitude : state.ansLatitude;
}

Geographic PointChain::Hold(double latitude, double longitude) const {
  const int decimals = settings_.holding.decimals;
  if (settings_.holding.rounding == PackedRounding::RadiansToPacked) {
    return {angles::RadiansToPacked(latitude, decimals),
            angles::RadiansToPacked(longitude, decimals)};
  }
  return {angles::RadiansToPackedDecimals(latitude, decimals),
          angles::RadiansToPackedDecimals(longitude, decimals)};
}

PointResult PointChain::Convert(const PointInput& input, PointState& state) const {
  return Transform(Locate(input, state), settings_.target.zone, &state);
}

PointResult PointChain::Convert(const PointInput& input, const Zones& zones,
                                PointState& state) const {
  return Transform(Locate(input, zones.source, state), zones.target, &state);
}

SourcePoint PointChain::Locate(const PointInput& input, PointState& state) const {
  return Locate(input, settings_.source.zone, state);
}

SourcePoint PointChain::Locate(const PointInput& input, int sourceZone, PointState& state) const {
  const Side& side = settings_.source;
  const bool sourceGrid = settings_.outputs.sourceGrid;
  SourcePoint point;
  point.kind = input.kind;
  point.height = input.third;
  // The forward projection at the located position gives the source's grid values.
  bool projectForward = sourceGrid;
  switch (input.kind) {
    case InputKind::Grid: {
      const engine::GeographicPosition geographic =
          InZone(side, sourceConstants_, sourceZone, [&](const engine::ProjectionConstants& c) {
            return engine::GridToGeographic(c, input.first, input.second);
          });
      point.latitude = geographic.latitude;
      point.longitude = geographic.longitude;
      if (sourceGrid) {
        // The inverse gives the convergence; only the point scale needs the forward.
        point.grid = {
            input.first, input.second, geographic.convergence,
            InZone(side, sourceConstants_, sourceZone, [&](const engine::ProjectionConstants& c) {
              return engine::GeographicToGrid(c, point.latitude, point.longitude);
            }).pointScale};
        projectForward = false;
      }
      break;
    }
    case InputKind::Geographic:
      point.latitude = input.first;
      point.longitude = input.second;
      break;
    case InputKind::Packed:
      point.held = true;
      point.heldLatitude = input.first;
      point.heldLongitude = input.second;
      point.latitude = angles::PackedToRadians(input.first);
      point.longitude = angles::PackedToRadians(input.second);
      break;
    case InputKind::Cartesian: {
      double& estimate = EstimateOf(side.datum, state);
      const engine::GeodeticPoint geodetic = engine::CartesianToGeographic(
          EllipsoidOf(side.datum), input.first, input.second, input.third, estimate);
      estimate = geodetic.latitude;
      point.latitude = geodetic.latitude;
      point.longitude = EastLongitude(geodetic.longitude);
      point.height = geodetic.height;
      break;
    }
  }
  if (projectForward) {
    const engine::GridPosition grid =
        InZone(side, sourceConstants_, sourceZone, [&](const engine::ProjectionConstants& c) {
          return engine::GeographicToGrid(c, point.latitude, point.longitude);
        });
    point.grid = {grid.easting, grid.northing, grid.convergence, grid.pointScale};
  }
  if (sourceGrid) {
    if (!point.held) {
      const Geographic held = Hold(point.latitude, point.longitude);
      point.held = true;
      point.heldLatitude = held.latitude;
      point.heldLongitude = held.longitude;
    }
    const bool heldIsAngle = angles::PackedToRadians(point.heldLatitude) != angles::kInvalidAngle &&
                             angles::PackedToRadians(point.heldLongitude) != angles::kInvalidAngle;
    if (!heldIsAngle || !IsFinite(point.grid) ||
        !AllFinite({point.latitude, point.longitude, point.height})) {
      point.status = Status::NotFinite;
    }
  }
  return point;
}

PointResult PointChain::Transform(const SourcePoint& source) const {
  return Transform(source, settings_.target.zone);
}

PointResult PointChain::Transform(const SourcePoint& source, int targetZone) const {
  return Transform(source, targetZone, nullptr);
}

PointResult PointChain::Transform(const SourcePoint& source, int targetZone,
                                  PointState* state) const {
  PointResult result;
  if (refused_) {
    result.status = Status::Refused;
    return result;
  }

  // The held position of the point, as given or worked out from the exact one when needed.
  Geographic held{source.heldLatitude, source.heldLongitude};
  bool haveHeld = source.held;
  const auto holdSource = [&] {
    if (!haveHeld) held = Hold(source.latitude, source.longitude);
    haveHeld = true;
  };

  double latitude = source.latitude;
  double longitude = source.longitude;
  double height = source.height;
  if (settings_.holding.gda94FromHeld && settings_.source.datum == Datum::Gda94) {
    holdSource();
    latitude = angles::PackedToRadians(held.latitude);
    longitude = angles::PackedToRadians(held.longitude);
  }

  bool similarity = false;
  bool outsideArea = false;
  for (std::size_t i = 0; i < stepCount_; ++i) {
    const StepKind step = steps_[i];
    // An AGD grid or external shift moves the held position of the point it gets.
    const bool shift = step == StepKind::GridToGda94 || step == StepKind::GridFromGda94 ||
                       step == StepKind::ExternalToGda94 || step == StepKind::ExternalFromGda94;
    if (shift && i == 0) {
      holdSource();
    } else if (shift) {
      held = Hold(latitude, longitude);
    }
    switch (step) {
      case StepKind::SimilarityToGda94: {
        const engine::GeodeticPoint moved =
            engine::SevenParameterForward(settings_.parameters, latitude, longitude, height);
        latitude = moved.latitude;
        longitude = EastLongitude(moved.longitude);
        height = moved.height;
        similarity = true;
        break;
      }
      case StepKind::SimilarityFromGda94: {
        const engine::GeodeticPoint moved =
            engine::SevenParameterReverse(settings_.parameters, latitude, longitude, height);
        latitude = moved.latitude;
        longitude = moved.longitude;
        height = moved.height;
        similarity = true;
        break;
      }
      case StepKind::GridToGda94:
      case StepKind::GridFromGda94: {
        ntv2::SubGridHint ownHint;  // a point with no state to keep it in
        std::optional<ntv2::GridShift> moved =
            settings_.grid->Shift(held.latitude, held.longitude, step == StepKind::GridFromGda94,
                                  state != nullptr ? state->gridHint : ownHint,
                                  settings_.outputs.gridAccuracy ? ntv2::ShiftAccuracy::Computed
                                                                 : ntv2::ShiftAccuracy::Skipped);
        if (!moved) {
          result.status = Status::OutsideGrid;
          return result;
        }
        TakeShifted(moved->latitude, moved->longitude, latitude, longitude, outsideArea);
        if (settings_.outputs.gridAccuracy) result.gridShift = moved;
        break;
      }
      case StepKind::ExternalToGda94:
      case StepKind::ExternalFromGda94: {
        const std::optional<Geographic> moved = settings_.external(
            {angles::PackedToRadians(held.latitude), angles::PackedToRadians(held.longitude)},
            step == StepKind::ExternalToGda94);
        if (!moved) {
          result.status = Status::Refused;
          return result;
        }
        TakeShifted(moved->latitude, moved->longitude, latitude, longitude, outsideArea);
        break;
      }
      case StepKind::SimilarityToGda2020:
      case StepKind::SimilarityFromGda2020: {
        const engine::GeodeticPoint moved =
            step == StepKind::SimilarityToGda2020
                ? engine::Gda94ToGda2020(latitude, longitude, height)
                : engine::Gda2020ToGda94(latitude, longitude, height);
        latitude = moved.latitude;
        longitude = moved.longitude;
        height = moved.height;
        similarity = true;
        result.gda2020Step = PointResult::Gda2020Step::Similarity;
        break;
      }
      case StepKind::GridToGda2020:
      case StepKind::GridFromGda2020: {
        // The grid reads packed positions to 1e-8 of a second; 7 + 1 decimals keep all of it.
        constexpr int kGridSecondsDecimals = 7;
        ntv2::SubGridHint ownHint;
        const std::optional<ntv2::GridShift> moved = settings_.grid2020->Shift(
            angles::RadiansToPacked(latitude, kGridSecondsDecimals),
            angles::RadiansToPacked(longitude, kGridSecondsDecimals),
            step == StepKind::GridFromGda2020, state != nullptr ? state->grid2020Hint : ownHint,
            ntv2::ShiftAccuracy::Skipped);
        if (!moved) {
          result.status = Status::OutsideGrid;
          return result;
        }
        TakeShifted(moved->latitude, moved->longitude, latitude, longitude, outsideArea);
        result.gda2020Step = PointResult::Gda2020Step::Grid;
        break;
      }
    }
  }

  result.latitude = latitude;
  result.longitude = longitude;
  result.height = height;
  result.datumChanged = stepCount_ > 0;
  result.heightAsGiven = source.kind != InputKind::Cartesian && !similarity;
  const Side& side = settings_.target;
  bool finite = AllFinite({latitude, longitude, height});
  if (settings_.outputs.targetGrid) {
    const engine::GridPosition grid =
        InZone(side, targetConstants_, targetZone, [&](const engine::ProjectionConstants& c) {
          return engine::GeographicToGrid(c, latitude, longitude);
        });
    result.grid = {grid.easting, grid.northing, grid.convergence, grid.pointScale};
    finite = finite && IsFinite(result.grid);
  }
  if (settings_.outputs.targetCartesian) {
    result.cartesian =
        engine::GeographicToCartesian(EllipsoidOf(side.datum), latitude, longitude, height);
    finite = finite && AllFinite({result.cartesian.x, result.cartesian.y, result.cartesian.z});
  }
  if (outsideArea) {
    result.status = Status::OutsideArea;
  } else if (!finite) {
    result.status = Status::NotFinite;
  }
  return result;
}

}  // namespace tarvo::chain
