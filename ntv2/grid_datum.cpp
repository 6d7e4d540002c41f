#include "ntv2/grid_datum.h"

#include <algorithm>
#include <array>

#include "ntv2/datum_choice_dialog.h"
#include "text/ascii.h"

namespace tarvo::ntv2 {
namespace {

constexpr std::array<std::string_view, 7> kAgd84Names = {
    "BROOME", "NTH", "GERALD", "GREAT SW", "KPH", "S CENTRE", "WA STATE"};
constexpr std::array<std::string_view, 5> kAgd66Names = {"NSW", "VIC", "TAS", "NT", "MELB"};
constexpr std::array<std::string_view, 2> kLaterAgd84Names = {"QLD", "SA"};

template <std::size_t N>
bool HoldsAny(std::string_view text, const std::array<std::string_view, N>& parts) {
  for (std::string_view part : parts) {
    if (text.find(part) != std::string_view::npos) return true;
  }
  return false;
}

bool Holds(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// A datum name of the overview header as compared: up to a NUL, blanks trimmed, upper case.
std::string DatumName(std::string_view field) {
  field = field.substr(0, field.find('\0'));
  const auto first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text::ToUpperAscii(field.substr(first, field.find_last_not_of(' ') - first + 1));
}

bool IsKnownDatum(std::string_view name) {
  return name == "AGD66" || name == "AGD84" || name == "GDA94" || name == "GDA2020";
}

}  // namespace

std::optional<std::string_view> DatumFromSubGridName(std::string_view subGridName) {
  // The name is a C text of at most 8 characters: anything after a NUL is not part of it.
  const std::string_view name = subGridName.substr(0, subGridName.find('\0'));
  if (HoldsAny(name, kAgd84Names)) return kAgd84Text;
  if (HoldsAny(name, kAgd66Names)) return kAgd66Text;
  if (HoldsAny(name, kLaterAgd84Names)) return kAgd84Text;
  return std::nullopt;
}

Gda2020Grid Gda2020GridFrom(std::string_view systemFrom, std::string_view systemTo,
                            std::string_view path) {
  const std::string from = DatumName(systemFrom);
  const std::string to = DatumName(systemTo);
  if (from == "GDA94" && to == "GDA2020") return Gda2020Grid::kGda94ToGda2020;
  if (from == "GDA2020" || to == "GDA2020") return Gda2020Grid::kUnusable;
  if (IsKnownDatum(from) || IsKnownDatum(to)) return Gda2020Grid::kNone;

  // Windows and POSIX separators alike: the path may come from a settings file of either.
  const std::string name = text::ToUpperAscii(path.substr(path.find_last_of("/\\") + 1));
  return Holds(name, "GDA2020") ? Gda2020Grid::kGda94ToGda2020 : Gda2020Grid::kNone;
}

std::optional<std::string_view> DatumFromPath(std::string_view path) {
  const bool holds84 = Holds(path, "84");
  const bool holds66 = Holds(path, "66");
  if (holds84 == holds66) return std::nullopt;
  return holds84 ? kAgd84Text : kAgd66Text;
}

std::string DetectGridDatum(std::string_view subGridName, const std::string& path,
                            GridCaller caller, const std::string& currentDatum, GridChoice& grid,
                            ui::Desktop& desktop) {
  if (const auto datum = DatumFromSubGridName(subGridName)) return std::string(*datum);

  if (caller == GridCaller::kListChoice) grid.gridFilePath = path;
  if (const auto datum = DatumFromPath(path)) {
    grid.gridMethod = *datum == kAgd84Text ? GridMethod::GridFileAgd84 : GridMethod::GridFileAgd66;
    return std::string(*datum);
  }

  desktop.ShowMessage("Unable to determine Datum 66/84",
                      caller == GridCaller::kGetGsbFile ? currentDatum : "ERROR",
                      ui::MessageIcon::Error);
  DatumChoiceDialog choice(desktop, grid);
  if (desktop.RunModal(choice) != ui::kResultOk) return currentDatum;
  return std::string(grid.gridMethod == GridMethod::GridFileAgd84 ? kAgd84Text : kAgd66Text);
}

}  // namespace tarvo::ntv2
