// tarvo-convert: one batch conversion of a coordinate file from the command line, exactly as
// the file conversion dialog's "&Calculate" makes it (the same checks, messages, header and
// records), without a window.
//
// The settings start where the program's do, in the current directory: tarvofile.dat (the
// file conversion settings), tarvo_prm.dat (method, input notation, parameter set, grid
// method and file) and Tarvo.var (the 7-parameter set). The options replace single settings
// in the order the program would apply them: first the transformation settings (method,
// parameters, grid, input notation), then what the dialog takes over from them when it
// opens (TakeMethodSettings), then the dialog's own settings, each changed as picking it in
// the dialog changes it (a new input system adjusts the zone, new input units reset the
// height field).
//
// Questions become options (--force answers the overwrite question), message boxes become
// lines on standard error, and the output contents choice is --contents. "-" as the input or
// output file name is standard input or output; the run streams either in constant memory.
//
// Where the dialog shows the settings it refuses, the converter names where each came from:
// the line of tarvofile.dat or tarvo_prm.dat, or the option. A damaged tarvo_prm.dat is not
// used, with a warning that says why; a 7-parameter set no transformation can use (from
// Tarvo.var or --params) refuses a run by the 7-parameter method.
//
// The output file takes its name only when the run has finished (fileconv/batch_run.h): a
// run refused, failed or ended by Ctrl+C, SIGTERM or SIGHUP leaves an existing output as it
// was and no temporary file behind, and says so on standard error.
//
// Exit status: 0 converted, 1 a check refused the run, the run failed (a read or write
// error, a line longer than 1 MiB) or it converted no record of an input that held some,
// 2 a usage error. A run ended by a signal ends by that signal.
#include <unistd.h>

#include <array>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/console_desktop.h"
#include "app/convert_options.h"
#include "engine/grid_system.h"
#include "fileconv/batch_run.h"
#include "fileconv/file_conversion_settings.h"
#include "fileconv/run_grid.h"
#include "ntv2/grid_datum.h"
#include "ntv2/grid_file.h"
#include "ntv2/grid_interpolate.h"
#include "params/parameter_sets.h"
#include "params/saved_settings.h"
#include "text/atomic_file.h"
#include "text/line_input.h"
#include "text/number_text.h"
#include "version.h"

namespace tarvo::app {
namespace {

using namespace fileconv;

constexpr const char* kProgram = "tarvo-convert";
constexpr const char* kStandardStream = "-";

constexpr int kExitConverted = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

int UsageError(const std::string& message) {
  std::cerr << kProgram << ": " << message << '\n'
            << "Try '" << kProgram << " --help' for more information.\n";
  return kExitUsage;
}

// Where each setting that a run's checks may refuse came from: a line of a settings file or
// an option. The checks name it under their message.
class SettingSources {
 public:
  void Set(Setting setting, std::string source) { at(setting) = std::move(source); }
  const std::string& Of(Setting setting) const {
    return sources_[static_cast<std::size_t>(setting)];
  }

