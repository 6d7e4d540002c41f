#include "tests/support/support.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
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

ChildResult RunInChild(const std::function<std::string()>& body) {
  ChildResult result;
  int channel[2];
  if (::pipe(channel) != 0) return result;
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(channel[0]);
    ::dup2(channel[1], STDERR_FILENO);
    const std::string text = body();
    for (std::size_t done = 0; done < text.size();) {
      const ssize_t written = ::write(channel[1], text.data() + done, text.size() - done);
      if (written <= 0) break;
      done += static_cast<std::size_t>(written);
    }
    ::_exit(0);
  }
  ::close(channel[1]);
  std::array<char, 4096> chunk;
  ssize_t count;
  while ((count = ::read(channel[0], chunk.data(), chunk.size())) > 0) {
    result.text.append(chunk.data(), static_cast<std::size_t>(count));
  }
  ::close(channel[0]);
  if (pid > 0) ::waitpid(pid, &result.waitStatus, 0);
  return result;
}

namespace {

bool WriteText(const char* path, const std::string& text) {
  const int descriptor = ::open(path, O_WRONLY);
  if (descriptor < 0) return false;
  const bool written =
      ::write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ::close(descriptor);
  return written;
}

// A mount namespace of this process's own, as root or as the user mapped to root in a user
// namespace, with nothing it mounts seen outside.
bool OwnMountNamespace() {
  const uid_t uid = ::getuid();
  const gid_t gid = ::getgid();
  if (::unshare(CLONE_NEWNS) != 0) {
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    WriteText("/proc/self/setgroups", "deny");
    if (!WriteText("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !WriteText("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
      return false;
    }
  }
  return ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

}  // namespace

std::string OnFullDisk(const std::filesystem::path& folder, std::size_t bytes,
                       const std::function<std::string()>& body) {
  return RunInChild([&] {
           const std::string size = "size=" + std::to_string(bytes);
           if (!OwnMountNamespace() ||
               ::mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()) != 0) {
             const rlimit limit{bytes, bytes};
             ::setrlimit(RLIMIT_FSIZE, &limit);
             std::signal(SIGXFSZ, SIG_IGN);
           }
           return body();
         })
      .text;
}

}  // namespace tarvo::testing
