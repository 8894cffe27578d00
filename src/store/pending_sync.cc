#include "store/pending_sync.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "store/io_result.h"

namespace duri {
namespace {

int SyncPath(const std::string& path) {
  // Any descriptor of the file flushes its data; a read-only one needs no write permission, so a
  // file made read-only after it was written is still flushed.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return IoResultFromErrno(errno);
  struct stat st;
  int rc = fstat(fd, &st);
  if (rc == 0) rc = S_ISDIR(st.st_mode) ? fsync(fd) : fdatasync(fd);
  const int result = rc == 0 ? kIoOk : IoResultFromErrno(errno);
  close(fd);
  return result;
}

}  // namespace

void PendingSync::Note(const std::string& host_path) {
  if (std::find(paths_.begin(), paths_.end(), host_path) == paths_.end()) paths_.push_back(host_path);
}

void PendingSync::NoteFailure(int io_result) {
  if (failure_ == 0) failure_ = io_result != 0 ? io_result : kIoAccessDenied;
}

IoResult PendingSync::Flush() {
  int result = failure_;
  std::vector<std::string> failed;
  for (const std::string& path : paths_) {
    const int r = SyncPath(path);
    if (r == kIoOk) continue;
    if (r != kIoFileNotFound && r != kIoPathNotFound) failed.push_back(path);
    if (result == 0) result = r;
  }
  paths_ = std::move(failed);
  failure_ = 0;
  return result;
}

}  // namespace duri
