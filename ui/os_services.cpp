#include "ui/os_services.h"

#include <fnmatch.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
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

namespace {

// How long a program told to stop (SIGTERM) may take to remove its temporary files.
constexpr int kStopGraceMilliseconds = 500;

// Waits until the process ends or `deadline` passes; true when it ended. The ended process
// is not reaped (WNOWAIT), so its id, and its group's, stay reserved until the caller reaps.
bool AwaitEnd(pid_t pid, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
      return true;  // no such child: nothing to wait for
    }
    if (info.si_pid == pid) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace

ProcessOutcome RunProgram(const std::filesystem::path& program,
                          const std::filesystem::path& workingDirectory, int timeoutMs) {
  ProcessOutcome outcome;
  if (::access(program.c_str(), X_OK) != 0) return outcome;
  // The child changes into the working directory before it starts the program, so this
  // process's own current directory never changes. It leads a process group of its own, so
  // that it can be ended with everything it started.
  const pid_t pid = ::fork();
  if (pid < 0) return outcome;
  if (pid == 0) {
    ::setpgid(0, 0);
    if (::chdir(workingDirectory.c_str()) != 0) ::_exit(127);
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    ::execve(program.c_str(), argv, environ);
    ::_exit(127);
  }
  ::setpgid(pid, pid);  // also here: the group exists whichever process runs first
  outcome.started = true;
  using Clock = std::chrono::steady_clock;
  if (!AwaitEnd(pid, Clock::now() + std::chrono::milliseconds(timeoutMs))) {
    // A program that outlives its wait would write its answer when no one expects it, where
    // the next exchange reads it as its own: it is told to stop, then stopped.
    outcome.stillRunning = true;
    ::kill(-pid, SIGTERM);
    AwaitEnd(pid, Clock::now() + std::chrono::milliseconds(kStopGraceMilliseconds));
    ::kill(-pid, SIGKILL);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!outcome.stillRunning) outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

}  // namespace tarvo::ui
