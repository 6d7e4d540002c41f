// The program's emblem, drawn from primitives so that it scales to any size: the window
// icon, the pictures of the about box and the installed icons all come from here.
//
// A survey mark on a map sheet: a blue sheet with a graticule, a red triangulation
// triangle and the station's cross-hair.
#pragma once

#include "ui/display_list.h"

namespace tarvo::mainwindow {

// Draws the emblem into `box` (client pixels) on `layer`.
void DrawEmblem(ui::DisplayList& display, int layer, const ui::PixelRect& box);

}  // namespace tarvo::mainwindow
