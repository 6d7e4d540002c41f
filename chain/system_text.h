// Coordinate systems named by a short text, for callers that take a system as one word (the
// Python module's Transformer; a command line): the grid systems as tarvo-convert's --from and
// --to spell them, the datums for latitude and longitude or Cartesian X, Y, Z, and EPSG codes.
//
//   AMG:56, MGA:55, ISG:561    grid coordinates in a zone ("AGD/AMG:56" and the other
//                              labels too); the zone is required
//   AMG:geo, MGA:xyz           the system's datum, latitude and longitude or Cartesian (the
//                              converter's unit words: geo, geographic, latlong; xyz,
//                              cartesian)
//   AGD66, AGD84, GDA94        latitude and longitude on that datum; ":xyz" for Cartesian
//   EPSG:20249 to 20256        AGD66 / AMG zones 49 to 56; EPSG:20349 to 20356 on AGD84
//   EPSG:28349 to 28356        GDA94 / MGA zones 49 to 56
//   EPSG:4202, 4203, 4283      AGD66, AGD84, GDA94 latitude and longitude (4939: GDA94 3D)
//   EPSG:4938                  GDA94 Cartesian (geocentric)
// Names and words are compared without regard to case. The AGD systems named without a datum
// (AMG, ISG) are on the AGD datum of the method in use (chain/datum.h); a datum name or an
// EPSG code names it. GDA2020 systems are recognised and refused with a message that says so.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "chain/datum.h"

namespace tarvo::chain {

enum class CoordinateForm { Grid, Geographic, Cartesian };

struct CoordinateSystem {
  // The grid system's label (engine/grid_system.h); for latitude and longitude and Cartesian
  // forms the label of a system on the same datum ("GDA/MGA" for GDA94).
  std::string_view system;
  // The datum the text names, where it names one.
  std::optional<Datum> datum;
  CoordinateForm form = CoordinateForm::Grid;
  int zone = 0;  // grid form: 49 to 56, or an ISG zone 541 to 563
};

// The system `text` names; nothing when it names none, and then `error` says why, quoting
// the text ("'AMG' needs a zone, as in AMG:56").
std::optional<CoordinateSystem> ParseSystemText(std::string_view text, std::string& error);

// The datum of a system: its own, else the grid system's rule (DatumOfSystem) with `agd`.
Datum DatumOf(const CoordinateSystem& system, std::optional<Datum> agd);

}  // namespace tarvo::chain
