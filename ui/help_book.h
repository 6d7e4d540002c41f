// The program's help: sections of plain text, one per window, each found by its topic name.
// A desktop shows the whole book and opens it at the section asked for.
#pragma once

#include <string>
#include <vector>

namespace tarvo::ui {

struct HelpSection {
  std::string topic;  // the name a dialog's help asks for ("main", "options", ...)
  std::string title;
  std::string text;   // plain single-byte text, "\n" between lines
};

using HelpBook = std::vector<HelpSection>;

}  // namespace tarvo::ui
