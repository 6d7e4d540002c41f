// The real desktop, implemented with Qt: modal dialogs through the Qt renderer, QMessageBox,
// QFileDialog, the application's beep, the help window; external programs as ui/os_services.h
// runs them.
#pragma once

#include <QIcon>
#include <QPointer>
#include <memory>
#include <vector>

#include "ui/desktop.h"
#include "ui/help_book.h"
#include "ui/qt/help_window.h"

namespace tarvo::ui::qt {

class QtDesktop : public Desktop {
 public:
  // `help` is the program's help, shown whole and opened at the section asked for.
  explicit QtDesktop(ui::HelpBook help = {});
  ~QtDesktop() override;

  void SetWindowIcon(const QIcon& icon) { icon_ = icon; }
  const QIcon& windowIcon() const { return icon_; }

  int RunModal(Dialog& dialog) override;
  MessageAnswer ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                            MessageButtons buttons) override;
  void Beep() override;
  std::optional<std::string> ChooseFile(std::string_view filterList, bool mustExist) override;
  std::vector<std::string> FindFiles(const std::filesystem::path& folder,
                                     std::string_view pattern) override;
  std::optional<std::filesystem::path> CurrentDirectory() override;
  std::tm LocalTime() override;
  ProcessOutcome RunProcess(const std::filesystem::path& program,
                            const std::filesystem::path& workingDirectory, int timeoutMs) override;
  void ShowHelp(std::string_view topic) override;

  // The help window, once opened, and the section it was last opened at (for tests).
  HelpWindow* helpWindow() const { return helpWindow_.data(); }
  const std::string& helpTopic() const { return helpTopic_; }

 private:
  ui::HelpBook help_;
  std::string helpTopic_;
  QIcon icon_;
  // Owned by the window it was opened from, or by this desktop when there was none.
  QPointer<HelpWindow> helpWindow_;
};

// Turns a filter list "Name (*.a)|*.a|Other (*.*)|*.*||" into Qt's "Name (*.a);;Other (*.*)".
QString QtFilter(std::string_view filterList);

}  // namespace tarvo::ui::qt
