// The main window: one point at a time is entered on its From side and calculated into the
// system and zone of its To side, and each point is marked on the map of Australia. Every
// other window of the program opens from here.
//
// The window keeps its state as the texts its controls show (the 32 texts below, saved in
// tarvo_prm.dat between runs) and a few values of the session; the transformation settings,
// the grid choice and the report belong to their own subsystems and are passed in.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/transform_settings.h"
#include "fileconv/file_conversion_settings.h"
#include "mainwindow/calculation.h"
#include "mainwindow/report.h"
#include "mainwindow/window_state.h"
#include "ntv2/grid_choice.h"
#include "ntv2/grid_interpolate.h"
#include "ui/dialog.h"

namespace tarvo::mainwindow {

class MainTransformDialog : public ui::Dialog {
 public:
  using Self = MainTransformDialog;

  // Control ids.
  static constexpr int kFromSystem = 1001;
  static constexpr int kFromZone = 1002;
  static constexpr int kToSystem = 1003;
  static constexpr int kToZone = 1004;
  static constexpr int kFromEast = 1005;
  static constexpr int kFromHeight = 1006;
  static constexpr int kFromLongitude = 1007;
  static constexpr int kFromNorth = 1008;
  static constexpr int kFromConvergence = 1009;
  static constexpr int kFromScaleFactor = 1010;
  static constexpr int kToEast = 1011;
  static constexpr int kToNorth = 1012;
  static constexpr int kToHeight = 1013;
  static constexpr int kToLongitude = 1014;
  static constexpr int kToLatitude = 1015;
  static constexpr int kFromLatitude = 1016;
  static constexpr int kToConvergence = 1017;
  static constexpr int kToScaleFactor = 1018;
  static constexpr int kMre = 1020;
  static constexpr int kConvertFile = 1029;
  static constexpr int kFromGridLabel = 1030;
  static constexpr int kToGridLabel = 1031;
  static constexpr int kCalculate = 1032;
  static constexpr int kFromDatumLabel = 1033;
  static constexpr int kToDatumLabel = 1034;
  static constexpr int kReset = 1063;
  static constexpr int kParameterSetLabel = 1065;
  static constexpr int kFromLabel1 = 1086;
  static constexpr int kFromLabel2 = 1088;
  static constexpr int kFromLabel3 = 1089;
  static constexpr int kToLabel1 = 1090;
  static constexpr int kToLabel2 = 1091;
  static constexpr int kToLabel3 = 1092;
  static constexpr int kToXyz = 1093;
  static constexpr int kFromXyz = 1094;
  static constexpr int kChangeOptions = 1112;
  static constexpr int kMethodLabel = 1113;
  static constexpr int kNotice = 1117;
  static constexpr int kGeoConvert = 1123;
  static constexpr int kStatus = 1145;
  static constexpr int kHelp = 57670;
  static constexpr int kSaveAndExit = 1;
  // The window menu's command that opens the about box.
  static constexpr int kAboutCommand = 16;

  // Builds the window and loads the saved settings from `startDirectory` (the folder the
  // program started in): tarvo_prm.dat and Tarvo.var, or on a first start the options
  // dialog.
  MainTransformDialog(ui::Desktop& desktop, engine::TransformSettings& settings,
                      ntv2::GridChoice& grid, std::filesystem::path startDirectory);

  // Where the program itself is installed: the MRE programs are found there too.
  void SetProgramDirectory(std::filesystem::path folder) {
    session_.programDirectory = std::move(folder);
  }

  const WindowTexts& texts() const { return texts_; }
  const SessionValues& session() const { return session_; }
  const Report& report() const { return report_; }

