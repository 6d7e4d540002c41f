#include "ntv2/grid_choice.h"

namespace tarvo::ntv2 {

std::string GridBaseName(const std::string& gridFilePath) {
  // Paths saved on Windows use '\' and may start with a drive; here '/' separates too.
  const size_t slash = gridFilePath.find_last_of("\\/:");
  std::string name = slash == std::string::npos ? gridFilePath : gridFilePath.substr(slash + 1);
  // An empty path (a first start whose grid choice was cancelled) has no extension to drop.
  if (name.size() > 4) name.resize(name.size() - 4);
  if (name.size() > 19) name.resize(19);
  return name;
}

std::optional<std::string> GridLabel(const GridChoice& grid) {
  switch (grid.gridMethod) {
    case GridMethod::GridFileAgd66:
      return GridBaseName(grid.gridFilePath) + " --> AGD66 <> GDA";
    case GridMethod::GridFileAgd84:
      return GridBaseName(grid.gridFilePath) + " --> AGD84 <> GDA";
    case GridMethod::TasmaniaGrid:
      return "TAS (Grid) --> AGD66 <> GDA";
    case GridMethod::NorthernTerritoryGrid:
      return "NT  (Grid) --> AGD66 <> GDA";
    case GridMethod::QueenslandGrid:
      return "QLD (Grid) --> AGD84 <> GDA";
    case GridMethod::NswMrePrograms:
      return "NSW (MRE)  --> AGD66 <> GDA";
    default:
      return std::nullopt;
  }
}

}  // namespace tarvo::ntv2
