#include "tests/support/support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "ui/desktop.h"

namespace tarvo::testing {

std::optional<std::filesystem::path> SharedData() {
  const char* value = std::getenv("TARVO_SHARED_DATA");
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::filesystem::path(value);
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tarvo-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::filesystem::path& path, std::string_view contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

CommandResult RunCommand(const std::string& command, std::string_view input) {
  TempDir scratch;
  const auto inputPath = scratch / "stdin";
  WriteFile(inputPath, input);
  const std::string full = command + " < '" + inputPath.string() + "'";
  CommandResult result;
  std::FILE* pipe = ::popen(full.c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 65536> chunk;
  size_t count;
  while ((count = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) {
    result.output.append(chunk.data(), count);
  }
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

MessageParts Split(std::string_view text) {
  const std::size_t at = text.find(ui::kReasonBreak);
  if (at == std::string_view::npos) return {std::string(text), ""};
  return {std::string(text.substr(0, at)), std::string(text.substr(at + ui::kReasonBreak.size()))};
}

bool HaveProgram(const std::string& program) {
  return RunCommand("command -v " + program + " >/dev/null 2>&1").status == 0;
}

}  // namespace tarvo::testing
