// Zone rules of the three grid systems; see grid_system.h.
#include "engine/grid_system.h"

#include <algorithm>
#include <cmath>

#include "text/number_text.h"

namespace tarvo::engine {

bool IsGda(std::string_view system) {
  return system == GridSystem::kMga;
}

bool IsGda2020(std::string_view system) {
  return system == GridSystem::kMga2020;
}

bool IsAgdSystem(std::string_view system) {
  return !IsGda(system) && !IsGda2020(system);
}

int ZoneFromLongitude(double packedLongitude, std::string_view system) {
  // The whole part of a packed longitude is its degrees, so the 6-degree zone can be read
  // from the packed value directly: zone 31 starts at 0 E, each zone is 6 degrees wide.
  // Values far outside any longitude are clamped first so the conversion to int is defined.
  const double steps = std::trunc(packedLongitude / 6.0);
  const int sixDegreeSteps =
      std::isfinite(steps) ? static_cast<int>(std::clamp(steps, -1e6, 1e6)) : 0;
  if (system != GridSystem::kIsg) return 31 + sixDegreeSteps;
  // Sub-zones are 2 degrees wide; the remainder is still packed, so 1.5959 (1 59' 59") is
  // below 2 and belongs to the first sub-zone.
  const double remainder = packedLongitude - 6.0 * sixDegreeSteps;
  const int subZone = remainder < 2.0 ? 1 : (remainder < 4.0 ? 2 : 3);
  return 310 + 10 * sixDegreeSteps + subZone;
}

std::string ZoneText(int zone, std::string_view system) {
  return system == GridSystem::kIsg ? text::Format("%3d", zone) : text::Format("%2d ", zone);
}

std::string ZoneTextForSystem(std::string_view zoneText, std::string_view newSystem) {
  const int zone = text::ToInt(zoneText);
  if (newSystem == GridSystem::kIsg) {
    if (zone < 100) return text::Format("%2d1", zone);
  } else if (newSystem == GridSystem::kAmg || newSystem == GridSystem::kMga ||
             newSystem == GridSystem::kMga2020) {
    if (zone > 100) return text::Format("%2d ", zone / 10);
  }
  return std::string(zoneText);
}

std::vector<std::string> ZonesOffered(std::string_view system) {
  if (system == GridSystem::kIsg) {
    return {"541", "542", "543", "551", "552", "553", "561", "562", "563"};
  }
  return {"49", "50", "51", "52", "53", "54", "55", "56"};
}

bool IsValidRecordZone(std::string_view zoneText) {
  if (zoneText.size() == 2) {
    const int zone = text::ToInt(zoneText);
    return zone >= 49 && zone <= 56;
  }
  if (zoneText.size() == 3) {
    return zoneText[0] == '5' && zoneText[1] >= '4' && zoneText[1] <= '6' && zoneText[2] >= '1' &&
           zoneText[2] <= '3';
  }
  return false;
}

}  // namespace tarvo::engine
