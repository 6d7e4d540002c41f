// The Qt renderer of a dialog: turns any Dialog's template into real widgets at 1.5 by 1.625
// pixels per dialog unit, carries the widgets' events to the dialog's handlers, shows the
// state the framework applies, and paints the dialog's display list under the controls.
#pragma once

#include <QDialog>
#include <QWidget>
#include <map>

#include "ui/dialog.h"

class QComboBox;

namespace tarvo::ui::qt {

class QtDesktop;

class DialogWindow : public QDialog, public View {
  Q_OBJECT

 public:
  DialogWindow(Dialog& dialog, QtDesktop& desktop, QWidget* parent);
  ~DialogWindow() override;

  Dialog& dialog() { return dialog_; }
  // The widget that shows control `id`, or null.
  QWidget* ControlWidget(int id) const;

  // --- View ----------------------------------------------------------------------------
  std::string Text(int id) const override;
  bool Modified(int id) const override;
  int SelectedIndex(int id) const override;
  void Apply(int id, const ControlState& state) override;
  void SetProgress(int id, int minimum, int maximum, int position) override;
  void Repaint() override;
  void KeepPainting() override;
  void SetFocus(int id) override;
  void Close(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Build();
  QWidget* MakeWidget(const ControlTemplate& control);
  void ShowMenu(const QPoint& globalPosition);
  void Watch(QWidget* widget, int id);

  Dialog& dialog_;
  QtDesktop& desktop_;
  // The font of every control, narrowed per control where a text needs it.
  QFont controlFont_;
  QWidget* canvas_ = nullptr;
  std::map<int, QWidget*> widgets_;
  std::map<const QObject*, int> ids_;
  std::map<int, ControlKind> kinds_;
  std::optional<int> focused_;
  bool closing_ = false;
};

// Paints a dialog's display list; it lies under every control.
class Canvas : public QWidget {
 public:
  Canvas(const DisplayList& display, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const DisplayList& display_;
};

// Converts a caption of the program (with "&" mnemonics, "&&" for one "&" and "\r" line
// breaks) for a widget that understands mnemonics (buttons) or one that does not (labels).
QString ButtonCaption(const std::string& caption);
QString PlainCaption(const std::string& caption);
// A button caption broken into two lines where it is too wide for its (tall) button.
QString WrappedCaption(const QWidget& button, const QString& caption);
// A text of the program (single bytes, "\r\n" line ends) as Qt shows it.
QString ShownText(const std::string& text);

}  // namespace tarvo::ui::qt
