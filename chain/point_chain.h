// The transformation chain of one point: from its position in a source system (grid
// coordinates in a zone, latitude and longitude, or Cartesian X, Y, Z, on the source datum)
// to the same point in a target system, through the datum change between the two. Every
// caller is a thin client of it: the main window's calculation and its X, Y, Z display, the
// batch conversion of the file conversion dialog and of tarvo-convert, the NSW programs.
//
//   1. Locate: the input becomes latitude, longitude and ellipsoidal height on the source
//      datum, the exact position: grid coordinates by the inverse Transverse Mercator in the
//      source zone (engine/transverse_mercator.h), Cartesian ones by the iterative inverse on
//      the source datum's ellipsoid (engine/cartesian.h), whose derived height replaces any
//      other; latitude and longitude as given.
//   2. Datum change: the steps built with the chain, one after the other, through GDA94:
//      AGD66 or AGD84 to GDA94 and back, by the 7-parameter similarity
//      (engine/seven_parameter.h), by an NTv2 grid (ntv2/grid_file.h) or by a shift made
//      outside the chain (the window's NSW programs); GDA94 to GDA2020 and back by the
//      EPSG:8048 similarity (engine/gda2020.h) or, when the chain has one, a GDA94 -> GDA2020
//      NTv2 grid. An AGD point reaches GDA2020 in two steps. None between two sides on one
//      datum.
//   3. The target: latitude, longitude and height, and as asked grid coordinates,
//      convergence and point scale in the target zone and Cartesian X, Y, Z on the target
//      datum's ellipsoid.
//
// The rules that decide the digits are held here, once each:
//   - East longitude. Cartesian-to-geographic gives the principal value of arctan(Y / X),
//     between -pi/2 and pi/2; for Australian points (X < 0 < Y) the east longitude is that
//     plus pi. Cartesian input and the forward similarity (which ends in the same
//     conversion) get that correction here; the reverse similarity has made its own.
//   - The held position: the point as packed DDD.MMSSsss values (angles/packed_angle.h) with
//     a limited number of decimals of seconds. A grid or external shift takes the held
//     position of the point it moves. PositionHolding says how it is rounded, and whether a
//     point on GDA94 also goes into the datum change and the target from its held position
//     instead of its exact one (the main window has always taken a GDA94 point at its
//     stored position). A point given as packed values is held as given.
//   - Heights. A similarity yields the height of its result (the GDA2020 one too: it is
//     three-dimensional here, so Cartesian output is the similarity of Cartesian input); a
//     grid or external shift yields none, and the height goes on unchanged.
//   - The GDA2020 grid step takes the exact position it gets, packed to 1e-8 of a second (the
//     grid's own resolution), not the held position: there is no older result to match, and
//     the held position's rounding would cost up to 0.3 mm.
//   - A shift that moves a point north of the equator or west of Greenwich (a latitude or
//     longitude of 0 or less) has left the area the program serves: the target is worked out
//     for the latitude's magnitude, and the status says OutsideArea.
//   - The first estimate of every Cartesian-to-geographic conversion of an input point is the
//     latitude found for the last Cartesian point on the same ellipsoid (PointState).
//
// State and threads. A PointChain is immutable once built: its settings, the steps, the
// constants of its zones and the grid (an immutable GridFile shared by every holder) never
// change, and Locate, Transform and Convert are const. What one point leaves to the next is
// in the PointState the caller passes: the first latitude estimate of Cartesian input and
// the sub-grid of the last grid shift. Several threads may convert through one chain at
// once, each with its own PointState. The estimate decides written digits: the iteration
// stops at 1e-9 radians, and where it starts moves the last digit of a few per cent of
// Cartesian records (measured over 10 M file records started afresh); two records on, the
// start no longer shows. A run split among threads must therefore carry the state across
// its parts. The sub-grid hint never changes a result (ntv2/grid_file.h). The external
// shift is the caller's and runs on the calling thread. Nothing is allocated per point and
// nothing is shown: the status says what happened.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "chain/datum.h"
#include "engine/cartesian.h"
#include "engine/datum_parameters.h"
#include "engine/projection_constants.h"
#include "ntv2/grid_file.h"

