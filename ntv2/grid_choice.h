// Which grid the High Accuracy method uses: one per program run, owned by the program and
// passed to whatever reads or changes it (the grid file dialog, the datum choice, the
// calculation, the batch run, the saved settings).
#pragma once

#include <optional>
#include <string>

namespace tarvo::ntv2 {

// Values of gridMethod.
inline constexpr int kGridFileAgd66 = 0;
inline constexpr int kGridFileAgd84 = 1;
inline constexpr int kTasmaniaGrid = 2;
inline constexpr int kNorthernTerritoryGrid = 3;
inline constexpr int kQueenslandGrid = 4;
inline constexpr int kNswMrePrograms = 5;

struct GridChoice {
  // 0 a grid file on AGD66, 1 a grid file on AGD84, 2 Tasmania, 3 Northern Territory,
  // 4 Queensland, 5 the NSW MRE programs. Only 0 and 1 are set by dialogs; 2 to 5 come
  // from the saved settings and are kept from run to run.
  int gridMethod = kGridFileAgd66;
  // The NTv2 grid file in use (at most 259 characters).
  std::string gridFilePath;
};

// The base name shown for a grid file: the text after the last '\', '/' or ':' of the path,
// without its last four characters (the extension with its point) when it is longer than
// four, and at most 19 characters.
std::string GridBaseName(const std::string& gridFilePath);

// The description of the grid in use shown beside the method ("A66_NAT --> AGD66 <> GDA",
// "NSW (MRE)  --> AGD66 <> GDA", ...); nothing for a gridMethod outside 0 to 5.
std::optional<std::string> GridLabel(const GridChoice& grid);

}  // namespace tarvo::ntv2