 private:
  std::string& at(Setting setting) { return sources_[static_cast<std::size_t>(setting)]; }
  std::array<std::string, static_cast<std::size_t>(Setting::Grid) + 1> sources_;
};

// Everything one run needs, as the program holds it.
struct RunState {
  FileConversionSettings settings;
  BatchValues batch;
  engine::TransformSettings transform;
  ntv2::GridChoice grid;
  ntv2::GridInterpolator interpolator;
  SettingSources sources;
  // The refusal of a 7-parameter set that no transformation can use (with where it came
  // from), shown when the run needs the set.
  std::optional<std::string> parameterProblem;
};

// The nine texts of the parameter file `file` become the active set, or its refusal is kept;
// `note` follows the line number in the refusal (" (option --params)").
void UseParameterFile(const params::ParameterTexts& texts, const std::string& file,
                      const char* note, RunState& state) {
  if (const auto problem = params::CheckParameterSet(texts)) {
    state.parameterProblem = ui::WithReason(
        problem->message, text::Format("set by %s line %d%s", file.c_str(), problem->line, note));
    return;
  }
  params::SetActiveParameters(state.transform, texts);
  state.parameterProblem.reset();
}

// A settings file that is not read (no regular file, a line longer than 1 MiB): the run
// goes on as without it.
void ShowRefusal(ui::Desktop& desktop, const std::string& refusal) {
  if (!refusal.empty()) desktop.ShowMessage(refusal, "WARNING", ui::MessageIcon::Warning);
}

// The sources of the settings tarvofile.dat gave.
void SetFileSources(SettingSources& sources) {
  sources.Set(Setting::InputSystem, "tarvofile.dat line 1");
  sources.Set(Setting::OutputSystem, "tarvofile.dat line 2");
  sources.Set(Setting::InputZone, "tarvofile.dat line 3");
  sources.Set(Setting::OutputZone, "tarvofile.dat line 4");
  sources.Set(Setting::InputUnits, "tarvofile.dat line 5");
  sources.Set(Setting::OutputUnits, "tarvofile.dat line 7");
  sources.Set(Setting::Fields, "tarvofile.dat lines 12, 13 and 15");
}

// The settings files of `folder`, as the program reads them: tarvo_prm.dat and Tarvo.var as
// the main window does at start-up (a missing tarvo_prm.dat leaves the program's defaults; a
// damaged one too, with a warning that says why), tarvofile.dat as the file conversion
// dialog does when it opens.
void LoadProgramSettings(const std::filesystem::path& folder, RunState& state,
                         ui::Desktop& desktop) {
  std::string refusal;
  std::string problem;
  if (const auto saved = params::LoadSavedLines(folder / "tarvo_prm.dat", refusal, &problem)) {
    params::TakeSavedSettings(*saved, state.transform, state.grid);
    state.sources.Set(Setting::InputFormat, "tarvo_prm.dat line 28");
    state.sources.Set(Setting::Grid, "tarvo_prm.dat lines 31 and 32");
  } else if (!problem.empty()) {
    desktop.ShowMessage(
        ui::WithReason("The saved settings are not used", "tarvo_prm.dat " + problem), "WARNING",
        ui::MessageIcon::Warning, ui::MessageButtons::Ok);
  }
  ShowRefusal(desktop, refusal);
  if (const auto parameters = params::LoadParameterFile(folder, &refusal)) {
    UseParameterFile(*parameters, "Tarvo.var", "", state);
  }
  ShowRefusal(desktop, refusal);
  if (LoadFileConversionSettings(folder, state.settings, state.batch, &refusal)) {
    SetFileSources(state.sources);
  }
  ShowRefusal(desktop, refusal);
}

// The grid method a grid file implies: the datum its first sub-grid's name or its path
// tells (the grid file dialog's rules), else the method as it was (a grid file method).
ntv2::GridMethod GridMethodFor(const std::string& path, RunState& state) {
  const ntv2::GridMethod method = state.grid.gridMethod == ntv2::GridMethod::GridFileAgd84
                                      ? ntv2::GridMethod::GridFileAgd84
                                      : ntv2::GridMethod::GridFileAgd66;
  ntv2::GridOpenStatus status;
  std::optional<std::string_view> datum;
  if (const auto file = state.interpolator.cache().Get(path, status);
      file && !file->subGrids().empty()) {
    datum = ntv2::DatumFromSubGridName(file->subGrids().front().name);
  }
  if (!datum) datum = ntv2::DatumFromPath(path);
  if (!datum) return method;
  return *datum == ntv2::kAgd84Text ? ntv2::GridMethod::GridFileAgd84
                                    : ntv2::GridMethod::GridFileAgd66;
}

// The transformation settings the options replace. Returns a usage error text, or empty.
std::string ApplyTransformOptions(const ConvertOptions& o, RunState& state) {
  engine::TransformSettings& t = state.transform;
  if (o.grid) {
    state.sources.Set(Setting::Grid, "option --grid");
    state.grid.gridFilePath = *o.grid;
    state.grid.gridMethod = GridMethodFor(*o.grid, state);
    if (!o.method) t.accuracyMethod = engine::AccuracyMethod::High;
  }
  if (o.method) t.accuracyMethod = *o.method;
  if (o.preset) {
    params::SetActiveParameters(t, params::ApplyPreset(*o.preset)->texts);
    t.parameterSet = *o.preset;
    state.parameterProblem.reset();
  }
  if (o.paramsFile) {
    std::string refusal;
    const auto texts = params::ReadParameterFile(*o.paramsFile, &refusal);
    if (!texts) {
      return refusal.empty() ? "cannot read the parameter file '" + *o.paramsFile + "'" : refusal;
    }
    UseParameterFile(*texts, *o.paramsFile, " (option --params)", state);
    t.parameterSet = engine::kUserDefinedParameterSet;
  }
  if (o.inputFormat) {
    t.inputFormat = *o.inputFormat;
    state.sources.Set(Setting::InputFormat, "option --input-format");
  }
  // The output notation starts as the input notation (TakeMethodSettings).
  state.sources.Set(Setting::OutputFormat, state.sources.Of(Setting::InputFormat));
  return {};
}

// A new system on one side, as picking it in the dialog sets it: a three-digit ISG zone
// becomes its 6-degree zone ("561" -> "56 ") and a 6-degree zone its first ISG sub-zone.
void PickSystem(const SideOption& side, std::string& system, std::string& zone) {
  system = side.system;
  zone = side.zone ? *side.zone : engine::ZoneTextForSystem(zone, system);
}

// The dialog's settings the options replace. Returns a usage error text, or empty.
std::string ApplyFileOptions(const ConvertOptions& o, RunState& state) {
  FileConversionSettings& s = state.settings;
  BatchValues& batch = state.batch;
  if (o.input) s.inputFileName = *o.input;
  if (o.output) s.outputFileName = *o.output;
  if (o.type) {
    batch.fileTypeCode = *o.type;
    s.fileTypeLabel = FileTypeLabel(*o.type);
  }
  if (o.from) {
    PickSystem(*o.from, s.inputSystem, s.inputZone);
    state.sources.Set(Setting::InputSystem, "option --from");
    if (o.from->zone) state.sources.Set(Setting::InputZone, "option --from");
  }
  if (o.to) {
    PickSystem(*o.to, s.outputSystem, s.outputZone);
    state.sources.Set(Setting::OutputSystem, "option --to");
    if (o.to->zone) state.sources.Set(Setting::OutputZone, "option --to");
  }

  // A grid shift carries no height: the High Accuracy method offers no Cartesian units.
  const bool cartesian = o.inputUnits == kCartesianUnits || o.outputUnits == kCartesianUnits;
  if (s.gridFlag && cartesian) {
    return "X,Y & Z units are not available with the NTv2 method (use --method medium)";
  }
  if (o.inputUnits) {
    TakeInputUnits(s, *o.inputUnits, batch.fileTypeCode);
    state.sources.Set(Setting::InputUnits, "option --input-units");
  }
  if (o.outputUnits) {
    s.outputUnits = *o.outputUnits;
    batch.echo = s.outputUnits == kBothUnits;
    state.sources.Set(Setting::OutputUnits, "option --output-units");
  }

  const bool t27 = batch.fileTypeCode == FileTypeCode::T27;
  if (o.fields) {
    if (t27) return "T27 records have fixed columns: use --t27-height, not --fields";
    s.firstFieldNumber = o.fields->first;
    s.secondFieldNumber = o.fields->second;
    s.heightField = o.fields->height.value_or(std::string(s.gridFlag ? kNotUsed : kIgnore));
    state.sources.Set(Setting::Fields, "option --fields");
  }
  if (o.t27Height) {
    if (!t27) return "--t27-height applies to T27 files only: use --fields";
    s.heightField = *o.t27Height;
  }
  if (o.zoneFields) {
    if (t27) return "T27 records have no zone fields";
    s.inputZoneField = o.zoneFields->input;
    if (o.zoneFields->output) s.outputZoneField = *o.zoneFields->output;
  }
  if (o.headerLines) s.headerLineCount = *o.headerLines;
  if (o.outputFormat) {
    s.outputFormat = *o.outputFormat;
    state.sources.Set(Setting::OutputFormat, "option --output-format");
  }
  return {};
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
  RunState state;
  if (const auto folder = desktop.CurrentDirectory()) {
    LoadProgramSettings(*folder, state, desktop);
  } else {
    desktop.ShowMessage(". does not Exist/nOption Terminated", "INVALID DIRECTORY",
                        ui::MessageIcon::Error, ui::MessageButtons::Ok);
  }
  if (error = ApplyTransformOptions(*options, state); !error.empty()) return UsageError(error);
  const engine::AccuracyMethod method = state.transform.accuracyMethod;
  if (method != engine::AccuracyMethod::Medium && method != engine::AccuracyMethod::High) {
    // As at the program's start; the file conversion then works by the 7-parameter method.
    desktop.ShowMessage(ui::WithReason("No accuracy specified", "set by tarvo_prm.dat line 21"),
                        "ERROR", ui::MessageIcon::None, ui::MessageButtons::OkCancel);
  }
  if (method != engine::AccuracyMethod::High && state.parameterProblem) {
    desktop.ShowMessage(*state.parameterProblem, "ERROR", ui::MessageIcon::Error,
                        ui::MessageButtons::Ok);
    return kExitRefused;
  }
  TakeMethodSettings(state.settings, state.transform, state.grid);
  if (error = ApplyFileOptions(*options, state); !error.empty()) return UsageError(error);

  BatchRunOptions run;
  run.gridMethod = state.grid.gridMethod;
  run.outputContents = options->contents.value_or(OutputContents::ResultsOnly);
  run.badRecords = options->badRecords.value_or(BadRecords::Stop);
  run.jobs = options->jobs.value_or(0);
  run.settingSource = [&state](Setting setting) { return state.sources.Of(setting); };
  if (state.settings.inputFileName == kStandardStream) run.inputStream = stdin;
  if (state.settings.outputFileName == kStandardStream) run.outputStream = stdout;
  if (RunNeedsGrid(state.settings, state.grid.gridMethod) && !state.grid.gridFilePath.empty()) {
    run.grid = ntv2::OpenGridForInterpolation(state.interpolator, state.grid.gridFilePath, desktop);
    if (!run.grid) return kExitRefused;
  }
  ProgressLine progress;
  if (!options->quiet && ::isatty(STDERR_FILENO)) {
    run.progress = [&progress](std::uint64_t position, std::uint64_t size) {
      progress.Update(position, size);
    };
    desktop.SetBeforeMessage([&progress] { progress.Clear(); });
  }

  const BatchRunResult result =
      RunBatchConversion(state.settings, state.batch, state.transform, run, desktop);
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
      std::cerr << ": nothing was written to " << state.settings.outputFileName;
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
