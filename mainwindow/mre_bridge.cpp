#include "mainwindow/mre_bridge.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "text/number_text.h"

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
  {
    std::ofstream input(folder / "fwdmre.inp", std::ios::binary | std::ios::trunc);
    input << text::Format("-%.*f   %.*f\n", 10, latitude, 10, longitude);
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
  std::ifstream output(outputPath, std::ios::binary);
  if (!output) {
    desktop.ShowMessage("Unable to read FWDMRE.OUT", "ERROR", ui::MessageIcon::Error);
    return std::nullopt;
  }
  std::ostringstream text;
  text << output.rdbuf();
  return ParseMreOutput(text.str());
}

}  // namespace tarvo::mainwindow
