// A desktop for headless tests: every message box is recorded and answered from a queue,
// modal dialogs are driven by scripts, file choosers answer from a queue, the clock is fixed
// and the current directory is whatever the test says. File search and external processes
// are real (tests run them in temporary folders).
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/desktop.h"
#include "ui/testing/fake_view.h"

namespace tarvo::ui::testing {

struct RecordedMessage {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
};

class ScriptedDesktop : public Desktop {
 public:
  // A script drives one modal dialog through a fake view, as a user would (view.dialog()
  // gives the dialog, to be cast to its class where the test needs it). A dialog the script
  // leaves open is then closed as by Escape.
  using ModalScript = std::function<void(FakeView&)>;

  ScriptedDesktop();

  // --- Scripting -----------------------------------------------------------------------
  // Answers for the next message boxes, in order. Without a queued answer a box is answered
  // with its first button (Ok or Yes).
  void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
  // Scripts for the next modal dialogs, in the order they open. A dialog opened without a
  // queued script is closed at once as by Escape.
  void QueueModal(ModalScript script) { modalScripts_.push_back(std::move(script)); }
  // Answers for the next file choosers; an empty text cancels the chooser.
  void QueueFileChoice(std::string path) { fileChoices_.push_back(std::move(path)); }
  void SetCurrentDirectory(std::optional<std::filesystem::path> directory) {
    currentDirectory_ = std::move(directory);
  }
  void SetLocalTime(const std::tm& time) { localTime_ = time; }

  // --- What happened -------------------------------------------------------------------
  const std::vector<RecordedMessage>& messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }
  int beeps() const { return beeps_; }
  int modalsRun() const { return modalsRun_; }
  // The titles of the modal dialogs run, in order.
  const std::vector<std::string>& modalTitles() const { return modalTitles_; }
  const std::vector<std::string>& fileFilters() const { return fileFilters_; }
  const std::vector<std::string>& helpTopics() const { return helpTopics_; }
  bool AllScriptsUsed() const {
    return answers_.empty() && modalScripts_.empty() && fileChoices_.empty();
  }

  // --- Desktop -------------------------------------------------------------------------
  int RunModal(Dialog& dialog) override;
  MessageAnswer ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                            MessageButtons buttons) override;
  void Beep() override { ++beeps_; }
  std::optional<std::string> ChooseFile(std::string_view filterList, bool mustExist) override;
  std::vector<std::string> FindFiles(const std::filesystem::path& folder,
                                     std::string_view pattern) override;
  std::optional<std::filesystem::path> CurrentDirectory() override { return currentDirectory_; }
  std::tm LocalTime() override { return localTime_; }
  ProcessOutcome RunProcess(const std::filesystem::path& program,
                            const std::filesystem::path& workingDirectory,
                            int timeoutMs) override;
  void ShowHelp(std::string_view topic) override { helpTopics_.emplace_back(topic); }

 private:
  std::deque<MessageAnswer> answers_;
  std::deque<ModalScript> modalScripts_;
  std::deque<std::string> fileChoices_;
  std::optional<std::filesystem::path> currentDirectory_;
  std::tm localTime_{};
  std::vector<RecordedMessage> messages_;
  std::vector<std::string> fileFilters_;
  std::vector<std::string> helpTopics_;
  std::vector<std::string> modalTitles_;
  int beeps_ = 0;
  int modalsRun_ = 0;
};

}  // namespace tarvo::ui::testing
