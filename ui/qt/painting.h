// Painting a display list with Qt: the dialogs' drawings and the program's icons.
#pragma once

#include <QIcon>
#include <QPainter>
#include <functional>

#include "ui/display_list.h"

namespace tarvo::ui::qt {

// Paints every layer of `display` in order.
void Paint(QPainter& painter, const DisplayList& display);

// An icon at the common sizes, each drawn by `draw` into a square box of that size.
QIcon RenderIcon(const std::function<void(DisplayList&, const PixelRect&)>& draw);

}  // namespace tarvo::ui::qt
