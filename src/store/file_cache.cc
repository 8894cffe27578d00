#include "store/file_cache.h"

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace duri {
namespace {

FileStamp StampOf(const struct stat& st) {
  return FileStamp{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                   static_cast<int64_t>(st.st_size),
                   static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

}  // namespace

std::optional<FileStamp> StampOfDescriptor(int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0) return std::nullopt;
  return StampOf(st);
}

std::optional<FileStamp> StampOfPath(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  return StampOf(st);
}

bool IsSettled(const FileStamp& stamp) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return stamp.mtime_ns + kSettleNs <= static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

std::shared_ptr<const void> FileCache::Find(const std::string& key, const FileStamp& stamp) const {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = entries_.find(key);
  if (it == entries_.end() || !(it->second.stamp == stamp)) return nullptr;
  return it->second.value;
}

void FileCache::Keep(const std::string& key, const FileStamp& stamp, std::shared_ptr<const void> value) {
  // A file changed within the settling time may change again in the same tick: it is read every time
  // until it has been still long enough.
  std::lock_guard<std::mutex> lock(mu_);
  if (!IsSettled(stamp)) {
    entries_.erase(key);
    return;
  }
  if (entries_.size() >= kMaxFiles && entries_.find(key) == entries_.end()) entries_.clear();
  entries_[key] = Entry{stamp, std::move(value)};
}

bool FileCache::ReadWhole(int fd, int64_t size, std::vector<uint8_t>& bytes) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    ++reads_;
  }
  bytes.resize(static_cast<size_t>(size));
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

int64_t FileCache::reads() const {
  std::lock_guard<std::mutex> lock(mu_);
  return reads_;
}

}  // namespace duri
