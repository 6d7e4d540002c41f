// Reading a file or stream line by line, in large blocks and in bounded memory.
//
// LineInput hands out the lines of a file or stream as views into its buffer: one block read
// (1 MiB) serves thousands of records, and no line is copied. Line ends are "\n" or "\r\n"
// (files copied from Windows); a last line without one is a line. A line longer than
// kMaxLineLength is no line of any file the program reads (a coordinate record is a few
// dozen characters, a settings value a file name at most): the input stops there and says
// which line it was, so a file without line ends (a device, a damaged file) can never take
// more than two blocks of memory.
//
// OpenRegularFile opens a file for reading only when it is a regular file: a folder, a pipe
// or a device is refused before anything could block on it (a pipe's open waits for a
// writer, its read for data) and with a message naming it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tarvo::text {

// The longest line read: 1 MiB, line end not counted.
inline constexpr std::size_t kMaxLineLength = std::size_t{1} << 20;

class LineInput {
 public:
  // Reads `file`, which the caller opened and closes.
  explicit LineInput(std::FILE* file);

  // The next line without its line end, valid until the next call; false at the end of the
  // input, on a read error (failed()) and at a line longer than kMaxLineLength
  // (overlongLine()).
  bool Next(std::string_view& line);

  // Bytes and lines consumed so far.
  std::uint64_t offset() const { return offset_; }
  std::uint64_t lineNumber() const { return lineNumber_; }
  bool failed() const { return failed_; }
  // The number of the line that was too long, or 0.
  std::uint64_t overlongLine() const { return overlongLine_; }

 private:
  // Reads more of the file behind what is left in the buffer; false when nothing came.
  bool Refill();
  bool RefuseOverlong();

  std::FILE* file_;
  std::string buffer_;
  std::size_t begin_ = 0;  // the unread bytes are buffer_[begin_, end_)
  std::size_t end_ = 0;
  bool atEnd_ = false;
  bool failed_ = false;
  std::uint64_t offset_ = 0;
  std::uint64_t lineNumber_ = 0;
  std::uint64_t overlongLine_ = 0;
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// A file opened for reading, or why it was not.
struct OpenedFile {
  UniqueFile file;  // nothing when not opened
  // Empty when the file is missing or cannot be read; for a file that exists but is no
  // regular file: "PATH is a folder, not a KIND" or "PATH is not a regular file".
  std::string refusal;
};

// Opens the regular file at `path` (links followed) for reading in binary mode. `kind`
// names what the caller reads ("grid file"), for the refusal of a folder.
OpenedFile OpenRegularFile(const std::filesystem::path& path, std::string_view kind);

// "PATH line N is longer than 1 MiB".
std::string OverlongLineText(const std::string& path, std::uint64_t line);

// The first `maxLines` lines of the regular file at `path`, as LineInput reads them, each
// followed by "\n". Nothing when the file is missing or unreadable (`refusal` empty)
// or refused (`refusal` says why: not a regular file, a line longer than kMaxLineLength).
std::optional<std::string> ReadFileHead(const std::filesystem::path& path, std::size_t maxLines,
                                        std::string_view kind, std::string& refusal);

}  // namespace tarvo::text
