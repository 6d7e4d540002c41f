#include "params/parameters_dialog.h"

#include "text/number_text.h"

namespace tarvo::params {
namespace {

constexpr int kNational = engine::kNationalParameterSet;
constexpr int kUserDefined = engine::kUserDefinedParameterSet;

// The list text the dialog opens with on the National set, and the one Reset to Defaults
// shows. Neither is an entry of the list (the entries have three blanks after the arrow), so
// the list shows them alone with no entry selected; picking National from the list shows
// its own entry.
constexpr const char* kOpeningListText = "National  -->  AGD84<>GDA";
constexpr const char* kResetListText = "National --> AGD84<>GDA";

constexpr const char* kListHint =
    "Select National when tansforming from AMG84\r\nRegional if from AGD66";

struct FieldText {
  const char* label;
  const char* hint;
};
// The rows of both columns, in the order of Tarvo.var.
constexpr FieldText kFields[9] = {
    {"a (metres)", "Enter the Major semi-axis (metres)"},
    {"1/f", "Enter the Flattening Parameter"},
    {"Xo", "Enter Shift in X origin (metres)"},
    {"Yo", "Enter Shift in Y origin (metres)"},
    {"Zo", "Enter Shift in Z origin (metres)"},
    {"rx", " (seconds)"},
    {"ry", " (seconds)"},
    {"rz", " (seconds)"},
    {"ds", "Enter the Scaling factor (parts per million)"},
};

Preset National() {
  return *ApplyPreset(kNational);
}

std::string Cut(std::string text, std::size_t length) {
  if (text.size() > length) text.resize(length);
  return text;
}

}  // namespace

ParametersDialog::ParametersDialog(ui::Desktop& desktop, engine::TransformSettings& settings,
                                   std::filesystem::path startFolder)
    : ui::Dialog(desktop), settings_(settings), startFolder_(std::move(startFolder)) {
  using ui::ControlKind;
  for (int i = 0; i < kPresetCount; ++i) listItems_.emplace_back(ApplyPreset(i)->listText);

  SetTemplate("GDA Transformation Parameters", 344, 294);
  SetHelpTopic("parameters");

  Static("Spheroid Values && 7 Transformation Parameters", {8, 6, 328, 10}, ui::kCenter);
  // The list's edit part only shows the chosen entry; sets are chosen from the list.
  Add(ControlKind::DropDownCombo, kPresetList, "", {58, 20, 180, 90}, ui::kReadOnly)
      .Bind(listText_)
      .BindItems(listItems_)
      .Name("Parameter set")
      .OnFocus(&Self::EnterPresetList)
      .OnSelect(&Self::SelectPreset);

  // Each column is 136 units wide, room for the 28 digits of the longest entry.
  ReadOnlyEdit(kPresetListCopy, {8, 40, 186, 13}).Bind(presetListCopy_).Name("Preset");
  Static("User defined", {200, 43, 136, 10}, ui::kCenter);
  const auto rowTop = [](int row) { return 58 + 15 * row; };
  for (int i = 0; i < 9; ++i) {
    Static(kFields[i].label, {8, rowTop(i) + 2, 46, 10});
    ReadOnlyEdit(PresetField(i), {58, rowTop(i), 136, 13})
        .Bind(presetTexts_[static_cast<std::size_t>(i)])
        .Name(std::string("Preset ") + kFields[i].label);
  }
  // After the preset column, so Tab steps down the user's column.
  for (int i = 0; i < 9; ++i) {
    Edit(UserField(i), {200, rowTop(i), 136, 13}, ui::kMaxLength28)
        .Bind(userTexts_[static_cast<std::size_t>(i)])
        .Name(std::string("User defined ") + kFields[i].label)
        .On(ui::Event::FocusEnter, [this, i] { EnterUserField(i); })
        .On(ui::Event::FocusLeave, [this, i] { LeaveUserField(i); });
  }

  Add(ControlKind::GroupBox, 1050, "Use", {8, 194, 328, 42});
  Add(ControlKind::RadioButton, kUsePreset, "", {16, 212, 12, 10})
      .Bind(usePreset_)
      .Name("Use preset")
      .OnClick(&Self::ClickUse);
  Add(ControlKind::MultiLineEdit, kPresetLabel, "", {30, 205, 164, 26}, ui::kReadOnly)
      .Bind(presetLabel_)
      .Name("Preset label");
  Add(ControlKind::RadioButton, kUseUserDefined, "User defined", {204, 212, 100, 10})
      .Bind(useUserDefined_)
      .OnClick(&Self::ClickUse);

  Add(ControlKind::MultiLineEdit, kHint, "", {8, 242, 328, 26}, ui::kReadOnly)
      .Bind(hint_)
      .Name("Hint");
  Static("USE F1 FOR HELP", {8, 278, 80, 10});
  Button(kReset, "&Reset to Defaults", {148, 274, 76, 14}).OnClick(&Self::ResetToDefaults);
  DefaultButton(kSave, "&Save", {230, 274, 50, 14}).OnClick(&Self::Save);
  Button(kCancel, "&Cancel", {286, 274, 50, 14}).OnClick(&Self::CancelClicked);
}

void ParametersDialog::OnShow() {
  const int active = settings_.parameterSet;
  useUserDefined_ = active == kUserDefined;
  usePreset_ = !useUserDefined_;
  hint_.clear();

  // The user's values are those last saved. Without Tarvo.var they are the National values,
  // unless the active set is the user's own: then it is shown, so Save keeps it.
  if (const auto saved = LoadParameterFile(startFolder_)) {
    userTexts_ = *saved;
  } else {
    userTexts_ = useUserDefined_ ? ActiveParameters(settings_) : National().texts;
  }
  for (std::string& value : userTexts_) value = Cut(value, kMaxEntryLength);

  if (active > kNational && active < kPresetCount) {
    ShowPreset(active, ApplyPreset(active)->listText);
  } else {
    ShowPreset(kNational, kOpeningListText);
  }
}

void ParametersDialog::EnterPresetList() {
  hint_ = kListHint;
}

void ParametersDialog::SelectPreset() {
  const int index = SelectedIndex(kPresetList);
  // With no entry selected only the refresh happens; selecting never changes the use choice.
  if (const auto preset = ApplyPreset(index)) ShowPreset(index, preset->listText);
}

void ParametersDialog::EnterUserField(int index) {
  hint_ = kFields[index].hint;
}

// The typed text is taken as it is (checked only by Save, and only for the ellipsoid), cut
// to the 28 characters Tarvo.var keeps.
void ParametersDialog::LeaveUserField(int index) {
  userTexts_[static_cast<std::size_t>(index)] = Cut(ControlText(UserField(index)), kMaxEntryLength);
}

// A click on either button switches the choice, so a click on the button already selected
// selects the other one.
void ParametersDialog::ClickUse() {
  usePreset_ = !usePreset_;
  useUserDefined_ = !usePreset_;
}

// Back to the National preset in both columns; Tarvo.var is not touched until Save.
void ParametersDialog::ResetToDefaults() {
  usePreset_ = true;
  useUserDefined_ = false;
  ShowPreset(kNational, kResetListText);
  userTexts_ = presetTexts_;
}

void ParametersDialog::Save() {
  const ParameterTexts& chosen = useUserDefined_ ? userTexts_ : presetTexts_;
  if (useUserDefined_ && !CheckUserSet(chosen)) return;
  if (!SaveParameterFile(startFolder_, chosen)) {
    const std::string path = (startFolder_ / "Tarvo.var").string();
    desktop().ShowMessage(
        text::Format("Cannot write %s\nThe parameter set was not changed", path.c_str()), "ERROR",
        ui::MessageIcon::Error);
    return;
  }
  SetActiveParameters(settings_, chosen);
  settings_.parameterSet = useUserDefined_ ? kUserDefined : presetIndex_;
  Close(ui::kResultOk);
}

void ParametersDialog::CancelClicked() {
  Close(ui::kResultCancel);
}

void ParametersDialog::ShowPreset(int index, const std::string& listText) {
  const Preset preset = *ApplyPreset(index);
  presetIndex_ = index;
  presetTexts_ = preset.texts;
  presetLabel_ = preset.label;
  listText_ = listText;
  presetListCopy_ = listText;
}

// A set typed here is checked as a set read from Tarvo.var is (CheckParameterSet).
bool ParametersDialog::CheckUserSet(const ParameterTexts& texts) {
  const auto problem = CheckParameterSet(texts);
  if (!problem) return true;
  desktop().ShowMessage(problem->message, "ERROR", ui::MessageIcon::Warning);
  return false;
}

}  // namespace tarvo::params
