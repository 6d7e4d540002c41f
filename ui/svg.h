// A display list as an SVG document, so a drawing of the program (its emblem) can be
// installed as a scalable icon from the same primitives the windows paint.
#pragma once

#include <string>

#include "ui/display_list.h"

namespace tarvo::ui {

// The layers of `display` as an SVG document of `width` by `height` pixels. Text is written
// as SVG text in the given font family.
std::string SvgDocument(const DisplayList& display, double width, double height);

}  // namespace tarvo::ui
