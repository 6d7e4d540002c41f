#include "app/console_desktop.h"

#include "text/number_text.h"
#include "ui/dialog.h"
#include "ui/os_services.h"

namespace tarvo::app {

std::string ConsoleDesktop::OneLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (text.substr(i).starts_with(ui::kReasonBreak)) {
      line += ": ";
      i += ui::kReasonBreak.size() - 1;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += ' ';
    } else {
      line += c;
    }
  }
  return Printable(line);
}

std::string ConsoleDesktop::Printable(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && byte < 0xA0)) {
      shown += text::Format("\\x%02X", byte);
    } else {
      shown += c;
    }
  }
  return shown;
}

int ConsoleDesktop::RunModal(ui::Dialog&) {
  return ui::kResultCancel;
}

ui::MessageAnswer ConsoleDesktop::ShowMessage(std::string_view text, std::string_view caption,
                                              ui::MessageIcon, ui::MessageButtons buttons) {
  if (buttons == ui::MessageButtons::YesNo && answerYes_) return ui::MessageAnswer::Yes;
  if (beforeMessage_) beforeMessage_();
  err_ << program_ << ": ";
  if (!caption.empty()) err_ << OneLine(caption) << ": ";
  err_ << OneLine(text) << '\n';
  err_.flush();
  lastCaption_ = caption;
  return buttons == ui::MessageButtons::YesNo ? ui::MessageAnswer::No : ui::MessageAnswer::Ok;
}

std::vector<std::string> ConsoleDesktop::FindFiles(const std::filesystem::path& folder,
                                                   std::string_view pattern) {
  return ui::FindFilesInFolder(folder, pattern);
}

std::optional<std::filesystem::path> ConsoleDesktop::CurrentDirectory() {
  return ui::WorkingDirectory();
}

std::tm ConsoleDesktop::LocalTime() {
  return ui::LocalTimeNow();
}

ui::ProcessOutcome ConsoleDesktop::RunProcess(const std::filesystem::path& program,
                                              const std::filesystem::path& workingDirectory,
                                              int timeoutMs) {
  return ui::RunProgram(program, workingDirectory, timeoutMs);
}

}  // namespace tarvo::app
