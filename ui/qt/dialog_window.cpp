#include "ui/qt/dialog_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

#include "ui/qt/fonts.h"
#include "ui/qt/painting.h"
#include "ui/qt/qt_desktop.h"
#include "ui/qt/text_fit.h"

namespace tarvo::ui::qt {
namespace {

// A combo box that tells the dialog when its list is about to drop down, so the dialog can
// fill the list first.
class DropDownBox : public QComboBox {
 public:
  DropDownBox(std::function<void()> onDropDown, QWidget* parent)
      : QComboBox(parent), onDropDown_(std::move(onDropDown)) {}
  void showPopup() override {
    onDropDown_();
    QComboBox::showPopup();
  }

 private:
  std::function<void()> onDropDown_;
};

// The height of a closed drop-down list, in dialog units.
constexpr int kClosedListHeight = 13;

QRect PixelBox(const Box& box) {
  const auto x = [](double units) { return static_cast<int>(units * kPixelsPerUnitX + 0.5); };
  const auto y = [](double units) { return static_cast<int>(units * kPixelsPerUnitY + 0.5); };
  return QRect(x(box.left), y(box.top), x(box.left + box.width) - x(box.left),
               y(box.top + box.height) - y(box.top));
}

std::string FromQt(const QString& text) {
  return text.toLatin1().toStdString();
}

bool IsTypedFocusChange(const QFocusEvent* focus) {
  // Focus that moves because another window (a message box, a child dialog, a list popup)
  // became active is not the user leaving a field.
  return focus->reason() != Qt::ActiveWindowFocusReason && focus->reason() != Qt::PopupFocusReason;
}

}  // namespace

QString ShownText(const std::string& text) {
  QString shown = QString::fromLatin1(text.data(), static_cast<int>(text.size()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

QString ButtonCaption(const std::string& caption) {
  return ShownText(caption);
}

QString WrappedCaption(const QWidget& button, const QString& caption) {
  // A caption that does not fit a button of two or more lines breaks at a blank, as the
  // buttons of the original layout did.
  const QFontMetrics metrics = button.fontMetrics();
  const int room = button.width() - 6;
  if (caption.contains(QLatin1Char('\n')) || button.height() < 2 * metrics.height() ||
      metrics.horizontalAdvance(caption) <= room) {
    return caption;
  }
  const int blank = caption.lastIndexOf(QLatin1Char(' '));
  if (blank < 0) return caption;
  return caption.left(blank) + QLatin1Char('\n') + caption.mid(blank + 1);
}

QString PlainCaption(const std::string& caption) {
  std::string plain;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        plain += '&';
        ++i;
      }
      continue;
    }
    plain += caption[i];
  }
  return ShownText(plain);
}

// --- Canvas ------------------------------------------------------------------------------

Canvas::Canvas(const DisplayList& display, QWidget* parent) : QWidget(parent), display_(display) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Canvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Paint(painter, display_);
}

// --- DialogWindow --------------------------------------------------------------------------

DialogWindow::DialogWindow(Dialog& dialog, QtDesktop& desktop, QWidget* parent)
    : QDialog(parent), dialog_(dialog), desktop_(desktop) {
  Build();
  dialog_.Attach(this);
}

DialogWindow::~DialogWindow() {
  dialog_.Attach(nullptr);
}

void DialogWindow::Build() {
  setWindowTitle(QString::fromLatin1(dialog_.title()));
  const QRect client = PixelBox({0, 0, dialog_.width(), dialog_.height()});
  setFixedSize(client.size());
  setWindowIcon(desktop_.windowIcon());
  controlFont_ = ControlFont();
  setFont(controlFont_);

  canvas_ = new Canvas(dialog_.display(), this);
  canvas_->setGeometry(client);
  canvas_->lower();

  for (const ControlTemplate& control : dialog_.Controls()) {
    QWidget* widget = MakeWidget(control);
    if (widget == nullptr) continue;
    QRect box = PixelBox(control.box);
    // A drop-down list's template height includes its dropped list; closed it is one line,
    // as tall as an edit field.
    if (qobject_cast<QComboBox*>(widget) != nullptr) {
      box.setHeight(
          std::min(box.height(), PixelBox({0, control.box.top, 0, kClosedListHeight}).height()));
    }
    widget->setGeometry(box);
    widget->setAccessibleName(PlainCaption(control.accessibleName));
    widgets_[control.id] = widget;
    kinds_[control.id] = control.kind;
  }
}

