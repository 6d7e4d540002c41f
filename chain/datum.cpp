#include "chain/datum.h"

#include "engine/grid_system.h"

namespace tarvo::chain {

std::optional<Datum> AgdDatumInUse(engine::AccuracyMethod method, int parameterSet,
                                   ntv2::GridMethod gridMethod) {
  if (method == engine::AccuracyMethod::Medium) {
    // The National set transforms from AGD84, the Regional sets from AGD66.
    if (parameterSet == engine::kNationalParameterSet) return Datum::Agd84;
    if (parameterSet == engine::kUserDefinedParameterSet) return std::nullopt;
    return Datum::Agd66;
  }
  switch (gridMethod) {
    case ntv2::GridMethod::GridFileAgd66:
    case ntv2::GridMethod::NswMrePrograms:
      return Datum::Agd66;
    case ntv2::GridMethod::GridFileAgd84:
      return Datum::Agd84;
    default:
      return std::nullopt;
  }
}

Datum DatumOfSystem(std::string_view system, std::optional<Datum> agd) {
  if (engine::IsGda(system)) return Datum::Gda94;
  if (engine::IsGda2020(system)) return Datum::Gda2020;
  return agd.value_or(Datum::Agd66);
}

std::string_view DatumName(Datum datum) {
  switch (datum) {
    case Datum::Agd66:
      return "AGD66";
    case Datum::Agd84:
      return "AGD84";
    case Datum::Gda94:
      return "GDA94";
    case Datum::Gda2020:
      break;
  }
  return "GDA2020";
}

std::string Gda2020MethodText(std::string_view gridPath) {
  if (gridPath.empty()) return "GDA2020 by 7 parameters (conformal, no distortion)";
  return "GDA2020 by grid " + std::string(gridPath);
}

}  // namespace tarvo::chain
