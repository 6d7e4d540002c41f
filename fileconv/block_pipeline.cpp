#include "fileconv/block_pipeline.h"

#include <algorithm>
#include <array>
#include <deque>
#include <future>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "chain/worker_pool.h"
#include "engine/coordinate_limits.h"

namespace tarvo::fileconv {
namespace {

// Blocks are about this share of a file, so that progress moves in thousandths of it...
constexpr std::uint64_t kProgressSteps = 1000;
// ... and at most this large (streams of unknown size: this large): enough records to make
// handing a block to a worker cheap beside converting it.
constexpr std::size_t kMaxBlockBytes = std::size_t{256} << 10;
// Blocks in flight per thread: one being converted, one read and waiting.
constexpr std::size_t kBlocksPerThread = 2;
// The input of all blocks in flight, whatever the number of threads; their output is a few
// times as much at most (the echo line and both layouts).
constexpr std::size_t kMaxBytesInFlight = std::size_t{16} << 20;
// The line numbers of skipped lines the final text lists.
constexpr std::size_t kSkippedLinesListed = 10;
// The converted records of a block whose state is kept for meeting a second conversion.
// Past them a block whose second conversion has not met the first is converted again whole.
constexpr std::size_t kMarkedRecords = 256;

bool HasText(std::string_view line) {
  return line.find_first_not_of(" \t") != std::string_view::npos;
}

// Some line of `lines` (each followed by '\n') has text.
bool SomeLineHasText(std::string_view lines) {
  return lines.find_first_not_of(" \t\n") != std::string_view::npos;
}

// Every value of a converted record is a coordinate (engine/coordinate_limits.h); the values
// its output units leave unused are 0.
bool IsCoordinates(const ConvertedRecord& record) {
  return engine::IsCoordinate(record.east) && engine::IsCoordinate(record.north) &&
         engine::IsCoordinate(record.height) && engine::IsCoordinate(record.latitude) &&
         engine::IsCoordinate(record.longitude);
}

// The records converted, dropped outside the grid and dropped without a valid result.
struct Tally {
  std::uint64_t count = 0;
  std::uint64_t outsideGrid = 0;
  std::uint64_t noResult = 0;
  Tally operator+(const Tally& o) const {
    return {count + o.count, outsideGrid + o.outsideGrid, noResult + o.noResult};
  }
  Tally operator-(const Tally& o) const {
    return {count - o.count, outsideGrid - o.outsideGrid, noResult - o.noResult};
  }
};

// Where a conversion of a block stood after one of its records.
struct Mark {
  std::size_t outputEnd = 0;
  Tally tally;
  chain::PointState state;  // its estimates decide where a second conversion meets it
};

// What converting a block gave.
struct BlockResult {
  std::string output;
  Tally tally;
  std::uint64_t skipped = 0;
  std::vector<std::uint64_t> skippedLines;  // the block's first ten
  bool data = false;
  std::uint64_t stopLine = 0;  // the line that ended the run, or 0
  bool textAfterStop = false;  // a later line of the block has text
  chain::PointState end;       // the state after its last record
  std::vector<Mark> marks;     // Cartesian input: after each of its first records

  // Empty again, keeping the capacity of its texts for the next block.
  void Clear() {
    output.clear();
    tally = {};
    skipped = 0;
    skippedLines.clear();
    data = false;
    stopLine = 0;
    textAfterStop = false;
    marks.clear();
  }
};

struct Block {
  std::string lines;            // whole lines, each followed by '\n'
  std::uint64_t firstLine = 0;  // the number of its first line
  std::uint64_t endOffset = 0;  // input bytes read with its last line
  chain::PointState start;      // the state its conversion started from
  BlockResult result;
};

// The lines of a run: the lines kept from the SSV measurement, then those of the input.
class LineSource {
 public:
  LineSource(text::LineInput& input, std::vector<std::string> pending)
      : input_(input),
        pending_(std::move(pending)),
        lineNumber_(input.lineNumber() - pending_.size()) {}

  bool Next(std::string_view& line) {
    if (nextPending_ < pending_.size()) {
      line = pending_[nextPending_++];
    } else if (!input_.Next(line)) {
      return false;
    }
    ++lineNumber_;
    return true;
  }

  // Fills `block` with the next lines, until it holds `bytes`; false when no line came.
  bool Read(Block& block, std::size_t bytes) {
    block.lines.clear();
    block.firstLine = lineNumber_ + 1;
    std::string_view line;
    while (block.lines.size() < bytes && Next(line)) {
      block.lines += line;
      block.lines += '\n';
    }
    block.endOffset = input_.offset();
    return !block.lines.empty();
  }

  // Reads on to the next line with text; false at the input's end.
  bool FindText() {
    std::string_view line;
    while (Next(line)) {
      if (HasText(line)) return true;
    }
    return false;
  }

