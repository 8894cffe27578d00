// What the station made of a shared file's bytes, kept between reads while the file is unchanged: the
// same device and inode, the same size and the same modification time, and that time older than the
// read by kSettleNs, so that no write can hide in the same clock tick. Any other station's or the
// operators' application's write changes the stamp, and the file is read again.
#ifndef DURIDUVAZE_STORE_FILE_CACHE_H_
#define DURIDUVAZE_STORE_FILE_CACHE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace duri {

// A change made this close to a read (in nanoseconds) may share the clock tick of the read.
inline constexpr int64_t kSettleNs = 2'000'000'000;

struct FileStamp {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;
  int64_t mtime_ns = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of an open descriptor, or of a path; nullopt when it cannot be told.
std::optional<FileStamp> StampOfDescriptor(int fd);
std::optional<FileStamp> StampOfPath(const std::string& path);
// Whether the stamp's modification time lies kSettleNs or more before now.
bool IsSettled(const FileStamp& stamp);

class FileCache {
 public:
  // At most this many files are kept; beyond it every keep is dropped.
  static constexpr size_t kMaxFiles = 32;

  // What build made of the bytes of the open file fd the last time under this key, when its stamp is the
  // same now and was settled then; otherwise the whole file is read and build runs again. nullptr when
  // the file cannot be stamped or read.
  template <class T>
  std::shared_ptr<const T> Get(const std::string& key, int fd,
                               const std::function<T(std::span<const uint8_t>)>& build) {
    std::optional<FileStamp> stamp = StampOfDescriptor(fd);
    if (!stamp) return nullptr;
    return Get<T>(key, fd, *stamp, build);
  }

  // The same with the open file's stamp as the caller just took it.
  template <class T>
  std::shared_ptr<const T> Get(const std::string& key, int fd, const FileStamp& stamp,
                               const std::function<T(std::span<const uint8_t>)>& build) {
    if (auto kept = Find(key, stamp)) return std::static_pointer_cast<const T>(kept);
    std::vector<uint8_t> bytes;
    if (!ReadWhole(fd, stamp.size, bytes)) return nullptr;
    auto made = std::make_shared<const T>(build(bytes));
    Keep(key, stamp, made);
    return made;
  }

  // Reads done since construction (for tests and benchmarks).
  int64_t reads() const;

 private:
  struct Entry {
    FileStamp stamp;
    std::shared_ptr<const void> value;
  };

  std::shared_ptr<const void> Find(const std::string& key, const FileStamp& stamp) const;
  void Keep(const std::string& key, const FileStamp& stamp, std::shared_ptr<const void> value);
  bool ReadWhole(int fd, int64_t size, std::vector<uint8_t>& bytes);

  mutable std::mutex mu_;
  std::unordered_map<std::string, Entry> entries_;
  int64_t reads_ = 0;
};

}  // namespace duri

#endif  // DURIDUVAZE_STORE_FILE_CACHE_H_
