#include "mainwindow/mre_bridge.h"

#include <cstdio>
#include <system_error>

#include "text/line_input.h"
#include "text/number_text.h"
#include "text/text_file.h"

namespace tarvo::mainwindow {
namespace {

constexpr int kWaitMilliseconds = 5000;
constexpr size_t kNumberLimit = 49;

// One number of the output text from `position` on.
double NextNumber(std::string_view text, size_t& position) {
  std::string number;
  for (; position < text.size(); ++position) {
    const char c = text[position];
    if (c == '\t' || c == '-') continue;
    if (c == ' ') {
      if (number.empty()) continue;
      ++position;
      break;
    }
    if (number.size() < kNumberLimit) number += c;
  }
  return text::ToDouble(number);
}

}  // namespace

std::string MreProgramName(bool forward) {
#ifdef _WIN32
  return forward ? "fwdmre.exe" : "revmre.exe";
#else
  return forward ? "fwdmre" : "revmre";
#endif
}

MreResult ParseMreOutput(std::string_view text) {
  size_t position = 0;
  MreResult result;
  result.latitude = NextNumber(text, position);
  result.longitude = NextNumber(text, position);
  return result;
}

std::optional<MreResult> RunMreBridge(bool forward, double latitude, double longitude,
                                      const std::filesystem::path& folder, ui::Desktop& desktop,
                                      const std::filesystem::path& installedFolder) {
  // The folder joins with the name without a doubled separator, also at a drive root.
  std::filesystem::path program = folder / MreProgramName(forward);
  std::error_code missing;
  if (!installedFolder.empty() && !std::filesystem::exists(program, missing)) {
    program = installedFolder / MreProgramName(forward);
  }
  const std::filesystem::path inputPath = folder / "fwdmre.inp";
  if (!text::WriteFileAtomically(inputPath,
                                 text::Format("-%.*f   %.*f\n", 10, latitude, 10, longitude))) {
    // The program would read whatever fwdmre.inp holds: another point's position.
    desktop.ShowMessage("Cannot write " + inputPath.string(), "ERROR", ui::MessageIcon::Error);
    return std::nullopt;
  }
  // An answer left from an earlier point is never read as this point's.
  const std::filesystem::path outputPath = folder / "Fwdmre.out";
  std::error_code ignored;
  std::filesystem::remove(outputPath, ignored);

  const ui::ProcessOutcome outcome = desktop.RunProcess(program, folder, kWaitMilliseconds);
  if (!outcome.started) {
    desktop.ShowMessage(std::string("Place ") + (forward ? "FWDMRE" : "REVMRE") +
                            ".EXE in same directory as TARVO\nTARVO Directory is :- " +
                            folder.string(),
                        "FAILED", ui::MessageIcon::Error);
    return std::nullopt;
  }
  if (outcome.stillRunning) {
    desktop.ShowMessage("MRE is still active", "WARNING", ui::MessageIcon::Warning);
  }
  // A program that had to be stopped gave no answer, whatever it left in the file.
  const text::OpenedFile output =
      outcome.stillRunning ? text::OpenedFile{} : text::OpenRegularFile(outputPath, "answer file");
  if (!output.file) {
    desktop.ShowMessage("Unable to read FWDMRE.OUT", "ERROR", ui::MessageIcon::Error);
    return std::nullopt;
  }
  // Two numbers need a few dozen characters; the read is bounded like a line.
  std::string answer(text::kMaxLineLength, '\0');
  answer.resize(std::fread(answer.data(), 1, answer.size(), output.file.get()));
  return ParseMreOutput(answer);
}

}  // namespace tarvo::mainwindow
