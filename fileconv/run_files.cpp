#include "fileconv/run_files.h"

namespace tarvo::fileconv {

RecordOutput::RecordOutput(std::FILE* stream) : stream_(stream) {
  buffer_.reserve(kBlockSize + kBlockSize / 4);
}

RecordOutput::RecordOutput(text::AtomicFile& file) : file_(&file) {
  buffer_.reserve(kBlockSize + kBlockSize / 4);
}

void RecordOutput::WriteOut() {
  if (!buffer_.empty() && !failed_) {
    failed_ = file_ != nullptr
                  ? !file_->Write(buffer_)
                  : std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size();
  }
  buffer_.clear();
}

bool RecordOutput::Finish() {
  WriteOut();
  if (stream_ != nullptr && (std::fflush(stream_) != 0 || std::ferror(stream_) != 0)) {
    failed_ = true;
  }
  return !failed_;
}

}  // namespace tarvo::fileconv
