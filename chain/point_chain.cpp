// The transformation chain of one point; see point_chain.h.
#include "chain/point_chain.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

#include "angles/packed_angle.h"
#include "engine/ellipsoid.h"
#include "engine/gda2020.h"
#include "engine/lanes.h"
#include "engine/seven_parameter.h"
#include "engine/transverse_mercator.h"

namespace tarvo::chain {
namespace {

// The east longitude of a point whose Cartesian-to-geographic conversion gave the principal
// value of arctan(Y / X): for Australian points (X < 0 < Y) that value lies between -pi/2
// and 0, and the longitude is pi more.
template <class V>
V EastLongitude(V principalValue) {
  return principalValue + engine::kPi;
}

// One item as a span of one.
template <class T>
std::span<T, 1> One(T& item) {
  return std::span<T, 1>(&item, 1);
}

// The value of N points side by side from a member of each of N items.
template <std::size_t N, class Item, class Member>
engine::Lanes<N> Gather(std::span<Item, N> items, Member member) {
  engine::Lanes<N> value{};
  for (std::size_t j = 0; j < N; ++j) engine::SetLane(value, j, items[j].*member);
  return value;
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

// use(constants) with the constants of `side` in `zone`: the side's own (`own`, made with
// the chain), or those of another zone, made for this point (a record's zone field may name
// one). Nothing is copied for the side's own zone.
template <typename Use>
auto InZone(const Side& side, const engine::ProjectionConstants& own, int zone, Use use) {
  if (zone == side.zone) return use(own);
  return use(engine::SetZoneConstants(zone, IsGeocentric(side.datum)));
}

}  // namespace

bool SameEstimates(const PointState& a, const PointState& b) {
  const auto same = [](double x, double y) {
    return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y);
  };
  return same(a.ansLatitude, b.ansLatitude) && same(a.gdaLatitude, b.gdaLatitude) &&
         same(a.gda2020Latitude, b.gda2020Latitude);
}

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
  return Convert(input, Zones{settings_.source.zone, settings_.target.zone}, state);
}

PointResult PointChain::Convert(const PointInput& input, const Zones& zones,
                                PointState& state) const {
  SourcePoint source;
  LocateLanes<1>(One(input), zones.source, state, One(source));
  PointResult result;
  TransformLanes<1>(One(std::as_const(source)), zones.target, &state, One(result));
  return result;
}

std::array<PointResult, 2> PointChain::ConvertPair(const std::array<PointInput, 2>& inputs,
                                                   PointState& state) const {
  return ConvertPair(inputs, Zones{settings_.source.zone, settings_.target.zone}, state);
}

std::array<PointResult, 2> PointChain::ConvertPair(const std::array<PointInput, 2>& inputs,
                                                   const Zones& zones, PointState& state) const {
  std::array<PointResult, 2> results;
  if (inputs[0].kind != inputs[1].kind) {
    results[0] = Convert(inputs[0], zones, state);
    results[1] = Convert(inputs[1], zones, state);
    return results;
  }
  std::array<SourcePoint, 2> sources;
  LocateLanes<2>(std::span(inputs), zones.source, state, std::span(sources));
  TransformLanes<2>(std::span<const SourcePoint, 2>(sources), zones.target, &state,
                    std::span(results));
  return results;
}

SourcePoint PointChain::Locate(const PointInput& input, PointState& state) const {
  return Locate(input, settings_.source.zone, state);
}

SourcePoint PointChain::Locate(const PointInput& input, int sourceZone, PointState& state) const {
  SourcePoint point;
  LocateLanes<1>(One(input), sourceZone, state, One(point));
  return point;
}

