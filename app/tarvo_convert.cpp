// tarvo-convert: one batch conversion of a coordinate file from the command line, exactly as
// the file conversion dialog's "&Calculate" makes it (the same checks, messages, header and
// records), without a window.
//
// The settings start where the program's do, in the current directory, and the options
// replace single settings, as the dialog would (fileconv/convert_job.h).
//
// Questions become options (--force answers the overwrite question), message boxes become
// lines on standard error, and the output contents choice is --contents. "-" as the input or
// output file name is standard input or output; the run streams either in constant memory.
//
// The output file takes its name only when the run has finished (fileconv/batch_run.h): a
// run refused, failed or ended by Ctrl+C, SIGTERM or SIGHUP leaves an existing output as it
// was and no temporary file behind, and says so on standard error.
//
// Exit status: 0 converted, 1 a check refused the run, the run failed (a read or write
// error, a line longer than 1 MiB) or it converted no record of an input that held some,
// 2 a usage error. A run ended by a signal ends by that signal.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/console_desktop.h"
#include "fileconv/batch_run.h"
#include "fileconv/convert_job.h"
#include "fileconv/convert_options.h"
#include "text/atomic_file.h"
#include "text/line_input.h"
#include "text/number_text.h"
#include "version.h"

namespace tarvo::app {
namespace {

using namespace fileconv;

constexpr const char* kProgram = "tarvo-convert";

constexpr int kExitConverted = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

int UsageError(const std::string& message) {
  std::cerr << kProgram << ": " << message << '\n'
            << "Try '" << kProgram << " --help' for more information.\n";
  return kExitUsage;
}

// The progress line on a terminal: the share of the input read, or the bytes read from a
// stream of unknown size. Written only when the figure changes.
class ProgressLine {
 public:
  void Update(std::uint64_t position, std::uint64_t size) {
    const std::string line =
        size > 0 ? text::Format("%s: %3llu%%", kProgram,
                                static_cast<unsigned long long>(position * 100 / size))
                 : text::Format("%s: %llu MB read", kProgram,
                                static_cast<unsigned long long>(position >> 20));
    if (line == shown_) return;
    std::fprintf(stderr, "\r%s", line.c_str());
    std::fflush(stderr);
    shown_ = line;
  }
  // Removes the line again.
  void Clear() {
    if (shown_.empty()) return;
    std::fprintf(stderr, "\r%*s\r", static_cast<int>(shown_.size()), "");
    std::fflush(stderr);
    shown_.clear();
  }

 private:
  std::string shown_;
};

// The text the dialog's preview box shows after a run, one line per line, without the
// indentation it has in the box, control bytes escaped.
void WritePreviewText(const std::string& text, const char* prefix) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t first = line.find_first_not_of(' ');
    if (first != std::string_view::npos) {
      std::cerr << prefix << ConsoleDesktop::Printable(line.substr(first)) << '\n';
    }
    start = end + 1;
  }
}

int Run(const std::vector<std::string>& args) {
  std::string error;
  const std::optional<ConvertOptions> options = ParseConvertOptions(args, error);
  if (!options) return UsageError(error);
  if (options->help) {
    std::cout << HelpText();
    return kExitConverted;
  }
  if (options->version) {
    std::cout << "tarvo-convert (Tarvo) V" << kVersion << '\n';
    return kExitConverted;
  }

  ConsoleDesktop desktop(std::cerr, kProgram, options->force);
  const std::optional<std::filesystem::path> folder = desktop.CurrentDirectory();
  if (!folder) {
    desktop.ShowMessage(". does not Exist/nOption Terminated", "INVALID DIRECTORY",
                        ui::MessageIcon::Error, ui::MessageButtons::Ok);
  }
  ConvertJob made = MakeConvertJob(*options, folder, desktop);
  if (!made.usageError.empty()) return UsageError(made.usageError);
  if (!made.job) return kExitRefused;

  BatchRunOptions& run = made.run;
  ProgressLine progress;
  if (!options->quiet && ::isatty(STDERR_FILENO)) {
    run.progress = [&progress](std::uint64_t position, std::uint64_t size) {
      progress.Update(position, size);
    };
    desktop.SetBeforeMessage([&progress] { progress.Clear(); });
  }

  const BatchRunResult result = RunBatchConversion(*made.job, run, desktop);
  progress.Clear();

  if (!result.converted) {
    if (result.previewText) WritePreviewText(*result.previewText, "tarvo-convert: ");
    if (desktop.lastCaption() == "File Exists Overwrite") {
      std::cerr << kProgram << ": use --force to overwrite it\n";
    }
    return kExitRefused;
  }
  if (!options->quiet && result.previewText) WritePreviewText(*result.previewText, "");
  if (result.nothingConverted) {
    std::cerr << kProgram << ": no record was converted";
    if (result.outputKept) {
      std::cerr << ": nothing was written to " << made.job->output.name;
    }
    std::cerr << '\n';
  }
  const bool failed =
      result.writeFailed || result.readFailed || result.overlongLine > 0 || result.nothingConverted;
  return failed ? kExitRefused : kExitConverted;
}

}  // namespace
}  // namespace tarvo::app

int main(int argc, char** argv) {
  tarvo::text::InstallInterruptCleanup("tarvo-convert");
  return tarvo::app::Run(std::vector<std::string>(argv + 1, argv + argc));
}
