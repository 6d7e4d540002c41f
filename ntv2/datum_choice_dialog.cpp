#include "ntv2/datum_choice_dialog.h"

namespace tarvo::ntv2 {

DatumChoiceDialog::DatumChoiceDialog(ui::Desktop& desktop, GridChoice& grid)
    : ui::Dialog(desktop), grid_(grid) {
  using ui::ControlKind;
  SetTemplate("Datum", 120, 84);
  SetHelpTopic("datum");
  Static("Unable to determine Datum\rPlease Select", {10, 8, 100, 20}, ui::kCenter);
  Add(ControlKind::RadioButton, kAgd66, "AGD 66", {30, 32, 60, 10})
      .Bind(agd66_)
      .OnClick(&Self::ClickAgd66);
  Add(ControlKind::RadioButton, kAgd84, "AGD 84", {30, 46, 60, 10})
      .Bind(agd84_)
      .OnClick(&Self::ClickAgd84);
  DefaultButton(kOk, "OK", {35, 62, 50, 14}).OnClick(&Self::Ok);
}

void DatumChoiceDialog::OnShow() {
  agd66_ = true;
  agd84_ = false;
}

// A click selects its datum; clicking the selected one again keeps it.
void DatumChoiceDialog::ClickAgd66() {
  agd66_ = true;
  agd84_ = false;
}

void DatumChoiceDialog::ClickAgd84() {
  agd66_ = false;
  agd84_ = true;
}

void DatumChoiceDialog::Ok() {
  grid_.gridMethod = agd84_ ? GridMethod::GridFileAgd84 : GridMethod::GridFileAgd66;
  Close(ui::kResultOk);
}

}  // namespace tarvo::ntv2
