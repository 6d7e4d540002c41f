// The desktop of the command-line converter: message boxes become lines on an error stream,
// questions are answered by the command's options, and there are no windows.
//
// A message box is written as one line, "PROGRAM: CAPTION: TEXT", the caption and text
// being the program's own (line breaks inside the text become blanks, so every message is
// one line that a script can match; a reason added under a message follows it after a
// colon; control bytes a file put into a message are shown escaped). A Yes/No question is
// answered Yes only where the command allows it (the overwrite question with --force) and
// No otherwise; a refused question is written like any other message. OK/Cancel boxes are
// answered OK. Modal dialogs cannot be shown: RunModal answers Cancel without showing the
// dialog. The warning sound, file choosers and help do nothing. File search, the current
// directory, the clock and external programs are the real ones of the operating system.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <utility>

#include "ui/desktop.h"

namespace tarvo::app {

class ConsoleDesktop : public ui::Desktop {
 public:
  // `program` prefixes every line; `answerYes` is the answer to Yes/No questions.
  ConsoleDesktop(std::ostream& err, std::string program, bool answerYes)
      : err_(err), program_(std::move(program)), answerYes_(answerYes) {}

  // Called before a message is written (a progress line on the same stream clears itself).
  void SetBeforeMessage(std::function<void()> beforeMessage) {
    beforeMessage_ = std::move(beforeMessage);
  }

  // The caption of the last message written, empty before the first.
  const std::string& lastCaption() const { return lastCaption_; }

  int RunModal(ui::Dialog& dialog) override;
  ui::MessageAnswer ShowMessage(std::string_view text, std::string_view caption,
                                ui::MessageIcon icon, ui::MessageButtons buttons) override;
  void Beep() override {}
  std::optional<std::string> ChooseFile(std::string_view, bool) override { return std::nullopt; }
  std::vector<std::string> FindFiles(const std::filesystem::path& folder,
                                     std::string_view pattern) override;
  std::optional<std::filesystem::path> CurrentDirectory() override;
  std::tm LocalTime() override;
  ui::ProcessOutcome RunProcess(const std::filesystem::path& program,
                                const std::filesystem::path& workingDirectory,
                                int timeoutMs) override;
  void ShowHelp(std::string_view) override {}

  // A message text as one line: a reason after the message follows it after ": ", and
  // "\r\n", "\n" and "\r" each become one blank. Other control bytes are shown escaped.
  static std::string OneLine(std::string_view text);

  // A text as a terminal may show it: control bytes (below 0x20, 0x7F and 0x80 to 0x9F, which
  // a terminal could take as commands) are written as "\xNN".
  static std::string Printable(std::string_view text);

 private:
  std::ostream& err_;
  std::string program_;
  bool answerYes_;
  std::string lastCaption_;
  std::function<void()> beforeMessage_;
};

}  // namespace tarvo::app
