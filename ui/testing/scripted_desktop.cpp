#include "ui/testing/scripted_desktop.h"

#include "ui/dialog.h"
#include "ui/os_services.h"

namespace tarvo::ui::testing {

ScriptedDesktop::ScriptedDesktop() {
  // A fixed clock: 9:05 in the morning, Friday 1 March 2002.
  localTime_.tm_year = 102;
  localTime_.tm_mon = 2;
  localTime_.tm_mday = 1;
  localTime_.tm_wday = 5;
  localTime_.tm_hour = 9;
  localTime_.tm_min = 5;
}

int ScriptedDesktop::RunModal(Dialog& dialog) {
  ++modalsRun_;
  modalTitles_.push_back(dialog.title());
  FakeView view(dialog);
  view.Open();
  if (!modalScripts_.empty()) {
    ModalScript script = std::move(modalScripts_.front());
    modalScripts_.pop_front();
    script(view);
  }
  if (!dialog.closed()) view.Escape();
  return dialog.result();
}

MessageAnswer ScriptedDesktop::ShowMessage(std::string_view text, std::string_view caption,
                                           MessageIcon icon, MessageButtons buttons) {
  messages_.push_back({std::string(text), std::string(caption), icon, buttons});
  if (!answers_.empty()) {
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

std::optional<std::string> ScriptedDesktop::ChooseFile(std::string_view filterList,
                                                       bool /*mustExist*/) {
  fileFilters_.emplace_back(filterList);
  if (fileChoices_.empty()) return std::nullopt;
  std::string choice = std::move(fileChoices_.front());
  fileChoices_.pop_front();
  if (choice.empty()) return std::nullopt;
  return choice;
}

std::vector<std::string> ScriptedDesktop::FindFiles(const std::filesystem::path& folder,
                                                    std::string_view pattern) {
  return FindFilesInFolder(folder, pattern);
}

ProcessOutcome ScriptedDesktop::RunProcess(const std::filesystem::path& program,
                                           const std::filesystem::path& workingDirectory,
                                           int timeoutMs) {
  return RunProgram(program, workingDirectory, timeoutMs);
}

}  // namespace tarvo::ui::testing
