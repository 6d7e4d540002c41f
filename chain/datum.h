// The geodetic datums of the program, and which one a grid system's coordinates are on.
//
//   AGD66, AGD84  the Australian Geodetic Datums, both on the Australian National Spheroid
//                 (ANS); grid coordinates in the AMG and ISG systems.
//   GDA94         the Geocentric Datum of Australia 1994 on GRS80 (for the Cartesian
//                 conversions the ellipsoid of the 7-parameter set in use, GRS80 unless the
//                 user gave another); grid coordinates in the MGA system.
//   GDA2020       the Geocentric Datum of Australia 2020 on GRS80 (always GRS80: the
//                 7-parameter sets of the AGD datums do not reach it); grid coordinates in
//                 the MGA2020 system, the MGA zones and constants.
//
// The program has no transformation between AGD66 and AGD84: the method in use (a
// 7-parameter set, an NTv2 grid, the NSW programs) changes one of them to GDA94 and back,
// and both AGD systems of a calculation are on that method's AGD datum. GDA2020 is reached
// from GDA94 only (by the EPSG:8048 similarity or a GDA94 -> GDA2020 grid), so an AGD point
// goes to GDA2020 through GDA94.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/transform_settings.h"
#include "ntv2/grid_choice.h"

namespace tarvo::chain {

enum class Datum { Agd66, Agd84, Gda94, Gda2020 };

constexpr bool IsAgd(Datum datum) {
  return datum == Datum::Agd66 || datum == Datum::Agd84;
}

// The AGD datum the method in use changes to GDA94, where it names one: under Medium
// Accuracy the National 7-parameter set AGD84 and the Regional sets AGD66, a user-defined
// set none; under High Accuracy the AGD66 grid file and the NSW programs AGD66, the AGD84
// grid file AGD84, the other grid methods none (their labels name no datum).
std::optional<Datum> AgdDatumInUse(engine::AccuracyMethod method, int parameterSet,
                                   ntv2::GridMethod gridMethod);

// Both geocentric datums are on GRS80, and their grid systems take the MGA constants.
constexpr bool IsGeocentric(Datum datum) {
  return datum == Datum::Gda94 || datum == Datum::Gda2020;
}

// The datum of a grid system's coordinates: "GDA/MGA" is on GDA94, "MGA2020" on GDA2020,
// the AGD systems on `agd` (AGD66 where the method names no AGD datum).
Datum DatumOfSystem(std::string_view system, std::optional<Datum> agd);

// "AGD66", "AGD84", "GDA94" or "GDA2020".
std::string_view DatumName(Datum datum);

// How the GDA94 <-> GDA2020 step is made, as the status field, the report and a run's header
// name it: "GDA2020 by 7 parameters (conformal, no distortion)" without a grid (an empty
// path), else "GDA2020 by grid " and the grid file's path.
std::string Gda2020MethodText(std::string_view gridPath);

}  // namespace tarvo::chain
