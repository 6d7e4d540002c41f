#include "fileconv/record_chain.h"

#include "angles/angle_reading.h"
#include "angles/packed_angle.h"
#include "engine/grid_system.h"
#include "text/number_text.h"
#include "text/trimmed.h"

namespace tarvo::fileconv {
namespace {

// The chain of a run: its position held for a grid shift, and only the outputs the run
// writes.
chain::ChainSettings RunChain(const ChainSetup& setup) {
  chain::ChainSettings settings = setup.chain;
  settings.holding = {chain::PackedRounding::RadiansToPackedDecimals, setup.precision + 1, false};
  settings.outputs.sourceGrid = false;
  settings.outputs.targetGrid =
      setup.outputUnits == Units::Grid || setup.outputUnits == Units::Both;
  settings.outputs.targetCartesian = setup.outputUnits == Units::Cartesian;
  settings.outputs.gridAccuracy = false;
  return settings;
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

RecordChain::RecordChain(const ChainSetup& setup)
    : inputUnits_(setup.inputUnits),
      outputUnits_(setup.outputUnits),
      inputIsIsg_(setup.inputIsIsg),
      outputIsIsg_(setup.outputIsIsg),
      inputFormat_(setup.inputFormat),
      fieldsArePacked_(setup.fieldsArePacked),
      precision_(setup.precision),
      chain_(RunChain(setup)) {}

// A latitude or longitude text as radians. Texts in the input notation are read, then held
// as packed numbers with `precision` decimals of seconds, the resolution of the run.
double RecordChain::ReadAngle(const std::string& text) const {
  double packed = 0.0;
  if (fieldsArePacked_) {
    packed = text::ToDouble(text);
  } else {
    packed = angles::ReadAngleText(text, inputFormat_, precision_).value_or(0.0);
    packed = angles::RoundPacked(packed, precision_ + 4);
  }
  return angles::PackedToRadians(packed);
}

chain::PointInput RecordChain::InputOf(const RecordFields& fields) const {
  switch (inputUnits_) {
    case Units::Grid:
    case Units::Both:  // not an input form (the run refuses it); read as grid
      break;
    case Units::Geographic:
      return {chain::InputKind::Geographic, ReadAngle(fields.first), ReadAngle(fields.second),
              text::ToDouble(fields.height)};
    case Units::Cartesian:
      // The height field carries Z.
      return {chain::InputKind::Cartesian, text::ToDouble(fields.first),
              text::ToDouble(fields.second), text::ToDouble(fields.height)};
  }
  return {chain::InputKind::Grid, text::ToDouble(fields.first), text::ToDouble(fields.second),
          text::ToDouble(fields.height)};
}

chain::Zones RecordChain::ZonesOf(const RecordFields& fields) const {
  const chain::ChainSettings& settings = chain_.settings();
  return {RecordZone(fields.inputZone, inputIsIsg_, settings.source.zone),
          RecordZone(fields.outputZone, outputIsIsg_, settings.target.zone)};
}

ConvertedRecord RecordChain::RecordOf(const chain::PointResult& result) const {
  ConvertedRecord record;
  record.status = result.status;
  record.height = result.height;
  if (outputUnits_ == Units::Grid || outputUnits_ == Units::Both) {
    record.east = result.grid.east;
    record.north = result.grid.north;
  }
  if (outputUnits_ == Units::Geographic || outputUnits_ == Units::Both) {
    record.latitude = angles::RadiansToPackedDecimals(result.latitude, precision_);
    record.longitude = angles::RadiansToPackedDecimals(result.longitude, precision_);
  }
  if (outputUnits_ == Units::Cartesian) {
    record.east = result.cartesian.x;
    record.north = result.cartesian.y;
    record.height = result.cartesian.z;
  }
  return record;
}

ConvertedRecord RecordChain::Convert(const RecordFields& fields, chain::PointState& state) const {
  return RecordOf(chain_.Convert(InputOf(fields), ZonesOf(fields), state));
}

std::array<ConvertedRecord, 2> RecordChain::ConvertPair(const RecordFields& first,
                                                        const RecordFields& second,
                                                        chain::PointState& state) const {
  const chain::Zones zones = ZonesOf(first);
  const chain::Zones secondZones = ZonesOf(second);
  if (zones.source != secondZones.source || zones.target != secondZones.target) {
    const ConvertedRecord converted = Convert(first, state);
    return {converted, Convert(second, state)};
  }
  const std::array<chain::PointResult, 2> results =
      chain_.ConvertPair({InputOf(first), InputOf(second)}, zones, state);
  return {RecordOf(results[0]), RecordOf(results[1])};
}

}  // namespace tarvo::fileconv
