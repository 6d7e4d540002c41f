// Helpers shared by the test programs: temporary folders, the shared test data, and running
// command-line tools such as PROJ's as a live oracle.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarvo::testing {

// The folder named by TARVO_SHARED_DATA (real NTv2 grids, PROJ-made tables), if set.
std::optional<std::filesystem::path> SharedData();

// Skips the current test, with a message, when TARVO_SHARED_DATA is not set; otherwise
// declares `var` as the shared data folder.
#define TARVO_REQUIRE_SHARED_DATA(var)                                          \
  const auto var##_optional = ::tarvo::testing::SharedData();                   \
  if (!var##_optional) GTEST_SKIP() << "TARVO_SHARED_DATA is not set: skipped"; \
  const std::filesystem::path var = *var##_optional

// A fresh empty folder, removed with everything in it at the end of its scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Writes `contents` to `path` as bytes.
void WriteFile(const std::filesystem::path& path, std::string_view contents);
// The whole file as bytes; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

// A message box's text split into the message's own words and the reason under them
// (ui::WithReason); the reason is empty when there is none.
struct MessageParts {
  std::string message;
  std::string reason;
};
MessageParts Split(std::string_view text);

struct CommandResult {
  int status = -1;     // the shell's exit status
  std::string output;  // everything written to standard output
};

// Runs `command` through the shell with `input` as its standard input and collects its
// standard output.
CommandResult RunCommand(const std::string& command, std::string_view input = {});

// True when `program` is found on the PATH.
bool HaveProgram(const std::string& program);

struct ChildResult {
  int waitStatus = -1;  // as waitpid reports it
  std::string text;     // what the body returned, after what it wrote to standard error
};

// Runs `body` in a forked child process, so that it may be killed by a signal or change
// process-wide settings without touching the test.
ChildResult RunInChild(const std::function<std::string()>& body);

// Runs `body` in a child process on a disk that fills up after `bytes`: a tmpfs of that
// size mounted on `folder` in a mount namespace of the child's own (which hides what the
// folder held: the body writes what it needs there), or, where the child may not mount one,
// the limit of file sizes (RLIMIT_FSIZE, with SIGXFSZ ignored: a write beyond it fails as on
// a full disk). Returns the text `body` returns, for the test to check.
std::string OnFullDisk(const std::filesystem::path& folder, std::size_t bytes,
                       const std::function<std::string()>& body);

}  // namespace tarvo::testing