QWidget* DialogWindow::MakeWidget(const ControlTemplate& control) {
  const int id = control.id;
  switch (control.kind) {
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(this);
      if (control.style & kMaxLength28) edit->setMaxLength(28);
      if (control.style & kCaption) {
        edit->setFrame(false);
        edit->setFocusPolicy(Qt::NoFocus);
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        edit->setPalette(palette);
        edit->setTextMargins(0, 0, 0, 0);
      }
      if (control.style & kRightAlign) edit->setAlignment(Qt::AlignRight);
      if (control.style & kCenter) edit->setAlignment(Qt::AlignHCenter);
      Watch(edit, id);
      return edit;
    }
    case ControlKind::MultiLineEdit: {
      auto* edit = new QPlainTextEdit(this);
      edit->setLineWrapMode((control.style & kNoWrap) ? QPlainTextEdit::NoWrap
                                                      : QPlainTextEdit::WidgetWidth);
      Watch(edit, id);
      return edit;
    }
    case ControlKind::DropDownList:
    case ControlKind::DropDownCombo: {
      auto* combo = new DropDownBox([this, id] { dialog_.Dispatch(id, Event::DropDown); }, this);
      combo->setEditable(control.kind == ControlKind::DropDownCombo);
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setMaxVisibleItems(12);
      connect(combo, qOverload<int>(&QComboBox::activated), this,
              [this, id] { dialog_.Dispatch(id, Event::SelectionChange); });
      Watch(combo, id);
      if (combo->lineEdit() != nullptr) Watch(combo->lineEdit(), id);
      return combo;
    }
    case ControlKind::RadioButton: {
      auto* radio = new QRadioButton(ButtonCaption(control.caption), this);
      // The dialog decides what a click does (a click on the selected button may select the
      // other), so Qt's own exclusive toggling is off.
      radio->setAutoExclusive(false);
      connect(radio, &QRadioButton::clicked, this,
              [this, id] { dialog_.Dispatch(id, Event::Click); });
      Watch(radio, id);
      return radio;
    }
    case ControlKind::Button:
    case ControlKind::DefaultButton: {
      auto* button = new QPushButton(this);
      button->setDefault(control.kind == ControlKind::DefaultButton);
      button->setAutoDefault(control.kind == ControlKind::DefaultButton);
      connect(button, &QPushButton::clicked, this,
              [this, id] { dialog_.Dispatch(id, Event::Click); });
      Watch(button, id);
      return button;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(this);
      bar->setTextVisible(false);
      bar->setRange(0, 100);
      bar->setValue(0);
      return bar;
    }
    case ControlKind::StaticText: {
      auto* label = new QLabel(PlainCaption(control.caption), this);
      // Only a box with room for a second line wraps its text.
      label->setWordWrap(PixelBox(control.box).height() >= 1.5 * fontMetrics().height());
      label->setAlignment((control.style & kCenter)       ? Qt::AlignHCenter | Qt::AlignTop
                          : (control.style & kRightAlign) ? Qt::AlignRight | Qt::AlignTop
                                                          : Qt::AlignLeft | Qt::AlignTop);
      // A plain line shows the box whole on every side (a sunken panel's light edges vanish
      // on the window's grey).
      if (control.style & kBorder) label->setFrameStyle(QFrame::Box | QFrame::Plain);
      return label;
    }
    case ControlKind::GroupBox:
      return new QGroupBox(PlainCaption(control.caption), this);
    case ControlKind::Picture:
      return nullptr;
  }
  return nullptr;
}

void DialogWindow::Watch(QWidget* widget, int id) {
  ids_[widget] = id;
  widget->installEventFilter(this);
}

QWidget* DialogWindow::ControlWidget(int id) const {
  const auto found = widgets_.find(id);
  return found == widgets_.end() ? nullptr : found->second;
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) {
    return QDialog::eventFilter(watched, event);
  }
  const auto found = ids_.find(watched);
  if (found == ids_.end() || closing_) return QDialog::eventFilter(watched, event);
  const int id = found->second;
  if (event->type() == QEvent::FocusIn) {
    // Focus coming back to the same control when its window is active again (after a
    // message box, a child dialog or a list popup) is no new entry.
    if (focused_ != id) {
      if (focused_) dialog_.Dispatch(*std::exchange(focused_, std::nullopt), Event::FocusLeave);
      focused_ = id;
      dialog_.Dispatch(id, Event::FocusEnter);
    }
  } else if (focused_ == id && IsTypedFocusChange(static_cast<QFocusEvent*>(event))) {
    // Focus moving between the parts of one control (a combo box and its edit) stays in it.
    const QWidget* next = QApplication::focusWidget();
    const auto nextId = next != nullptr ? ids_.find(next) : ids_.end();
    if (nextId == ids_.end() || nextId->second != id) {
      focused_.reset();
      dialog_.Dispatch(id, Event::FocusLeave);
    }
  }
  return QDialog::eventFilter(watched, event);
}

