// A small dialog in the style of the program's windows, for the tests of the dialog
// framework and of the Qt renderer: an edit with a leave handler, one without, a list that
// fills as it drops down, a radio button under the dialog's control, buttons.
#pragma once

#include <string>
#include <vector>

#include "ui/dialog.h"

namespace tarvo::testing {

class SampleDialog : public ui::Dialog {
 public:
  using Self = SampleDialog;
  static constexpr int kEast = 10;
  static constexpr int kNorth = 11;
  static constexpr int kZone = 12;
  static constexpr int kApply = 13;
  static constexpr int kUse = 14;
  static constexpr int kAsk = 15;
  static constexpr int kOk = 1;

  explicit SampleDialog(ui::Desktop& desktop) : ui::Dialog(desktop) {
    using ui::ControlKind;
    SetTemplate("Sample \xB0", 200, 100);
    Edit(kEast, {10, 10, 60, 14}).Bind(east).OnLeave(&Self::LeaveEast);
    Edit(kNorth, {10, 30, 60, 14}).Bind(north);
    Add(ControlKind::DropDownCombo, kZone, "", {80, 10, 40, 60}, ui::kSorted)
        .Bind(zone)
        .BindItems(zones)
        .OnDropDown(&Self::DropZones)
        .OnSelect(&Self::PickZone);
    Add(ControlKind::RadioButton, kUse, "&Use", {80, 30, 40, 10}).Bind(use).OnClick(&Self::Toggle);
    Button(kApply, "&Apply", {10, 60, 40, 14}).OnClick(&Self::ApplyClicked);
    Button(kAsk, "As&k", {10, 80, 40, 14}).OnClick(&Self::Ask);
    DefaultButton(kOk, "&Save && Exit", {60, 60, 60, 14}).OnClick(&Self::Ok);
    drawing().Add(0, ui::FilledRect{{150, 80, 160, 90}, {255, 0, 0}});
  }

  // Texts of 3 characters or fewer are dropped, as the main window's grid fields do.
  void LeaveEast() {
    ++leaves;
    if (ControlModified(kEast)) {
      const std::string typed = ControlText(kEast);
      if (typed.size() > 3) east = typed;
    }
  }
  void DropZones() { zones = {"56", "49", "55"}; }
  void PickZone() { zone = SelectedText(kZone).value_or("?"); }
  void Toggle() { use = !use; }
  void ApplyClicked() { ++applies; }
  void Ask() {
    answer = desktop().ShowMessage("Are you sure ?", "RESET", ui::MessageIcon::Question,
                                   ui::MessageButtons::YesNo);
  }
  void Ok() {
    eastAtOk = east;
    Close(ui::kResultOk);
  }

  std::string east = "379185.968";
  std::string north = "6359970.566";
  std::string zone = "56 ";
  std::vector<std::string> zones;
  bool use = false;
  int leaves = 0;
  int applies = 0;
  ui::MessageAnswer answer = ui::MessageAnswer::Ok;
  std::string eastAtOk;
};

}  // namespace tarvo::testing
