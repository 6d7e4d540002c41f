// The desktop services every dialog and subsystem may ask for.
//
// The program never talks to a window system directly: message boxes, the warning sound,
// modal dialogs, file choosers, the current directory, the clock and external processes all
// go through this interface. The Qt renderer (ui/qt) implements it for real, the scripted
// desktop (ui/testing) for headless tests, and the command-line converter for a terminal.
// Texts are single-byte strings as the program writes them (the degree sign is 0xB0).
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo::ui {

class Dialog;

enum class MessageIcon { None, Error, Warning, Information, Question };

// A message and the reason that explains it are one text: the message first, then
// kReasonBreak, then the reason. A message box shows the reason on the line under the
// message; the command-line converter writes it on the message's line after a colon. So
// every message keeps its own words as its first line, and says what and where below them.
inline constexpr std::string_view kReasonBreak = "\n\n";

inline std::string WithReason(std::string_view message, std::string_view reason) {
  std::string text(message);
  if (!reason.empty()) {
    text += kReasonBreak;
    text += reason;
  }
  return text;
}
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// What became of an external program started by RunProcess.
struct ProcessOutcome {
  bool started = false;       // false: the program could not be started at all
  bool stillRunning = false;  // true: it had not ended when the wait timed out, and was
                              // then ended with every process it started
  int exitCode = 0;           // valid when started and not still running
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Shows `dialog` modally and returns the result it closed with (see Dialog::Close).
  virtual int RunModal(Dialog& dialog) = 0;

  // A message box; returns the button pressed. Closing the box without a button counts as
  // Cancel (OkCancel), No (YesNo) or Ok (Ok).
  virtual MessageAnswer ShowMessage(std::string_view text, std::string_view caption,
                                    MessageIcon icon,
                                    MessageButtons buttons = MessageButtons::Ok) = 0;

  // The platform's warning sound.
  virtual void Beep() = 0;

  // A file-open chooser. `filterList` is "Name (*.ext)|*.ext|Other (*.*)|*.*||". With
  // `mustExist` false a name that does not exist yet is accepted (an output file). Returns
  // the chosen path, or nothing when the chooser was cancelled.
  virtual std::optional<std::string> ChooseFile(std::string_view filterList, bool mustExist) = 0;

  // The paths of the files in `folder` whose names match the shell pattern (such as
  // "*.gsb"), in no particular order.
  virtual std::vector<std::string> FindFiles(const std::filesystem::path& folder,
                                             std::string_view pattern) = 0;

  // The process's current working directory, or nothing when it cannot be read.
  virtual std::optional<std::filesystem::path> CurrentDirectory() = 0;

  // The local date and time now.
  virtual std::tm LocalTime() = 0;

  // Starts `program` (its full path is the whole command line, no arguments) in
  // `workingDirectory` and waits at most `timeoutMs` milliseconds for it to end; a program
  // still running then is ended.
  virtual ProcessOutcome RunProcess(const std::filesystem::path& program,
                                    const std::filesystem::path& workingDirectory,
                                    int timeoutMs) = 0;

  // Opens the program's help at the section named `topic`.
  virtual void ShowHelp(std::string_view topic) = 0;
};

}  // namespace tarvo::ui
