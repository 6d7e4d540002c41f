#include "ui/qt/fonts.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <algorithm>

namespace tarvo::ui::qt {
namespace {

// Stretch is searched within these bounds (percent); a face narrower or wider than a sans
// face is far beyond them.
constexpr int kLeastStretch = 50;
constexpr int kMostStretch = 150;

}  // namespace

double AverageCharWidth(const QFont& font) {
  static const QString kLetters =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return QFontMetricsF(font).horizontalAdvance(kLetters) / kLetters.size();
}

QFont FontWithCellHeight(const QString& family, int cellHeight) {
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  // The cell grows with the pixel size, about 1.1 to 1.2 times it for sans faces; start from
  // the cell itself and step down to the first size that fits.
  int size = std::max(cellHeight, 1);
  font.setPixelSize(size);
  while (size > 1 && QFontMetrics(font).height() > cellHeight) font.setPixelSize(--size);
  return font;
}

QFont ControlFont(const QString& family) {
  QFont font = FontWithCellHeight(family, static_cast<int>(kControlCellHeight));
  // Synthetic stretch scales every advance alike, so one measurement places it; the loop
  // catches a face that fontconfig swaps for a condensed one at some stretch.
  const double natural = AverageCharWidth(font);
  int stretch = std::clamp(static_cast<int>(100 * kControlAverageWidth / natural), kLeastStretch,
                           kMostStretch);
  font.setStretch(stretch);
  while (stretch > kLeastStretch && AverageCharWidth(font) > kControlAverageWidth + 1e-9) {
    font.setStretch(--stretch);
  }
  return font;
}

QFont NarrowedToFit(const QFont& font, const std::function<bool(const QFont&)>& fits) {
  QFont narrowed = font;
  int stretch = font.stretch() == QFont::AnyStretch ? 100 : font.stretch();
  while (!fits(narrowed) && stretch > kNarrowestStretch) narrowed.setStretch(--stretch);
  return narrowed;
}

}  // namespace tarvo::ui::qt
