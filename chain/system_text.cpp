#include "chain/system_text.h"

#include <array>
#include <cctype>
#include <span>

#include "engine/grid_system.h"

namespace tarvo::chain {
namespace {

using engine::GridSystem;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

struct Name {
  std::string_view word;  // lower case
  std::string_view system;
  std::optional<Datum> datum;
  bool isDatum;  // a datum name: latitude and longitude unless a unit word follows
};

constexpr std::array<Name, 9> kNames = {{
    {"amg", GridSystem::kAmg, std::nullopt, false},
    {"agd/amg", GridSystem::kAmg, std::nullopt, false},
    {"mga", GridSystem::kMga, Datum::Gda94, false},
    {"gda/mga", GridSystem::kMga, Datum::Gda94, false},
    {"isg", GridSystem::kIsg, std::nullopt, false},
    {"agd/isg", GridSystem::kIsg, std::nullopt, false},
    {"agd66", GridSystem::kAmg, Datum::Agd66, true},
    {"agd84", GridSystem::kAmg, Datum::Agd84, true},
    {"gda94", GridSystem::kMga, Datum::Gda94, true},
}};

constexpr std::array<std::string_view, 3> kGeographicWords = {"geo", "geographic", "latlong"};
constexpr std::array<std::string_view, 2> kCartesianWords = {"xyz", "cartesian"};

bool IsOneOf(std::string_view word, std::span<const std::string_view> words) {
  for (const std::string_view w : words) {
    if (word == w) return true;
  }
  return false;
}

constexpr const char* kGda2020Refusal =
    "'%s' is a GDA2020 system; GDA2020 is not available in this transformation yet";

std::string Quoted(const char* format, std::string_view text) {
  std::string message(format);
  const std::size_t at = message.find("%s");
  return message.replace(at, 2, text);
}

// The EPSG codes of the program's systems.
std::optional<CoordinateSystem> FromEpsg(std::string_view text, int code, std::string& error) {
  const int zone = code % 100;
  const bool zoneInRange = zone >= 49 && zone <= 56;
  if (zoneInRange && code / 100 == 202)
    return CoordinateSystem{GridSystem::kAmg, Datum::Agd66, CoordinateForm::Grid, zone};
  if (zoneInRange && code / 100 == 203)
    return CoordinateSystem{GridSystem::kAmg, Datum::Agd84, CoordinateForm::Grid, zone};
  if (zoneInRange && code / 100 == 283)
    return CoordinateSystem{GridSystem::kMga, Datum::Gda94, CoordinateForm::Grid, zone};
  switch (code) {
    case 4202:
      return CoordinateSystem{GridSystem::kAmg, Datum::Agd66, CoordinateForm::Geographic, 0};
    case 4203:
      return CoordinateSystem{GridSystem::kAmg, Datum::Agd84, CoordinateForm::Geographic, 0};
    case 4283:
    case 4939:
      return CoordinateSystem{GridSystem::kMga, Datum::Gda94, CoordinateForm::Geographic, 0};
    case 4938:
      return CoordinateSystem{GridSystem::kMga, Datum::Gda94, CoordinateForm::Cartesian, 0};
    default:
      break;
  }
  // GDA2020: geocentric 7842, geographic 7843 (3D) and 7844, MGA2020 zones 7849 to 7856.
  if (code == 7842 || code == 7843 || code == 7844 || (code >= 7849 && code <= 7856)) {
    error = Quoted(kGda2020Refusal, text);
    return std::nullopt;
  }
  error = Quoted(
      "'%s' is no system of the program: AGD66 / AMG (EPSG:20249 to 20256), AGD84 / AMG "
      "(EPSG:20349 to 20356), GDA94 / MGA (EPSG:28349 to 28356), latitude and longitude "
      "(EPSG:4202, 4203, 4283, 4939) or GDA94 Cartesian (EPSG:4938)",
      text);
  return std::nullopt;
}

}  // namespace

std::optional<CoordinateSystem> ParseSystemText(std::string_view text, std::string& error) {
  const std::string lower = Lower(text);
  const std::size_t colon = lower.find(':');
  const std::string_view head = std::string_view(lower).substr(0, colon);
  const std::optional<std::string_view> tail =
      colon == std::string::npos ? std::nullopt
                                 : std::optional(std::string_view(lower).substr(colon + 1));

  if (head == "epsg") {
    if (!tail || !AllDigits(*tail) || tail->size() > 6) {
      error = Quoted("'%s' is no EPSG code: give one as EPSG:28356", text);
      return std::nullopt;
    }
    return FromEpsg(text, std::stoi(std::string(*tail)), error);
  }
  if (head.rfind("mga2020", 0) == 0 || head.rfind("gda2020", 0) == 0) {
    error = Quoted(kGda2020Refusal, text);
    return std::nullopt;
  }

  const Name* name = nullptr;
  for (const Name& candidate : kNames) {
    if (head == candidate.word) name = &candidate;
  }
  if (name == nullptr) {
    error = Quoted(
        "'%s' names no coordinate system: give AMG, MGA or ISG with a zone (AMG:56, ISG:561), "
        "a datum (AGD66, AGD84, GDA94) or an EPSG code (EPSG:28356)",
        text);
    return std::nullopt;
  }
  CoordinateSystem system{name->system, name->datum,
                          name->isDatum ? CoordinateForm::Geographic : CoordinateForm::Grid, 0};
  if (!tail) {
    if (name->isDatum) return system;
    error = Quoted(name->system == GridSystem::kIsg ? "'%s' needs a zone, as in ISG:561"
                                                    : "'%s' needs a zone, as in AMG:56",
                   text);
    return std::nullopt;
  }
  if (IsOneOf(*tail, kGeographicWords)) {
    system.form = CoordinateForm::Geographic;
    return system;
  }
  if (IsOneOf(*tail, kCartesianWords)) {
    system.form = CoordinateForm::Cartesian;
    return system;
  }
  // A zone: two digits 49 to 56, or three for ISG ("5[456][123]").
  const bool isIsg = name->system == GridSystem::kIsg;
  if (!name->isDatum && tail->size() == (isIsg ? 3u : 2u) && engine::IsValidRecordZone(*tail)) {
    system.form = CoordinateForm::Grid;
    system.zone = std::stoi(std::string(*tail));
    return system;
  }
  error = Quoted(name->isDatum ? "'%s': after a datum give geo or xyz"
                 : isIsg       ? "'%s': the ISG zones are 541 to 563 (sub-zones 1 to 3)"
                               : "'%s': the zones are 49 to 56",
                 text);
  return std::nullopt;
}

Datum DatumOf(const CoordinateSystem& system, std::optional<Datum> agd) {
  return system.datum.value_or(DatumOfSystem(system.system, agd));
}

}  // namespace tarvo::chain
