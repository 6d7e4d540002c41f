// The output of a batch run, written in large blocks.
//
// RecordOutput collects the run's output in one buffer that is written out whenever it
// holds a block, and remembers a failed write. It writes into the temporary file that
// replaces the output file when the run has finished (text/atomic_file.h), or to a stream
// (standard output, a device), which cannot be taken back.
#pragma once

#include <cstdio>
#include <string>

#include "text/atomic_file.h"

namespace tarvo::fileconv {

class RecordOutput {
 public:
  // Writes to `stream`, which the caller opened and closes.
  explicit RecordOutput(std::FILE* stream);
  // Writes into `file`, which the caller commits or discards.
  explicit RecordOutput(text::AtomicFile& file);

  // The buffer to append to; call RecordDone after each record.
  std::string& buffer() { return buffer_; }
  // Writes the buffer out once it holds a block.
  void RecordDone() {
    if (buffer_.size() >= kBlockSize) WriteOut();
  }
  // Writes what is left and flushes a stream; false when any write failed.
  bool Finish();

 private:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 20;
  void WriteOut();

  std::FILE* stream_ = nullptr;
  text::AtomicFile* file_ = nullptr;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace tarvo::fileconv
