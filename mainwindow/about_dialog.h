// The about box, opened from the main window's window menu.
#pragma once

#include "ui/dialog.h"

namespace tarvo::mainwindow {

class AboutDialog : public ui::Dialog {
 public:
  static constexpr int kOk = 1;
  explicit AboutDialog(ui::Desktop& desktop);

 private:
  void Ok() { Close(ui::kResultOk); }
};

}  // namespace tarvo::mainwindow
