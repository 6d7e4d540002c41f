#include "fileconv/record_chain.h"

#include <cmath>

#include "angles/angle_reading.h"
#include "angles/angle_writing.h"
#include "angles/packed_angle.h"
#include "engine/ellipsoid.h"
#include "engine/grid_system.h"
#include "engine/seven_parameter.h"
#include "engine/transverse_mercator.h"
#include "text/number_text.h"
#include "text/trimmed.h"

namespace tarvo::fileconv {
namespace {

// Radians as a packed value rounded to `secondsDecimals` decimals of seconds (a seconds
// field that would round to 60 carries into the minute). RadiansToPacked is not used here:
// it writes one decimal more than its carry threshold is made for, so a fraction of a second
// above 1 - 0.5e-(n-1) is lifted to the next whole second, up to 15 mm off at four decimals.
double ToPacked(double radians, int secondsDecimals) {
  return angles::DecimalDegreesToPacked(angles::RadiansToDegrees(radians), secondsDecimals);
}

}  // namespace

bool IsZoneOfSystem(std::string_view zoneText, bool isIsg) {
  const std::string_view zone = text::Trimmed(zoneText);
  return zone.size() == (isIsg ? 3u : 2u) && engine::IsValidRecordZone(zone);
}

int RecordZone(std::string_view zoneText, bool isIsg, int dialogZone) {
  if (!zoneText.empty() && IsZoneOfSystem(zoneText, isIsg)) return text::ToInt(zoneText);
  return dialogZone;
}

RecordChain::RecordChain(ChainSetup setup)
    : setup_(std::move(setup)),
      inputEllipsoid_(setup_.inputIsGda ? setup_.parameters.gdaEllipsoid : engine::kAnsEllipsoid),
      outputEllipsoid_(setup_.outputIsGda ? setup_.parameters.gdaEllipsoid
                                          : engine::kAnsEllipsoid) {}

const engine::ProjectionConstants& RecordChain::Constants(ZoneCache& cache, int zone, bool gda) {
  if (cache.zone != zone) {
    cache.constants = engine::SetZoneConstants(zone, gda);
    cache.zone = zone;
  }
  return cache.constants;
}

// A latitude or longitude text as radians. Texts in the input notation are read, then held
// as packed numbers with `precision` decimals of seconds, the resolution of the run.
double RecordChain::ReadAngle(const std::string& text) const {
  double packed = 0.0;
  if (setup_.fieldsArePacked) {
    packed = text::ToDouble(text);
  } else {
    packed = angles::ReadAngleText(text, setup_.inputFormat, setup_.precision).value_or(0.0);
    packed = angles::RoundPacked(packed, setup_.precision + 4);
  }
  return angles::PackedToRadians(packed);
}

std::optional<ConvertedRecord> RecordChain::Convert(const RecordFields& fields) {
  double latitude = 0.0;
  double longitude = 0.0;
  double height = text::ToDouble(fields.height);

  // 1. Input form to geographic on the input datum.
  switch (setup_.inputUnits) {
    case Units::Grid:
    case Units::Both: {  // not an input form (the run refuses it); read as grid
      const int zone = RecordZone(fields.inputZone, setup_.inputIsIsg, setup_.inputZone);
      const engine::GeographicPosition geographic =
          engine::GridToGeographic(Constants(inputCache_, zone, setup_.inputIsGda),
                                   text::ToDouble(fields.first), text::ToDouble(fields.second));
      latitude = geographic.latitude;
      longitude = geographic.longitude;
      break;
    }
    case Units::Geographic:
      latitude = ReadAngle(fields.first);
      longitude = ReadAngle(fields.second);
      break;
    case Units::Cartesian: {
      const engine::GeodeticPoint geodetic =
          engine::CartesianToGeographic(inputEllipsoid_, text::ToDouble(fields.first),
                                        text::ToDouble(fields.second), height, cartesianEstimate_);
      cartesianEstimate_ = geodetic.latitude;
      latitude = geodetic.latitude;
      // arctan(Y / X) is the longitude less pi for Australian points (X < 0, Y > 0).
      longitude = geodetic.longitude + engine::kPi;
      height = geodetic.height;
      break;
    }
  }

  // 2. Datum change.
  if (setup_.datumChange == DatumChange::SevenParameter) {
    if (setup_.inputIsGda) {
      const engine::GeodeticPoint agd =
          engine::SevenParameterReverse(setup_.parameters, latitude, longitude, height);
      latitude = agd.latitude;
      longitude = agd.longitude;
      height = agd.height;
    } else {
      const engine::GeodeticPoint gda =
          engine::SevenParameterForward(setup_.parameters, latitude, longitude, height);
      latitude = gda.latitude;
      longitude = gda.longitude + engine::kPi;
      height = gda.height;
    }
  } else if (setup_.datumChange == DatumChange::Grid) {
    // The shift takes the position as the single-point calculation stores it: packed, one
    // decimal of seconds finer than the run's resolution.
    const std::optional<GeographicRadians> shifted =
        setup_.gridShift(ToPacked(latitude, setup_.precision + 1),
                         ToPacked(longitude, setup_.precision + 1), setup_.inputIsGda);
    if (!shifted) return std::nullopt;
    latitude = std::fabs(shifted->latitude);
    longitude = shifted->longitude;
  }

  // 3. Output form.
  ConvertedRecord result;
  result.height = height;
  const auto toGrid = [&] {
    const int zone = RecordZone(fields.outputZone, setup_.outputIsIsg, setup_.outputZone);
    const engine::GridPosition grid = engine::GeographicToGrid(
        Constants(outputCache_, zone, setup_.outputIsGda), latitude, longitude);
    result.east = grid.easting;
    result.north = grid.northing;
  };
  const auto toPacked = [&] {
    result.latitude = ToPacked(latitude, setup_.precision);
    result.longitude = ToPacked(longitude, setup_.precision);
  };
  switch (setup_.outputUnits) {
    case Units::Grid:
      toGrid();
      break;
    case Units::Geographic:
      toPacked();
      break;
    case Units::Both:
      toGrid();
      toPacked();
      break;
    case Units::Cartesian: {
      const engine::CartesianPoint cartesian =
          engine::GeographicToCartesian(outputEllipsoid_, latitude, longitude, height);
      result.east = cartesian.x;
      result.north = cartesian.y;
      result.height = cartesian.z;
      break;
    }
  }
  return result;
}

}  // namespace tarvo::fileconv
