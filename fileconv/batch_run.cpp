#include "fileconv/batch_run.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "angles/angle_format.h"
#include "engine/datum_parameters.h"
#include "engine/grid_system.h"
#include "fileconv/block_pipeline.h"
#include "fileconv/output_contents_dialog.h"
#include "fileconv/record_reader.h"
#include "fileconv/record_writer.h"
#include "fileconv/run_files.h"
#include "ntv2/grid_choice.h"
#include "text/atomic_file.h"
#include "text/line_input.h"
#include "text/number_text.h"
#include "text/trimmed.h"
#include "version.h"

namespace tarvo::fileconv {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRule =
    "=============================================================\n";

// Decimals of seconds of the latitudes and longitudes a run handles, by method.
constexpr int kMediumAccuracyPrecision = 4;
constexpr int kHighAccuracyPrecision = 5;

void ShowError(ui::Desktop& desktop, std::string_view text, std::string_view caption) {
  desktop.ShowMessage(text, caption, ui::MessageIcon::Error);
}

// A check's refusal of `setting`, with where the setting came from under it when the caller
// says.
void RefuseSetting(ui::Desktop& desktop, const BatchRunOptions& options, Setting setting,
                   std::string_view text, std::string_view caption) {
  const std::string source = options.settingSource ? options.settingSource(setting) : "";
  ShowError(desktop, ui::WithReason(text, source.empty() ? "" : "set by " + source), caption);
}

bool IsKnownSystem(std::string_view system) {
  return system == engine::GridSystem::kAmg || system == engine::GridSystem::kMga ||
         system == engine::GridSystem::kIsg;
}

// A file's identity: its device and inode.
struct FileIdentity {
  dev_t device;
  ino_t inode;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of a regular file, of an open stream or else by path (links followed).
// Pipes, terminals and devices have none that matters: the run never truncates them.
std::optional<FileIdentity> IdentityOf(const std::string& path, std::FILE* stream) {
  struct stat status {};
  const int got =
      stream != nullptr ? ::fstat(::fileno(stream), &status) : ::stat(path.c_str(), &status);
  if (got != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return FileIdentity{status.st_dev, status.st_ino};
}

// The input and output are the same file: by name, or by identity (relative and absolute
// names, links, and standard input or output redirected from or to the other file). Writing
// such an output would destroy the input it reads.
bool SameFile(const FileConversionSettings& settings, const BatchRunOptions& options) {
  const bool streams = options.inputStream != nullptr || options.outputStream != nullptr;
  if (!streams && settings.inputFileName == settings.outputFileName) return true;
  const auto input = IdentityOf(settings.inputFileName, options.inputStream);
  const auto output = IdentityOf(settings.outputFileName, options.outputStream);
  return input && output && *input == *output;
}

// Everything a run needs, worked out from the settings before anything is opened.
struct Plan {
  FieldLayout layout;
  ChainSetup chain;
  WriterSetup writer;
  Units inputUnits = Units::Grid;
  Units outputUnits = Units::Grid;
  int headerLines = 0;
  int precision = kMediumAccuracyPrecision;
};

// The checks that need no file, in the order the user meets them. Each failing check shows
// its message; nothing is returned then.
std::optional<Plan> MakePlan(const FileConversionSettings& settings, const BatchValues& batch,
                             const engine::TransformSettings& transform,
                             const BatchRunOptions& options, ui::Desktop& desktop) {
  Plan plan;
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
  if (fieldsMissing || zMissing) {
    RefuseSetting(desktop, options, Setting::Fields,
                  "Please Select CSV fields\nthat contain the values", "ERROR");
    return std::nullopt;
  }

  if (SameFile(settings, options)) {
    ShowError(desktop, settings.inputFileName, "Error INPUT & OUTPUT files the Same");
    return std::nullopt;
  }

  if (!inputUnits || *inputUnits == Units::Both) {
    RefuseSetting(desktop, options, Setting::InputUnits, settings.inputUnits, "ERROR");
    return std::nullopt;
  }
  if (!outputUnits) {
    RefuseSetting(desktop, options, Setting::OutputUnits, settings.outputUnits, "ERROR");
    return std::nullopt;
  }
  plan.inputUnits = *inputUnits;
  plan.outputUnits = *outputUnits;

  // Systems and the dialog's zones.
  for (const Setting setting : {Setting::InputSystem, Setting::OutputSystem}) {
    const std::string& system =
        setting == Setting::InputSystem ? settings.inputSystem : settings.outputSystem;
    if (!IsKnownSystem(system)) {
      RefuseSetting(desktop, options, setting, system, "ERROR");
      return std::nullopt;
    }
  }
  const bool inputIsIsg = settings.inputSystem == engine::GridSystem::kIsg;
  const bool outputIsIsg = settings.outputSystem == engine::GridSystem::kIsg;
  if (!IsZoneOfSystem(settings.inputZone, inputIsIsg)) {
    RefuseSetting(desktop, options, Setting::InputZone,
                  "Input Zone " + std::string(text::Trimmed(settings.inputZone)) +
                      " is not a zone of " + settings.inputSystem,
                  "ERROR");
    return std::nullopt;
  }
  if (!IsZoneOfSystem(settings.outputZone, outputIsIsg)) {
    RefuseSetting(desktop, options, Setting::OutputZone,
                  "Output Zone " + std::string(text::Trimmed(settings.outputZone)) +
                      " is not a zone of " + settings.outputSystem,
                  "ERROR");
    return std::nullopt;
  }

  // Notations.
  angles::AngleFormat inputFormat = angles::AngleFormat::Packed;
  if (plan.inputUnits == Units::Geographic) {
    const auto format = angles::FindAngleFormat(transform.inputFormat);
    if (!format || !angles::IsInputFormat(*format)) {
      RefuseSetting(desktop, options, Setting::InputFormat, transform.inputFormat, "ERROR 1");
      return std::nullopt;
    }
    if (*format == angles::AngleFormat::DmsBlanks && type != FileTypeCode::Csv) {
      // Its blanks are the separators of SSV fields and it does not fit T27 columns.
      RefuseSetting(desktop, options, Setting::InputFormat,
                    "Latitudes and Longitudes in DDD MM SS.ssss format\ncan only be read from "
                    "CSV files",
                    "ERROR");
      return std::nullopt;
    }
    inputFormat = *format;
  }
  angles::AngleFormat outputFormat = angles::AngleFormat::Packed;
  if (plan.outputUnits == Units::Geographic) {
    const auto format = angles::FindAngleFormat(settings.outputFormat);
    if (!format || !angles::IsInputFormat(*format)) {
      RefuseSetting(desktop, options, Setting::OutputFormat, settings.outputFormat, "ERROR 2");
      return std::nullopt;
    }
    outputFormat = *format;
  }

  // The datum change and the method that makes it.
  const bool inputIsGda = engine::IsGda(settings.inputSystem);
  const bool outputIsGda = engine::IsGda(settings.outputSystem);
  const bool gridShift = settings.gridFlag && inputIsGda != outputIsGda;
  if (gridShift) {
    if (options.gridMethod == ntv2::GridMethod::NswMrePrograms) {
      RefuseSetting(desktop, options, Setting::Grid,
                    "The NSW (MRE) method is not available\nfor file conversion", "ERROR");
      return std::nullopt;
    }
    if (!options.grid) {
      RefuseSetting(desktop, options, Setting::Grid,
                    "No NTv2 grid file is ready\nfor the High Accuracy method", "ERROR");
      return std::nullopt;
    }
  }

  plan.precision = settings.gridFlag ? kHighAccuracyPrecision : kMediumAccuracyPrecision;
  plan.headerLines = std::max(0, text::ToInt(settings.headerLineCount));

  FieldLayout& layout = plan.layout;
  layout.type = type;
  layout.firstField = firstField;
  layout.secondField = secondField;
  layout.heightField = heightField;
  if (!t27) {
    layout.inputZoneField = std::max(0, text::ToInt(settings.inputZoneField));
    layout.outputZoneField = std::max(0, text::ToInt(settings.outputZoneField));
  }
  layout.dmsFields = type == FileTypeCode::Csv && plan.inputUnits == Units::Geographic &&
                     inputFormat == angles::AngleFormat::DmsBlanks;

  ChainSetup& chain = plan.chain;
  chain.inputUnits = plan.inputUnits;
  chain.outputUnits = plan.outputUnits;
  chain.inputIsIsg = inputIsIsg;
  chain.outputIsIsg = outputIsIsg;
  chain.inputFormat = inputFormat;
  chain.fieldsArePacked = layout.dmsFields;
  chain.precision = plan.precision;
  // Both AGD systems of a run are on the AGD datum of the method in use.
  const engine::AccuracyMethod method =
      settings.gridFlag ? engine::AccuracyMethod::High : engine::AccuracyMethod::Medium;
  const auto agd = chain::AgdDatumInUse(method, transform.parameterSet, options.gridMethod);
  chain.chain.source = {chain::DatumOfSystem(settings.inputSystem, agd),
                        text::ToInt(settings.inputZone)};
  chain.chain.target = {chain::DatumOfSystem(settings.outputSystem, agd),
                        text::ToInt(settings.outputZone)};
  chain.chain.method =
      settings.gridFlag ? chain::DatumMethod::Grid : chain::DatumMethod::SevenParameter;
  chain.chain.parameters = engine::MakeDatumParameters(transform);
  if (gridShift) chain.chain.grid = options.grid;

  WriterSetup& writer = plan.writer;
  writer.type = type;
  writer.outputUnits = plan.outputUnits;
  writer.outputFormat = outputFormat;
  writer.decimals = plan.precision + 4;
  writer.t27Unchanged = t27 && plan.inputUnits == Units::Geographic &&
                        plan.outputUnits == Units::Geographic && inputIsGda && outputIsGda;
  return plan;
}

// The first `count` data lines of an SSV file, kept so that they can be converted after
// their longest length (line end included) is known: the values of every record line up
// from the first one, and the input is read only once, so a stream works like a file.
struct MeasuredLines {
  std::vector<std::string> lines;
  std::size_t longest = 0;
};

MeasuredLines MeasureLongestLines(text::LineInput& input, int count) {
  MeasuredLines measured;
  std::string_view line;
  for (int i = 0; i < count && input.Next(line); ++i) {
    measured.lines.emplace_back(line);
    measured.longest = std::max(measured.longest, line.size() + 1);
  }
  return measured;
}

std::string HeaderBlock(const FileConversionSettings& settings, const Plan& plan,
                        const engine::TransformSettings& transform, const std::tm& now) {
  std::string header(kRule);
  header += text::Format("TARVO V%s - Date Computed: %s\n", kVersion, FormatRunDate(now).c_str());
  header += text::Format("Using %s method - %s\n", settings.methodText.c_str(),
                         settings.parameterDescription.c_str());
  header += kRule;
  header += text::Format("Transformation of %s Zone %s to %s Zone %s\n",
                         settings.inputSystem.c_str(), settings.inputZone.c_str(),
                         settings.outputSystem.c_str(), settings.outputZone.c_str());
  if (plan.inputUnits == Units::Geographic) {
    header +=
        text::Format("Input Latitude & Longitude format is %s\n", transform.inputFormat.c_str());
  } else if (plan.inputUnits == Units::Cartesian) {
    header += "Input in Cartesian Coordinates\n";
  }
  if (plan.outputUnits == Units::Geographic) {
    header +=
        text::Format("Output Latitude & Longitude format is %s\n", settings.outputFormat.c_str());
  } else if (plan.outputUnits == Units::Cartesian) {
    header += "Output in Cartesian Coordinates\n";
  }
  return header;
}

std::string FinalText(const BatchRunResult& result) {
  std::string text = "\r\n";
  text += text::Format("     Total of %llu", static_cast<unsigned long long>(result.count));
  text += " coordinates have been converted";
  if (result.outsideGrid > 0) {
    text += text::Format("\r\n     %llu points outside the grid were not converted",
                         static_cast<unsigned long long>(result.outsideGrid));
  }
  if (result.noResult > 0) {
    text += text::Format("\r\n     %llu points without a valid result were not converted",
                         static_cast<unsigned long long>(result.noResult));
  }
  if (result.skipped > 0) {
    text += text::Format("\r\n     %llu lines without coordinates were skipped: lines",
                         static_cast<unsigned long long>(result.skipped));
    for (std::size_t i = 0; i < result.skippedLines.size(); ++i) {
      text += text::Format("%s %llu", i == 0 ? "" : ",",
                           static_cast<unsigned long long>(result.skippedLines[i]));
    }
    if (result.skipped > result.skippedLines.size()) text += ", ...";
  }
  if (result.stoppedAtLine > 0) {
    text += text::Format("\r\n     Conversion stopped at line %llu: no coordinate in its field",
                         static_cast<unsigned long long>(result.stoppedAtLine));
  }
  if (result.readFailed) text += "\r\n     ERROR - the input file could not be read to its end";
  if (result.overlongLine > 0) {
    text += text::Format("\r\n     ERROR - line %llu of the input file is longer than 1 MiB",
                         static_cast<unsigned long long>(result.overlongLine));
  }
  // A stream cannot be taken back; a file output is replaced only by a whole run.
  if (result.writeFailed && !result.outputKept) {
    text += "\r\n     ERROR - the output file is incomplete";
  }
  if (result.outputKept && !result.nothingConverted) {
    text += "\r\n     Nothing was written to the output file";
  }
  return text;
}

}  // namespace

std::string FormatRunDate(const std::tm& time) {
  static constexpr const char* kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};
  static constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
  const int hour = ((time.tm_hour % 24) + 24) % 24;
  const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
  return text::Format("%02d:%02d%s %s %s %02d,%d", hour12, time.tm_min, hour < 12 ? "AM" : "PM",
                      kWeekdays[((time.tm_wday % 7) + 7) % 7],
                      kMonths[((time.tm_mon % 12) + 12) % 12], time.tm_mday, time.tm_year + 1900);
}

BatchRunResult RunBatchConversion(const FileConversionSettings& settings, BatchValues& batch,
                                  const engine::TransformSettings& transform,
                                  const BatchRunOptions& options, ui::Desktop& desktop) {
  BatchRunResult result;
  std::optional<Plan> plan = MakePlan(settings, batch, transform, options, desktop);
  if (!plan) return result;

  // The input file, or the caller's stream.
  text::UniqueFile inputFile;
  std::FILE* in = options.inputStream;
  std::uint64_t size = 0;
  if (in == nullptr) {
    text::OpenedFile opened = text::OpenRegularFile(settings.inputFileName, "coordinate file");
    if (!opened.file) {
      result.previewText = "\r\n     ERROR - File (" + settings.inputFileName + ") does not exist";
      if (!opened.refusal.empty()) *result.previewText += "\r\n     " + opened.refusal;
      desktop.Beep();
      return result;
    }
    inputFile = std::move(opened.file);
    in = inputFile.get();
    struct stat status {};
    if (::fstat(::fileno(in), &status) == 0) size = static_cast<std::uint64_t>(status.st_size);
  }
  text::LineInput input(in);

  // The header lines; for SSV the longest of as many data lines.
  std::string_view header;
  for (int i = 0; i < plan->headerLines && input.Next(header); ++i) {
  }
  MeasuredLines measured;
  if (batch.fileTypeCode == FileTypeCode::Ssv && plan->headerLines > 0) {
    measured = MeasureLongestLines(input, plan->headerLines);
    batch.longestLineLength = std::max(batch.longestLineLength, measured.longest);
  }

  // The output: the caller's stream, or a temporary file that becomes the output file only
  // when the run has finished; until then an existing output file stays as it was. A device
  // or pipe named as the output is written as a stream.
  std::unique_ptr<text::AtomicFile> outputFile;
  text::UniqueFile outputDevice;
  std::FILE* out = options.outputStream;
  if (out == nullptr) {
    const fs::path outputPath(settings.outputFileName);
    std::error_code error;
    if (fs::exists(outputPath, error) &&
        desktop.ShowMessage(settings.outputFileName, "File Exists Overwrite",
                            ui::MessageIcon::Question,
                            ui::MessageButtons::YesNo) != ui::MessageAnswer::Yes) {
      return result;
    }
    const fs::file_status status = fs::status(outputPath, error);
    if (fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status)) {
      outputDevice.reset(std::fopen(outputPath.c_str(), "wb"));
      out = outputDevice.get();
    } else {
      outputFile = text::AtomicFile::Create(outputPath);
    }
    if (!outputFile && out == nullptr) {
      ShowError(desktop, settings.outputFileName, "Drive or Path does no exist");
      return result;
    }
  }

