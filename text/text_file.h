// Reading and writing the program's small text files.
//
// Reading tolerates "\r\n" line ends (files copied from Windows, even twice); writing uses
// "\n". Files are written whole through an AtomicFile (text/atomic_file.h), so a failed
// write never leaves a half-written file where the old one was.
#pragma once

#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

namespace tarvo::text {

// Reads one whole line of any length into `line`, without its line end: a final "\n" is
// dropped, and the "\r" (or "\r\r") left before it or ending a last line too. Returns false
// only when the stream was already at its end.
bool ReadLine(std::istream& in, std::string& line);

// Writes `contents` to `path` through an AtomicFile. Returns false (leaving any previous
// file untouched and no temporary file behind) when the file cannot be written.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents);

}  // namespace tarvo::text
