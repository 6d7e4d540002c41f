#include "fileconv/run_files.h"

#include <cstring>

namespace tarvo::fileconv {
namespace {

constexpr std::size_t kInputBlockSize = std::size_t{1} << 20;

}  // namespace

LineInput::LineInput(std::FILE* file) : file_(file) {
  buffer_.resize(kInputBlockSize);
}

bool LineInput::Refill() {
  if (atEnd_) return false;
  // Keep the unread bytes, at the front of the buffer; a line that fills the whole buffer
  // doubles it.
  const std::size_t kept = end_ - begin_;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, kept);
    begin_ = 0;
    end_ = kept;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  const std::size_t read = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
  end_ += read;
  if (read == 0) {
    atEnd_ = true;
    failed_ = std::ferror(file_) != 0;
  }
  return read > 0;
}

bool LineInput::Next(std::string_view& line) {
  std::size_t searched = begin_;
  while (true) {
    const void* found = std::memchr(buffer_.data() + searched, '\n', end_ - searched);
    if (found != nullptr) {
      const std::size_t lineEnd = static_cast<const char*>(found) - buffer_.data();
      line = std::string_view(buffer_.data() + begin_, lineEnd - begin_);
      offset_ += line.size() + 1;
      begin_ = lineEnd + 1;
      break;
    }
    const std::size_t pending = end_ - begin_;
    if (!Refill()) {
      // The last line has no line end.
      if (pending == 0) return false;
      line = std::string_view(buffer_.data() + begin_, pending);
      offset_ += pending;
      begin_ = end_;
      break;
    }
    searched = begin_ + pending;
  }
  ++lineNumber_;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

RecordOutput::RecordOutput(std::FILE* file) : file_(file) {
  buffer_.reserve(kBlockSize + kBlockSize / 4);
}

void RecordOutput::WriteOut() {
  if (!buffer_.empty() && !failed_ &&
      std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
    failed_ = true;
  }
  buffer_.clear();
}

bool RecordOutput::Finish() {
  WriteOut();
  if (std::fflush(file_) != 0 || std::ferror(file_) != 0) failed_ = true;
  return !failed_;
}

}  // namespace tarvo::fileconv
