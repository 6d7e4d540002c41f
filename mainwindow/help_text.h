// The program's own help: one section per window, opened by the main window's Help button
// and by F1 in any window, and the usual workflow.
#pragma once

#include "ui/help_book.h"

namespace tarvo::mainwindow {

ui::HelpBook HelpText();

}  // namespace tarvo::mainwindow
