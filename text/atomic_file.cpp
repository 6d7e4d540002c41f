#include "text/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <system_error>

namespace tarvo::text {
namespace {

namespace fs = std::filesystem;

// Links followed to the file they lead to, as the system follows them (its limit is 40).
constexpr int kMaxLinkHops = 40;
// The random part of a temporary name: 36^12, about 2^62 names.
constexpr int kRandomCharacters = 12;
// Names tried before giving up, should each be taken already.
constexpr int kNameAttempts = 16;

// The open temporary files, for the interrupt handler. A slot is free (0), being filled
// (1) or names a temporary file (2); only the handler reads the paths, and only in state 2.
constexpr int kSlotCount = 8;
constexpr std::size_t kPathCapacity = 4096;
struct PendingFile {
  std::atomic<int> state{0};
  char temporary[kPathCapacity];
  char destination[kPathCapacity];
};
static_assert(std::atomic<int>::is_always_lock_free, "read from a signal handler");
PendingFile pendingFiles[kSlotCount];
const char* interruptedProgram = "";

bool CopyPath(const fs::path& path, char (&into)[kPathCapacity]) {
  const std::string& text = path.native();
  if (text.size() >= kPathCapacity) return false;
  std::memcpy(into, text.c_str(), text.size() + 1);
  return true;
}

// A slot naming the temporary file, or -1 when none is free (the file is then not removed
// on an interrupt, but still by every other way out).
int Register(const fs::path& temporary, const fs::path& destination) {
  for (int i = 0; i < kSlotCount; ++i) {
    int expected = 0;
    if (!pendingFiles[i].state.compare_exchange_strong(expected, 1)) continue;
    if (CopyPath(temporary, pendingFiles[i].temporary) &&
        CopyPath(destination, pendingFiles[i].destination)) {
      pendingFiles[i].state.store(2);
      return i;
    }
    pendingFiles[i].state.store(0);
    return -1;
  }
  return -1;
}

void Unregister(int slot) {
  if (slot >= 0) pendingFiles[slot].state.store(0);
}

void WriteError(const char* text) {
  const std::size_t size = std::strlen(text);
  for (std::size_t done = 0; done < size;) {
    const ssize_t written = ::write(STDERR_FILENO, text + done, size - done);
    if (written <= 0) return;
    done += static_cast<std::size_t>(written);
  }
}

// Only async-signal-safe calls: unlink, write, raise.
void RemovePendingFiles(int signal) {
  for (PendingFile& file : pendingFiles) {
    if (file.state.load() != 2) continue;
    ::unlink(file.temporary);
    WriteError(interruptedProgram);
    WriteError(": interrupted: nothing was written to ");
    WriteError(file.destination);
    WriteError("\n");
  }
  // The handler was reset to the default on entry: the signal, blocked until this returns,
  // then ends the process as it would have without the handler.
  ::raise(signal);
}

// The file that replacing `target` must replace: the target, or the file its links lead to
// (a relative link is read from the link's folder). Nothing for a loop of links.
std::optional<fs::path> Destination(const fs::path& target) {
  fs::path path = target;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::error_code error;
    const fs::path link = fs::read_symlink(path, error);
    if (error) return std::nullopt;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  return std::nullopt;
}

std::string RandomCharacters() {
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;  // the system's unpredictable source
  std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kAlphabet) - 2);
  std::string characters;
  for (int i = 0; i < kRandomCharacters; ++i) characters += kAlphabet[pick(device)];
  return characters;
}

void SyncFolder(const fs::path& folder) {
  // Some file systems cannot sync a folder; the rename is made all the same.
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

}  // namespace

std::unique_ptr<AtomicFile> AtomicFile::Create(const fs::path& target) {
  const std::optional<fs::path> destination = Destination(target);
  if (!destination || destination->filename().empty()) return nullptr;
  struct stat status {};
  const bool exists = ::stat(destination->c_str(), &status) == 0;
  if (exists && !S_ISREG(status.st_mode)) return nullptr;

  std::unique_ptr<AtomicFile> file(new AtomicFile);
  file->destination_ = *destination;
  const fs::path folder = destination->has_parent_path() ? destination->parent_path() : ".";
  // The file stays private while it is written when it replaces one (Commit gives it that
  // file's bits); a new file is created as any program creates one, under the umask.
  const mode_t mode = exists ? 0600 : 0666;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    file->temporary_ = folder / (destination->filename().native() + ".tmp-" + RandomCharacters());
    file->descriptor_ = ::open(file->temporary_.c_str(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (file->descriptor_ >= 0 || errno != EEXIST) break;
  }
  if (file->descriptor_ < 0) return nullptr;
  file->slot_ = Register(file->temporary_, file->destination_);
  return file;
}

AtomicFile::~AtomicFile() {
  Discard();
}

bool AtomicFile::Write(std::string_view bytes) {
  while (!failed_ && !bytes.empty()) {
    const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      failed_ = true;
      break;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return !failed_;
}

bool AtomicFile::Commit() {
  if (descriptor_ < 0) return false;
  bool ok = !failed_ && ::fsync(descriptor_) == 0;
  struct stat replaced {};
  if (ok && ::stat(destination_.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode)) {
    ok = ::fchmod(descriptor_, replaced.st_mode & 07777) == 0;
  }
  ok = ::close(descriptor_) == 0 && ok;
  descriptor_ = -1;
  if (ok && ::rename(temporary_.c_str(), destination_.c_str()) == 0) {
    Unregister(slot_);
    slot_ = -1;
    temporary_.clear();
    SyncFolder(destination_.has_parent_path() ? destination_.parent_path() : ".");
    return true;
  }
  Discard();
  return false;
}

void AtomicFile::Discard() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  Unregister(slot_);
  slot_ = -1;
}

void InstallInterruptCleanup(const char* program) {
  interruptedProgram = program;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction action {};
    // A signal the process was started to ignore (a background job's Ctrl+C) stays ignored.
    if (::sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) continue;
    action = {};
    action.sa_handler = RemovePendingFiles;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace tarvo::text