  std::uint64_t offset() const { return input_.offset(); }

 private:
  text::LineInput& input_;
  std::vector<std::string> pending_;
  std::size_t nextPending_ = 0;
  std::uint64_t lineNumber_;
};

// Converts blocks; const, shared by the workers.
class BlockConverter {
 public:
  BlockConverter(const RecordSetup& setup, BadRecords badRecords)
      : setup_(setup), chain_(setup.chain), writer_(setup.writer), badRecords_(badRecords) {}

  // A worker's conversion of `block`, from block.start.
  void Convert(Block& block) const {
    block.result.Clear();
    chain::PointState state = block.start;
    Run(block, state, block.result, {});
    block.result.end = state;
  }

  // Makes `block`'s result the one of converting it from `previous`, the state the blocks
  // before it left.
  void Continue(Block& block, const chain::PointState& previous) const {
    if (chain::SameEstimates(block.start, previous)) return;
    BlockResult& first = block.result;
    BlockResult again;
    chain::PointState state = previous;
    const std::size_t met = Run(block, state, again, first.marks);
    if (met == 0) {
      again.end = state;
      first = std::move(again);
      return;
    }
    // From record `met` on the first conversion stands; skipped lines, the stop and text
    // are the same in both.
    const Mark& at = first.marks[met - 1];
    again.output.append(first.output, at.outputEnd);
    first.output.swap(again.output);
    first.tally = again.tally + (first.tally - at.tally);
  }

 private:
  // Converts the lines of `block` from `state` into `into`. With `meet`, the marks of
  // another conversion of the block, ends after the first record that leaves the estimates
  // of its mark and returns how many records that was; otherwise returns 0 at the end.
  std::size_t Run(const Block& block, chain::PointState& state, BlockResult& into,
                  std::span<const Mark> meet) const {
    const bool marking = meet.empty() && setup_.chain.inputUnits == Units::Cartesian;
    // Records two at a time, side by side, where no state is met or marked: input that is
    // not Cartesian leaves the estimates as they start.
    const bool pairing = meet.empty() && setup_.chain.inputUnits != Units::Cartesian;
    RecordFields fields;
    RecordFields nextFields;
    std::string& out = into.output;
    std::string_view rest = block.lines;
    std::uint64_t lineNumber = block.firstLine - 1;
    std::size_t records = 0;
    while (!rest.empty()) {
      const std::size_t lineEnd = rest.find('\n');
      const std::string_view line = rest.substr(0, lineEnd);
      rest.remove_prefix(lineEnd + 1);
      ++lineNumber;
      const RecordRead read = ReadRecord(line, setup_.layout, fields);
      const bool text = HasText(line);
      into.data = into.data || text;
      if (read == RecordRead::EndOfData && badRecords_ == BadRecords::Skip) {
        if (text) {
          ++into.skipped;
          if (into.skippedLines.size() < kSkippedLinesListed) {
            into.skippedLines.push_back(lineNumber);
          }
        }
        continue;
      }
      if (read == RecordRead::EndOfData) {
        into.stopLine = lineNumber;
        into.textAfterStop = SomeLineHasText(rest);
        into.data = into.data || into.textAfterStop;
        return 0;
      }
      if (read == RecordRead::ShortT27) {
        out += line;
        out += '\n';
        continue;
      }
      if (pairing && !rest.empty()) {
        // With the next line's record beside it, when the next line holds one.
        const std::size_t nextEnd = rest.find('\n');
        const std::string_view nextLine = rest.substr(0, nextEnd);
        if (ReadRecord(nextLine, setup_.layout, nextFields) == RecordRead::Record) {
          rest.remove_prefix(nextEnd + 1);
          ++lineNumber;
          into.data = into.data || HasText(nextLine);
          const std::array<ConvertedRecord, 2> both = chain_.ConvertPair(fields, nextFields, state);
          Take(line, fields, both[0], into);
          Take(nextLine, nextFields, both[1], into);
          records += 2;
          continue;
        }
      }
      Take(line, fields, chain_.Convert(fields, state), into);
      if (records < meet.size() && chain::SameEstimates(state, meet[records].state)) {
        return records + 1;
      }
      if (marking && records < kMarkedRecords) {
        into.marks.push_back({out.size(), into.tally, state});
      }
      ++records;
    }
    return 0;
  }

  // Writes a converted record, with its echo line, into `into`, or drops it and counts why.
  void Take(std::string_view line, const RecordFields& fields, const ConvertedRecord& converted,
            BlockResult& into) const {
    std::string& out = into.output;
    const bool outsideGrid = converted.status == chain::Status::OutsideGrid;
    if (outsideGrid || !IsCoordinates(converted)) {
      ++(outsideGrid ? into.tally.outsideGrid : into.tally.noResult);
      return;
    }
    if (setup_.echo) AppendEchoLine(setup_.chain.inputUnits, fields, setup_.writer.decimals, out);
    writer_.Write(line, fields, converted, out);
    ++into.tally.count;
  }

