#include "tests/convert/converter_support.h"

#include <algorithm>

#include "fileconv/output_contents_dialog.h"
#include "ntv2/grid_choice.h"
#include "tests/support/dialog_run.h"
#include "ui/testing/scripted_desktop.h"
#include "version.h"

namespace tarvo::convert_testing {

void ConverterFolder::Write(std::string_view name, std::string_view contents) const {
  testing::WriteFile(dir_ / name, contents);
}

std::string ConverterFolder::Read(std::string_view name) const {
  return testing::ReadFile(dir_ / name);
}

std::vector<std::string> ConverterFolder::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ConverterFolder::Program() {
  return "timeout 120 '" + (std::filesystem::path(TARVO_BUILD_DIR) / "tarvo-convert").string() +
         "'";
}

Outcome ConverterFolder::Run(const std::string& args, std::string_view input) const {
  const std::filesystem::path err = scratch_ / "stderr";
  const std::string command = "cd '" + dir_.path().string() + "' && " + Program() + " " + args +
                              " 2>'" + err.string() + "'";
  const testing::CommandResult result = testing::RunCommand(command, input);
  return {result.status, result.output, testing::ReadFile(err)};
}

DialogState::DialogState(const ConverterFolder& folder) {
  transform.accuracyMethod = engine::AccuracyMethod::Medium;
  fileconv::TakeMethodSettings(settings, transform, ntv2::GridChoice{});
  settings.inputZone = "56";
  settings.outputZone = "56";
  settings.inputFileName = (folder / "in.txt").string();
  settings.outputFileName = (folder / "dialog.txt").string();
}

std::string DialogRun(fileconv::FileConversionSettings settings, fileconv::BatchValues batch,
                      const engine::TransformSettings& transform, fileconv::OutputContents contents,
                      const fileconv::JobChoices& choices) {
  using fileconv::OutputContentsDialog;
  ui::testing::ScriptedDesktop desktop;
  desktop.QueueModal([contents](ui::testing::FakeView& view) {
    view.Click(contents == fileconv::OutputContents::ResultsWithInput
                   ? OutputContentsDialog::kWithInput
                   : OutputContentsDialog::kResultsOnly);
    view.Click(OutputContentsDialog::kStart);
  });
  const fileconv::BatchRunResult result =
      testing::RunDialogSettings(settings, batch, transform, choices, {}, desktop);
  EXPECT_TRUE(result.converted) << "the dialog's run did not convert";
  return result.converted ? testing::ReadFile(settings.outputFileName) : "";
}

std::string WithoutDate(const std::string& text) {
  const std::size_t date = text.find(std::string("TARVO V") + kVersion + " - Date Computed: ");
  if (date == std::string::npos) return text;
  return text.substr(0, date) + text.substr(text.find('\n', date) + 1);
}

std::string Records(const std::string& text) {
  // The block ends after the second rule and the lines that name systems and formats.
  std::size_t at = 0;
  for (int rule = 0; rule < 2; ++rule) at = text.find("=====\n", at) + 6;
  while (at < text.size() &&
         (text.compare(at, 18, "Transformation of ") == 0 || text.compare(at, 6, "Input ") == 0 ||
          text.compare(at, 7, "Output ") == 0)) {
    at = text.find('\n', at) + 1;
  }
  return text.substr(at);
}

}  // namespace tarvo::convert_testing
