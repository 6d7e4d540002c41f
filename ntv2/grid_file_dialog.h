// The grid file dialog: picks the NTv2 grid shift file of the High Accuracy method, shows
// its header layout, its datum (AGD66 or AGD84) and its overall extents, and exports a grid
// file as text.
//
// A file is chosen from the list (the ".gsb" files of the "data" folder under the start-up
// folder, searched each time the list drops down) or with "Get GSB File". Each choice reads
// the file's header (ReadGridHeader, grid_header.h), which fills the format, datum and extent
// texts and, when the file can be used, makes it the pending file; the datum may have to be
// asked (DetectGridDatum, grid_datum.h). OK makes the pending file the grid in use and sets
// the grid method from the datum shown (0 for exactly "AGD66", 1 otherwise). Cancel closes.
//
// What is written into the grid choice, and when:
//   - "Get GSB File" makes the chosen file the grid in use at once, so Cancel keeps it; a
//     file whose header cannot be read gives the previous grid back (a refused file never
//     becomes the grid in use);
//   - a list choice whose datum is told by its path makes it the grid in use and sets the
//     grid method; the datum choice dialog sets the grid method;
//   - OK with no usable pending file (none read, or removed since) says so with the path and
//     stays open, leaving the grid choice as it was.
//
// The second grid, for the step between GDA94 and GDA2020 (MGA2020 points): "Get GDA2020
// Grid" reads a file's header and takes it when it is a GDA94 -> GDA2020 grid (grid_datum.h),
// "None" leaves the step to the 7-parameter similarity; OK makes the choice the one in use.
//
// "Convert to ASCII" exports the file named by the list's text (grid_export.h), showing each
// sub-grid's name and a progress bar per sub-grid while it runs.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "ntv2/grid_choice.h"
#include "ntv2/grid_header.h"
#include "ui/dialog.h"

namespace tarvo::ntv2 {

class GridFileDialog : public ui::Dialog {
 public:
  using Self = GridFileDialog;

  // Control ids.
  static constexpr int kFileList = 1001;
  static constexpr int kGetGsbFile = 1002;
  static constexpr int kFormat = 1003;
  static constexpr int kDatum = 1004;
  static constexpr int kMaxLatitude = 1005;
  static constexpr int kMinLatitude = 1006;
  static constexpr int kMaxLongitude = 1007;
  static constexpr int kMinLongitude = 1008;
  static constexpr int kConvert = 1009;
  static constexpr int kProgress = 1010;
  static constexpr int kSubGrid = 1011;
  static constexpr int kGetGda2020 = 1012;
  static constexpr int kNoGda2020 = 1013;
  static constexpr int kGda2020Path = 1014;
  static constexpr int kGda2020Datums = 1015;
  static constexpr int kOk = 1;
  static constexpr int kCancel = 2;

  // The list's entry when the data folder holds no grid file.
  static constexpr const char* kNoFiles = "No GSB Files";
  static constexpr const char* kFileFilter = "Grid Files (*.gsb)|*.gsb||";

  // `startDirectory` is the program's start-up folder; the list shows the grid files of its
  // "data" folder.
  GridFileDialog(ui::Desktop& desktop, GridChoice& grid, std::filesystem::path startDirectory);

 private:
  void OnShow() override;

  // Handlers, in the order of the controls.
  void DropDownList();
  void SelectFile();
  void LeaveList();
  void GetGsbFile();
  void ConvertToAscii();
  void GetGda2020Grid();
  void NoGda2020Grid();
  void Ok();
  void CancelClicked();

  GridChoice& grid_;
  std::filesystem::path startDirectory_;

  std::string fileText_;
  std::vector<std::string> files_;
  GridHeaderTexts header_;
  std::string subGridText_;
  // The GDA94 -> GDA2020 grid OK makes the one in use (empty: none), and what its header says.
  std::string gda2020Path_;
  std::string gda2020Datums_;
};

}  // namespace tarvo::ntv2
