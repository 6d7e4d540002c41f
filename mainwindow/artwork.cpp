#include "mainwindow/artwork.h"

#include <algorithm>

namespace tarvo::mainwindow {

void DrawEmblem(ui::DisplayList& display, int layer, const ui::PixelRect& box) {
  using ui::Color;
  using ui::Point;
  const double size = std::min(box.right - box.left, box.bottom - box.top);
  const double left = box.left + (box.right - box.left - size) / 2;
  const double top = box.top + (box.bottom - box.top - size) / 2;
  const auto at = [&](double u, double v) { return Point{left + u * size, top + v * size}; };
  const double line = std::max(1.0, size / 32);

  // The map sheet.
  display.Add(layer, ui::Polygon({at(0.06, 0.06), at(0.94, 0.06), at(0.94, 0.94), at(0.06, 0.94)},
                                 {{20, 60, 120}, line}, Color{40, 110, 190}));
  // Its graticule.
  for (const double t : {0.30, 0.50, 0.70}) {
    display.Add(layer, ui::Line({at(t, 0.06), at(t, 0.94)}, {{140, 190, 235}, line / 2}));
    display.Add(layer, ui::Line({at(0.06, t), at(0.94, t)}, {{140, 190, 235}, line / 2}));
  }
  // The triangulation triangle and the station mark at its centre.
  display.Add(layer, ui::Polygon({at(0.50, 0.16), at(0.84, 0.78), at(0.16, 0.78)},
                                 {{255, 255, 255}, line * 1.5}, Color{220, 40, 30}));
  display.Add(layer, ui::Line({at(0.50, 0.40), at(0.50, 0.70)}, {{255, 255, 255}, line}));
  display.Add(layer, ui::Line({at(0.35, 0.57), at(0.65, 0.57)}, {{255, 255, 255}, line}));
  display.Add(layer, ui::Ellipse{{left + 0.45 * size, top + 0.52 * size, left + 0.55 * size,
                                  top + 0.62 * size},
                                 {{255, 255, 255}, line},
                                 std::nullopt});
}

}  // namespace tarvo::mainwindow
