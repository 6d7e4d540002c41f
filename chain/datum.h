// The geodetic datums of the program, and which one a grid system's coordinates are on.
//
//   AGD66, AGD84  the Australian Geodetic Datums, both on the Australian National Spheroid
//                 (ANS); grid coordinates in the AMG and ISG systems.
//   GDA94         the Geocentric Datum of Australia 1994 on GRS80 (for the Cartesian
//                 conversions the ellipsoid of the 7-parameter set in use, GRS80 unless the
//                 user gave another); grid coordinates in the MGA system.
//
// The program has no transformation between AGD66 and AGD84: the method in use (a
// 7-parameter set, an NTv2 grid, the NSW programs) changes one of them to GDA94 and back,
// and both AGD systems of a calculation are on that method's AGD datum.
#pragma once

#include <optional>
#include <string_view>

#include "engine/transform_settings.h"
#include "ntv2/grid_choice.h"

namespace tarvo::chain {

enum class Datum { Agd66, Agd84, Gda94 };

constexpr bool IsAgd(Datum datum) {
  return datum == Datum::Agd66 || datum == Datum::Agd84;
}

// The AGD datum the method in use changes to GDA94, where it names one: under Medium
// Accuracy the National 7-parameter set AGD84 and the Regional sets AGD66, a user-defined
// set none; under High Accuracy the AGD66 grid file and the NSW programs AGD66, the AGD84
// grid file AGD84, the other grid methods none (their labels name no datum).
std::optional<Datum> AgdDatumInUse(engine::AccuracyMethod method, int parameterSet,
                                   ntv2::GridMethod gridMethod);

// The datum of a grid system's coordinates: "GDA/MGA" is on GDA94, the AGD systems on `agd`
// (AGD66 where the method names no AGD datum).
Datum DatumOfSystem(std::string_view system, std::optional<Datum> agd);

}  // namespace tarvo::chain
