// The program's help in a window of its own: the whole help book, opened at the section of
// the window in use, beside that window (or over it, where its screen has no room beside
// it), sized to that screen and wholly on it. Escape and Ctrl+W close it, so it closes
// without a window manager too.
#pragma once

#include <QMargins>
#include <QRect>
#include <QTextBrowser>
#include <string_view>

#include "ui/help_book.h"

namespace tarvo::ui::qt {

class HelpWindow : public QTextBrowser {
 public:
  // A window of `owner` (it takes input while the owner is modal, and closes with it), or a
  // window of its own without one.
  HelpWindow(const HelpBook& book, QWidget* owner);

  // Places the window by its owner, shows it and scrolls to the section named `topic`.
  void OpenAt(std::string_view topic);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// The help window's width, as wide as the help's lines need; it is narrower only where the
// screen is.
inline constexpr int kHelpWidth = 600;
// Beside its owner the help window is at least this wide; with less room it goes over it.
inline constexpr int kHelpNarrowest = 420;

// The client rectangle of a help window for an owner window whose frame covers `owner`, on a
// screen whose area free for windows is `available`; `frame` is what the window manager
// adds around a window. The window is as tall as the screen allows, kHelpWidth wide (less
// where the screen is narrower), beside the owner on the side with more room when that
// side holds kHelpNarrowest, else centred over the owner; always wholly within `available`.
QRect HelpWindowPlace(const QRect& owner, const QRect& available, const QMargins& frame);

}  // namespace tarvo::ui::qt
