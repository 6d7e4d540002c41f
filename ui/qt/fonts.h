// Fonts chosen by what they measure, not by a size number.
//
// The dialogs' boxes are in dialog units, drawn for a font whose average character width is
// 4 horizontal units and whose character height is 8 vertical units: 6 by 13 pixels at 1.5 and
// 1.625 pixels per unit. The control font is the sans family fontconfig gives, at the largest
// whole pixel size whose character cell (ascent plus descent) is no taller than 13 pixels,
// narrowed or widened (QFont stretch) until its average character width is 6 pixels. Sizes are
// logical pixels: on a screen of device-pixel ratio r Qt draws font and boxes r times larger,
// so the match holds at every ratio.
//
// A text that cannot fit its box in that font even so (the layout's geometry is fixed, some
// texts are longer than it was drawn for) is shown narrowed further, never below
// kNarrowestStretch; a text is never cut at the box edge.
#pragma once

#include <QFont>
#include <QString>
#include <functional>

#include "ui/dialog.h"

namespace tarvo::ui::qt {

// Liberation Sans has the metrics of the face the layout was drawn with; where it is missing
// fontconfig substitutes its own sans (DejaVu Sans on a plain Debian).
inline const QString kPreferredFamily = QStringLiteral("Liberation Sans");

// The character cell and average character width the dialog units were drawn for.
inline constexpr double kControlCellHeight = 8 * kPixelsPerUnitY;    // 13 px
inline constexpr double kControlAverageWidth = 4 * kPixelsPerUnitX;  // 6 px

// The narrowest stretch (percent of the face's own width) a text is shown at to fit its box.
inline constexpr int kNarrowestStretch = 70;

// The average advance of the 52 Latin letters, the width dialog units are measured in.
double AverageCharWidth(const QFont& font);

// The font of `family` at the largest whole pixel size whose character cell (ascent plus
// descent, in whole pixels) is at most `cellHeight` pixels.
QFont FontWithCellHeight(const QString& family, int cellHeight);

// The dialogs' font: a 13 px cell whose average character width is 6 px.
QFont ControlFont(const QString& family = kPreferredFamily);

// `font` narrowed in steps of one percent of stretch until `fits` says yes, no narrower than
// kNarrowestStretch (returned even when the text does not fit there).
QFont NarrowedToFit(const QFont& font, const std::function<bool(const QFont&)>& fits);

}  // namespace tarvo::ui::qt
