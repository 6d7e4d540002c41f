// Painting a display list with Qt: the dialogs' drawings and the program's icons.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <functional>

#include "ui/display_list.h"

namespace tarvo::ui::qt {

// Paints every layer of `display` in order.
void Paint(QPainter& painter, const DisplayList& display);

// The font a text primitive is drawn in: its family at its cell height, narrowed where a line
// would not fit the primitive's box otherwise (see fonts.h).
QFont TextFont(const TextInBox& text);

// A drawing made by `draw` into a square box of `size` pixels, on a transparent ground.
using Drawing = std::function<void(DisplayList&, const PixelRect&)>;
QImage RenderImage(const Drawing& draw, int size);

// The common icon sizes, and an icon of the drawing at each of them.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
QIcon RenderIcon(const Drawing& draw);

}  // namespace tarvo::ui::qt
