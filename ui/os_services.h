// The operating system's side of the desktop services that need no window system: file
// search, the current directory, the local clock and external processes. Every Desktop
// implementation that works on the real machine uses these.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/desktop.h"

namespace tarvo::ui {

// The regular files in `folder` whose names match the shell pattern `pattern`.
std::vector<std::string> FindFilesInFolder(const std::filesystem::path& folder,
                                           std::string_view pattern);

// The current working directory, or nothing when it cannot be read (it was removed).
std::optional<std::filesystem::path> WorkingDirectory();

// The local date and time now.
std::tm LocalTimeNow();

// Starts `program` with no arguments in `workingDirectory` and waits at most `timeoutMs`
// milliseconds for it to end. A program still running then is ended, with every process it
// started (its process group): SIGTERM, and SIGKILL half a second later.
ProcessOutcome RunProgram(const std::filesystem::path& program,
                          const std::filesystem::path& workingDirectory, int timeoutMs);

}  // namespace tarvo::ui
