// A coordinate system as a user types it on a command line or in a script: the one reading of
// such texts, shared by tarvo-convert and the Python module.
//
//   SYSTEM[:ZONE]  SYSTEM a grid system's label ("AGD/AMG", "GDA/MGA", "AGD/ISG", "MGA2020")
//                  or its short name (AMG, MGA, ISG, MGA2020), any case; ZONE two or three
//                  digits ("56", "561"), checked against the system by the run.
//   EPSG:CODE      a code of the EPSG registry for a system the program knows:
//                    20249-20256  AGD66 / AMG zones 49-56     4202  AGD66 (geographic)
//                    20349-20356  AGD84 / AMG zones 49-56     4203  AGD84 (geographic)
//                    28349-28356  GDA94 / MGA zones 49-56     4283  GDA94 (geographic)
//                    7849-7856    GDA2020 / MGA zones 49-56   7844  GDA2020 (geographic)
//                    4939, 7843   GDA94, GDA2020 (geographic with ellipsoidal heights)
//                    4938, 7842   GDA94, GDA2020 (geocentric X, Y, Z)
//                  A projected code names the grid system and zone; a geographic or
//                  geocentric one names the system and the form of the coordinates (its zone
//                  is the zone in use). The AGD codes name their datum, which the method in
//                  use must agree with (AgdDatumInUse). AGD66 and AGD84 have no geocentric
//                  codes, and the ISG has none at all.
//
// ParseCoordinateSystem reads the one-word form a script gives (the Python module's
// Transformer), on top of ParseSystemText: besides SYSTEM:ZONE and EPSG:CODE it takes a
// datum name for latitude and longitude (AGD66, AGD84, GDA94, GDA2020) and a unit word after
// a system or datum for its latitude and longitude or Cartesian X, Y, Z (AMG:geo, GDA94:xyz;
// geo, geographic, latlong; xyz, cartesian). There the zone of a grid system is required.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "chain/datum.h"

namespace tarvo::chain {

enum class CoordinateForm { Grid, Geographic, Cartesian };

struct SystemText {
  std::string system;               // the grid system's label
  std::optional<std::string> zone;  // digits
  // The form an EPSG code names for geographic and geocentric systems (projected codes and
  // SYSTEM[:ZONE] leave the form to the units chosen).
  std::optional<CoordinateForm> form;
  // The AGD datum an AGD code names.
  std::optional<Datum> agdDatum;
  std::optional<int> epsg;  // the code, when the text was one
};

// Reads `text`. Returns nothing for a text that names no system, with what was expected in
// `error` ("a zone of two or three digits after ':'").
std::optional<SystemText> ParseSystemText(std::string_view text, std::string& error);

// A coordinate system as one word names it: the grid system, the datum where the text names
// one, the form of the coordinates and, for grid coordinates, the zone.
struct CoordinateSystem {
  // The grid system's label (engine/grid_system.h); for latitude and longitude and Cartesian
  // forms the label of a system on the same datum ("GDA/MGA" for GDA94).
  std::string_view system;
  std::optional<Datum> datum;  // the datum the text names, where it names one
  CoordinateForm form = CoordinateForm::Grid;
  int zone = 0;  // grid form: 49 to 56, or an ISG zone 541 to 563
};

// The system a one-word `text` names; nothing when it names none, and then `error` says why,
// quoting the text ("'AMG' needs a zone, as in AMG:56").
std::optional<CoordinateSystem> ParseCoordinateSystem(std::string_view text, std::string& error);

// The datum of a system: its own, else the grid system's rule (DatumOfSystem) with `agd`.
Datum DatumOf(const CoordinateSystem& system, std::optional<Datum> agd);

}  // namespace tarvo::chain