namespace tarvo::chain {

// One side of a transformation: the datum and the zone of its grid coordinates (49 to 56,
// or three digits for ISG; see engine/projection_constants.h).
struct Side {
  Datum datum = Datum::Gda94;
  int zone = 56;
};

// How the datum changes between an AGD datum and GDA94.
enum class DatumMethod {
  SevenParameter,  // the similarity with ChainSettings::parameters
  Grid,            // the NTv2 grid ChainSettings::grid
  External,        // ChainSettings::external
};

// A latitude and longitude in radians, south and east positive.
struct Geographic {
  double latitude = 0.0;
  double longitude = 0.0;
};

// A datum shift made outside the chain: takes the held position (radians) and whether the
// point goes to GDA94 (or from it); gives the moved position, or nothing when it failed (it
// has said why itself).
using ExternalShift = std::function<std::optional<Geographic>(Geographic held, bool toGda94)>;

// How the exact position is rounded into the held packed position.
enum class PackedRounding {
  // angles::RadiansToPacked(radians, decimals): decimals + 1 decimals of seconds, carried at
  // the threshold of `decimals` (the main window's stored position).
  RadiansToPacked,
  // angles::RadiansToPackedDecimals(radians, decimals) (the batch run's).
  RadiansToPackedDecimals,
};

struct PositionHolding {
  PackedRounding rounding = PackedRounding::RadiansToPackedDecimals;
  int decimals = 5;  // of seconds
  // A point on GDA94 goes into the datum change and the target from its held position.
  bool gda94FromHeld = false;
};

// What the chain works out besides the target's latitude, longitude and height.
struct Outputs {
  // The source side's grid values (below) and the held position, for a caller that shows
  // the point where it came from.
  bool sourceGrid = false;
  bool targetGrid = true;        // East, North, convergence and point scale in the target zone
  bool targetCartesian = false;  // X, Y, Z on the target datum's ellipsoid
  bool gridAccuracy = true;      // the accuracy of a grid shift (a batch run writes none)
};

struct ChainSettings {
  Side source;
  Side target;
  DatumMethod method = DatumMethod::SevenParameter;
  // The GDA94 side's ellipsoid (Cartesian conversions on GDA94 use it whatever the method)
  // and the seven parameters of the similarity.
  engine::DatumParameters parameters;
  std::shared_ptr<const ntv2::GridFile> grid;  // DatumMethod::Grid
  ExternalShift external;                      // DatumMethod::External
  // A GDA94 -> GDA2020 grid for the step between those datums, whatever the method of the
  // AGD step; without one that step is the EPSG:8048 similarity.
  std::shared_ptr<const ntv2::GridFile> grid2020;
  PositionHolding holding;
  Outputs outputs;
};

// The forms a point is given in.
enum class InputKind {
  Grid,        // East, North (metres, in the source zone), ellipsoidal height
  Geographic,  // latitude, longitude (radians, south and east positive), ellipsoidal height
  Packed,      // latitude, longitude as packed DDD.MMSSsss values, ellipsoidal height
  Cartesian,   // X, Y, Z (metres)
};

struct PointInput {
  InputKind kind = InputKind::Grid;
  double first = 0.0;
  double second = 0.0;
  double third = 0.0;
};

// The zones of one point, where they differ from the chain's (a file record's zone fields).
struct Zones {
  int source = 0;
  int target = 0;
};

enum class Status {
  Ok,
  // No sub-grid of the grid holds the point (or its held position is no angle): no target.
  OutsideGrid,
  // A grid or external shift moved the point out of the area served (see above): the target
  // is given for the latitude's magnitude; a caller that shows single points refuses it.
  OutsideArea,
  // The datum change could not be made: no step joins the two datums, the method's grid or
  // external shift is missing, or the external shift failed (and said why). No target.
  Refused,
  // A value worked out is not finite: the values are given as they came out.
  NotFinite,
};

// Grid values of a point in a zone.
struct GridValues {
  double east = 0.0;         // metres
  double north = 0.0;        // metres
  double convergence = 0.0;  // radians, positive east of the central meridian
  double pointScale = 0.0;
};

// The point on the source datum.
struct SourcePoint {
  // Ok, or NotFinite when a value worked out for Outputs::sourceGrid is not finite or the
  // held position is no angle.
  Status status = Status::Ok;
  InputKind kind = InputKind::Grid;
  double latitude = 0.0;   // the exact position, radians
  double longitude = 0.0;  // radians
  double height = 0.0;     // metres: as given, or derived from Cartesian input
  // The held position (packed), worked out when asked (Outputs::sourceGrid), when a step
  // needs it, or given (InputKind::Packed).
  bool held = false;
  double heldLatitude = 0.0;
  double heldLongitude = 0.0;
  // Outputs::sourceGrid: East and North (for grid input, as given), convergence (for grid
  // input, of the inverse projection) and point scale, at the exact position (for packed
  // input, at the held one).
  GridValues grid;
};

struct PointResult {
  Status status = Status::Ok;
  double latitude = 0.0;             // radians, south positive
  double longitude = 0.0;            // radians, east positive
  double height = 0.0;               // metres above the target ellipsoid
  GridValues grid;                   // Outputs::targetGrid
  engine::CartesianPoint cartesian;  // Outputs::targetCartesian
  bool datumChanged = false;         // a step ran
  // The height is the input's own: neither derived from Cartesian input nor changed by a
  // similarity (a caller may show the height as it was typed).
  bool heightAsGiven = false;
  // The grid shift's result, accuracy included, when an AGD grid step ran (and
  // Outputs::gridAccuracy asked for it).
  std::optional<ntv2::GridShift> gridShift;
  // How the GDA94 <-> GDA2020 step was made, when one ran.
  enum class Gda2020Step { None, Similarity, Grid } gda2020Step = Gda2020Step::None;
};

// What one point leaves to the next: the first latitude estimate of the Cartesian-to-
// geographic iteration of input points on each ellipsoid, the latitude found for the last
// Cartesian point on it (0.5585 radians, 32 degrees, before the first).
// The sub-grid of the last shift by each grid, where the next point's search starts, is kept
// with it: it makes neighbouring points cheaper and never changes a result.
struct PointState {
  static constexpr double kInitialLatitude = 0.5585;
  double ansLatitude = kInitialLatitude;  // AGD66, AGD84
  double gdaLatitude = kInitialLatitude;  // GDA94
  double gda2020Latitude = kInitialLatitude;
  ntv2::SubGridHint gridHint;      // the AGD grid's
  ntv2::SubGridHint grid2020Hint;  // the GDA94 -> GDA2020 grid's
};

// Whether two states hold the same first estimates, bit for bit: the part of a state that
// decides results (the sub-grid hints decide none). A run split into parts compares states
// by it to know where a part rejoins the run in order.
bool SameEstimates(const PointState& a, const PointState& b);

class PointChain {
 public:
  explicit PointChain(ChainSettings settings);

