// Grids read once and kept, for as long as their files stay as they were read.
//
// A grid is looked up by its path and kept with the file's size and modification time (and
// its change time and identity, which a replacement that restores the old modification time
// still changes). Every lookup asks the file system for these again; when any differs, or
// the file is gone, the grid is read afresh. So the results are exactly those of reading
// the file on every call, at the cost of one status query per lookup.
//
// Grids are shared: the cache and every caller that got one hold it, and a caller's grid
// stays valid (and unchanged) even when the cache reads a newer version or drops it.
// Failures are not kept: a file that could not be used is tried again on the next lookup.
// One thread only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ntv2/grid_file.h"

namespace tarvo::ntv2 {

class GridCache {
 public:
  // The most grids kept at once; the least recently used goes first.
  static constexpr std::size_t kCapacity = 4;

  // The grid of the file at `path`, read now when it is not kept or its file changed.
  // nullptr (with the reason in `status`) when the file cannot be used.
  std::shared_ptr<const GridFile> Get(const std::filesystem::path& path, GridOpenStatus& status);

  // How many times a file was read (a test sees a lookup served from the cache).
  int fileReads() const { return fileReads_; }
  void Clear() { entries_.clear(); }

 private:
  // What the file system says about a file; two stamps that differ mean a changed file.
  struct FileStamp {
    std::uintmax_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    std::uintmax_t device = 0;
    std::uintmax_t inode = 0;
    bool operator==(const FileStamp&) const = default;
  };
  static bool Stamp(const std::filesystem::path& path, FileStamp& stamp);

  struct Entry {
    std::filesystem::path path;
    FileStamp stamp;
    std::shared_ptr<const GridFile> grid;
  };
  std::vector<Entry> entries_;  // most recently used first
  int fileReads_ = 0;
};

}  // namespace tarvo::ntv2
