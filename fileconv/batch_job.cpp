#include "fileconv/batch_job.h"

#include <sys/stat.h>

#include <algorithm>

#include "chain/datum.h"
#include "engine/datum_parameters.h"
#include "engine/grid_system.h"
#include "text/number_text.h"
#include "text/trimmed.h"

namespace tarvo::fileconv {
namespace {

// Decimals of seconds of the latitudes and longitudes a run handles, by method.
constexpr int kMediumAccuracyPrecision = 4;
constexpr int kHighAccuracyPrecision = 5;

constexpr std::string_view kFieldsText = "Please Select CSV fields\nthat contain the values";

bool IsKnownSystem(std::string_view system) {
  return system == engine::GridSystem::kAmg || system == engine::GridSystem::kMga ||
         system == engine::GridSystem::kIsg || system == engine::GridSystem::kMga2020;
}

JobRefusal Refuse(Setting setting, std::string text, std::string caption = "ERROR") {
  return {setting, std::move(text), std::move(caption)};
}

// A file's identity: its device and inode.
struct FileIdentity {
  dev_t device;
  ino_t inode;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of a regular file, of an open stream or else by path (links followed).
// Pipes, terminals and devices have none that matters: the run never truncates them.
std::optional<FileIdentity> IdentityOf(const JobFile& file) {
  struct stat status {};
  const int got = file.stream != nullptr ? ::fstat(::fileno(file.stream), &status)
                                         : ::stat(file.name.c_str(), &status);
  if (got != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return FileIdentity{status.st_dev, status.st_ino};
}

}  // namespace

bool SameFile(const JobFile& input, const JobFile& output) {
  const bool streams = input.stream != nullptr || output.stream != nullptr;
  if (!streams && input.name == output.name) return true;
  const auto in = IdentityOf(input);
  const auto out = IdentityOf(output);
  return in && out && *in == *out;
}

JobRefusal SameFileRefusal(const JobFile& input) {
  return {std::nullopt, input.name, "Error INPUT & OUTPUT files the Same"};
}

std::variant<BatchJob, JobRefusal> MakeBatchJob(const FileConversionSettings& settings,
                                                const BatchValues& batch,
                                                const engine::TransformSettings& transform,
                                                const JobChoices& choices) {
  BatchJob job;
  job.input = {settings.inputFileName, choices.inputStream};
  job.output = {settings.outputFileName, choices.outputStream};
  const FileTypeCode type = batch.fileTypeCode;
  const bool t27 = type == FileTypeCode::T27;
  const std::optional<Units> inputUnits = FindUnits(settings.inputUnits);
  const std::optional<Units> outputUnits = FindUnits(settings.outputUnits);

  // Field numbers. Cartesian input needs its Z field.
  const int firstField = text::ToInt(settings.firstFieldNumber);
  const int secondField = text::ToInt(settings.secondFieldNumber);
  const bool heightIgnored = settings.heightField == kIgnore || settings.heightField == kNotUsed;
  const int heightField = t27 ? (text::Trimmed(settings.heightField) == kYes ? 1 : 0)
                              : (heightIgnored ? 0 : text::ToInt(settings.heightField));
  const bool fieldsMissing =
      !t27 && (firstField < 1 || secondField < 1 || (!heightIgnored && heightField < 1));
  const bool zMissing = inputUnits == Units::Cartesian && heightField < 1;
  if (fieldsMissing || zMissing) return Refuse(Setting::Fields, std::string(kFieldsText));

  if (SameFile(job.input, job.output)) return SameFileRefusal(job.input);

  if (!inputUnits || *inputUnits == Units::Both) {
    return Refuse(Setting::InputUnits, settings.inputUnits);
  }
  if (!outputUnits) return Refuse(Setting::OutputUnits, settings.outputUnits);

  // Systems and the dialog's zones.
  if (!IsKnownSystem(settings.inputSystem)) {
    return Refuse(Setting::InputSystem, settings.inputSystem);
  }
  if (!IsKnownSystem(settings.outputSystem)) {
    return Refuse(Setting::OutputSystem, settings.outputSystem);
  }
  const bool inputIsIsg = settings.inputSystem == engine::GridSystem::kIsg;
  const bool outputIsIsg = settings.outputSystem == engine::GridSystem::kIsg;
  if (!IsZoneOfSystem(settings.inputZone, inputIsIsg)) {
    return Refuse(Setting::InputZone, "Input Zone " +
                                          std::string(text::Trimmed(settings.inputZone)) +
                                          " is not a zone of " + settings.inputSystem);
  }
  if (!IsZoneOfSystem(settings.outputZone, outputIsIsg)) {
    return Refuse(Setting::OutputZone, "Output Zone " +
                                           std::string(text::Trimmed(settings.outputZone)) +
                                           " is not a zone of " + settings.outputSystem);
  }

  // Notations.
  angles::AngleFormat inputFormat = angles::AngleFormat::Packed;
  if (*inputUnits == Units::Geographic) {
    const auto format = angles::FindAngleFormat(transform.inputFormat);
    if (!format || !angles::IsInputFormat(*format)) {
      return Refuse(Setting::InputFormat, transform.inputFormat, "ERROR 1");
    }
    if (*format == angles::AngleFormat::DmsBlanks && type != FileTypeCode::Csv) {
      // Its blanks are the separators of SSV fields and it does not fit T27 columns.
      return Refuse(Setting::InputFormat,
                    "Latitudes and Longitudes in DDD MM SS.ssss format\ncan only be read from "
                    "CSV files");
    }
    inputFormat = *format;
  }
  if (*outputUnits == Units::Geographic) {
    const auto format = angles::FindAngleFormat(settings.outputFormat);
    if (!format || !angles::IsInputFormat(*format)) {
      return Refuse(Setting::OutputFormat, settings.outputFormat, "ERROR 2");
    }
    job.outputFormat = *format;
  }

  // The datum change and the method that makes it. Both AGD systems of a run are on the AGD
  // datum of the method in use.
  const engine::AccuracyMethod method =
      settings.gridFlag ? engine::AccuracyMethod::High : engine::AccuracyMethod::Medium;
  const auto agd = chain::AgdDatumInUse(method, transform.parameterSet, choices.gridMethod);
  const chain::Datum inputDatum = chain::DatumOfSystem(settings.inputSystem, agd);
  const chain::Datum outputDatum = chain::DatumOfSystem(settings.outputSystem, agd);
  const bool gridShift =
      settings.gridFlag && chain::IsAgd(inputDatum) != chain::IsAgd(outputDatum);
  if (gridShift) {
    if (choices.gridMethod == ntv2::GridMethod::NswMrePrograms) {
      return Refuse(Setting::Grid, "The NSW (MRE) method is not available\nfor file conversion");
    }
    if (!choices.grid) {
      return Refuse(Setting::Grid, "No NTv2 grid file is ready\nfor the High Accuracy method");
    }
  }

  job.headerLines = std::max(0, text::ToInt(settings.headerLineCount));

  FieldLayout& fields = job.fields;
  fields.type = type;
  fields.firstField = firstField;
  fields.secondField = secondField;
  fields.heightField = heightField;
  if (!t27) {
    fields.inputZoneField = std::max(0, text::ToInt(settings.inputZoneField));
    fields.outputZoneField = std::max(0, text::ToInt(settings.outputZoneField));
  }
  fields.dmsFields = type == FileTypeCode::Csv && *inputUnits == Units::Geographic &&
                     inputFormat == angles::AngleFormat::DmsBlanks;

  ChainSetup& chain = job.chain;
  chain.inputUnits = *inputUnits;
  chain.outputUnits = *outputUnits;
  chain.inputIsIsg = inputIsIsg;
  chain.outputIsIsg = outputIsIsg;
  chain.inputFormat = inputFormat;
  chain.fieldsArePacked = fields.dmsFields;
  chain.precision = settings.gridFlag ? kHighAccuracyPrecision : kMediumAccuracyPrecision;
  chain.chain.source = {inputDatum, text::ToInt(settings.inputZone)};
  chain.chain.target = {outputDatum, text::ToInt(settings.outputZone)};
  chain.chain.method =
      settings.gridFlag ? chain::DatumMethod::Grid : chain::DatumMethod::SevenParameter;
  chain.chain.parameters = engine::MakeDatumParameters(transform);
  if (gridShift) chain.chain.grid = choices.grid;
  if (settings.gridFlag) chain.chain.grid2020 = choices.grid2020;

  job.contents = choices.contents;
  job.echo = batch.echo;
  job.longestLineLength = batch.longestLineLength;
  // A run between GDA2020 and another datum names how it makes that step.
  const bool gda2020Step =
      (inputDatum == chain::Datum::Gda2020) != (outputDatum == chain::Datum::Gda2020);
  job.title = {settings.methodText,
               settings.parameterDescription,
               settings.inputSystem,
               settings.inputZone,
               settings.outputSystem,
               settings.outputZone,
               gda2020Step ? chain::Gda2020MethodText(
                                 chain.chain.grid2020 ? choices.grid2020Path : std::string())
                           : std::string()};
  return job;
}

void ShowRefusal(ui::Desktop& desktop, const JobRefusal& refusal, const SettingSource& source) {
  const std::string from = refusal.setting && source ? source(*refusal.setting) : "";
  desktop.ShowMessage(ui::WithReason(refusal.text, from.empty() ? "" : "set by " + from),
                      refusal.caption, ui::MessageIcon::Error);
}

std::optional<BatchJob> MakeBatchJob(const FileConversionSettings& settings,
                                     const BatchValues& batch,
                                     const engine::TransformSettings& transform,
                                     const JobChoices& choices, ui::Desktop& desktop,
                                     const SettingSource& source) {
  auto made = MakeBatchJob(settings, batch, transform, choices);
  if (auto* refusal = std::get_if<JobRefusal>(&made)) {
    ShowRefusal(desktop, *refusal, source);
    return std::nullopt;
  }
  return std::get<BatchJob>(std::move(made));
}

}  // namespace tarvo::fileconv
