// The datum choice dialog: asks whether a grid file whose datum neither its first sub-grid's
// name nor its path tells is on AGD66 or AGD84 (see DetectGridDatum).
//
// "AGD 66" is selected when it opens. OK sets the grid method to 0 (AGD66) or 1 (AGD84);
// Escape leaves it as it was.
#pragma once

#include "ntv2/grid_choice.h"
#include "ui/dialog.h"

namespace tarvo::ntv2 {

class DatumChoiceDialog : public ui::Dialog {
 public:
  using Self = DatumChoiceDialog;

  // Control ids.
  static constexpr int kAgd66 = 1001;
  static constexpr int kAgd84 = 1002;
  static constexpr int kOk = 1;

  DatumChoiceDialog(ui::Desktop& desktop, GridChoice& grid);

 private:
  void OnShow() override;
  void ClickAgd66();
  void ClickAgd84();
  void Ok();

  GridChoice& grid_;
  bool agd66_ = true;
  bool agd84_ = false;
};

}  // namespace tarvo::ntv2
