#include "text/text_file.h"

#include "text/atomic_file.h"

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
  const std::unique_ptr<AtomicFile> file = AtomicFile::Create(path);
  return file && file->Write(contents) && file->Commit();
}

}  // namespace tarvo::text
