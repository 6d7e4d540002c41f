#include "ui/qt/help_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <algorithm>

#include "ui/qt/dialog_window.h"

namespace tarvo::ui::qt {
namespace {

// The help book as one page, each section under a heading with an anchor of its topic; its
// lines wrap where the window is narrower than they are.
QString HelpPage(const HelpBook& book) {
  QString page = QStringLiteral("<h2>Tarvo help</h2>");
  for (const HelpSection& section : book) {
    page += QStringLiteral(
                "<h3><a name=\"%1\"></a>%2</h3><pre style=\"font-family: sans-serif; white-space: "
                "pre-wrap\">%3</pre>")
                .arg(QString::fromLatin1(section.topic), ShownText(section.title).toHtmlEscaped(),
                     ShownText(section.text).toHtmlEscaped());
  }
  return page;
}

// What the window manager puts around `window` (nothing without one).
QMargins FrameMargins(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
          frame.bottom() - client.bottom()};
}

}  // namespace

HelpWindow::HelpWindow(const HelpBook& book, QWidget* owner) : QTextBrowser(owner) {
  setWindowFlag(Qt::Window);
  setWindowTitle(QStringLiteral("Tarvo Help"));
  setHtml(HelpPage(book));
}

void HelpWindow::OpenAt(std::string_view topic) {
  // Placed when it opens; once open it stays where the user put it.
  if (!isVisible()) {
    const QWidget* owner = parentWidget();
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    const QRect beside = owner != nullptr ? owner->frameGeometry() : available;
    // Before the window was first shown its frame is known only from the owner's; it is
    // placed again once its own is known.
    const bool known = testAttribute(Qt::WA_WState_Created);
    setGeometry(HelpWindowPlace(beside, available,
                                FrameMargins(!known && owner != nullptr ? *owner : *this)));
    show();
    if (!known) setGeometry(HelpWindowPlace(beside, available, FrameMargins(*this)));
  }
  show();
  raise();
  activateWindow();
  scrollToAnchor(QString::fromLatin1(topic.data(), static_cast<qsizetype>(topic.size())));
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape ||
      (event->key() == Qt::Key_W && event->modifiers() == Qt::ControlModifier)) {
    close();
    return;
  }
  QTextBrowser::keyPressEvent(event);
}

QRect HelpWindowPlace(const QRect& owner, const QRect& available, const QMargins& frame) {
  const int frameWidth = frame.left() + frame.right();
  const int frameHeight = frame.top() + frame.bottom();
  const int roomRight = available.right() - owner.right();
  const int roomLeft = owner.left() - available.left();
  const bool toTheRight = roomRight >= roomLeft;
  const int roomBeside = std::max(roomRight, roomLeft) - frameWidth;
  int width = std::min(kHelpWidth, available.width() - frameWidth);
  int left = 0;  // of the frame
  if (roomBeside >= kHelpNarrowest) {
    width = std::min(width, roomBeside);
    left = toTheRight ? owner.right() + 1 : owner.left() - width - frameWidth;
  } else {
    left = owner.center().x() - (width + frameWidth) / 2;
  }
  left = std::clamp(left, available.left(), available.right() + 1 - width - frameWidth);
  return {left + frame.left(), available.top() + frame.top(), width,
          available.height() - frameHeight};
}

}  // namespace tarvo::ui::qt
