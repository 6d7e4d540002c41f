#include "mainwindow/about_dialog.h"

#include "mainwindow/artwork.h"
#include "version.h"

namespace tarvo::mainwindow {

AboutDialog::AboutDialog(ui::Desktop& desktop) : ui::Dialog(desktop) {
  SetTemplate("About tarvo", 200, 70);
  SetHelpTopic("about");
  Add(ui::ControlKind::Picture, 101, "", {8, 10, 32, 32});
  Static(std::string("TARVO Version ") + kVersion + "\rReleased\rDecember 2026", {48, 12, 104, 30},
         ui::kCenter);
  Add(ui::ControlKind::Picture, 102, "", {160, 10, 32, 32});
  DefaultButton(kOk, "&OK", {75, 50, 50, 14}).OnClick(&AboutDialog::Ok);
  // A picture on each side: the program's emblem.
  DrawEmblem(drawing(), 0, {12, 16, 60, 68});
  DrawEmblem(drawing(), 0, {240, 16, 288, 68});
}

}  // namespace tarvo::mainwindow
