// Fonts by their metrics, whichever sans family fontconfig gives: the dialogs' font matches
// the dialog-unit scale, a drawn text's height is its cell, and narrowing stops at its floor.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "ui/qt/fonts.h"

namespace tarvo::ui::qt {
namespace {

// The font is the largest whole pixel size whose cell is at most `cell` pixels.
void ExpectLargestWithin(const QFont& font, int cell, const char* what) {
  EXPECT_LE(QFontMetrics(font).height(), cell) << what;
  QFont larger = font;
  larger.setPixelSize(font.pixelSize() + 1);
  EXPECT_GT(QFontMetrics(larger).height(), cell) << what << ": a larger size fits too";
}

TEST(Fonts, ChosenByCellHeightAndAverageWidthForEachSansFamily) {
  for (const char* family : {"Liberation Sans", "DejaVu Sans"}) {
    const QFont control = ControlFont(QString::fromLatin1(family));
    ExpectLargestWithin(control, 13, family);
    EXPECT_LE(AverageCharWidth(control), 6.0) << family;
    EXPECT_GT(AverageCharWidth(control), 5.9) << family << " at stretch " << control.stretch();
    for (const int cell : {10, 12, 15}) {
      ExpectLargestWithin(FontWithCellHeight(QString::fromLatin1(family), cell), cell, family);
    }
  }
  // The help font: a 15 px cell (ascent plus descent), not a 15 px em.
  EXPECT_EQ(QFontMetrics(FontWithCellHeight(kPreferredFamily, 15)).height(), 15);
}

TEST(Fonts, NarrowedUntilTheTextFitsButNoFurtherThanTheFloor) {
  const QFont control = ControlFont();
  const auto narrowerThan = [](double width) {
    return [width](const QFont& font) { return AverageCharWidth(font) <= width; };
  };
  EXPECT_EQ(NarrowedToFit(control, narrowerThan(100)).stretch(), control.stretch()) << "fits";
  const QFont narrowed = NarrowedToFit(control, narrowerThan(5.0));
  EXPECT_LT(narrowed.stretch(), control.stretch());
  EXPECT_LE(AverageCharWidth(narrowed), 5.0);
  QFont oneStepWider = narrowed;
  oneStepWider.setStretch(narrowed.stretch() + 1);
  EXPECT_GT(AverageCharWidth(oneStepWider), 5.0) << "no narrower than needed";
  EXPECT_EQ(NarrowedToFit(control, narrowerThan(1.0)).stretch(), kNarrowestStretch);
}

}  // namespace
}  // namespace tarvo::ui::qt
