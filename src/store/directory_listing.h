// Case-insensitive lookup of a name among a directory's entries, the way the shared paths resolve on
// this host. Scanning a large directory for every path costs more than the write it leads to, so each
// directory's entries are kept after a scan and used again while the directory is the same: same
// device and inode, same size and same modification time, and that time old enough that no change can
// hide in the same clock tick (see FileStamp).
#ifndef DURIDUVAZE_STORE_DIRECTORY_LISTING_H_
#define DURIDUVAZE_STORE_DIRECTORY_LISTING_H_

#include <cstdint>
#include <mutex>
#include <string>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "store/file_cache.h"

namespace duri {

class DirectoryListings {
 public:
  // At most this many directories are kept; beyond it the oldest keep is dropped whole.
  static constexpr size_t kMaxDirectories = 64;

  // The entry of dir whose name equals name without regard to case, the first one in the directory's
  // order; name itself when none does (or dir cannot be read).
  std::string Match(const std::string& dir, const std::string& name);

  // The same answer from the kept listing alone, while dir is unchanged since a settled scan (one stat
  // of dir, no scan): the name itself when dir holds it in that spelling, else the first entry of that
  // name without regard to case, else the name itself (absent). nullopt when no such listing is kept.
  std::optional<std::string> MatchKept(const std::string& dir, const std::string& name);

  // Scans done since construction (for tests and benchmarks).
  int64_t scans() const;

 private:
  struct Listing {
    FileStamp stamp;
    bool settled = false;  // the modification time was older than the scan by kSettleNs
    // Lower-case name to the first entry of that name.
    std::unordered_map<std::string, std::string> entries;
    // Every name as spelled in the directory.
    std::unordered_set<std::string> names;
  };

  static bool Scan(const std::string& dir, Listing& listing);

  mutable std::mutex mu_;
  std::unordered_map<std::string, Listing> listings_;
  int64_t scans_ = 0;
};

}  // namespace duri

#endif  // DURIDUVAZE_STORE_DIRECTORY_LISTING_H_