 private:
  // --- Start-up and saved settings (start_up.cpp) ---------------------------------------
  void LoadSettings();
  // Tarvo.var of the start-up folder becomes the active set, unless no transformation can
  // use it: then it is refused with a message naming the file and line.
  void LoadParameters();
  void SaveAndExit();
  // Escape or the close box: leaves at once, or after "Leave without saving?" when the
  // window holds values that Save & Exit has not kept.
  void OnCancel() override;
  // What Save & Exit writes to tarvo_prm.dat for the window as it is now.
  std::string SavedContents() const;
  // True when the window's values differ from those loaded or last saved, counting text
  // typed into a field that has not been left yet.
  bool HasUnsavedValues() const;
  // The grid and datum labels of a side for its system.
  std::pair<std::string, std::string> SideLabels(const std::string& system) const;
  // The labels that follow the method: the method label and the decimals, and under High
  // Accuracy the grid's label when `gridLabel`; an unknown method shows the message given.
  void ApplyMethodLabels(bool gridLabel, const char* unknownText, const char* unknownCaption);

  // --- Handlers, in the order of the window's controls ----------------------------------
  void SelectFromSystem();
  void SelectToSystem();
  void DropFromZones();
  void DropToSystems();
  void DropToZones();
  void SelectFromZone();
  void SelectToZone();
  void EnterSystem();
  void EnterFromZone();
  void EnterToZone();
  void EnterEast();
  void EnterNorth();
  void EnterHeight();
  void EnterLatitude();
  void EnterLongitude();
  void LeaveEast();
  void LeaveNorth();
  void LeaveHeight();
  void LeaveLatitude();
  void LeaveLongitude();
  void CalculateClicked();
  void SwitchFromDisplay();
  void SwitchToDisplay();
  void ConvertFile();
  void ChangeOptions();
  void GeoConvert();
  void Reset();
  void ShowAbout();
  void ShowHelpWindow();

  // --- What the handlers share ----------------------------------------------------------
  // A side's system changed: its labels follow, and its zone is rewritten for the system.
  void SystemChanged(const std::string& system, std::string& zone, std::string& gridLabel,
                     std::string& datumLabel);
  // Makes East and North editable and latitude and longitude read-only, or the reverse.
  void MakeGridPairEditable(bool gridEditable);
  // The text of a field as typed, cut to the 49 characters a field may hand over.
  std::string FetchedText(int id) const;
  // The name and help text of East, North or height (X, Y or Z in Cartesian display).
  struct MetresField {
    const char* name;
    const char* help;
  };
  MetresField MetresFieldOf(int id) const;
  // The help text of the latitude or longitude field in the input notation.
  std::string AngleEntryHelp(const char* what) const;
  // The number a typed East, North or height starts with, when it is a coordinate; otherwise
  // the entry is refused (RefuseEntry) and nothing is returned.
  std::optional<double> CheckedMetres(int id, const std::string& typed);
  // Refuses a typed entry: a message names the field, quotes the text and says what to
  // enter, and the field keeps its previous value. An entry that holds no number at all is
  // met with the warning sound first.
  void RefuseEntry(const std::string& name, const std::string& typed, const std::string& expected,
                   bool noNumber);
  void LeaveGridField(int id, std::string& field);
  void EnterAngleField(int id, std::string& field, double packed, const char* what);
  void LeaveAngleField(int id, std::string& field, double& packed, bool latitude);
  void ShowSubGridOutlines();
  // The labels that follow the method and the grid: both sides' grid and datum labels, the
  // method label and, under High Accuracy, the grid's label.
  void LabelsFollowSettings();
  bool NeedsGridFile() const;
  bool ChooseGridFile();
  // Shows a help text in the help area under the map.
  void ShowHelpText(const std::string& text);
  CalculationContext Context();
  // Adds a record to the report; the first record that cannot be written in a session is
  // met with a warning naming the report's path.
  void AppendToReport(const std::string& record);

  engine::TransformSettings& settings_;
  ntv2::GridChoice& grid_;
  SessionValues session_;
  WindowTexts texts_;
  chain::PointState estimates_;
  ntv2::GridInterpolator interpolator_;
  // What the batch conversion remembers from one run to the next (file type, separators).
  fileconv::BatchValues batchValues_;
  Report report_;
  bool reportWarned_ = false;
  // What tarvo_prm.dat held after loading, or as Save & Exit would first have written it.
  std::string savedContents_;
  std::vector<std::string> fromSystems_;
  std::vector<std::string> toSystems_;
  std::vector<std::string> fromZones_;
  std::vector<std::string> toZones_;
};

}  // namespace tarvo::mainwindow
