// The conversion of one record of a coordinate file: its fields become a point of the
// transformation chain (chain/point_chain.h), and the chain's result the values the record
// writer writes. The batch run's own rules are these:
//   - Latitude and longitude texts are read in the input notation and held as packed
//     numbers with `precision` + 4 decimals (`precision` decimals of seconds: 4 under the
//     7-parameter method, 5 under NTv2), the resolution of the run.
//   - The chain goes on from the exact position of a point; a grid shift takes it packed
//     with one decimal of seconds more than the run's resolution (as the main window holds
//     its stored position).
//   - Latitudes and longitudes are written as packed numbers with `precision` decimals of
//     seconds.
//   - Zones: a record's zone field overrides the dialog's zone of its side when it holds a
//     zone of that side's system ("49" to "56" for AMG and MGA, "541" to "563" as the ISG
//     zones).
// A RecordChain is built once per run and never changes: several threads may convert records
// through it at once, each with its own chain::PointState, which carries what one record
// leaves to the next (the first latitude estimate of Cartesian input decides written digits:
// a run's records go through one state in input order, or are made to give what that would).
#pragma once

#include <array>
#include <string_view>

#include "angles/angle_format.h"
#include "chain/point_chain.h"
#include "fileconv/file_conversion_settings.h"
#include "fileconv/record_reader.h"

namespace tarvo::fileconv {

// What a run's chain needs; built once per run.
struct ChainSetup {
  Units inputUnits = Units::Grid;
  Units outputUnits = Units::Grid;
  bool inputIsIsg = false;
  bool outputIsIsg = false;
  // Notation of latitude and longitude input, and whether the reader already turned
  // "DDD MM SS.ssss" fields into packed numbers (CSV).
  angles::AngleFormat inputFormat = angles::AngleFormat::Packed;
  bool fieldsArePacked = false;
  // Decimals of seconds of the latitudes and longitudes: 4 (7-parameter), 5 (NTv2).
  int precision = 4;
  // The sides (datums and the dialog's zones), the method with its parameters or grid. The
  // held position and the outputs follow from the settings above.
  chain::ChainSettings chain;
};

// The values of one converted record.
struct ConvertedRecord {
  // Ok, OutsideArea (written all the same), OutsideGrid (dropped), NotFinite.
  chain::Status status = chain::Status::Ok;
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
  explicit RecordChain(const ChainSetup& setup);

  ConvertedRecord Convert(const RecordFields& fields, chain::PointState& state) const;
  // A record converted as the first of a run.
  ConvertedRecord Convert(const RecordFields& fields) const {
    chain::PointState fresh;
    return Convert(fields, fresh);
  }
  // Two records, the first and then the second: the results of converting them one at a
  // time, side by side where they share their zones (chain::PointChain::ConvertPair).
  std::array<ConvertedRecord, 2> ConvertPair(const RecordFields& first, const RecordFields& second,
                                             chain::PointState& state) const;

 private:
  double ReadAngle(const std::string& text) const;
  chain::PointInput InputOf(const RecordFields& fields) const;
  chain::Zones ZonesOf(const RecordFields& fields) const;
  ConvertedRecord RecordOf(const chain::PointResult& result) const;

  Units inputUnits_;
  Units outputUnits_;
  bool inputIsIsg_;
  bool outputIsIsg_;
  angles::AngleFormat inputFormat_;
  bool fieldsArePacked_;
  int precision_;
  chain::PointChain chain_;
};

}  // namespace tarvo::fileconv
