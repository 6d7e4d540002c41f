#include "tests/gui/gui_support.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTest>

#include "ui/qt/painting.h"

namespace tarvo::testing {

bool ShowActive(ui::Dialog& dialog, QWidget& window) {
  dialog.Show();
  window.show();
  QApplication::setActiveWindow(&window);
  return QTest::qWaitForWindowActive(&window);
}

std::string SaveScreenshot(QWidget* widget, const std::string& name) {
  QDir().mkpath(QStringLiteral("screenshots"));
  const QString path =
      QStringLiteral("screenshots/") + QString::fromStdString(name) + QStringLiteral(".png");
  widget->grab().save(path);
  return QDir(path).absolutePath().toStdString();
}

std::string ScreenshotName(const std::string& name, const QWidget& widget) {
  return widget.devicePixelRatioF() == 2.0 ? name + "_2x" : name;
}

LayerPixels PaintedPixels(const ui::DisplayList& display, int layer, const ui::PixelRect& area,
                          const QWidget& window) {
  ui::DisplayList alone;
  for (const ui::Primitive& primitive : display.Layer(layer)) alone.Add(layer, primitive);
  const qreal ratio = window.devicePixelRatioF();
  QImage image(window.size() * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  ui::qt::Paint(painter, alone);
  painter.end();
  LayerPixels pixels;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) == 0) continue;
      ++pixels.painted;
      // A device pixel covers [x, x + 1) / ratio in client pixels.
      const bool inside = x / ratio >= area.left && (x + 1) / ratio <= area.right &&
                          y / ratio >= area.top && (y + 1) / ratio <= area.bottom;
      if (!inside) ++pixels.outside;
    }
  }
  return pixels;
}

}  // namespace tarvo::testing
