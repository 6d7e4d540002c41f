#include "fileconv/convert_job.h"

#include <array>
#include <cstdio>

#include "chain/datum.h"
#include "chain/system_text.h"
#include "engine/grid_system.h"
#include "fileconv/file_conversion_settings.h"
#include "fileconv/run_grid.h"
#include "ntv2/grid_datum.h"
#include "ntv2/grid_file.h"
#include "ntv2/grid_interpolate.h"
#include "params/parameter_sets.h"
#include "params/saved_settings.h"
#include "text/number_text.h"

namespace tarvo::fileconv {
namespace {

constexpr const char* kStandardStream = "-";

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
void ShowFileRefusal(ui::Desktop& desktop, const std::string& refusal) {
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
  ShowFileRefusal(desktop, refusal);
  if (const auto parameters = params::LoadParameterFile(folder, &refusal)) {
    UseParameterFile(*parameters, "Tarvo.var", "", state);
  }
  ShowFileRefusal(desktop, refusal);
  if (LoadFileConversionSettings(folder, state.settings, state.batch, &refusal)) {
    SetFileSources(state.sources);
  }
  ShowFileRefusal(desktop, refusal);
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
  if (o.grid2020) {
    state.grid.gda2020GridPath = *o.grid2020;
    if (!o.method) t.accuracyMethod = engine::AccuracyMethod::High;
  }
  if (o.method) t.accuracyMethod = *o.method;
  if (o.grid2020 && t.accuracyMethod != engine::AccuracyMethod::High) {
    return "--grid2020 applies to the NTv2 method (--method ntv2)";
  }
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

// The units an EPSG code of `side` names, into `units` (the option's value): a code and a
// units option that disagree are a usage error, returned; empty otherwise.
std::string TakeCodeUnits(const std::optional<SideOption>& side, const char* sideOption,
                          const char* unitsOption, std::optional<std::string>& units) {
  if (!side || !side->form) return {};
  const std::string_view label =
      *side->form == chain::CoordinateForm::Cartesian ? kCartesianUnits : kGeographicUnits;
  if (units && *units != label) {
    return text::Format("EPSG:%d (--%s) has %s coordinates: --%s says otherwise", *side->epsg,
                        sideOption, label == kCartesianUnits ? "X, Y, Z" : "geographic",
                        unitsOption);
  }
  units = std::string(label);
  return {};
}

// The dialog's settings the options replace. Returns a usage error text, or empty.
std::string ApplyFileOptions(const ConvertOptions& options, RunState& state) {
  ConvertOptions o = options;
  if (auto error = TakeCodeUnits(o.from, "from", "input-units", o.inputUnits); !error.empty()) {
    return error;
  }
  if (auto error = TakeCodeUnits(o.to, "to", "output-units", o.outputUnits); !error.empty()) {
    return error;
  }
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

// An AGD code (--from or --to) names its datum; the method in use must change that datum to
// GDA94. Returns the refusal that says which set or grid would fit, or nothing.
std::optional<std::string> CheckCodeDatums(const ConvertOptions& o, const RunState& state) {
  const std::optional<chain::Datum> inUse = chain::AgdDatumInUse(
      state.transform.accuracyMethod, state.transform.parameterSet, state.grid.gridMethod);
  for (const auto* side : {&o.from, &o.to}) {
    if (!*side || !(*side)->agdDatum || !inUse || *inUse == *(*side)->agdDatum) continue;
    const chain::Datum wanted = *(*side)->agdDatum;
    const bool medium = state.transform.accuracyMethod == engine::AccuracyMethod::Medium;
    const std::string method = medium
                                   ? text::Format("the 7-parameter set in use transforms from %s",
                                                  std::string(chain::DatumName(*inUse)).c_str())
                                   : "the grid in use (" + state.grid.gridFilePath +
                                         ") shifts from " + std::string(chain::DatumName(*inUse));
    const std::string fit = wanted == chain::Datum::Agd66
                                ? "--params nsw-vic, act, tasmania or nt, or an AGD66 grid"
                                : "--params national, or an AGD84 grid";
    return ui::WithReason(
        text::Format("EPSG:%d is on %s, but %s", *(*side)->epsg,
                     std::string(chain::DatumName(wanted)).c_str(), method.c_str()),
        "use " + fit);
  }
  return std::nullopt;
}

}  // namespace

ConvertJob MakeConvertJob(const ConvertOptions& options,
                          const std::optional<std::filesystem::path>& folder,
                          ui::Desktop& desktop) {
  ConvertJob made;
  RunState state;
  if (folder) LoadProgramSettings(*folder, state, desktop);
  made.usageError = ApplyTransformOptions(options, state);
  if (!made.usageError.empty()) return made;
  const engine::AccuracyMethod method = state.transform.accuracyMethod;
  if (method != engine::AccuracyMethod::Medium && method != engine::AccuracyMethod::High) {
    // As at the program's start; the file conversion then works by the 7-parameter method.
    desktop.ShowMessage(ui::WithReason("No accuracy specified", "set by tarvo_prm.dat line 21"),
                        "ERROR", ui::MessageIcon::None, ui::MessageButtons::OkCancel);
  }
  if (method != engine::AccuracyMethod::High && state.parameterProblem) {
    desktop.ShowMessage(*state.parameterProblem, "ERROR", ui::MessageIcon::Error,
                        ui::MessageButtons::Ok);
    return made;
  }
  TakeMethodSettings(state.settings, state.transform, state.grid);
  made.usageError = ApplyFileOptions(options, state);
  if (!made.usageError.empty()) return made;
  if (const auto refusal = CheckCodeDatums(options, state)) {
    desktop.ShowMessage(*refusal, "ERROR", ui::MessageIcon::Error, ui::MessageButtons::Ok);
    return made;
  }

  JobChoices choices;
  choices.gridMethod = state.grid.gridMethod;
  choices.contents = options.contents.value_or(OutputContents::ResultsOnly);
  if (state.settings.inputFileName == kStandardStream) choices.inputStream = stdin;
  if (state.settings.outputFileName == kStandardStream) choices.outputStream = stdout;
  if (RunNeedsGrid(state.settings, state.grid.gridMethod) && !state.grid.gridFilePath.empty()) {
    choices.grid =
        ntv2::OpenGridForInterpolation(state.interpolator, state.grid.gridFilePath, desktop);
    made.gridUnusable = !choices.grid;
    if (made.gridUnusable) return made;
  }
  if (RunNeedsGda2020Grid(state.settings, state.grid)) {
    choices.grid2020 =
        ntv2::OpenGda2020Grid(state.interpolator, state.grid.gda2020GridPath, desktop);
    made.gridUnusable = !choices.grid2020;
    if (made.gridUnusable) return made;
    choices.grid2020Path = state.grid.gda2020GridPath;
  }
  made.job = MakeBatchJob(state.settings, state.batch, state.transform, choices, desktop,
                          [&state](Setting setting) { return state.sources.Of(setting); });
  made.run.badRecords = options.badRecords.value_or(BadRecords::Stop);
  made.run.jobs = options.jobs.value_or(0);
  return made;
}

}  // namespace tarvo::fileconv
