#include "text/line_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "text/number_text.h"

namespace tarvo::text {
namespace {

constexpr std::size_t kInputBlockSize = std::size_t{1} << 20;

// Why a file that exists is not read, or empty for a regular file.
std::string Refusal(const std::filesystem::path& path, const struct stat& status,
                    std::string_view kind) {
  if (S_ISREG(status.st_mode)) return {};
  if (S_ISDIR(status.st_mode)) return path.string() + " is a folder, not a " + std::string(kind);
  return path.string() + " is not a regular file";
}

}  // namespace

LineInput::LineInput(std::FILE* file) : file_(file) {
  buffer_.resize(kInputBlockSize);
}

bool LineInput::Refill() {
  if (atEnd_) return false;
  // Keep the unread bytes, at the front of the buffer; a line that fills the whole buffer
  // doubles it (once: a line that needs more is refused before that).
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

bool LineInput::RefuseOverlong() {
  overlongLine_ = lineNumber_ + 1;
  atEnd_ = true;
  begin_ = end_ = 0;
  return false;
}

bool LineInput::Next(std::string_view& line) {
  if (overlongLine_ > 0) return false;
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
    // One more byte may be the "\r" of a Windows line end.
    if (pending > kMaxLineLength + 1) return RefuseOverlong();
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
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > kMaxLineLength) return RefuseOverlong();
  ++lineNumber_;
  return true;
}

OpenedFile OpenRegularFile(const std::filesystem::path& path, std::string_view kind) {
  OpenedFile opened;
  // The type is looked at before the open (opening some devices does something), and again
  // on the descriptor: the path may have been replaced in between. O_NONBLOCK keeps the open
  // of a pipe put there meanwhile from waiting for a writer.
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return opened;
  opened.refusal = Refusal(path, status, kind);
  if (!opened.refusal.empty()) return opened;
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) return opened;
  if (::fstat(descriptor, &status) != 0) {
    ::close(descriptor);
    return opened;
  }
  opened.refusal = Refusal(path, status, kind);
  std::FILE* file = nullptr;
  if (opened.refusal.empty()) {
    // A regular file reads the same either way; blocking reads are what stdio expects.
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags != -1) ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    file = ::fdopen(descriptor, "rb");
  }
  if (file == nullptr) ::close(descriptor);
  opened.file.reset(file);
  return opened;
}

std::string OverlongLineText(const std::string& path, std::uint64_t line) {
  return Format("%s line %llu is longer than 1 MiB", path.c_str(),
                static_cast<unsigned long long>(line));
}

std::optional<std::string> ReadFileHead(const std::filesystem::path& path, std::size_t maxLines,
                                        std::string_view kind, std::string& refusal) {
  OpenedFile opened = OpenRegularFile(path, kind);
  refusal = std::move(opened.refusal);
  if (!opened.file) return std::nullopt;
  LineInput input(opened.file.get());
  std::string head;
  std::string_view line;
  for (std::size_t i = 0; i < maxLines && input.Next(line); ++i) {
    head += line;
    head += '\n';
  }
  if (input.overlongLine() > 0) {
    refusal = OverlongLineText(path.string(), input.overlongLine());
    return std::nullopt;
  }
  if (input.failed()) return std::nullopt;
  return head;
}

}  // namespace tarvo::text
