#include "store/shared_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace duri {
namespace {

// The sentinel byte that stands for the whole file's sharing mode: far past any data.
constexpr off_t kSentinelOffset = static_cast<off_t>(1) << 62;
// Access denied on Linux is a permission problem that retrying rarely clears; it is retried this long
// and then returned. Sharing violations are retried without bound, as every station expects.
constexpr int64_t kAccessDeniedRetryMs = 10000;
constexpr int kFirstPauseMs = 1;
constexpr int kLongestPauseMs = 20;

int TakeSentinelLock(int fd, ShareMode mode) {
  if (mode == ShareMode::kReadOnlyDenyNone) return kIoOk;
  struct flock lock {};
  lock.l_type = mode == ShareMode::kReadWriteDenyWrite ? F_WRLCK : F_RDLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = kSentinelOffset;
  lock.l_len = 1;
  if (fcntl(fd, F_OFD_SETLK, &lock) == 0) return kIoOk;
  if (errno == EAGAIN || errno == EACCES) return kIoSharingViolation;
  // A file system without locks still lets the station work, as the original did on such shares.
  if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL) return kIoOk;
  return IoResultFromErrno(errno);
}

// Missing file (2) or missing directory (3).
int NotFoundResult(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string parent = slash == std::string::npos ? "." : path.substr(0, slash);
  struct stat st;
  if (slash != std::string::npos && stat(parent.c_str(), &st) != 0) return kIoPathNotFound;
  return kIoFileNotFound;
}

int OpenOnce(const std::string& path, ShareMode mode, int extra_flags, int& fd_out) {
  int flags = (mode == ShareMode::kReadOnlyDenyNone ? O_RDONLY : O_RDWR) | O_CLOEXEC | extra_flags;
  int fd = open(path.c_str(), flags, 0666);
  if (fd < 0) {
    int err = errno;
    if (err == ENOENT) return NotFoundResult(path);
    return IoResultFromErrno(err);
  }
  int r = TakeSentinelLock(fd, mode);
  if (r != kIoOk) {
    close(fd);
    return r;
  }
  fd_out = fd;
  return kIoOk;
}

// The retry rule shared by every open: sharing violations without bound, access denied for ten seconds,
// with a pause that doubles from 1 ms to 20 ms so a waiting station does not burn a core.
IoResult OpenWithRetry(DataDir& dir, SharedFile& file, std::string_view name, int record_size, ShareMode mode,
                       bool retry, int extra_flags = 0, int64_t denied_retry_ms = kAccessDeniedRetryMs) {
  (void)file.Release();  // what the file held before is of no more interest
  std::optional<std::string> path = dir.SpelledPath(name);
  if (!path) return kIoFileNotFound;
  {
    // The station's own spelling first: when it opens, every lookup would have found that file, and
    // the directories need not be looked at. Never created under it, though: a file spelled otherwise
    // may be there.
    int fd = -1;
    const int r = OpenOnce(*path, mode, extra_flags & ~O_CREAT, fd);
    if (r == kIoOk) {
      file.Attach(fd, record_size, *path);
      return kIoOk;
    }
    if (r == kIoFileNotFound || r == kIoPathNotFound) {
      std::optional<std::string> resolved = dir.HostPath(name);
      if (!resolved) return kIoFileNotFound;
      if (*resolved == *path && (extra_flags & O_CREAT) == 0) return r;
      path = std::move(resolved);
    }
  }
  Clock& clock = dir.clock();
  int64_t denied_since = -1;
  int pause = kFirstPauseMs;
  for (;;) {
    int fd = -1;
    int r = OpenOnce(*path, mode, extra_flags, fd);
    if (r == kIoOk) {
      file.Attach(fd, record_size, *path);
      return kIoOk;
    }
    if (!retry || (r != kIoAccessDenied && r != kIoSharingViolation)) return r;
    if (r == kIoAccessDenied) {
      if (denied_since < 0) denied_since = clock.MonotonicMs();
      if (clock.MonotonicMs() - denied_since >= denied_retry_ms) return r;
    } else {
      denied_since = -1;
    }
    clock.SleepMs(pause);
    pause = pause * 2 > kLongestPauseMs ? kLongestPauseMs : pause * 2;
  }
}

}  // namespace

