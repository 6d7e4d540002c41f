// The parameters dialog: chooses the set of the Medium Accuracy (7-parameter similarity)
// datum change, either one of the five built-in presets or nine values the user types (the
// GDA-side ellipsoid a and 1/f, the shifts tx, ty, tz in metres, the rotations rx, ry, rz in
// seconds of arc and the scale in parts per million).
//
// The left column shows the preset picked in the list (read-only), the right column the
// user's own values, which start as the contents of Tarvo.var. The "Use" buttons say which
// of the two Save makes active: it copies that set into the transformation settings and
// writes it to Tarvo.var. Cancel changes nothing.
//
// The dialog opens on the active set: the user's values selected when the active set is
// user defined, otherwise the active preset, so Save pressed at once (Enter) keeps it.
// Entries are at most 28 characters, the longest value Tarvo.var gives back unchanged. Save
// refuses a set the transformation cannot use (CheckParameterSet: an ellipsoid that is none,
// a value that is not finite), which would make every transformed coordinate meaningless;
// otherwise the values are taken as typed, a text that is not a number counting as 0.
// Tarvo.var is replaced through a temporary file, and the active set changes only when the
// file was written.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/transform_settings.h"
#include "params/parameter_sets.h"
#include "ui/dialog.h"

namespace tarvo::params {

class ParametersDialog : public ui::Dialog {
 public:
  using Self = ParametersDialog;

  // Control ids. The two columns hold one field per value, in the order of Tarvo.var
  // (a, 1/f, tx, ty, tz, rx, ry, rz, scale): PresetField(i) and UserField(i).
  static constexpr int kPresetList = 1001;
  static constexpr int kPresetListCopy = 1002;
  static constexpr int kFirstPresetField = 1010;
  static constexpr int kFirstUserField = 1020;
  static constexpr int kUsePreset = 1030;
  static constexpr int kPresetLabel = 1031;
  static constexpr int kUseUserDefined = 1032;
  static constexpr int kHint = 1033;
  static constexpr int kReset = 1040;
  static constexpr int kSave = 1;
  static constexpr int kCancel = 2;

  static constexpr int PresetField(int index) { return kFirstPresetField + index; }
  static constexpr int UserField(int index) { return kFirstUserField + index; }

  // The longest entry of the user-defined column.
  static constexpr std::size_t kMaxEntryLength = 28;

  // `startFolder` is the folder Tarvo.var is read from and written to (the program's
  // start-up folder).
  ParametersDialog(ui::Desktop& desktop, engine::TransformSettings& settings,
                   std::filesystem::path startFolder);

 private:
  void OnShow() override;

  // Handlers, in the order of the controls.
  void EnterPresetList();
  void SelectPreset();
  void EnterUserField(int index);
  void LeaveUserField(int index);
  void ClickUse();
  void ResetToDefaults();
  void Save();
  void CancelClicked();

  // Shows the preset of `index` (0 to 4) in the preset column.
  void ShowPreset(int index, const std::string& listText);
  // True when the user-defined set can be used; otherwise says why.
  bool CheckUserSet(const ParameterTexts& texts);

  engine::TransformSettings& settings_;
  std::filesystem::path startFolder_;

  bool usePreset_ = true;
  bool useUserDefined_ = false;
  ParameterTexts userTexts_;
  std::string hint_;
  std::string listText_;
  std::vector<std::string> listItems_;
  ParameterTexts presetTexts_;
  std::string presetListCopy_;
  std::string presetLabel_;
  int presetIndex_ = 0;
};

}  // namespace tarvo::params