template <std::size_t N>
void PointChain::LocateLanes(std::span<const PointInput, N> inputs, int sourceZone,
                             PointState& state, std::span<SourcePoint, N> points) const {
  using V = engine::Lanes<N>;
  const Side& side = settings_.source;
  const bool sourceGrid = settings_.outputs.sourceGrid;
  const InputKind kind = inputs[0].kind;  // every input's
  for (std::size_t j = 0; j < N; ++j) {
    points[j].kind = kind;
    points[j].height = inputs[j].third;
  }
  // The forward projection at the located position gives the source's grid values.
  bool projectForward = sourceGrid;
  switch (kind) {
    case InputKind::Grid: {
      const V east = Gather(inputs, &PointInput::first);
      const V north = Gather(inputs, &PointInput::second);
      const engine::BasicGeographicPosition<V> geographic =
          InZone(side, sourceConstants_, sourceZone, [&](const engine::ProjectionConstants& c) {
            return engine::GridToGeographic(c, east, north);
          });
      // The inverse gives the convergence; only the point scale needs the forward.
      V pointScale{};
      if (sourceGrid) {
        pointScale =
            InZone(side, sourceConstants_, sourceZone, [&](const engine::ProjectionConstants& c) {
              return engine::GeographicToGrid(c, geographic.latitude, geographic.longitude);
            }).pointScale;
        projectForward = false;
      }
      for (std::size_t j = 0; j < N; ++j) {
        points[j].latitude = engine::Lane(geographic.latitude, j);
        points[j].longitude = engine::Lane(geographic.longitude, j);
        if (sourceGrid) {
          points[j].grid = {inputs[j].first, inputs[j].second,
                            engine::Lane(geographic.convergence, j), engine::Lane(pointScale, j)};
        }
      }
      break;
    }
    case InputKind::Geographic:
      for (std::size_t j = 0; j < N; ++j) {
        points[j].latitude = inputs[j].first;
        points[j].longitude = inputs[j].second;
      }
      break;
    case InputKind::Packed:
      for (std::size_t j = 0; j < N; ++j) {
        points[j].held = true;
        points[j].heldLatitude = inputs[j].first;
        points[j].heldLongitude = inputs[j].second;
        points[j].latitude = angles::PackedToRadians(inputs[j].first);
        points[j].longitude = angles::PackedToRadians(inputs[j].second);
      }
      break;
    case InputKind::Cartesian:
      // One after the other: each starts from the latitude the one before found.
      for (std::size_t j = 0; j < N; ++j) {
        double& estimate = EstimateOf(side.datum, state);
        const engine::GeodeticPoint geodetic = engine::CartesianToGeographic(
            EllipsoidOf(side.datum), inputs[j].first, inputs[j].second, inputs[j].third, estimate);
        estimate = geodetic.latitude;
        points[j].latitude = geodetic.latitude;
        points[j].longitude = EastLongitude(geodetic.longitude);
        points[j].height = geodetic.height;
      }
      break;
  }
  if (projectForward) {
    const engine::BasicGridPosition<V> grid =
        InZone(side, sourceConstants_, sourceZone, [&](const engine::ProjectionConstants& c) {
          return engine::GeographicToGrid(c, Gather(points, &SourcePoint::latitude),
                                          Gather(points, &SourcePoint::longitude));
        });
    for (std::size_t j = 0; j < N; ++j) {
      points[j].grid = {engine::Lane(grid.easting, j), engine::Lane(grid.northing, j),
                        engine::Lane(grid.convergence, j), engine::Lane(grid.pointScale, j)};
    }
  }
  if (sourceGrid) {
    for (SourcePoint& point : points) {
      if (!point.held) {
        const Geographic held = Hold(point.latitude, point.longitude);
        point.held = true;
        point.heldLatitude = held.latitude;
        point.heldLongitude = held.longitude;
      }
      const bool heldIsAngle =
          angles::PackedToRadians(point.heldLatitude) != angles::kInvalidAngle &&
          angles::PackedToRadians(point.heldLongitude) != angles::kInvalidAngle;
      if (!heldIsAngle || !IsFinite(point.grid) ||
          !AllFinite({point.latitude, point.longitude, point.height})) {
        point.status = Status::NotFinite;
      }
    }
  }
}

PointResult PointChain::Transform(const SourcePoint& source) const {
  return Transform(source, settings_.target.zone);
}

PointResult PointChain::Transform(const SourcePoint& source, int targetZone) const {
  PointResult result;
  TransformLanes<1>(One(source), targetZone, nullptr, One(result));
  return result;
}

