#include "ui/qt/painting.h"

#include <QPixmap>

#include "ui/qt/dialog_window.h"
#include "ui/qt/fonts.h"
#include "ui/qt/text_fit.h"

namespace tarvo::ui::qt {
namespace {

QColor ToQColor(const Color& color) {
  return QColor(color.red, color.green, color.blue);
}

QPen ToQPen(const Pen& pen) {
  QPen result(ToQColor(pen.color));
  result.setWidthF(pen.width);
  result.setJoinStyle(Qt::MiterJoin);
  return result;
}

QRectF ToQRect(const PixelRect& box) {
  return QRectF(box.left, box.top, box.right - box.left, box.bottom - box.top);
}

int AlignmentFlags(TextAlign align) {
  return align == TextAlign::Center  ? Qt::AlignHCenter | Qt::AlignTop
         : align == TextAlign::Right ? Qt::AlignRight | Qt::AlignTop
                                     : Qt::AlignLeft | Qt::AlignTop;
}

}  // namespace

QFont TextFont(const TextInBox& text) {
  // Where the family is not installed, fontconfig picks a metric-compatible or similar sans.
  QFont font = FontWithCellHeight(QString::fromLatin1(text.font.family), text.font.cellHeight);
  font.setWeight(static_cast<QFont::Weight>(text.font.weight));
  const QSizeF room(text.box.right - text.box.left, text.box.bottom - text.box.top);
  const QString shown = ShownText(text.text);
  return NarrowedToFit(font, [&](const QFont& candidate) {
    return TextFitsRoom(candidate, room, shown, AlignmentFlags(text.align));
  });
}

void Paint(QPainter& painter, const DisplayList& display) {
  painter.setRenderHint(QPainter::Antialiasing);
  for (const auto& [layer, primitives] : display.layers()) {
    for (const Primitive& primitive : primitives) {
      if (const auto* rect = std::get_if<FilledRect>(&primitive)) {
        painter.fillRect(ToQRect(rect->box), ToQColor(rect->fill));
      } else if (const auto* text = std::get_if<TextInBox>(&primitive)) {
        if (text->background) painter.fillRect(ToQRect(text->box), ToQColor(*text->background));
        painter.setFont(TextFont(*text));
        painter.setPen(ToQColor(text->textColor));
        // Not clipped: a text is fitted to its box, and one that still overflowed would show,
        // not lose its edge unseen.
        painter.drawText(ToQRect(text->box), AlignmentFlags(text->align) | Qt::TextDontClip,
                         ShownText(text->text));
      } else if (const auto* line = std::get_if<Polyline>(&primitive)) {
        QPolygonF points;
        for (const Point& point : line->points) points << QPointF(point.x, point.y);
        painter.setPen(ToQPen(line->pen));
        if (line->closed) {
          painter.setBrush(line->fill ? QBrush(ToQColor(*line->fill)) : QBrush(Qt::NoBrush));
          painter.drawPolygon(points);
        } else {
          painter.setBrush(Qt::NoBrush);
          painter.drawPolyline(points);
        }
      } else if (const auto* ellipse = std::get_if<Ellipse>(&primitive)) {
        painter.setPen(ToQPen(ellipse->pen));
        painter.setBrush(ellipse->fill ? QBrush(ToQColor(*ellipse->fill)) : QBrush(Qt::NoBrush));
        painter.drawEllipse(ToQRect(ellipse->box));
      }
    }
  }
}

QImage RenderImage(const Drawing& draw, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  DisplayList display;
  draw(display, {0, 0, static_cast<double>(size), static_cast<double>(size)});
  QPainter painter(&image);
  Paint(painter, display);
  return image;
}

QIcon RenderIcon(const Drawing& draw) {
  QIcon icon;
  for (const int size : kIconSizes) icon.addPixmap(QPixmap::fromImage(RenderImage(draw, size)));
  return icon;
}

}  // namespace tarvo::ui::qt