  const RecordSetup& setup_;
  const RecordChain chain_;
  const RecordWriter writer_;
  const BadRecords badRecords_;
};

// The input bytes of a block: a thousandth of the file, at most kMaxBlockBytes, and at most
// kMaxBytesInFlight over all blocks in flight (many threads, smaller blocks).
std::size_t BlockBytesFor(std::uint64_t size, std::size_t inFlight) {
  const std::uint64_t largest = std::min(kMaxBlockBytes, kMaxBytesInFlight / inFlight);
  if (size == 0) return largest;
  return static_cast<std::size_t>(std::clamp<std::uint64_t>(size / kProgressSteps, 1, largest));
}

// Adds a written block's counts to the run's.
void AddCounts(const BlockResult& block, BatchRunResult& result) {
  result.count += block.tally.count;
  result.outsideGrid += block.tally.outsideGrid;
  result.noResult += block.tally.noResult;
  result.skipped += block.skipped;
  for (const std::uint64_t line : block.skippedLines) {
    if (result.skippedLines.size() == kSkippedLinesListed) break;
    result.skippedLines.push_back(line);
  }
}

}  // namespace

RecordLoopEnd ConvertRecords(text::LineInput& input, std::vector<std::string> pending,
                             RecordOutput& output, const RecordSetup& setup, std::uint64_t size,
                             const BatchRunOptions& options, BatchRunResult& result) {
  LineSource source(input, std::move(pending));
  const auto reportProgress = [&](std::uint64_t position) {
    if (options.progress) options.progress(position, size);
  };
  reportProgress(source.offset());

  const unsigned threads = chain::WorkerPool::ThreadsFor(options.jobs);
  // One thread converts each block when it is read, from the state the one before left.
  const std::size_t inFlight = threads == 1 ? 1 : kBlocksPerThread * threads;
  const std::size_t blockBytes =
      options.blockBytes > 0 ? options.blockBytes : BlockBytesFor(size, inFlight);
  const BlockConverter converter(setup, options.badRecords);

  struct Flight {
    std::unique_ptr<Block> block;
    std::future<void> converted;  // nothing when converted on this thread
  };
  std::deque<Flight> flights;
  std::vector<std::unique_ptr<Block>> spare;
  // Declared after the blocks: destroyed first, it finishes the conversions still queued
  // (a run ended by an exception) before the blocks go.
  std::optional<chain::WorkerPool> pool;
  if (threads > 1) pool.emplace(threads);

  RecordLoopEnd end;
  chain::PointState state;  // what the records written so far left
  bool reading = true;
  while (true) {
    while (reading && flights.size() < inFlight) {
      std::unique_ptr<Block> block;
      if (spare.empty()) {
        block = std::make_unique<Block>();
      } else {
        block = std::move(spare.back());
        spare.pop_back();
      }
      if (!source.Read(*block, blockBytes)) {
        reading = false;
        break;
      }
      Flight flight{std::move(block), {}};
      Block& read = *flight.block;
      if (pool) {
        read.start = chain::PointState{};
        flight.converted = pool->Submit([&converter, &read] { converter.Convert(read); });
      } else {
        read.start = state;
        converter.Convert(read);
      }
      flights.push_back(std::move(flight));
    }
    if (flights.empty()) {
      end.inputEnded = true;
      break;
    }

    Flight flight = std::move(flights.front());
    flights.pop_front();
    if (flight.converted.valid()) flight.converted.get();
    Block& block = *flight.block;
    converter.Continue(block, state);
    const BlockResult& written = block.result;
    state = written.end;
    output.buffer() += written.output;
    output.RecordDone();
    AddCounts(written, result);
    end.data = end.data || written.data;
    reportProgress(block.endOffset);

    if (written.stopLine > 0) {
      // The run ends here. When data follows, the final text names this line.
      bool textFollows = written.textAfterStop;
      for (Flight& later : flights) {
        if (later.converted.valid()) later.converted.get();
        textFollows = textFollows || SomeLineHasText(later.block->lines);
      }
      flights.clear();
      if (!textFollows) {
        textFollows = source.FindText();
        end.inputEnded = !textFollows;
      }
      if (textFollows) {
        result.stoppedAtLine = written.stopLine;
        end.data = true;
      }
      break;
    }
    spare.push_back(std::move(flight.block));
  }
  reportProgress(source.offset());
  return end;
}

}  // namespace tarvo::fileconv