// Each result starts as a default PointResult.
template <std::size_t N>
void PointChain::TransformLanes(std::span<const SourcePoint, N> sources, int targetZone,
                                PointState* state, std::span<PointResult, N> results) const {
  using V = engine::Lanes<N>;
  if (refused_) {
    for (PointResult& result : results) result.status = Status::Refused;
    return;
  }

  // The held position of each point, as given or worked out from the exact one when needed.
  std::array<Geographic, N> held;
  std::array<bool, N> haveHeld{};
  for (std::size_t j = 0; j < N; ++j) {
    held[j] = {sources[j].heldLatitude, sources[j].heldLongitude};
    haveHeld[j] = sources[j].held;
  }
  const auto holdSource = [&](std::size_t j) {
    if (!haveHeld[j]) held[j] = Hold(sources[j].latitude, sources[j].longitude);
    haveHeld[j] = true;
  };

  V latitude = Gather(sources, &SourcePoint::latitude);
  V longitude = Gather(sources, &SourcePoint::longitude);
  V height = Gather(sources, &SourcePoint::height);
  if (settings_.holding.gda94FromHeld && settings_.source.datum == Datum::Gda94) {
    for (std::size_t j = 0; j < N; ++j) {
      holdSource(j);
      engine::SetLane(latitude, j, angles::PackedToRadians(held[j].latitude));
      engine::SetLane(longitude, j, angles::PackedToRadians(held[j].longitude));
    }
  }

  // A point whose step failed has its result; the steps go on for the others, and its lanes
  // are no longer read.
  std::array<bool, N> ended{};
  const auto end = [&](std::size_t j, Status status) {
    results[j].status = status;
    ended[j] = true;
  };
  // The point a shift moved, as the rest of the chain takes it: out of the area served when
  // it has no southern latitude or eastern longitude, and at the latitude's magnitude.
  std::array<bool, N> outsideArea{};
  const auto takeShifted = [&](std::size_t j, double movedLatitude, double movedLongitude) {
    outsideArea[j] = outsideArea[j] || movedLatitude <= 0.0 || movedLongitude <= 0.0;
    engine::SetLane(latitude, j, std::fabs(movedLatitude));
    engine::SetLane(longitude, j, movedLongitude);
  };
  bool similarity = false;
  for (std::size_t i = 0; i < stepCount_; ++i) {
    const StepKind step = steps_[i];
    // An AGD grid or external shift moves the held position of the point it gets.
    const bool shift = step == StepKind::GridToGda94 || step == StepKind::GridFromGda94 ||
                       step == StepKind::ExternalToGda94 || step == StepKind::ExternalFromGda94;
    for (std::size_t j = 0; j < N && shift; ++j) {
      if (ended[j]) continue;
      if (i == 0) {
        holdSource(j);
      } else {
        held[j] = Hold(engine::Lane(latitude, j), engine::Lane(longitude, j));
      }
    }
    switch (step) {
      case StepKind::SimilarityToGda94: {
        const engine::BasicGeodeticPoint<V> moved =
            engine::SevenParameterForward(settings_.parameters, latitude, longitude, height);
        latitude = moved.latitude;
        longitude = EastLongitude(moved.longitude);
        height = moved.height;
        similarity = true;
        break;
      }
      case StepKind::SimilarityFromGda94: {
        const engine::BasicGeodeticPoint<V> moved =
            engine::SevenParameterReverse(settings_.parameters, latitude, longitude, height);
        latitude = moved.latitude;
        longitude = moved.longitude;
        height = moved.height;
        similarity = true;
        break;
      }
      case StepKind::GridToGda94:
      case StepKind::GridFromGda94:
        for (std::size_t j = 0; j < N; ++j) {
          if (ended[j]) continue;
          ntv2::SubGridHint ownHint;  // a point with no state to keep it in
          std::optional<ntv2::GridShift> moved = settings_.grid->Shift(
              held[j].latitude, held[j].longitude, step == StepKind::GridFromGda94,
              state != nullptr ? state->gridHint : ownHint,
              settings_.outputs.gridAccuracy ? ntv2::ShiftAccuracy::Computed
                                             : ntv2::ShiftAccuracy::Skipped);
          if (!moved) {
            end(j, Status::OutsideGrid);
            continue;
          }
          takeShifted(j, moved->latitude, moved->longitude);
          if (settings_.outputs.gridAccuracy) results[j].gridShift = moved;
        }
        break;
      case StepKind::ExternalToGda94:
      case StepKind::ExternalFromGda94:
        for (std::size_t j = 0; j < N; ++j) {
          if (ended[j]) continue;
          const std::optional<Geographic> moved =
              settings_.external({angles::PackedToRadians(held[j].latitude),
                                  angles::PackedToRadians(held[j].longitude)},
                                 step == StepKind::ExternalToGda94);
          if (!moved) {
            end(j, Status::Refused);
            continue;
          }
          takeShifted(j, moved->latitude, moved->longitude);
        }
        break;
      case StepKind::SimilarityToGda2020:
      case StepKind::SimilarityFromGda2020: {
        const engine::BasicGeodeticPoint<V> moved =
            step == StepKind::SimilarityToGda2020
                ? engine::Gda94ToGda2020(latitude, longitude, height)
                : engine::Gda2020ToGda94(latitude, longitude, height);
        latitude = moved.latitude;
        longitude = moved.longitude;
        height = moved.height;
        similarity = true;
        for (std::size_t j = 0; j < N; ++j) {
          if (!ended[j]) results[j].gda2020Step = PointResult::Gda2020Step::Similarity;
        }
        break;
      }
      case StepKind::GridToGda2020:
      case StepKind::GridFromGda2020:
        for (std::size_t j = 0; j < N; ++j) {
          if (ended[j]) continue;
          // The grid reads packed positions to 1e-8 of a second; 7 + 1 decimals keep all of it.
          constexpr int kGridSecondsDecimals = 7;
          ntv2::SubGridHint ownHint;
          const std::optional<ntv2::GridShift> moved = settings_.grid2020->Shift(
              angles::RadiansToPacked(engine::Lane(latitude, j), kGridSecondsDecimals),
              angles::RadiansToPacked(engine::Lane(longitude, j), kGridSecondsDecimals),
              step == StepKind::GridFromGda2020, state != nullptr ? state->grid2020Hint : ownHint,
              ntv2::ShiftAccuracy::Skipped);
          if (!moved) {
            end(j, Status::OutsideGrid);
            continue;
          }
          takeShifted(j, moved->latitude, moved->longitude);
          results[j].gda2020Step = PointResult::Gda2020Step::Grid;
        }
        break;
    }
  }

  const Side& side = settings_.target;
  engine::BasicGridPosition<V> grid;
  if (settings_.outputs.targetGrid) {
    grid = InZone(side, targetConstants_, targetZone, [&](const engine::ProjectionConstants& c) {
      return engine::GeographicToGrid(c, latitude, longitude);
    });
  }
  engine::BasicCartesianPoint<V> cartesian;
  if (settings_.outputs.targetCartesian) {
    cartesian = engine::GeographicToCartesian(EllipsoidOf(side.datum), latitude, longitude, height);
  }
  for (std::size_t j = 0; j < N; ++j) {
    if (ended[j]) continue;
    PointResult& result = results[j];
    result.latitude = engine::Lane(latitude, j);
    result.longitude = engine::Lane(longitude, j);
    result.height = engine::Lane(height, j);
    result.datumChanged = stepCount_ > 0;
    result.heightAsGiven = sources[j].kind != InputKind::Cartesian && !similarity;
    bool finite = AllFinite({result.latitude, result.longitude, result.height});
    if (settings_.outputs.targetGrid) {
      result.grid = {engine::Lane(grid.easting, j), engine::Lane(grid.northing, j),
                     engine::Lane(grid.convergence, j), engine::Lane(grid.pointScale, j)};
      finite = finite && IsFinite(result.grid);
    }
    if (settings_.outputs.targetCartesian) {
      result.cartesian = {engine::Lane(cartesian.x, j), engine::Lane(cartesian.y, j),
                          engine::Lane(cartesian.z, j)};
      finite = finite && AllFinite({result.cartesian.x, result.cartesian.y, result.cartesian.z});
    }
    if (outsideArea[j]) {
      result.status = Status::OutsideArea;
    } else if (!finite) {
      result.status = Status::NotFinite;
    }
  }
}

}  // namespace tarvo::chain