  OutputContents contents = OutputContents::ResultsOnly;
  if (options.outputContents) {
    contents = *options.outputContents;
  } else {
    OutputContentsDialog dialog(desktop);
    desktop.RunModal(dialog);
    // "&Cancel" ends the run: nothing is written.
    if (!dialog.choice()) return result;
    contents = *dialog.choice();
  }
  plan->writer.contents = contents;
  plan->writer.longestLineLength = batch.longestLineLength;

  RecordOutput output = outputFile ? RecordOutput(*outputFile) : RecordOutput(out);
  if (batch.fileTypeCode != FileTypeCode::T27) {
    output.buffer() += HeaderBlock(settings, *plan, transform, desktop.LocalTime());
  }

  const RecordLoopEnd end =
      ConvertRecords(input, std::move(measured.lines), output,
                     {plan->layout, plan->chain, plan->writer, batch.echo}, size, options, result);
  result.nothingConverted = end.data && result.count == 0;

  result.readFailed = end.inputEnded && input.failed();
  if (result.readFailed) {
    ShowError(desktop, settings.inputFileName, "ERROR - Input file not read completely");
  }
  result.overlongLine = end.inputEnded ? input.overlongLine() : 0;
  if (result.overlongLine > 0) {
    ShowError(desktop, text::OverlongLineText(settings.inputFileName, result.overlongLine),
              "ERROR - Input file not read completely");
  }
  result.writeFailed = !output.Finish();
  if (outputDevice && std::fclose(outputDevice.release()) != 0) result.writeFailed = true;
  if (outputFile) {
    // A run that failed, or converted nothing of an input that held data, never replaces a
    // good output file by a part of one or by a header block.
    const bool whole = !result.readFailed && result.overlongLine == 0 && !result.writeFailed &&
                       !result.nothingConverted;
    if (whole && !outputFile->Commit()) result.writeFailed = true;
    if (!whole) outputFile->Discard();
    result.outputKept = !whole || result.writeFailed;
  }
  if (result.writeFailed) {
    ShowError(desktop, settings.outputFileName, "ERROR - Output file not written completely");
  }
  result.converted = true;
  result.previewText = FinalText(result);
  return result;
}

}  // namespace tarvo::fileconv