std::string DialogWindow::Text(int id) const {
  QWidget* widget = ControlWidget(id);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return FromQt(edit->text());
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    if (combo->isEditable()) return FromQt(combo->currentText());
    return combo->currentIndex() >= 0 ? FromQt(combo->currentText())
                                      : FromQt(combo->placeholderText());
  }
  if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
    QString text = multi->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQt(text);
  }
  return dialog_.State(id).text;
}

bool DialogWindow::Modified(int id) const {
  QWidget* widget = ControlWidget(id);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->isModified();
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    return combo->lineEdit() != nullptr && combo->lineEdit()->isModified();
  }
  return false;
}

int DialogWindow::SelectedIndex(int id) const {
  if (auto* combo = qobject_cast<QComboBox*>(ControlWidget(id))) return combo->currentIndex();
  return -1;
}

void DialogWindow::Apply(int id, const ControlState& state) {
  QWidget* widget = ControlWidget(id);
  if (widget == nullptr) return;
  const QSignalBlocker blocker(widget);
  widget->setVisible(state.visible);
  widget->setEnabled(state.enabled);
  const QString text = ShownText(state.text);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setReadOnly(state.readOnly);
    if (edit->text() != text) {
      edit->setText(text);
      // Show a text that does not fit from its start, as a field that was just filled.
      edit->setCursorPosition(0);
    }
    edit->setModified(false);
  } else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
    multi->setReadOnly(state.readOnly);
    if (multi->toPlainText() != text) multi->setPlainText(text);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    QStringList items;
    for (const std::string& item : state.items) items << ShownText(item);
    QStringList shownItems;
    for (int i = 0; i < combo->count(); ++i) shownItems << combo->itemText(i);
    if (shownItems != items) {
      combo->clear();
      combo->addItems(items);
    }
    const int index = items.indexOf(text);
    combo->setCurrentIndex(index);
    if (combo->isEditable()) {
      combo->setEditText(text);
      combo->lineEdit()->setCursorPosition(0);
      combo->lineEdit()->setReadOnly(state.readOnly);
      combo->lineEdit()->setModified(false);
    } else if (index < 0) {
      // A text that is no entry of the list is shown alone.
      combo->setPlaceholderText(text);
    }
  } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
    radio->setChecked(state.checked);
    radio->setText(ButtonCaption(state.text));
  } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
    button->setText(WrappedCaption(*button, ButtonCaption(state.text)));
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(PlainCaption(state.text));
  }
  FitFont(*widget, controlFont_);
}

void DialogWindow::SetProgress(int id, int minimum, int maximum, int position) {
  if (auto* bar = qobject_cast<QProgressBar*>(ControlWidget(id))) {
    bar->setRange(minimum, maximum);
    bar->setValue(position);
  }
}

void DialogWindow::Repaint() {
  canvas_->update();
}

void DialogWindow::KeepPainting() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void DialogWindow::SetFocus(int id) {
  if (QWidget* widget = ControlWidget(id)) widget->setFocus(Qt::OtherFocusReason);
}

void DialogWindow::Close(int result) {
  closing_ = true;
  done(result);
}

void DialogWindow::reject() {
  // Escape: the dialog decides whether and how it closes.
  dialog_.Cancel();
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  if (!dialog_.closed()) dialog_.Cancel();
  if (dialog_.closed()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    desktop_.ShowHelp(dialog_.helpTopic());
    return;
  }
  // Alt+Space opens the window menu (the about box lives there), as does a right-click.
  if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::AltModifier) &&
      !dialog_.menuCommands().empty()) {
    ShowMenu(mapToGlobal(QPoint(0, 0)));
    return;
  }
  QDialog::keyPressEvent(event);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (dialog_.menuCommands().empty()) return;
  ShowMenu(event->globalPos());
}

void DialogWindow::ShowMenu(const QPoint& globalPosition) {
  // The window menu: the window's own entry first, then, after a separator, the commands
  // the dialog adds (the about box), as a system menu holds them.
  QMenu menu(this);
  menu.addAction(QStringLiteral("&Help\tF1"), this,
                 [this] { desktop_.ShowHelp(dialog_.helpTopic()); });
  menu.addSeparator();
  for (const MenuCommand& command : dialog_.menuCommands()) {
    const int id = command.id;
    menu.addAction(ButtonCaption(command.caption), this, [this, id] { dialog_.DispatchMenu(id); });
  }
  menu.exec(globalPosition);
}

}  // namespace tarvo::ui::qt
