#include "ui/qt/qt_desktop.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui/dialog.h"
#include "ui/os_services.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/help_window.h"

namespace tarvo::ui::qt {

QString QtFilter(std::string_view filterList) {
  std::vector<std::string> parts;
  std::string part;
  for (const char c : filterList) {
    if (c == '|') {
      parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  QStringList filters;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty()) break;
    QString name = QString::fromLatin1(parts[i]);
    if (!name.contains(QLatin1Char('('))) {
      QString patterns = QString::fromLatin1(parts[i + 1]);
      patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
      name += QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    filters << name;
  }
  return filters.join(QStringLiteral(";;"));
}

QtDesktop::QtDesktop(ui::HelpBook help) : help_(std::move(help)) {}

QtDesktop::~QtDesktop() {
  if (helpWindow_ != nullptr && helpWindow_->parent() == nullptr) delete helpWindow_.data();
}

int QtDesktop::RunModal(Dialog& dialog) {
  DialogWindow window(dialog, *this, QApplication::activeModalWidget());
  dialog.Show();
  if (!dialog.closed()) window.exec();
  return dialog.result();
}

MessageAnswer QtDesktop::ShowMessage(std::string_view text, std::string_view caption,
                                     MessageIcon icon, MessageButtons buttons) {
  QMessageBox box(QApplication::activeModalWidget());
  box.setWindowTitle(ShownText(std::string(caption)));
  // A reason after the message is shown as the line under it.
  std::string shown(text);
  if (const std::size_t reasonAt = shown.find(kReasonBreak); reasonAt != std::string::npos) {
    shown.replace(reasonAt, kReasonBreak.size(), "\n");
  }
  box.setText(ShownText(shown));
  switch (icon) {
    case MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MessageIcon::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
  }
  switch (buttons) {
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      box.setEscapeButton(QMessageBox::Ok);
      break;
    case MessageButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case MessageButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setEscapeButton(QMessageBox::No);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Cancel:
      return MessageAnswer::Cancel;
    default:
      return MessageAnswer::Ok;
  }
}

void QtDesktop::Beep() {
  QApplication::beep();
}

std::optional<std::string> QtDesktop::ChooseFile(std::string_view filterList, bool mustExist) {
  QFileDialog chooser(QApplication::activeModalWidget());
  chooser.setOption(QFileDialog::DontUseNativeDialog);
  chooser.setAcceptMode(QFileDialog::AcceptOpen);
  chooser.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  chooser.setNameFilter(QtFilter(filterList));
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return QFile::encodeName(chooser.selectedFiles().first()).toStdString();
}

std::vector<std::string> QtDesktop::FindFiles(const std::filesystem::path& folder,
                                              std::string_view pattern) {
  return FindFilesInFolder(folder, pattern);
}

std::optional<std::filesystem::path> QtDesktop::CurrentDirectory() {
  return WorkingDirectory();
}

std::tm QtDesktop::LocalTime() {
  return LocalTimeNow();
}

ProcessOutcome QtDesktop::RunProcess(const std::filesystem::path& program,
                                     const std::filesystem::path& workingDirectory, int timeoutMs) {
  return RunProgram(program, workingDirectory, timeoutMs);
}

void QtDesktop::ShowHelp(std::string_view topic) {
  // The help window belongs to the dialog in use, so it takes input while that dialog is
  // modal, and it closes with it.
  QWidget* owner = QApplication::activeModalWidget();
  if (helpWindow_ == nullptr || helpWindow_->parentWidget() != owner) {
    if (helpWindow_ != nullptr && helpWindow_->parent() == nullptr) delete helpWindow_.data();
    helpWindow_ = new HelpWindow(help_, owner);
  }
  helpTopic_ = std::string(topic);
  helpWindow_->OpenAt(helpTopic_);
}

}  // namespace tarvo::ui::qt
