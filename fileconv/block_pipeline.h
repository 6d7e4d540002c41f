// The record loop of a batch run, on every core: the records of the input are read in
// blocks, converted by worker threads (chain/worker_pool.h) and written in input order. The
// output, the counts, the stop and the final text are those of converting the records one
// after the other on one thread, byte for byte, whatever the number of threads and the size
// of the blocks.
//
// The calling thread reads the input line by line (text/line_input.h, so line ends, a last
// line without one, a line longer than 1 MiB and read errors are met as before) into blocks
// of whole lines, hands each block to a worker, and writes the blocks' output in their order
// as they are done, reporting progress after each. At most a fixed number of blocks per
// thread are in flight, so memory is bounded by the block size, not by the file's.
//
// One thread's results, block by block:
//   - The records of a run depend on each other only through chain::PointState. Its sub-grid
//     hint never changes a result; the first latitude estimate of Cartesian input does: the
//     iteration stops at 1e-9 radians, and where it started moves the last bits of the
//     latitude and height it returns, now and then a written digit. A worker converts its
//     block from a fresh state while the blocks before it are still being converted. When the
//     block's turn to be written comes, the state the blocks before it left is known: its
//     first records are converted again from that state until one leaves the same estimates,
//     bit for bit, as in the first conversion. From that record on both conversions are one
//     (the state is all a record takes from the ones before), so the block's output is the
//     new records' output followed by the rest of the first. Usually one or two records
//     are converted twice.
//   - The stop rule: a worker's conversion ends at the first line whose first field holds no
//     coordinate and looks through the rest of its block for text; the blocks after it are
//     not written, and the lines after it are looked through for text only until some is
//     found (the final text then names the line), as the one-thread loop reads them.
//   - The input's end (a read error, a line longer than 1 MiB) counts only when the loop
//     reached it: a run that stopped earlier did not read that far.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fileconv/batch_run.h"
#include "fileconv/record_chain.h"
#include "fileconv/record_reader.h"
#include "fileconv/record_writer.h"
#include "fileconv/run_files.h"
#include "text/line_input.h"

namespace tarvo::fileconv {

// How a run's records are read, converted and written.
struct RecordSetup {
  FieldLayout layout;
  ChainSetup chain;
  WriterSetup writer;
  bool echo = false;  // the echo line before each record (AppendEchoLine)
};

// How the record loop ended.
struct RecordLoopEnd {
  bool data = false;        // the lines it looked at held text
  bool inputEnded = false;  // it read the input to its end (or to a read error or an
                            // over-long line): no stop came before
};

// Reads, converts and writes records until the data ends or a line holds no record (with
// BadRecords::Skip: past such lines). `pending` lines are converted before those still in
// `input`. Adds the counts to `result` (count, outsideGrid, noResult, skipped, skippedLines,
// stoppedAtLine). Threads: options.jobs (0: one per hardware thread); blocks of
// options.blockBytes of input (0: about a thousandth of a file of `size` bytes, at most
// 256 KiB, so progress moves in thousandths). Progress: `options.progress` at the start,
// after each block written and at the end.
RecordLoopEnd ConvertRecords(text::LineInput& input, std::vector<std::string> pending,
                             RecordOutput& output, const RecordSetup& setup, std::uint64_t size,
                             const BatchRunOptions& options, BatchRunResult& result);

}  // namespace tarvo::fileconv
