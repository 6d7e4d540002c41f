#include "params/options_dialog.h"

#include "angles/angle_format.h"
#include "ntv2/grid_file_dialog.h"
#include "params/parameters_dialog.h"
#include "version.h"

namespace tarvo::params {
namespace {

using engine::AccuracyMethod;

std::vector<std::string> Texts(std::span<const std::string_view> labels) {
  return {labels.begin(), labels.end()};
}

}  // namespace

OptionsDialog::OptionsDialog(ui::Desktop& desktop, engine::TransformSettings& settings,
                             ntv2::GridChoice& grid, std::filesystem::path startDirectory)
    : ui::Dialog(desktop),
      settings_(settings),
      grid_(grid),
      startDirectory_(std::move(startDirectory)),
      methodLastChosen_(settings.accuracyMethod),
      inputFormats_(Texts(angles::OptionsInputFormatLabels())),
      outputFormats_(Texts(angles::OutputFormatLabels())) {
  using ui::ControlKind;
  SetTemplate(std::string("Tarvo V") + kVersion + " Transformation Options", 330, 284);
  SetHelpTopic("options");

  Add(ControlKind::GroupBox, 1010, "Transformation Method", {6, 4, 318, 122});
  Add(ControlKind::RadioButton, kHighAccuracy, "High Accuracy Transformation", {14, 16, 150, 10})
      .Bind(high_)
      .OnClick(&Self::ClickHigh);
  Static("Survey accurate (2-Dimensional) Transformations\r(using NTv2 grid interpolation)",
         {26, 28, 290, 18});
  Static(
      "For survey work and cadastral data where a national or state NTv2 grid covers the "
      "area. Absolute accuracy about 0.1 m; relative accuracy similar to the source data.",
      {26, 47, 290, 18});
  Add(ControlKind::RadioButton, kMediumAccuracy, "Medium Accuracy Transformation",
      {14, 70, 150, 10})
      .Bind(medium_)
      .OnClick(&Self::ClickMedium);
  Static("7 Parameter (3-Dimensional,Similarity) Transformations", {26, 82, 290, 9});
  Static(
      "For use where high accuracy is not available, such as GIS data derived from maps. "
      "Absolute accuracy about 1 m; relative accuracy the same as the source over a limited "
      "area.",
      {26, 93, 290, 27});

  Add(ControlKind::GroupBox, 1011, "Geographical Input Format", {6, 130, 156, 60});
  Add(ControlKind::DropDownList, kInputFormat, "", {14, 143, 140, 110})
      .Bind(inputFormat_)
      .BindItems(inputFormats_)
      .OnSelect(&Self::SelectInputFormat)
      .Name("Geographical Input Format");
  Add(ControlKind::MultiLineEdit, kInputNote, "", {14, 161, 140, 24}, ui::kReadOnly)
      .Bind(note_)
      .Name("Input format note");
  Add(ControlKind::GroupBox, 1012, "Geographical Output Format", {168, 130, 156, 60});
  Add(ControlKind::DropDownList, kOutputFormat, "", {176, 143, 140, 120})
      .Bind(outputFormat_)
      .BindItems(outputFormats_)
      .OnSelect(&Self::SelectOutputFormat)
      .Name("Geographical Output Format");

  Static(
      "NOTE: Selection of the Medium Accuracy option will display the various 7 parameter "
      "transformations options. \r\nYou can also enter your own values.",
      {6, 193, 318, 30}, ui::kBorder);
  Static(
      "RESULTS OF CURRENT CALCULATIONS CAN BE FOUND IN TARVO_RPT.TXT LOCATED IN THE PROGRAM "
      "DIRECTORY",
      {6, 226, 318, 18});
  Static(
      "Leaving out the ellipsoidal height changes the transformed horizontal position by "
      "millimetres only.",
      {6, 245, 318, 18});
  Static("USE F1 FOR HELP", {6, 268, 100, 9});
  DefaultButton(kOk, "&OK", {268, 264, 56, 14}).OnClick(&Self::Ok);
}

void OptionsDialog::OnShow() {
  high_ = settings_.accuracyMethod == AccuracyMethod::High;
  medium_ = !high_;
  methodLastChosen_ = settings_.accuracyMethod;
  inputFormat_ = settings_.inputFormat;
  note_.clear();
  outputFormat_ = settings_.outputFormat;
}

// A click on either method button switches the method, so a click on the button already
// selected selects the other one.
void OptionsDialog::ClickHigh() {
  high_ = !high_;
  medium_ = !high_;
}

void OptionsDialog::ClickMedium() {
  medium_ = !medium_;
  high_ = !medium_;
}

void OptionsDialog::SelectInputFormat() {
  const int index = SelectedIndex(kInputFormat);
  const auto chosen = SelectedText(kInputFormat);
  if (!chosen) return;
  note_ = index == 1 ? "Not available for space\r\nseparated variable files." : " ";
  inputFormat_ = *chosen;
  settings_.inputFormat = *chosen;
}

void OptionsDialog::SelectOutputFormat() {
  const auto chosen = SelectedText(kOutputFormat);
  if (!chosen) return;
  outputFormat_ = *chosen;
  settings_.outputFormat = *chosen;
}

void OptionsDialog::Ok() {
  const AccuracyMethod method = high_ ? AccuracyMethod::High : AccuracyMethod::Medium;
  settings_.accuracyMethod = method;
  methodLastChosen_ = method;
  if (method == AccuracyMethod::Medium) {
    ParametersDialog parameters(desktop(), settings_, startDirectory_);
    desktop().RunModal(parameters);
  } else {
    ntv2::GridFileDialog gridFile(desktop(), grid_, startDirectory_);
    desktop().RunModal(gridFile);
  }
  // Whatever the follow-up dialog ended with, the options dialog closes too.
  Close(ui::kResultOk);
}

}  // namespace tarvo::params
