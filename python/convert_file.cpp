// tarvo.convert_file: one batch conversion of a coordinate file, made from tarvo-convert's
// options (fileconv/convert_job.h) at the program's defaults, as tarvo-convert makes it in a
// folder without settings files, and run without the GIL (fileconv/batch_run.h).
//
// The program's message boxes have no place in a library: they are kept by a desktop of
// this file, and the first error among them becomes the exception when the run is refused or
// fails. The overwrite question is answered by `force`; nothing else is asked (the output
// contents are always given).
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "fileconv/batch_run.h"
#include "fileconv/convert_job.h"
#include "fileconv/convert_options.h"
#include "python/bindings.h"
#include "python/errors.h"
#include "ui/desktop.h"
#include "ui/dialog.h"
#include "ui/os_services.h"

namespace tarvo::python {
namespace {

namespace py = pybind11;

constexpr std::string_view kOverwriteCaption = "File Exists Overwrite";

// A desktop that keeps the messages shown, answers the overwrite question with `force`, and
// shows no window.
class KeptMessages : public ui::Desktop {
 public:
  explicit KeptMessages(bool force) : force_(force) {}

  int RunModal(ui::Dialog&) override { return ui::kResultCancel; }
  ui::MessageAnswer ShowMessage(std::string_view text, std::string_view caption,
                                ui::MessageIcon icon, ui::MessageButtons buttons) override {
    if (buttons == ui::MessageButtons::YesNo && force_) return ui::MessageAnswer::Yes;
    messages_.push_back({std::string(text), std::string(caption), icon});
    return buttons == ui::MessageButtons::YesNo ? ui::MessageAnswer::No : ui::MessageAnswer::Ok;
  }
  void Beep() override {}
  std::optional<std::string> ChooseFile(std::string_view, bool) override { return std::nullopt; }
  std::vector<std::string> FindFiles(const std::filesystem::path& folder,
                                     std::string_view pattern) override {
    return ui::FindFilesInFolder(folder, pattern);
  }
  std::optional<std::filesystem::path> CurrentDirectory() override {
    return ui::WorkingDirectory();
  }
  std::tm LocalTime() override { return ui::LocalTimeNow(); }
  ui::ProcessOutcome RunProcess(const std::filesystem::path&, const std::filesystem::path&,
                                int) override {
    return {};
  }
  void ShowHelp(std::string_view) override {}

  // The text of the first error shown, with its caption when the text alone says little
  // (a file name), else the last message; empty when none was shown.
  std::string Reason() const {
    for (const Message& message : messages_) {
      if (message.icon == ui::MessageIcon::Error || message.caption == kOverwriteCaption) {
        return Describe(message);
      }
    }
    return messages_.empty() ? "" : Describe(messages_.back());
  }
  bool Asked(std::string_view caption) const {
    for (const Message& message : messages_) {
      if (message.caption == caption) return true;
    }
    return false;
  }

 private:
  struct Message {
    std::string text;
    std::string caption;
    ui::MessageIcon icon;
  };
  // The caption is the message where it is not a plain "ERROR": "Error INPUT & OUTPUT files
  // the Same" over the file's name.
  static std::string Describe(const Message& message) {
    if (message.caption.rfind("ERROR", 0) == 0 && message.caption.size() <= 7) {
      return message.text;
    }
    return message.caption + ": " + message.text;
  }

  bool force_;
  std::vector<Message> messages_;
};

py::dict ConvertFile(const std::vector<std::string>& arguments) {
  std::string usage;
  const std::optional<fileconv::ConvertOptions> options =
      fileconv::ParseConvertOptions(arguments, usage);
  if (!options) throw std::invalid_argument(usage);

  KeptMessages desktop(options->force);
  fileconv::BatchRunResult result;
  std::string usageError;
  bool gridUnusable = false;
  bool made = false;
  {
    py::gil_scoped_release unlocked;
    fileconv::ConvertJob job = fileconv::MakeConvertJob(*options, std::nullopt, desktop);
    usageError = job.usageError;
    gridUnusable = job.gridUnusable;
    made = job.job.has_value();
    if (made) result = fileconv::RunBatchConversion(*job.job, job.run, desktop);
  }
  if (!usageError.empty()) throw std::invalid_argument(usageError);
  if (gridUnusable) throw GridFileError(desktop.Reason());
  if (!made) throw std::invalid_argument(desktop.Reason());
  if (!result.converted) {
    if (desktop.Asked(kOverwriteCaption)) {
      PyErr_SetString(PyExc_FileExistsError,
                      (desktop.Reason() + " (force=True replaces it)").c_str());
      throw py::error_already_set();
    }
    if (result.previewText) {  // the input file does not open
      std::string text = *result.previewText;
      text.erase(0, text.find_first_not_of("\r\n "));
      PyErr_SetString(PyExc_FileNotFoundError, text.c_str());
      throw py::error_already_set();
    }
    throw std::invalid_argument(desktop.Reason());
  }
  if (result.readFailed || result.overlongLine > 0 || result.writeFailed) {
    PyErr_SetString(PyExc_OSError, desktop.Reason().c_str());
    throw py::error_already_set();
  }

  py::dict counts;
  counts["count"] = result.count;
  counts["outside_grid"] = result.outsideGrid;
  counts["no_result"] = result.noResult;
  counts["skipped"] = result.skipped;
  counts["skipped_lines"] = result.skippedLines;
  counts["stopped_at_line"] = result.stoppedAtLine;
  counts["written"] = !result.outputKept;
  return counts;
}

}  // namespace

void BindConvertFile(py::module_& m) {
  m.def("convert_file", &ConvertFile, py::arg("arguments"),
        "One batch conversion from tarvo-convert's arguments; see tarvo.convert_file.");
}

}  // namespace tarvo::python
