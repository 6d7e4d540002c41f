// Which grid the High Accuracy method uses: one per program run, owned by the program and
// passed to whatever reads or changes it (the grid file dialog, the datum choice, the
// calculation, the batch run, the saved settings).
#pragma once

#include <optional>
#include <string>

namespace tarvo::ntv2 {

// How the High Accuracy method changes the datum. tarvo_prm.dat keeps the number (line 31);
// only the first two are set by dialogs, 2 to 5 come from saved settings and are kept from
// run to run, and a number outside 0 to 5 is kept as read and names no method.
enum class GridMethod : int {
  GridFileAgd66 = 0,  // the grid file in use, on AGD66
  GridFileAgd84 = 1,  // the grid file in use, on AGD84
  TasmaniaGrid = 2,
  NorthernTerritoryGrid = 3,
  QueenslandGrid = 4,
  NswMrePrograms = 5,  // the NSW MRE programs, not a grid file
};

struct GridChoice {
  GridMethod gridMethod = GridMethod::GridFileAgd66;
  // The NTv2 grid file in use (at most 259 characters).
  std::string gridFilePath;
  // The GDA94 -> GDA2020 grid of the High Accuracy method's GDA2020 step; empty: that step
  // is the 7-parameter similarity.
  std::string gda2020GridPath = {};
};

// The base name shown for a grid file: the text after the last '\', '/' or ':' of the path,
// without its last four characters (the extension with its point) when it is longer than
// four, and at most 19 characters.
std::string GridBaseName(const std::string& gridFilePath);

// The description of the grid in use shown beside the method ("A66_NAT --> AGD66 <> GDA",
// "NSW (MRE)  --> AGD66 <> GDA", ...); nothing for a grid method outside 0 to 5.
std::optional<std::string> GridLabel(const GridChoice& grid);

}  // namespace tarvo::ntv2
