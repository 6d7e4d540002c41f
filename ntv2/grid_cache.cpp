#include "ntv2/grid_cache.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace tarvo::ntv2 {

bool GridCache::Stamp(const std::filesystem::path& path, FileStamp& stamp) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return false;
  stamp.size = static_cast<std::uintmax_t>(status.st_size);
  stamp.modifiedNs =
      static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
  stamp.changedNs =
      static_cast<std::int64_t>(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
  stamp.device = static_cast<std::uintmax_t>(status.st_dev);
  stamp.inode = static_cast<std::uintmax_t>(status.st_ino);
  return true;
}

std::shared_ptr<const GridFile> GridCache::Get(const std::filesystem::path& path,
                                               GridOpenStatus& status) {
  const auto kept = std::find_if(entries_.begin(), entries_.end(),
                                 [&path](const Entry& entry) { return entry.path == path; });
  FileStamp before;
  if (!Stamp(path, before)) {
    const std::error_code why(errno, std::generic_category());
    if (kept != entries_.end()) entries_.erase(kept);
    status = {};
    status.error = GridOpenError::kCannotOpen;
    status.detail = why.message();
    return nullptr;
  }
  if (kept != entries_.end() && kept->stamp == before) {
    std::rotate(entries_.begin(), kept, kept + 1);
    status = {};
    status.detection = entries_.front().grid->detection();
    return entries_.front().grid;
  }
  if (kept != entries_.end()) entries_.erase(kept);

  ++fileReads_;
  std::shared_ptr<const GridFile> grid = GridFile::Open(path, status);
  if (!grid) return nullptr;
  // A file that changed while it was read is used this once but not kept: its stamp may
  // not describe what was read.
  FileStamp after;
  if (Stamp(path, after) && after == before) {
    entries_.insert(entries_.begin(), Entry{path, before, grid});
    if (entries_.size() > kCapacity) entries_.pop_back();
  }
  return grid;
}

}  // namespace tarvo::ntv2
