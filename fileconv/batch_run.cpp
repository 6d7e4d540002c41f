#include "fileconv/batch_run.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "angles/angle_format.h"
#include "chain/datum.h"
#include "fileconv/block_pipeline.h"
#include "fileconv/output_contents_dialog.h"
#include "fileconv/record_reader.h"
#include "fileconv/record_writer.h"
#include "fileconv/run_files.h"
#include "text/atomic_file.h"
#include "text/line_input.h"
#include "text/number_text.h"
#include "version.h"

namespace tarvo::fileconv {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRule =
    "=============================================================\n";

void ShowError(ui::Desktop& desktop, std::string_view text, std::string_view caption) {
  desktop.ShowMessage(text, caption, ui::MessageIcon::Error);
}

// How the run writes its records, from the job (the contents and the SSV line length are
// added once they are known).
WriterSetup WriterFor(const BatchJob& job) {
  WriterSetup writer;
  writer.type = job.fields.type;
  writer.outputUnits = job.chain.outputUnits;
  writer.outputFormat = job.outputFormat;
  writer.decimals = job.chain.precision + 4;
  writer.t27Unchanged = job.fields.type == FileTypeCode::T27 &&
                        job.chain.inputUnits == Units::Geographic &&
                        job.chain.outputUnits == Units::Geographic &&
                        job.chain.chain.source.datum == chain::Datum::Gda94 &&
                        job.chain.chain.target.datum == chain::Datum::Gda94;
  return writer;
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

std::string HeaderBlock(const BatchJob& job, const std::tm& now) {
  const JobTitle& title = job.title;
  std::string header(kRule);
  header += text::Format("TARVO V%s - Date Computed: %s\n", kVersion, FormatRunDate(now).c_str());
  header += text::Format("Using %s method - %s\n", title.method.c_str(), title.parameters.c_str());
  if (!title.gda2020Method.empty()) header += title.gda2020Method + "\n";
  header += kRule;
  header +=
      text::Format("Transformation of %s Zone %s to %s Zone %s\n", title.inputSystem.c_str(),
                   title.inputZone.c_str(), title.outputSystem.c_str(), title.outputZone.c_str());
  if (job.chain.inputUnits == Units::Geographic) {
    header += text::Format("Input Latitude & Longitude format is %s\n",
                           std::string(angles::Label(job.chain.inputFormat)).c_str());
  } else if (job.chain.inputUnits == Units::Cartesian) {
    header += "Input in Cartesian Coordinates\n";
  }
  if (job.chain.outputUnits == Units::Geographic) {
    header += text::Format("Output Latitude & Longitude format is %s\n",
                           std::string(angles::Label(job.outputFormat)).c_str());
  } else if (job.chain.outputUnits == Units::Cartesian) {
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

BatchRunResult RunBatchConversion(const BatchJob& job, const BatchRunOptions& options,
                                  ui::Desktop& desktop) {
  BatchRunResult result;
  result.longestLineLength = job.longestLineLength;
  if (SameFile(job.input, job.output)) {
    ShowRefusal(desktop, SameFileRefusal(job.input));
    return result;
  }
  WriterSetup writer = WriterFor(job);

  // The input file, or the caller's stream.
  text::UniqueFile inputFile;
  std::FILE* in = job.input.stream;
  std::uint64_t size = 0;
  if (in == nullptr) {
    text::OpenedFile opened = text::OpenRegularFile(job.input.name, "coordinate file");
    if (!opened.file) {
      result.previewText = "\r\n     ERROR - File (" + job.input.name + ") does not exist";
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
  for (int i = 0; i < job.headerLines && input.Next(header); ++i) {
  }
  MeasuredLines measured;
  if (job.fields.type == FileTypeCode::Ssv && job.headerLines > 0) {
    measured = MeasureLongestLines(input, job.headerLines);
    result.longestLineLength = std::max(result.longestLineLength, measured.longest);
  }

  // The output: the caller's stream, or a temporary file that becomes the output file only
  // when the run has finished; until then an existing output file stays as it was. A device
  // or pipe named as the output is written as a stream.
  std::unique_ptr<text::AtomicFile> outputFile;
  text::UniqueFile outputDevice;
  std::FILE* out = job.output.stream;
  if (out == nullptr) {
    const fs::path outputPath(job.output.name);
    std::error_code error;
    if (fs::exists(outputPath, error) &&
        desktop.ShowMessage(job.output.name, "File Exists Overwrite", ui::MessageIcon::Question,
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
      ShowError(desktop, job.output.name, "Drive or Path does no exist");
      return result;
    }
  }

  OutputContents contents = OutputContents::ResultsOnly;
  if (job.contents) {
    contents = *job.contents;
  } else {
    OutputContentsDialog dialog(desktop);
    desktop.RunModal(dialog);
    // "&Cancel" ends the run: nothing is written.
    if (!dialog.choice()) return result;
    contents = *dialog.choice();
  }
  writer.contents = contents;
  writer.longestLineLength = result.longestLineLength;

  RecordOutput output = outputFile ? RecordOutput(*outputFile) : RecordOutput(out);
  if (job.fields.type != FileTypeCode::T27) {
    output.buffer() += HeaderBlock(job, desktop.LocalTime());
  }

  const RecordLoopEnd end =
      ConvertRecords(input, std::move(measured.lines), output,
                     {job.fields, job.chain, writer, job.echo}, size, options, result);
  result.nothingConverted = end.data && result.count == 0;

  result.readFailed = end.inputEnded && input.failed();
  if (result.readFailed) {
    ShowError(desktop, job.input.name, "ERROR - Input file not read completely");
  }
  result.overlongLine = end.inputEnded ? input.overlongLine() : 0;
  if (result.overlongLine > 0) {
    ShowError(desktop, text::OverlongLineText(job.input.name, result.overlongLine),
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
    ShowError(desktop, job.output.name, "ERROR - Output file not written completely");
  }
  result.converted = true;
  result.previewText = FinalText(result);
  return result;
}

}  // namespace tarvo::fileconv
