#include "store/lock_probe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace duri {
namespace {

// A write lock on the probe's first byte through fd: 0 or the errno of the refusal.
int WriteLock(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 1;
  return fcntl(fd, F_OFD_SETLK, &lock) == 0 ? 0 : errno;
}

}  // namespace

std::string ProbeByteRangeLocks(const std::string& directory) {
  char host[64] = {};
  gethostname(host, sizeof host - 1);
  // Named after the computer and the process, so that stations sharing the directory never meet here.
  const std::string path = directory + "/.lockprobe-" + host + "-" + std::to_string(getpid());
  const int first = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (first < 0) return "cannot create " + path + ": " + std::strerror(errno);
  std::string problem;
  const int second = open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (second < 0) {
    problem = "cannot open " + path + " a second time: " + std::strerror(errno);
  } else {
    const int err = WriteLock(first);
    const int other = err == 0 ? WriteLock(second) : 0;
    if (err != 0) {
      problem = "the file system refuses byte-range locks: " + std::string(std::strerror(err));
    } else if (other == 0) {
      problem = "the file system takes byte-range locks but does not enforce them between open files";
    } else if (other != EAGAIN && other != EACCES) {
      problem = "the file system cannot test byte-range locks: " + std::string(std::strerror(other));
    }
    close(second);
  }
  close(first);
  unlink(path.c_str());
  return problem;
}

}  // namespace duri
