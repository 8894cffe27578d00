#include "support/immutable_file.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace duri::testing {
namespace {

bool ChangeFlag(const std::string& path, bool on, std::string* error) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *error = path + ": " + std::strerror(errno);
    return false;
  }
  int flags = 0;
  bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  if (!ok) *error = "immutable attribute on " + path + ": " + std::strerror(errno);
  close(fd);
  return ok;
}

}  // namespace

bool ImmutableFiles::Set(const std::string& path) {
  if (!ChangeFlag(path, true, &error_)) return false;
  paths_.push_back(path);
  return true;
}

void ImmutableFiles::ClearAll() {
  std::string ignored;
  for (const std::string& path : paths_) ChangeFlag(path, false, &ignored);
  paths_.clear();
}

}  // namespace duri::testing
