// Start-up and Save & Exit of the main window: tarvo_prm.dat and Tarvo.var are read when the
// window is built (on a first start, without tarvo_prm.dat, the options are asked first),
// the labels that follow from the settings are derived, and Save & Exit writes the window's
// state back.
#include "mainwindow/labels.h"
#include "mainwindow/main_window.h"
#include "mainwindow/saved_settings.h"
#include "params/options_dialog.h"
#include "params/parameter_sets.h"
#include "text/number_text.h"
#include "text/text_file.h"

namespace tarvo::mainwindow {
namespace {

using engine::AccuracyMethod;
constexpr const char* kSettingsFile = "tarvo_prm.dat";
constexpr const char* kStartedWithoutOptions = "Medium Accuracy, National";

// A settings file that is not read because it is no regular file or holds a line longer
// than 1 MiB: the start goes on as without it.
void ShowRefusal(ui::Desktop& desktop, const std::string& refusal) {
  if (!refusal.empty()) desktop.ShowMessage(refusal, "WARNING", ui::MessageIcon::Warning);
}

}  // namespace

std::pair<std::string, std::string> MainTransformDialog::SideLabels(
    const std::string& system) const {
  return mainwindow::SideLabels(system, settings_, grid_);
}

void MainTransformDialog::LoadSettings() {
  session_.inputMode = InputMode::ValueFields;
  grid_.gridFilePath.clear();

  // A short, damaged or refused file is treated like a missing one; it stays where it is
  // until the next Save & Exit replaces it.
  std::string refusal;
  const bool loaded =
      LoadSavedSettings(session_.startDirectory / kSettingsFile, texts_, settings_, grid_, refusal);
  ShowRefusal(desktop(), refusal);

  if (loaded) {
    // A side whose first caption is not "East" was saved showing X, Y, Z (the file keeps
    // the captions, not the display).
    for (Side side : {FromSide(texts_, session_), ToSide(texts_, session_)}) {
      side.display = side.label1 == "East" ? DisplayMode::Grid : DisplayMode::Cartesian;
      if (side.display == DisplayMode::Cartesian) {
        side.gridLabel.assign(1, ' ');
        side.datumLabel.assign(1, ' ');
      } else {
        std::tie(side.gridLabel, side.datumLabel) = SideLabels(side.system);
      }
    }
    // The parameter set label stays as saved: a grid label is not rebuilt here.
    ApplyMethodLabels(false, "No accuracy specified", "ERROR");
    // Tarvo.var is read whatever the method, so the parameter texts agree with the saved
    // set when the method later becomes Medium Accuracy.
    LoadParameters();
  } else {
    // First start: the options are asked before the window shows.
    params::OptionsDialog options(desktop(), settings_, grid_, session_.startDirectory);
    if (desktop().RunModal(options) == ui::kResultOk) {
      settings_.accuracyMethod = options.methodLastChosen();
    } else {
      // Options closed without a choice: the start goes on with a method that needs no
      // file, the National 7-parameter set, and says so.
      settings_.accuracyMethod = AccuracyMethod::Medium;
      settings_.parameterSet = engine::kNationalParameterSet;
      params::SetActiveParameters(settings_, params::ApplyPreset(0)->texts);
      texts_.statusText = kStartedWithoutOptions;
    }
    if (const auto label = params::ParameterSetLabel(settings_.parameterSet)) {
      texts_.parameterSetLabel = *label;
    }
    session_.inputMode = InputMode::Geographic;
    LabelsFollowSettings();
  }
  // The To position kept in the standard display form is the one saved (or the default).
  session_.savedToLatitude = texts_.toLatitude;
  session_.savedToLongitude = texts_.toLongitude;
  savedContents_ = SavedContents();
}

// A set no transformation can use is refused as a missing file is: the parameters keep
// their values (the National set unless changed).
void MainTransformDialog::LoadParameters() {
  std::string refusal;
  const auto parameters = params::LoadParameterFile(session_.startDirectory, &refusal);
  ShowRefusal(desktop(), refusal);
  if (!parameters) return;
  if (const auto problem = params::CheckParameterSet(*parameters)) {
    const auto path = session_.startDirectory / "Tarvo.var";
    desktop().ShowMessage(
        ui::WithReason(problem->message, text::Format("%s line %d: the file is not used",
                                                      path.string().c_str(), problem->line)),
        "ERROR", ui::MessageIcon::Warning);
    return;
  }
  params::SetActiveParameters(settings_, *parameters);
}

void MainTransformDialog::ApplyMethodLabels(bool gridLabel, const char* unknownText,
                                            const char* unknownCaption) {
  if (settings_.accuracyMethod == AccuracyMethod::Medium) {
    texts_.methodLabel = "Medium Accuracy";
    session_.secondsDecimals = 4;
  } else if (settings_.accuracyMethod == AccuracyMethod::High) {
    texts_.methodLabel = "High Accuracy - NTv2";
    session_.secondsDecimals = 5;
    if (const auto label = ntv2::GridLabel(grid_); label && gridLabel) {
      texts_.parameterSetLabel = *label;
    }
  } else {
    desktop().ShowMessage(unknownText, unknownCaption, ui::MessageIcon::None,
                          ui::MessageButtons::OkCancel);
  }
}

std::string MainTransformDialog::SavedContents() const {
  // The To position is saved in the standard display form, whatever the output format.
  WindowTexts saved = texts_;
  saved.toLatitude = session_.savedToLatitude;
  saved.toLongitude = session_.savedToLongitude;
  return FormatSavedSettings(saved, settings_, grid_);
}

// A save that fails keeps the window open, so the user can make the folder writable and
// press Save & Exit again; nothing of the session is lost.
void MainTransformDialog::SaveAndExit() {
  const auto path = session_.startDirectory / kSettingsFile;
  if (!text::WriteFileAtomically(path, SavedContents())) {
    desktop().ShowMessage("The settings could not be saved in\n" + path.string(), "ERROR",
                          ui::MessageIcon::Error);
    return;
  }
  Close(ui::kResultOk);
}

bool MainTransformDialog::HasUnsavedValues() const {
  for (const int id : {kFromEast, kFromNorth, kFromHeight, kFromLatitude, kFromLongitude}) {
    if (ControlModified(id)) return true;
  }
  return SavedContents() != savedContents_;
}

void MainTransformDialog::OnCancel() {
  if (HasUnsavedValues() &&
      desktop().ShowMessage("Leave without saving?\nChanges are kept only by Save & Exit", "EXIT",
                            ui::MessageIcon::Question,
                            ui::MessageButtons::YesNo) != ui::MessageAnswer::Yes) {
    return;
  }
  Close(ui::kResultCancel);
}

}  // namespace tarvo::mainwindow
