// The reading of a system text; see system_text.h.
#include "chain/system_text.h"

#include <algorithm>
#include <cctype>

#include "engine/grid_system.h"
#include "text/number_text.h"

namespace tarvo::chain {
namespace {

using engine::GridSystem;

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The grid systems by label and short name.
struct SystemName {
  std::string_view label;
  std::string_view shortName;
};
constexpr SystemName kSystemNames[] = {
    {GridSystem::kAmg, "AMG"},
    {GridSystem::kMga, "MGA"},
    {GridSystem::kIsg, "ISG"},
    {GridSystem::kMga2020, "MGA2020"},
};

// The projected codes: zones 49 to 56 are the first code plus the zone less 49.
struct ProjectedCodes {
  int zone49;
  std::string_view system;
  std::optional<Datum> agdDatum;
};
constexpr ProjectedCodes kProjectedCodes[] = {
    {20249, GridSystem::kAmg, Datum::Agd66},
    {20349, GridSystem::kAmg, Datum::Agd84},
    {28349, GridSystem::kMga, std::nullopt},
    {7849, GridSystem::kMga2020, std::nullopt},
};

// The geographic and geocentric codes.
struct DatumCode {
  int code;
  std::string_view system;
  CoordinateForm form;
  std::optional<Datum> agdDatum;
};
constexpr DatumCode kDatumCodes[] = {
    {4202, GridSystem::kAmg, CoordinateForm::Geographic, Datum::Agd66},
    {4203, GridSystem::kAmg, CoordinateForm::Geographic, Datum::Agd84},
    {4283, GridSystem::kMga, CoordinateForm::Geographic, std::nullopt},
    {4939, GridSystem::kMga, CoordinateForm::Geographic, std::nullopt},
    {4938, GridSystem::kMga, CoordinateForm::Cartesian, std::nullopt},
    {7844, GridSystem::kMga2020, CoordinateForm::Geographic, std::nullopt},
    {7843, GridSystem::kMga2020, CoordinateForm::Geographic, std::nullopt},
    {7842, GridSystem::kMga2020, CoordinateForm::Cartesian, std::nullopt},
};

constexpr std::string_view kEpsgPrefix = "EPSG:";
constexpr int kFirstZone = 49;
constexpr int kLastZone = 56;

constexpr const char* kEpsgExpected =
    "an EPSG code of an AGD66, AGD84, GDA94 or GDA2020 system (AMG, MGA, geographic or "
    "geocentric)";

std::optional<SystemText> FromEpsg(std::string_view digits, std::string& error) {
  if (!IsDigits(digits) || digits.size() > 6) {
    error = kEpsgExpected;
    return std::nullopt;
  }
  const int code = text::ToInt(digits);
  for (const ProjectedCodes& codes : kProjectedCodes) {
    const int zone = kFirstZone + code - codes.zone49;
    if (zone < kFirstZone || zone > kLastZone) continue;
    return SystemText{std::string(codes.system), text::Format("%d", zone), std::nullopt,
                      codes.agdDatum, code};
  }
  for (const DatumCode& datum : kDatumCodes) {
    if (datum.code != code) continue;
    return SystemText{std::string(datum.system), std::nullopt, datum.form, datum.agdDatum, code};
  }
  error = kEpsgExpected;
  return std::nullopt;
}

}  // namespace

std::optional<SystemText> ParseSystemText(std::string_view text, std::string& error) {
  if (text.size() > kEpsgPrefix.size() &&
      EqualNoCase(text.substr(0, kEpsgPrefix.size()), kEpsgPrefix)) {
    return FromEpsg(text.substr(kEpsgPrefix.size()), error);
  }
  const std::size_t colon = text.find(':');
  const std::string_view name = text.substr(0, colon);
  SystemText system;
  for (const SystemName& known : kSystemNames) {
    if (EqualNoCase(name, known.label) || EqualNoCase(name, known.shortName)) {
      system.system = known.label;
    }
  }
  if (system.system.empty()) {
    error = "AMG, MGA, ISG or MGA2020, optionally ':ZONE', or EPSG:CODE";
    return std::nullopt;
  }
  if (colon != std::string_view::npos) {
    const std::string_view zone = text.substr(colon + 1);
    if (!IsDigits(zone) || zone.size() > 3) {
      error = "a zone of two or three digits after ':'";
      return std::nullopt;
    }
    system.zone = std::string(zone);
  }
  return system;
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

}  // namespace tarvo::chain
