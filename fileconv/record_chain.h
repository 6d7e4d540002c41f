// The conversion of one record of a coordinate file: the same chain of engine operations as
// a single point of the main window.
//
//   1. Input form to latitude, longitude and ellipsoidal height on the input datum:
//      grid by the inverse Transverse Mercator in the record's input zone (GRS80 for
//      "GDA/MGA", ANS otherwise); latitude and longitude texts read in the input notation and
//      rounded to `precision` decimals of seconds; Cartesian X, Y, Z by the iterative
//      inverse on the side's ellipsoid, whose derived ellipsoidal height is used from then on.
//   2. Datum change when exactly one side is GDA94: the 7-parameter similarity (forward
//      AGD -> GDA with pi added to the principal-value longitude it returns, or reverse),
//      which yields a new height; or the NTv2 shift, which yields none, so the height read
//      is carried over. A point the grid does not cover is dropped.
//   3. Output form: grid in the record's output zone; a packed latitude and longitude with
//      `precision` decimals of seconds; Cartesian X, Y, Z on the output side's ellipsoid.
//
// Zones: a record's zone field overrides the dialog's zone of its side when it holds a zone
// of that side's system ("49" to "56" for AMG and MGA, "541" to "563" as the ISG zones).
//
// Latitudes are south and positive throughout (radians inside the chain); longitudes east.
// The 7-parameter texts are converted once, when the chain is built.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "angles/angle_format.h"
#include "engine/cartesian.h"
#include "engine/datum_parameters.h"
#include "engine/projection_constants.h"
#include "fileconv/file_conversion_settings.h"
#include "fileconv/record_reader.h"

namespace tarvo::fileconv {

struct GeographicRadians {
  double latitude = 0.0;   // radians, south positive
  double longitude = 0.0;  // radians, east positive
};

// The NTv2 shift of one point, given as packed DDD.MMSSsss values on the source datum:
// forward (AGD to GDA94) or `reverse` (GDA94 to AGD). Nothing when the grid does not cover
// the point. The caller opens and checks its grid file once, before the run.
using GridShift = std::function<std::optional<GeographicRadians>(
    double packedLatitude, double packedLongitude, bool reverse)>;

enum class DatumChange { None, SevenParameter, Grid };

// What a run's chain needs; built once per run.
struct ChainSetup {
  Units inputUnits = Units::Grid;
  Units outputUnits = Units::Grid;
  bool inputIsGda = false;
  bool outputIsGda = true;
  bool inputIsIsg = false;
  bool outputIsIsg = false;
  int inputZone = 55;  // the dialog's zones
  int outputZone = 55;
  // Notation of latitude and longitude input, and whether the reader already turned
  // "DDD MM SS.ssss" fields into packed numbers (CSV).
  angles::AngleFormat inputFormat = angles::AngleFormat::Packed;
  bool fieldsArePacked = false;
  // Decimals of seconds of the latitudes and longitudes: 4 (7-parameter), 5 (NTv2).
  int precision = 4;
  DatumChange datumChange = DatumChange::None;
  engine::DatumParameters parameters;  // the GDA-side ellipsoid and the seven parameters
  GridShift gridShift;                 // needed for DatumChange::Grid
};

// The values of one converted record.
struct ConvertedRecord {
  double east = 0.0;       // grid East, or Cartesian X
  double north = 0.0;      // grid North, or Cartesian Y
  double height = 0.0;     // ellipsoidal height, or Cartesian Z
  double latitude = 0.0;   // packed, `precision` decimals of seconds (geographic output)
  double longitude = 0.0;  // packed
};

// The zone of one side of a record: the record's zone text when it is a zone of that side's
// system, otherwise the dialog's zone.
int RecordZone(std::string_view zoneText, bool isIsg, int dialogZone);

// True when `zoneText` (blanks around it ignored) is a zone of the system: two digits 49 to
// 56 for AMG and MGA, three digits 541 to 563 (sub-zones 1 to 3) for ISG.
bool IsZoneOfSystem(std::string_view zoneText, bool isIsg);

class RecordChain {
 public:
  explicit RecordChain(ChainSetup setup);

  // Converts one record; nothing when it is dropped (its point lies outside the grid).
  std::optional<ConvertedRecord> Convert(const RecordFields& fields);

 private:
  // The constants of a zone, kept from the last record of the same zone.
  struct ZoneCache {
    int zone = -1;
    engine::ProjectionConstants constants;
  };
  const engine::ProjectionConstants& Constants(ZoneCache& cache, int zone, bool gda);
  double ReadAngle(const std::string& text) const;

  ChainSetup setup_;
  engine::Ellipsoid inputEllipsoid_;
  engine::Ellipsoid outputEllipsoid_;
  ZoneCache inputCache_;
  ZoneCache outputCache_;
  // Starting latitude of the Cartesian iteration: the last latitude found.
  double cartesianEstimate_ = engine::CartesianEstimates::kInitialLatitude;
};

}  // namespace tarvo::fileconv
