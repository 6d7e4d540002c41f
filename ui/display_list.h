// What a dialog draws: a list of simple primitives in client pixels, kept by the dialog and
// painted by the renderer over the dialog's background, under its controls.
//
// The dialog owns the list, so everything it draws (help texts, the map, markers, outlines)
// can be asserted in a headless test. Primitives are grouped in numbered layers, painted in
// ascending order; a dialog replaces one layer (say, the help text) without touching the
// others (the map and the markers under it).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tarvo::ui {

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Color&) const = default;
};

struct Point {
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

// A rectangle in client pixels, corners (left, top) and (right, bottom).
struct PixelRect {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  bool operator==(const PixelRect&) const = default;
};

struct Pen {
  Color color;
  double width = 1;
  bool operator==(const Pen&) const = default;
};

struct Font {
  std::string family = "Arial";  // the renderer falls back to a similar sans font
  // The character cell height in pixels: ascent plus descent, as a font's height is given
  // where the window layout comes from (not the em size).
  int cellHeight = 15;
  int weight = 400;  // 400 normal, 700 bold
  bool operator==(const Font&) const = default;
};

enum class TextAlign { Left, Center, Right };

struct FilledRect {
  PixelRect box;
  Color fill;
  bool operator==(const FilledRect&) const = default;
};

// Text drawn into a box, on an opaque background where one is given; "\r\n" separates
// lines.
struct TextInBox {
  PixelRect box;
  std::string text;
  Color textColor;
  std::optional<Color> background;
  Font font;
  TextAlign align = TextAlign::Center;
  bool operator==(const TextInBox&) const = default;
};

// Straight lines through the points; closed and optionally filled when it is a polygon.
struct Polyline {
  std::vector<Point> points;
  Pen pen;
  bool closed = false;
  std::optional<Color> fill;
  bool operator==(const Polyline&) const = default;
};

// An open line through the points, and a closed polygon filled with `fill`.
inline Polyline Line(std::vector<Point> points, Pen pen) {
  return Polyline{std::move(points), pen, false, std::nullopt};
}
inline Polyline Polygon(std::vector<Point> points, Pen pen, std::optional<Color> fill) {
  return Polyline{std::move(points), pen, true, fill};
}

struct Ellipse {
  PixelRect box;
  Pen pen;
  std::optional<Color> fill;
  bool operator==(const Ellipse&) const = default;
};

using Primitive = std::variant<FilledRect, TextInBox, Polyline, Ellipse>;

class DisplayList {
 public:
  void Add(int layer, Primitive primitive) { layers_[layer].push_back(std::move(primitive)); }
  void Clear(int layer) { layers_.erase(layer); }
  void ClearAll() { layers_.clear(); }

  // The primitives of one layer, in drawing order (empty when the layer holds none).
  const std::vector<Primitive>& Layer(int layer) const;
  // Every layer in painting order.
  const std::map<int, std::vector<Primitive>>& layers() const { return layers_; }

 private:
  std::map<int, std::vector<Primitive>> layers_;
};

}  // namespace tarvo::ui
