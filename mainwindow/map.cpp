#include "mainwindow/map.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "mainwindow/australia_coast.h"
#include "text/number_text.h"

namespace tarvo::mainwindow {
namespace {

// Client-pixel offsets of the map coordinates: a point at map (x, y) is drawn at
// (x + 42, y + 90); the marker's box starts 2 and 3 pixels before its point.
constexpr double kOffsetX = 42;
constexpr double kOffsetY = 90;

// The map's box on the window (the picture at 7, 24, 221, 177 dialog units).
constexpr ui::PixelRect kMapBox{10.5, 39, 342, 326.6};

const ui::Color kSea{180, 180, 180};
const ui::Color kLand{236, 228, 196};
const ui::Color kCoast{96, 96, 96};
const ui::Color kGraticule{120, 120, 140};
const ui::Color kLabel{40, 40, 60};
const ui::Color kZoneLabel{70, 90, 150};

ui::Point At(double longitude, double latitude) {
  return {MapX(longitude) + kOffsetX, MapY(latitude) + kOffsetY};
}

void Label(ui::DisplayList& display, double x, double y, const std::string& text,
           const ui::Color& color, int cellHeight, ui::TextAlign align) {
  // Wide enough for "156°"; a label at the map's edge stays over the map, flush with it.
  const double width = 28;
  double left = align == ui::TextAlign::Center  ? x - width / 2
                : align == ui::TextAlign::Right ? x - width
                                                : x;
  if (left < kMapBox.left) {
    left = kMapBox.left;
    align = ui::TextAlign::Left;
  } else if (left + width > kMapBox.right) {
    left = kMapBox.right - width;
    align = ui::TextAlign::Right;
  }
  display.Add(kMapLayer, ui::TextInBox{{left, y, left + width, y + cellHeight + 2},
                                       text,
                                       color,
                                       std::nullopt,
                                       {"Arial", cellHeight, 400},
                                       align});
}

// Map coordinates are whole pixels, truncated toward zero. A position far outside Australia
// (a grid entry that is no coordinate can put a point anywhere, or nowhere) is placed this
// far off the map on its own side, or beyond the bottom right when it is no number, so its
// marker is simply not seen; a pixel count beyond the range of int would be undefined.
constexpr double kFarOffMap = 100000;

int MapPixel(double value) {
  if (std::isnan(value)) return static_cast<int>(kFarOffMap);
  return static_cast<int>(std::clamp(value, -kFarOffMap, kFarOffMap));
}

// The part of a horizontal or vertical line from `a` to `b` inside `box`, if any.
std::optional<std::pair<ui::Point, ui::Point>> ClipSide(ui::Point a, ui::Point b,
                                                        const ui::PixelRect& box) {
  if (a.y == b.y) {
    if (a.y < box.top || a.y > box.bottom) return std::nullopt;
    const double left = std::max(std::min(a.x, b.x), box.left);
    const double right = std::min(std::max(a.x, b.x), box.right);
    if (left > right) return std::nullopt;
    return std::pair{ui::Point{left, a.y}, ui::Point{right, a.y}};
  }
  if (a.x < box.left || a.x > box.right) return std::nullopt;
  const double top = std::max(std::min(a.y, b.y), box.top);
  const double bottom = std::min(std::max(a.y, b.y), box.bottom);
  if (top > bottom) return std::nullopt;
  return std::pair{ui::Point{a.x, top}, ui::Point{a.x, bottom}};
}

}  // namespace

int MapX(double longitude) {
  return MapPixel((longitude - 114) * 6.9821429);
}

int MapY(double latitude) {
  int y = MapPixel((latitude - 16) * 7.4479165 + (latitude - 16) * 0.41666666666666663);
  if (latitude > 20 && latitude < 36) y -= 2;
  return y;
}

void DrawMap(ui::DisplayList& display) {
  display.Clear(kMapLayer);
  display.Add(kMapLayer, ui::FilledRect{kMapBox, kSea});

  for (const CoastRing& ring : AustraliaCoast()) {
    ui::Polyline land = ui::Polygon({}, {kCoast, 1}, kLand);
    for (size_t i = 0; i < ring.count; ++i) {
      land.points.push_back(At(ring.points[i].longitude, -ring.points[i].latitude));
    }
    display.Add(kMapLayer, std::move(land));
  }

  // Meridians every 6 degrees, which are also the zone boundaries, labelled at the top.
  for (int longitude = 114; longitude <= 156; longitude += 6) {
    const double x = MapX(longitude) + kOffsetX;
    display.Add(kMapLayer, ui::Line({{x, kMapBox.top}, {x, kMapBox.bottom}}, {kGraticule, 1}));
    Label(display, x, kMapBox.top + 1, text::Format("%d\xB0", longitude), kLabel, 10,
          ui::TextAlign::Center);
  }
  // Parallels, labelled at the left edge.
  for (int latitude = 16; latitude <= 40; latitude += 8) {
    const double y = MapY(latitude) + kOffsetY;
    display.Add(kMapLayer, ui::Line({{kMapBox.left, y}, {kMapBox.right, y}}, {kGraticule, 1}));
    Label(display, kMapBox.left + 2, y - 12, text::Format("%d\xB0S", latitude), kLabel, 10,
          ui::TextAlign::Left);
  }
  // Zone numbers across the middle, at each zone's central meridian (6 x zone - 183).
  for (int zone = 49; zone <= 56; ++zone) {
    const double x = MapX(6.0 * zone - 183) + kOffsetX;
    Label(display, x, MapY(28) + kOffsetY - 6, std::to_string(zone), kZoneLabel, 12,
          ui::TextAlign::Center);
  }
}

ui::PixelRect MarkerBox(double packedLatitude, double packedLongitude) {
  const double x = MapX(packedLongitude);
  const double y = MapY(packedLatitude);
  return {x + 40, y + 87, x + 45, y + 92};
}

void DrawMarker(ui::DisplayList& display, double packedLatitude, double packedLongitude) {
  display.Add(kMarkerLayer, ui::Ellipse{MarkerBox(packedLatitude, packedLongitude),
                                        {{255, 0, 0}, 2},
                                        ui::Color{255, 255, 255}});
}

const ui::PixelRect& MapBox() {
  return kMapBox;
}

void DrawSubGridOutlines(ui::DisplayList& display,
                         const std::vector<ntv2::SubGridExtent>& subGrids) {
  const ui::Pen pen{{0, 225, 0}, 2};
  // The outlines belong to the map: a line is kept half its width inside the whole pixels of
  // the map's box, so no pixel of it, smoothed edges included, reaches the window around.
  const double inset = pen.width / 2;
  const ui::PixelRect clip{std::ceil(kMapBox.left) + inset, std::ceil(kMapBox.top) + inset,
                           std::floor(kMapBox.right) - inset, std::floor(kMapBox.bottom) - inset};
  const auto inside = [&](const ui::Point& p) {
    return p.x >= clip.left && p.x <= clip.right && p.y >= clip.top && p.y <= clip.bottom;
  };
  display.Clear(kOutlineLayer);
  for (const ntv2::SubGridExtent& limits : subGrids) {
    const double west = std::max(limits.west, 108.0);
    const std::vector<ui::Point> corners = {At(west, limits.north), At(limits.east, limits.north),
                                            At(limits.east, limits.south), At(west, limits.south),
                                            At(west, limits.north)};
    if (std::all_of(corners.begin(), corners.end(), inside)) {
      display.Add(kOutlineLayer, ui::Line(corners, pen));
      continue;
    }
    // A sub-grid reaching beyond the map: each side is cut to the part over the map, and a
    // side wholly off the map is left out (it is not drawn along the map's edge).
    for (size_t i = 0; i + 1 < corners.size(); ++i) {
      if (const auto side = ClipSide(corners[i], corners[i + 1], clip)) {
        display.Add(kOutlineLayer, ui::Line({side->first, side->second}, pen));
      }
    }
  }
}

}  // namespace tarvo::mainwindow
