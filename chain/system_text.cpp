// The reading of a system text; see system_text.h.
#include "chain/system_text.h"

#include <algorithm>
#include <initializer_list>

#include "engine/grid_system.h"
#include "text/ascii.h"
#include "text/number_text.h"

namespace tarvo::chain {
namespace {

using engine::GridSystem;

using text::EqualNoCase;
using text::IsDigits;

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

std::string Quoted(std::string_view format, std::string_view text) {
  std::string message(format);
  const std::size_t at = message.find("%s");
  return message.replace(at, 2, text);
}

bool IsOneOf(std::string_view word, std::initializer_list<std::string_view> words) {
  return std::any_of(words.begin(), words.end(),
                     [word](std::string_view w) { return EqualNoCase(word, w); });
}

// The datum names of the one-word form, with a grid system on the same datum.
struct DatumWord {
  std::string_view word;
  Datum datum;
  std::string_view system;
};
constexpr DatumWord kDatumWords[] = {
    {"AGD66", Datum::Agd66, GridSystem::kAmg},
    {"AGD84", Datum::Agd84, GridSystem::kAmg},
    {"GDA94", Datum::Gda94, GridSystem::kMga},
    {"GDA2020", Datum::Gda2020, GridSystem::kMga2020},
};

// The datum a system text names: an AGD code's, or that of a GDA grid system.
std::optional<Datum> NamedDatum(const SystemText& system) {
  if (system.agdDatum) return system.agdDatum;
  if (system.system == GridSystem::kMga) return Datum::Gda94;
  if (system.system == GridSystem::kMga2020) return Datum::Gda2020;
  return std::nullopt;
}

// The label constant of a label read (for a string_view that outlives the text).
std::string_view Label(std::string_view label) {
  for (const SystemName& known : kSystemNames) {
    if (label == known.label) return known.label;
  }
  return {};
}

}  // namespace

std::optional<CoordinateSystem> ParseCoordinateSystem(std::string_view text,
                                                      std::string& error) {
  const std::size_t colon = text.find(':');
  const std::string_view head = text.substr(0, colon);
  const std::optional<std::string_view> tail =
      colon == std::string_view::npos ? std::nullopt : std::optional(text.substr(colon + 1));
  const auto unitForm = [&tail]() -> std::optional<CoordinateForm> {
    if (!tail) return std::nullopt;
    if (IsOneOf(*tail, {"geo", "geographic", "latlong"})) return CoordinateForm::Geographic;
    if (IsOneOf(*tail, {"xyz", "cartesian"})) return CoordinateForm::Cartesian;
    return std::nullopt;
  };

  for (const DatumWord& datum : kDatumWords) {
    if (!EqualNoCase(head, datum.word)) continue;
    const std::optional<CoordinateForm> form = tail ? unitForm() : CoordinateForm::Geographic;
    if (!form) {
      error = Quoted("'%s': after a datum give geo or xyz", text);
      return std::nullopt;
    }
    return CoordinateSystem{datum.system, datum.datum, *form, 0};
  }

  if (EqualNoCase(head, "EPSG")) {
    if (!tail || !IsDigits(*tail)) {
      error = Quoted("'%s' is no EPSG code: give one as EPSG:28356", text);
      return std::nullopt;
    }
    std::string expected;
    const std::optional<SystemText> code = ParseSystemText(text, expected);
    if (!code) {
      error = Quoted("'%s' is no system of the program: ", text) + expected;
      return std::nullopt;
    }
    return CoordinateSystem{Label(code->system), NamedDatum(*code),
                            code->form.value_or(CoordinateForm::Grid),
                            code->zone ? text::ToInt(*code->zone) : 0};
  }

  std::string expected;
  const std::optional<SystemText> named = ParseSystemText(head, expected);
  if (!named) {
    error = Quoted(
        "'%s' names no coordinate system: give AMG, MGA, MGA2020 or ISG with a zone (AMG:56, "
        "ISG:561), a datum (AGD66, AGD84, GDA94, GDA2020) or an EPSG code (EPSG:28356)",
        text);
    return std::nullopt;
  }
  CoordinateSystem system{Label(named->system), NamedDatum(*named), CoordinateForm::Grid, 0};
  const bool isIsg = system.system == GridSystem::kIsg;
  if (!tail) {
    error = Quoted(isIsg ? "'%s' needs a zone, as in ISG:561" : "'%s' needs a zone, as in AMG:56",
                   text);
    return std::nullopt;
  }
  if (const std::optional<CoordinateForm> form = unitForm()) {
    system.form = *form;
    return system;
  }
  // A zone: two digits 49 to 56, or three for ISG ("5[456][123]").
  if (IsDigits(*tail) && tail->size() == (isIsg ? 3u : 2u) && engine::IsValidRecordZone(*tail)) {
    system.zone = text::ToInt(*tail);
    return system;
  }
  error = Quoted(isIsg ? "'%s': the ISG zones are 541 to 563 (sub-zones 1 to 3)"
                       : "'%s': the zones are 49 to 56",
                 text);
  return std::nullopt;
}

Datum DatumOf(const CoordinateSystem& system, std::optional<Datum> agd) {
  return system.datum.value_or(DatumOfSystem(system.system, agd));
}

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

}  // namespace tarvo::chain