SharedFile::~SharedFile() {
  if (fd_ >= 0) close(fd_);
}

SharedFile::SharedFile(SharedFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), record_size_(other.record_size_), path_(std::move(other.path_)) {}

SharedFile& SharedFile::operator=(SharedFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    record_size_ = other.record_size_;
    path_ = std::move(other.path_);
  }
  return *this;
}

void SharedFile::Attach(int fd, int record_size, std::string path) {
  if (fd_ >= 0) close(fd_);
  fd_ = fd;
  record_size_ = record_size > 0 ? record_size : 1;
  path_ = std::move(path);
}

IoResult SharedFile::Release() {
  if (fd_ < 0) return kIoOk;
  int r = close(fd_) == 0 ? kIoOk : IoResultFromErrno(errno);
  fd_ = -1;
  return r;
}

int64_t SharedFile::Size() const {
  struct stat st;
  if (fd_ < 0 || fstat(fd_, &st) != 0) return -1;
  return st.st_size;
}

int32_t SharedFile::RecordCount() const {
  int64_t size = Size();
  if (size <= 0) return 0;
  int64_t n = size / record_size_;
  return n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n);
}

IoResult SharedFile::ReadAt(int64_t offset, std::span<uint8_t> out) const {
  if (fd_ < 0) return kIoAccessDenied;
  if (offset < 0) return kIoReadPastEnd;
  size_t done = 0;
  while (done < out.size()) {
    ssize_t n = pread(fd_, out.data() + done, out.size() - done, offset + static_cast<int64_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return IoResultFromErrno(errno);
    }
    if (n == 0) return kIoReadPastEnd;
    done += static_cast<size_t>(n);
  }
  return kIoOk;
}

IoResult SharedFile::WriteAt(int64_t offset, std::span<const uint8_t> data) {
  if (fd_ < 0) return kIoAccessDenied;
  if (offset < 0) return kIoReadPastEnd;
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = pwrite(fd_, data.data() + done, data.size() - done, offset + static_cast<int64_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return IoResultFromErrno(errno);
    }
    done += static_cast<size_t>(n);
  }
  return kIoOk;
}

IoResult SharedFile::ReadRecord(int32_t n, std::span<uint8_t> out) const {
  if (n < 0) return kIoReadPastEnd;
  return ReadAt(static_cast<int64_t>(n) * record_size_, out);
}

IoResult SharedFile::WriteRecord(int32_t n, std::span<const uint8_t> data) {
  if (n < 0) return kIoReadPastEnd;
  return WriteAt(static_cast<int64_t>(n) * record_size_, data);
}

IoResult SharedFile::Truncate(int64_t size) {
  if (fd_ < 0) return kIoAccessDenied;
  return ftruncate(fd_, size) == 0 ? kIoOk : IoResultFromErrno(errno);
}

IoResult SharedFile::Sync() {
  if (fd_ < 0) return kIoAccessDenied;
  return fdatasync(fd_) == 0 ? kIoOk : IoResultFromErrno(errno);
}

void SharedFile::CheckedReadAt(int64_t offset, std::span<uint8_t> out) const {
  int r = ReadAt(offset, out);
  if (r != kIoOk) throw IoError(r, "read failed in " + path_ + " (" + IoResultText(r) + ")");
}

void SharedFile::CheckedWriteAt(int64_t offset, std::span<const uint8_t> data) {
  int r = WriteAt(offset, data);
  if (r != kIoOk) throw IoError(r, "write failed in " + path_ + " (" + IoResultText(r) + ")");
}

void SharedFile::CheckedReadRecord(int32_t n, std::span<uint8_t> out) const {
  if (n < 0) throw IoError(kIoReadPastEnd, "record " + std::to_string(n) + " read in " + path_);
  CheckedReadAt(static_cast<int64_t>(n) * record_size_, out);
}

void SharedFile::CheckedWriteRecord(int32_t n, std::span<const uint8_t> data) {
  if (n < 0) throw IoError(kIoReadPastEnd, "record " + std::to_string(n) + " written in " + path_);
  CheckedWriteAt(static_cast<int64_t>(n) * record_size_, data);
}

