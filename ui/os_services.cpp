#include "ui/os_services.h"

#include <fnmatch.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <system_error>
#include <thread>

extern char** environ;

namespace tarvo::ui {

std::vector<std::string> FindFilesInFolder(const std::filesystem::path& folder,
                                           std::string_view pattern) {
  std::vector<std::string> found;
  std::error_code error;
  const std::string glob(pattern);
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    if (::fnmatch(glob.c_str(), it->path().filename().c_str(), 0) == 0) {
      found.push_back(it->path().string());
    }
  }
  return found;
}

std::optional<std::filesystem::path> WorkingDirectory() {
  std::error_code error;
  auto directory = std::filesystem::current_path(error);
  if (error) return std::nullopt;
  return directory;
}

std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return local;
}

ProcessOutcome RunProgram(const std::filesystem::path& program,
                          const std::filesystem::path& workingDirectory, int timeoutMs) {
  ProcessOutcome outcome;
  if (::access(program.c_str(), X_OK) != 0) return outcome;
  // The child changes into the working directory before it starts the program, so this
  // process's own current directory never changes.
  const pid_t pid = ::fork();
  if (pid < 0) return outcome;
  if (pid == 0) {
    if (::chdir(workingDirectory.c_str()) != 0) ::_exit(127);
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    ::execve(program.c_str(), argv, environ);
    ::_exit(127);
  }
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0) return outcome;
    if (Clock::now() >= deadline) {
      outcome.started = true;
      outcome.stillRunning = true;
      return outcome;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  outcome.started = true;
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

}  // namespace tarvo::ui