  const ChainSettings& settings() const { return settings_; }

  // The whole chain for one point, in the chain's zones or in the point's own.
  PointResult Convert(const PointInput& input, PointState& state) const;
  PointResult Convert(const PointInput& input, const Zones& zones, PointState& state) const;

  // Two points, in the chain's zones or in zones they share, with exactly the results of
  // converting the first and then the second. Two points of the same form run their
  // projections and similarities side by side (engine/lanes.h), about twice as fast.
  std::array<PointResult, 2> ConvertPair(const std::array<PointInput, 2>& inputs,
                                         PointState& state) const;
  std::array<PointResult, 2> ConvertPair(const std::array<PointInput, 2>& inputs,
                                         const Zones& zones, PointState& state) const;

  // The two halves of Convert, for a caller that shows the source point before the datum
  // change (and may stop there): Convert is Transform(Locate(...)).
  SourcePoint Locate(const PointInput& input, PointState& state) const;
  SourcePoint Locate(const PointInput& input, int sourceZone, PointState& state) const;
  PointResult Transform(const SourcePoint& source) const;
  PointResult Transform(const SourcePoint& source, int targetZone) const;

 private:
  // Locate and Transform for N points of one form, side by side (N is 1 or 2).
  template <std::size_t N>
  void LocateLanes(std::span<const PointInput, N> inputs, int sourceZone, PointState& state,
                   std::span<SourcePoint, N> points) const;
  template <std::size_t N>
  void TransformLanes(std::span<const SourcePoint, N> sources, int targetZone, PointState* state,
                      std::span<PointResult, N> results) const;
  enum class StepKind {
    SimilarityToGda94,
    SimilarityFromGda94,
    GridToGda94,
    GridFromGda94,
    ExternalToGda94,
    ExternalFromGda94,
    SimilarityToGda2020,
    SimilarityFromGda2020,
    GridToGda2020,
    GridFromGda2020,
  };
  StepKind AgdStep(bool toGda94);
  static constexpr std::size_t kMaxSteps = 2;

  const engine::Ellipsoid& EllipsoidOf(Datum datum) const;
  double& EstimateOf(Datum datum, PointState& state) const;
  Geographic Hold(double latitude, double longitude) const;

  ChainSettings settings_;
  engine::ProjectionConstants sourceConstants_;
  engine::ProjectionConstants targetConstants_;
  std::array<StepKind, kMaxSteps> steps_{};
  std::size_t stepCount_ = 0;
  // No step joins the two datums (AGD66 and AGD84), or the method lacks its grid or shift.
  bool refused_ = false;
};

}  // namespace tarvo::chain
