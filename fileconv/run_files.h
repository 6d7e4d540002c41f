// The input and output files of a batch run, read and written in large blocks.
//
// LineInput hands out the lines of a file or stream as views into its buffer: one block read
// (1 MiB) serves thousands of records, and no line is copied. A line longer than the buffer
// grows it, so any line length is read whole; memory stays that of the longest line. Line
// ends are "\n" or "\r\n" (files copied from Windows); a last line without one is a line.
//
// RecordOutput collects the run's output in one buffer that is written out whenever it
// holds a block, and remembers a failed write.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace tarvo::fileconv {

class LineInput {
 public:
  // Reads `file`, which the caller opened and closes.
  explicit LineInput(std::FILE* file);

  // The next line without its line end, valid until the next call; false at the end of the
  // input (or on a read error, see failed()).
  bool Next(std::string_view& line);

  // Bytes and lines consumed so far.
  std::uint64_t offset() const { return offset_; }
  std::uint64_t lineNumber() const { return lineNumber_; }
  bool failed() const { return failed_; }

 private:
  // Reads more of the file behind what is left in the buffer; false when nothing came.
  bool Refill();

  std::FILE* file_;
  std::string buffer_;
  std::size_t begin_ = 0;  // the unread bytes are buffer_[begin_, end_)
  std::size_t end_ = 0;
  bool atEnd_ = false;
  bool failed_ = false;
  std::uint64_t offset_ = 0;
  std::uint64_t lineNumber_ = 0;
};

class RecordOutput {
 public:
  // Writes to `file`, which the caller opened and closes.
  explicit RecordOutput(std::FILE* file);

  // The buffer to append to; call Commit after each record.
  std::string& buffer() { return buffer_; }
  // Writes the buffer out once it holds a block.
  void Commit() {
    if (buffer_.size() >= kBlockSize) WriteOut();
  }
  // Writes what is left and flushes the stream; false when any write failed.
  bool Finish();

 private:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 20;
  void WriteOut();

  std::FILE* file_;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace tarvo::fileconv
