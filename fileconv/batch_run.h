// The batch conversion of a coordinate file: every data record of the input file is passed
// through the per-record chain (record_chain.h) and written to the output file
// (record_writer.h), in blocks of records converted on every core and written in input order
// (block_pipeline.h), in bounded memory.
//
// A run goes: checks, preparation, record loop, end.
//   Checks, each ending the run with its message before anything is written: input and
//   output not the same file (by name, or by identity: links, and standard input or output
//   redirected from or to the other file); the input is a regular file that opens; an
//   existing output file may be overwritten (Yes/No); the output file can be created; the
//   output contents choice, unless the job holds it ("&Cancel" ends the run). The settings
//   were checked when the job was made (batch_job.h).
//   Preparation: for SSV the longest line of as many data lines as there are header lines;
//   the header block (CSV, SSV).
//   Record loop (fileconv/block_pipeline.h: in blocks, on every core, with the output of one
//   thread): read, echo line, convert, write; until the first field of a line cannot be
//   read (or, skipping bad records, past such lines) or the data ends. Records outside the
//   NTv2 grid are dropped and not counted, and so are records whose results are no
//   coordinates (a NaN, an infinity, a value beyond 1e9 m: nothing is written that is not
//   the answer to its input); T27 lines too short to hold values are copied unchanged and
//   not counted.
//   End: the text "Total of N coordinates have been converted" (with the records outside the
//   grid, those without a valid result, the lines skipped, where the run stopped early, and
//   a failed read or write, when there are any).
//
// The output file is written as a temporary file beside it (text/atomic_file.h) that takes
// its name only when the run has finished whole. A run refused, cancelled, failed (a read
// error, a line longer than 1 MiB, a full disk) or interrupted leaves an existing output
// file as it was, and so does a run that converted no record of an input that held some:
// a good output is never replaced by part of one or by a header block alone. Standard
// output, a device or a pipe as the output is a stream, written as the run goes.
//
// The files are read and written in large blocks (text/line_input.h, run_files.h), each
// only once: the SSV lines measured for alignment are kept and converted after the
// measurement, so the input may be a stream (standard input) as well as a file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fileconv/batch_job.h"
#include "ui/desktop.h"

namespace tarvo::fileconv {

// What a run does with a line whose first field holds no coordinate (a letter, or nothing).
enum class BadRecords {
  Stop,  // the run ends there, as the dialog's run does
  Skip,  // the line is left out and counted; the run goes on (blank lines are passed over)
};

struct BatchRunOptions {
  // Called with the bytes read so far and the input file's size: once at the start, then
  // after each block of records written (about a thousandth of the file), and at the end. The dialog moves its progress bar
  // and lets its window repaint.
  std::function<void(std::uint64_t position, std::uint64_t size)> progress;
  BadRecords badRecords = BadRecords::Stop;
  // Threads converting the records (0: one per hardware thread). The output is the same
  // whatever their number (fileconv/block_pipeline.h).
  unsigned jobs = 0;
  // Input bytes of a block of records (0: the run's own choice); tests make blocks small so
  // that their edges fall everywhere.
  std::size_t blockBytes = 0;
};

struct BatchRunResult {
  bool converted = false;  // the run went through the records (not refused or cancelled)
  // The text for the dialog's preview box, when the run sets it (the input file cannot be
  // opened, or the run ended).
  std::optional<std::string> previewText;
  std::uint64_t count = 0;          // records converted
  std::uint64_t outsideGrid = 0;    // records dropped: outside the NTv2 grid
  // Records dropped because a result is no coordinate (NaN, infinite, beyond 1e9 m).
  std::uint64_t noResult = 0;
  std::uint64_t stoppedAtLine = 0;  // the line that ended the run before the data's end, or 0
  // BadRecords::Skip: the lines left out for want of a coordinate, and the first ten of
  // their line numbers.
  std::uint64_t skipped = 0;
  std::vector<std::uint64_t> skippedLines;
  bool writeFailed = false;         // the output file could not be written completely
  bool readFailed = false;          // reading the input failed before its end
  std::uint64_t overlongLine = 0;   // the input line longer than 1 MiB that ended the run, or 0
  bool nothingConverted = false;    // the input held data, but no record was converted
  bool outputKept = false;          // an output file was left as it was: the run failed or
                                    // converted nothing
  // SSV: the longest data line measured, this run's or the job's before (line end included).
  std::size_t longestLineLength = 0;
};

// Runs one batch conversion job (batch_job.h).
BatchRunResult RunBatchConversion(const BatchJob& job, const BatchRunOptions& options,
                                  ui::Desktop& desktop);

// The date and time of the header block: "%I:%M%p %A %B %d,%Y" with English names,
// whatever the process locale ("09:05AM Friday March 01,2002").
std::string FormatRunDate(const std::tm& time);

}  // namespace tarvo::fileconv
