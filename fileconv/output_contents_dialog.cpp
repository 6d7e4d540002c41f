#include "fileconv/output_contents_dialog.h"

namespace tarvo::fileconv {

OutputContentsDialog::OutputContentsDialog(ui::Desktop& desktop) : ui::Dialog(desktop) {
  using ui::ControlKind;
  SetTemplate("", 200, 86);
  SetHelpTopic("output-contents");
  Static("OUTPUT FILE CONTENTS", {10, 8, 180, 10}, ui::kCenter);
  Add(ControlKind::RadioButton, kWithInput, "Output File to display results as well as input.",
      {14, 24, 180, 10})
      .Bind(withInput_)
      .OnClick(&Self::ClickWithInput);
  Add(ControlKind::RadioButton, kResultsOnly, "Output File to display results only.",
      {14, 40, 180, 10})
      .Bind(resultsOnly_)
      .OnClick(&Self::ClickResultsOnly);
  DefaultButton(kStart, "&Start", {40, 62, 50, 14}).OnClick(&Self::Start);
  Button(kCancel, "&Cancel", {110, 62, 50, 14}).OnClick(&Self::CancelClicked);
}

void OutputContentsDialog::OnShow() {
  Choose(std::nullopt);
}

void OutputContentsDialog::OnCancel() {
  CancelClicked();
}

void OutputContentsDialog::ClickWithInput() {
  Choose(OutputContents::ResultsWithInput);
}

void OutputContentsDialog::ClickResultsOnly() {
  Choose(OutputContents::ResultsOnly);
}

void OutputContentsDialog::Start() {
  if (!choice_) {
    desktop().ShowMessage("You have not selected a Option", "ERROR", ui::MessageIcon::Error);
    return;
  }
  Close(ui::kResultOk);
}

void OutputContentsDialog::CancelClicked() {
  Choose(std::nullopt);
  Close(ui::kResultCancel);
}

void OutputContentsDialog::Choose(std::optional<OutputContents> choice) {
  choice_ = choice;
  withInput_ = choice == OutputContents::ResultsWithInput;
  resultsOnly_ = choice == OutputContents::ResultsOnly;
}

}  // namespace tarvo::fileconv