IoResult OpenShared(DataDir& dir, SharedFile& file, std::string_view name, int record_size) {
  return OpenWithRetry(dir, file, name, record_size, ShareMode::kReadOnlyDenyNone, true);
}

IoResult OpenForUpdate(DataDir& dir, SharedFile& file, std::string_view name, int record_size, bool retry) {
  return OpenWithRetry(dir, file, name, record_size, ShareMode::kReadWriteDenyWrite, retry);
}

IoResult OpenForUpdateDeniedWithin(DataDir& dir, SharedFile& file, std::string_view name, int record_size,
                                   int64_t denied_retry_ms, bool create) {
  return OpenWithRetry(dir, file, name, record_size, ShareMode::kReadWriteDenyWrite, true, create ? O_CREAT : 0,
                       denied_retry_ms);
}

IoResult OpenSharedHandle(DataDir& dir, SharedFile& file, std::string_view name) {
  if (!FileExists(dir, name)) return kIoFileNotFound;
  return OpenWithRetry(dir, file, name, 1, ShareMode::kReadWriteDenyNone, true);
}

IoResult CreateShared(DataDir& dir, SharedFile& file, std::string_view name, int record_size) {
  // Take the deny-write lock before emptying, so a file another station holds is never cut under it.
  int r = OpenWithRetry(dir, file, name, record_size, ShareMode::kReadWriteDenyWrite, true, O_CREAT);
  if (r == kIoOk) r = file.Truncate(0);
  dir.last_io_result = r;
  return r;
}

IoResult OpenOrCreateForUpdate(DataDir& dir, SharedFile& file, std::string_view name, int record_size) {
  int r = OpenForUpdate(dir, file, name, record_size, true);
  if (r == kIoFileNotFound) {
    r = OpenWithRetry(dir, file, name, record_size, ShareMode::kReadWriteDenyWrite, true, O_CREAT);
    dir.last_io_result = r;
  }
  return r;
}

void CloseShared(DataDir& dir, SharedFile& file) { dir.last_io_result = file.Release(); }

bool FileExists(DataDir& dir, std::string_view name) {
  std::optional<std::string> path = dir.HostPath(name);
  struct stat st;
  return path && stat(path->c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(DataDir& dir, std::string_view name) {
  std::optional<std::string> path = dir.HostPath(name);
  struct stat st;
  return path && stat(path->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

IoResult CreateDirectory(DataDir& dir, std::string_view name) {
  std::optional<std::string> path = dir.HostPath(name);
  if (!path) return kIoPathNotFound;
  if (mkdir(path->c_str(), 0777) == 0 || errno == EEXIST) return kIoOk;
  return errno == ENOENT ? kIoPathNotFound : IoResultFromErrno(errno);
}

IoResult DeleteSharedFile(DataDir& dir, std::string_view name) {
  std::optional<std::string> path = dir.HostPath(name);
  if (!path) return kIoFileNotFound;
  return unlink(path->c_str()) == 0 ? kIoOk : IoResultFromErrno(errno);
}

IoResult AppendTextLine(DataDir& dir, std::string_view name, std::string_view line) {
  // The station's spelling first, as for the shared files; created only where the lookup says.
  std::optional<std::string> path = dir.SpelledPath(name);
  int fd = path ? open(path->c_str(), O_WRONLY | O_APPEND | O_CLOEXEC) : -1;
  if (path && fd < 0 && errno == ENOENT) {
    path = dir.HostPath(name);
    if (path) fd = open(path->c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  }
  int r = kIoFileNotFound;
  if (path) {
    if (fd < 0) {
      r = errno == ENOENT ? NotFoundResult(*path) : IoResultFromErrno(errno);
    } else {
      std::string text(line);
      text += "\r\n";
      // One write with O_APPEND keeps lines of several stations whole.
      ssize_t n = write(fd, text.data(), text.size());
      r = n == static_cast<ssize_t>(text.size()) ? kIoOk : IoResultFromErrno(n < 0 ? errno : ENOSPC);
      close(fd);
    }
  }
  dir.last_io_result = r;
  return r;
}

}  // namespace duri
