// The one way the program writes a file: whole or not at all.
//
// An AtomicFile is a temporary file beside its target, created exclusively under a name no
// one can predict (O_CREAT | O_EXCL | O_NOFOLLOW, twelve random characters), so a link or
// file planted under a likely name is never written through. The writer fills it, then
// Commit syncs it to the disk, gives it the permission bits of the file it replaces (a new
// file gets the usual mode under the umask), renames it over the target in one step and
// syncs the folder, so the rename survives a power cut. Until that rename the target is
// untouched: readers see the old file or the new one, never a part. A target that is a
// symbolic link is not replaced by a file: the file the link points to is, and the link
// stays. Whatever fails, and whenever the writer is dropped before Commit, the temporary
// file is removed.
//
// A process ended by SIGINT, SIGTERM or SIGHUP (Ctrl+C, a shutdown, a closed terminal) runs
// no destructor. InstallInterruptCleanup sets handlers that remove the temporary files still
// open, say so on standard error, and end the process by the same signal as before. The
// open temporary files are the one process-wide record here, because a signal handler
// cannot be handed anything: a fixed table, written only by AtomicFile, read only by the
// handler.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

namespace tarvo::text {

class AtomicFile {
 public:
  // Creates the temporary file that will replace `target` (or the file a link there points
  // to). Nothing when it cannot be created: the folder is missing or not writable, or the
  // target is a folder, a device or a pipe, which are not replaced by files.
  static std::unique_ptr<AtomicFile> Create(const std::filesystem::path& target);

  // Removes the temporary file unless it was committed.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Appends `bytes`; false when they could not all be written (a full disk), and for every
  // call after that.
  bool Write(std::string_view bytes);

  // Makes the written bytes the target's contents. False (the temporary file removed, the
  // target untouched) when any write, the sync or the rename failed.
  bool Commit();

  // Removes the temporary file; the target stays as it was.
  void Discard();

  // The file that Commit replaces: the target, or the file its links lead to.
  const std::filesystem::path& destination() const { return destination_; }
  const std::filesystem::path& temporaryPath() const { return temporary_; }

 private:
  AtomicFile() = default;

  std::filesystem::path destination_;
  std::filesystem::path temporary_;
  int descriptor_ = -1;
  int slot_ = -1;  // in the table of temporary files removed on an interrupt
  bool failed_ = false;
};

// Installs the handlers of SIGINT, SIGTERM and SIGHUP that remove every open AtomicFile's
// temporary file and write "PROGRAM: interrupted: nothing was written to TARGET" for each;
// the process then ends by the signal. SIGXFSZ is ignored, so a write beyond the file size
// limit fails like one on a full disk instead of killing the process. `program` must live
// as long as the process. Called once, by main().
void InstallInterruptCleanup(const char* program);

}  // namespace tarvo::text
