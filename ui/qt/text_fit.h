// Where each kind of widget lays out its text, and whether a text fits there in a font: the
// rule by which the renderer narrows a control's font (see fonts.h) and by which the layout
// test proves that no text is cut.
#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>
#include <QWidget>

namespace tarvo::ui::qt {

// The texts a widget shows now or may show at a click: its text, and every entry of a list.
// A box that scrolls its lines unwrapped (a file preview) shows file contents, not texts of
// the program, and gives none.
QStringList ShownTexts(const QWidget& widget);

// The rectangle, in the widget's own coordinates, that the widget lays its text out in.
QRect TextRoom(const QWidget& widget);

// True when `text` ("\n" between lines; a button's "&" mnemonics take no room) shown by
// `widget` in `font` lies wholly inside its text room: each line within its width, or where
// the widget wraps, every wrapped line within its width and all of them within its height.
// Blanks at the end of a line take no room.
bool TextFits(const QWidget& widget, const QFont& font, const QString& text);

// The same for a text laid out in a room of `room` pixels with Qt's text `flags`.
bool TextFitsRoom(const QFont& font, const QSizeF& room, const QString& text, int flags);

// Gives `widget` the dialog font, narrowed as far as one of its shown texts needs.
void FitFont(QWidget& widget, const QFont& controlFont);

}  // namespace tarvo::ui::qt
