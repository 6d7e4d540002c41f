#include "text/text_file.h"

#include <unistd.h>

#include <cstdio>
#include <system_error>

namespace tarvo::text {

bool ReadLine(std::istream& in, std::string& line) {
  line.clear();
  if (!std::getline(in, line)) {
    return !line.empty();
  }
  // A Windows line end that went through a second conversion is "\r\r\n": every carriage
  // return before the line feed belongs to the line end. So no text read ends in '\r', and
  // whatever the program writes back reads back the same.
  while (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents) {
  std::filesystem::path temporary = path;
  temporary += ".tmp" + std::to_string(::getpid());
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
  const bool flushed = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
  const bool closed = std::fclose(file) == 0;
  std::error_code error;
  if (written && flushed && closed) {
    std::filesystem::rename(temporary, path, error);
    if (!error) return true;
  }
  std::filesystem::remove(temporary, error);
  return false;
}

}  // namespace tarvo::text
