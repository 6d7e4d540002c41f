// The file conversion dialog: describes one batch conversion of a coordinate file (which
// file, its type, which fields hold the coordinates, the systems, zones and units of input
// and output, the latitude/longitude output notation) and starts it.
//
// The choices are FileConversionSettings; sixteen of them are kept in tarvofile.dat in the
// program's folder, read when the dialog opens and written by "&Return" (Escape and the close
// box keep the file as it was). The method, the parameter set or grid and the input notation
// are not chosen here: they come from the transformation settings and are shown as fixed
// texts.
//
// The preview box shows the first data lines of the input file (after the header lines) and
// counts the separators of the first one, so the field lists offer exactly the fields that
// line has: 1 to separators + 1. The lists whose contents depend on other choices (zones,
// units, field numbers) are filled again each time they are opened or entered. A help text
// for the control that has the focus is shown in the help box.
//
// "&Calculate" runs the batch conversion (fileconv/batch_run.h) with the settings as they
// stand; the progress bar follows the run and the preview box shows its final count. Under
// the High Accuracy method a run that changes datum needs the NTv2 grid file: it is opened
// once, through the interpolator's grid cache, before anything else; a file that cannot be
// read or is no valid grid is refused with the message the point calculation shows for it,
// and nothing is written. Each record is then shifted by GridFile::Shift on that grid.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/transform_settings.h"
#include "fileconv/batch_run.h"
#include "fileconv/file_conversion_settings.h"
#include "ntv2/grid_choice.h"
#include "ntv2/grid_file.h"
#include "ntv2/grid_interpolate.h"
#include "ui/dialog.h"

namespace tarvo::fileconv {

// The file chooser filter of both file buttons.
inline constexpr std::string_view kFileFilter =
    "All Files (*.*)|*.*|Comma Separated Variable (*.csv)|*.csv|Space(s) Separated Variable "
    "(*.ssv)|*.ssv|ACS (*.t27)|*.t27||";

class FileConversionDialog : public ui::Dialog {
 public:
  using Self = FileConversionDialog;

  // Control ids.
  static constexpr int kFileType = 1001;
  static constexpr int kGetInputFile = 1002;
  static constexpr int kInputFile = 1003;
  static constexpr int kHeaderLines = 1004;
  static constexpr int kPreview = 1005;
  static constexpr int kInputSystem = 1006;
  static constexpr int kInputZone = 1007;
  static constexpr int kInputUnits = 1008;
  static constexpr int kFirstFieldLabel = 1009;
  static constexpr int kFirstField = 1010;
  static constexpr int kSecondFieldLabel = 1011;
  static constexpr int kSecondField = 1012;
  static constexpr int kHeightFieldLabel = 1013;
  static constexpr int kHeightField = 1014;
  static constexpr int kInputZoneField = 1015;
  static constexpr int kOutputZoneField = 1016;
  static constexpr int kGetOutputFile = 1017;
  static constexpr int kOutputFile = 1018;
  static constexpr int kOutputSystem = 1019;
  static constexpr int kOutputZone = 1020;
  static constexpr int kOutputUnits = 1021;
  static constexpr int kOutputFormat = 1022;
  static constexpr int kMethod = 1023;
  static constexpr int kParameterDescription = 1024;
  static constexpr int kInputFormatNote = 1025;
  static constexpr int kHelp = 1026;
  static constexpr int kProgress = 1027;
  static constexpr int kCalculate = 1028;
  static constexpr int kReturn = 1;

  // `startDirectory` is the program's folder, where tarvofile.dat is read and written. The
  // transformation settings and the grid choice are only read; the interpolator lends its
  // grid cache; `batch` holds the values that outlive the dialog.
  FileConversionDialog(ui::Desktop& desktop, const engine::TransformSettings& transform,
                       ntv2::GridChoice& grid, ntv2::GridInterpolator& interpolator,
                       BatchValues& batch, std::filesystem::path startDirectory);

  const FileConversionSettings& settings() const { return settings_; }
  // What the last "&Calculate" did; nothing before the first.
  const std::optional<BatchRunResult>& lastRun() const { return lastRun_; }

 private:
  void OnShow() override;

  // A list the user picks from. Its edit part is read-only and shows the setting, which need
  // not be one of the entries: a zone "56 ", a saved field number before a preview counted
  // the fields, a file type the list does not offer.
  ControlBuilder List(int id, ui::Box box, unsigned style = ui::kNoStyle) {
    return Add(ui::ControlKind::DropDownCombo, id, "", box, style | ui::kReadOnly);
  }

  // Handlers, in the order of the controls.
  void EnterFileType();
  void SelectFileType();
  void GetInputFile();
  void EnterInputFile();
  void LeaveInputFile();
  void EnterHeaderLines();
  void LeaveHeaderLines();
  void EnterInputSystem();
  void SelectInputSystem();
  void EnterInputZone();
  void DropInputZones();
  void SelectInputZone();
  void EnterInputUnits();
  void DropUnits();
  void SelectInputUnits();
  void EnterFirstField();
  void SelectFirstField();
  void EnterSecondField();
  void SelectSecondField();
  void EnterHeightField();
  void SelectHeightField();
  void EnterInputZoneField();
  void SelectInputZoneField();
  void EnterOutputZoneField();
  void SelectOutputZoneField();
  void GetOutputFile();
  void EnterOutputFile();
  void LeaveOutputFile();
  void EnterOutputSystem();
  void SelectOutputSystem();
  void EnterOutputZone();
  void DropOutputZones();
  void SelectOutputZone();
  void EnterOutputUnits();
  void SelectOutputUnits();
  void SelectOutputFormat();
  void Calculate();
  void Return();

  // The first data lines of the input file into the preview box, and their separator count.
  void Preview();
  // The field numbers 1 to separators + 1, leaving out those already taken.
  std::vector<std::string> FieldNumbers(std::vector<int> taken = {}) const;
  bool IsT27() const { return batch_.fileTypeCode == FileTypeCode::T27; }
  // The list entry the user picked, stored into `setting`.
  void Take(int id, std::string& setting);
  // Reads the grid for a run that shifts by NTv2; false after its message when it cannot.
  void ShowProgress(std::uint64_t position, std::uint64_t size);

  const engine::TransformSettings& transform_;
  ntv2::GridChoice& grid_;
  ntv2::GridInterpolator& interpolator_;
  BatchValues& batch_;
  std::filesystem::path startDirectory_;

  FileConversionSettings settings_;
  std::string inputFormatNote_;
  std::string helpText_;
  std::string previewText_;
  // The first data line last previewed: the separators are counted again when the type
  // changes.
  std::optional<std::string> previewedLine_;
  std::optional<BatchRunResult> lastRun_;

  std::vector<std::string> inputZones_;
  std::vector<std::string> outputZones_;
  std::vector<std::string> units_;
  std::vector<std::string> firstFields_;
  std::vector<std::string> secondFields_;
  std::vector<std::string> heightFields_;
  std::vector<std::string> inputZoneFields_;
  std::vector<std::string> outputZoneFields_;
};

}  // namespace tarvo::fileconv
