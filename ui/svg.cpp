#include "ui/svg.h"

#include "text/number_text.h"

namespace tarvo::ui {
namespace {

std::string Rgb(const Color& color) {
  return text::Format("#%02x%02x%02x", color.red, color.green, color.blue);
}

std::string Fill(const std::optional<Color>& fill) {
  return fill ? Rgb(*fill) : "none";
}

std::string Stroke(const Pen& pen) {
  return "stroke=\"" + Rgb(pen.color) + "\" stroke-width=\"" + text::Format("%g", pen.width) +
         "\" stroke-linejoin=\"miter\"";
}

std::string Escaped(const std::string& raw) {
  std::string escaped;
  for (const char c : raw) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string SvgDocument(const DisplayList& display, double width, double height) {
  std::string svg = text::Format(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\" "
      "viewBox=\"0 0 %g %g\">\n",
      width, height, width, height);
  for (const auto& [layer, primitives] : display.layers()) {
    for (const Primitive& primitive : primitives) {
      if (const auto* rect = std::get_if<FilledRect>(&primitive)) {
        svg += text::Format("  <rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" fill=\"%s\"/>\n",
                            rect->box.left, rect->box.top, rect->box.right - rect->box.left,
                            rect->box.bottom - rect->box.top, Rgb(rect->fill).c_str());
      } else if (const auto* line = std::get_if<Polyline>(&primitive)) {
        std::string points;
        for (const Point& point : line->points) points += text::Format("%g,%g ", point.x, point.y);
        svg += std::string("  <") + (line->closed ? "polygon" : "polyline") + " points=\"" +
               points + "\" fill=\"" + Fill(line->fill) + "\" " + Stroke(line->pen) + "/>\n";
      } else if (const auto* ellipse = std::get_if<Ellipse>(&primitive)) {
        const PixelRect& box = ellipse->box;
        svg += text::Format("  <ellipse cx=\"%g\" cy=\"%g\" rx=\"%g\" ry=\"%g\" fill=\"%s\" ",
                            (box.left + box.right) / 2, (box.top + box.bottom) / 2,
                            (box.right - box.left) / 2, (box.bottom - box.top) / 2,
                            Fill(ellipse->fill).c_str()) +
               Stroke(ellipse->pen) + "/>\n";
      } else if (const auto* text = std::get_if<TextInBox>(&primitive)) {
        if (text->background) {
          svg +=
              text::Format("  <rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" fill=\"%s\"/>\n",
                           text->box.left, text->box.top, text->box.right - text->box.left,
                           text->box.bottom - text->box.top, Rgb(*text->background).c_str());
        }
        svg += text::Format(
                   "  <text x=\"%g\" y=\"%g\" font-family=\"%s\" font-size=\"%d\" fill=\"%s\">",
                   text->box.left, text->box.top + text->font.cellHeight, text->font.family.c_str(),
                   text->font.cellHeight, Rgb(text->textColor).c_str()) +
               Escaped(text->text) + "</text>\n";
      }
    }
  }
  return svg + "</svg>\n";
}

}  // namespace tarvo::ui
