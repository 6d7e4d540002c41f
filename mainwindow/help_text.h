// The program's own help: one section per window, opened by the Help button and by F1.
#pragma once

#include <string>
#include <string_view>

namespace tarvo::mainwindow {

// The help text of a window's section ("main", "options", ...), starting with the section
// on the window asked for and followed by the workflow overview. Plain single-byte text.
std::string HelpText(std::string_view topic);

}  // namespace tarvo::mainwindow
