#include "sim_line.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace duri::sim {

namespace fs = std::filesystem;

int64_t MonotonicMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

SimLine::~SimLine() { Close(); }

std::string SimLine::Open(const std::string& station_root, const std::string& port_name) {
  char name[256] = {};
  termios raw{};
  cfmakeraw(&raw);
  if (openpty(&master_fd_, &slave_fd_, name, &raw, nullptr) != 0) {
    return std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
  }
  fcntl(master_fd_, F_SETFD, FD_CLOEXEC);
  fcntl(slave_fd_, F_SETFD, FD_CLOEXEC);
  fcntl(master_fd_, F_SETFL, fcntl(master_fd_, F_GETFL) | O_NONBLOCK);
  device_path_ = name;

  std::error_code ec;
  fs::path dir = fs::path(station_root) / "ports";
  fs::create_directories(dir, ec);
  fs::path link = dir / port_name;
  fs::file_status st = fs::symlink_status(link, ec);
  if (fs::exists(st) && !fs::is_symlink(st)) {
    Close();
    return link.string() + " exists and is not a symlink; not replacing it";
  }
  fs::remove(link, ec);
  fs::create_symlink(device_path_, link, ec);
  if (ec) {
    Close();
    return "cannot link " + link.string() + ": " + ec.message();
  }
  link_path_ = link.string();
  return {};
}

void SimLine::Close() {
  if (!link_path_.empty()) {
    std::error_code ec;
    if (fs::read_symlink(link_path_, ec) == fs::path(device_path_)) fs::remove(link_path_, ec);
    link_path_.clear();
  }
  if (master_fd_ >= 0) close(master_fd_);
  if (slave_fd_ >= 0) close(slave_fd_);
  master_fd_ = slave_fd_ = -1;
}

bool SimLine::Write(std::string_view bytes, int stop_fd) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(master_fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    pollfd p[2] = {{master_fd_, POLLOUT, 0}, {stop_fd, POLLIN, 0}};
    poll(p, stop_fd >= 0 ? 2 : 1, 100);
    if (stop_fd >= 0 && (p[1].revents & POLLIN)) return false;
  }
  return true;
}

bool SimLine::Read(std::string* out, int timeout_ms, int stop_fd) {
  pollfd p[2] = {{master_fd_, POLLIN, 0}, {stop_fd, POLLIN, 0}};
  int r = poll(p, stop_fd >= 0 ? 2 : 1, timeout_ms < 0 ? 0 : timeout_ms);
  if (r <= 0) return true;
  if (stop_fd >= 0 && (p[1].revents & POLLIN)) return false;
  if (p[0].revents & POLLIN) {
    char buf[512];
    for (;;) {
      ssize_t n = read(master_fd_, buf, sizeof buf);
      if (n <= 0) break;
      out->append(buf, static_cast<size_t>(n));
    }
  }
  return true;
}

}  // namespace duri::sim
