#include "support/pty.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace duri::testing {

PseudoTerminal::PseudoTerminal() {
  char name[256] = {};
  if (openpty(&master_fd_, &slave_fd_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
  slave_path_ = name;
  fcntl(master_fd_, F_SETFD, FD_CLOEXEC);
  fcntl(slave_fd_, F_SETFD, FD_CLOEXEC);
}

PseudoTerminal::~PseudoTerminal() {
  CloseMaster();
  if (slave_fd_ >= 0) close(slave_fd_);
}

void PseudoTerminal::Link(const std::string& root, const std::string& name) const {
  std::filesystem::create_directories(root + "/ports");
  std::string link = root + "/ports/" + name;
  std::filesystem::remove(link);
  std::filesystem::create_symlink(slave_path_, link);
}

void PseudoTerminal::Write(std::string_view bytes) const {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(master_fd_, bytes.data() + done, bytes.size() - done);
    if (n <= 0) throw std::runtime_error("pty write failed");
    done += static_cast<size_t>(n);
  }
}

std::string PseudoTerminal::Read(int timeout_ms) const {
  std::string out;
  int wait = timeout_ms;
  for (;;) {
    pollfd p{master_fd_, POLLIN, 0};
    if (poll(&p, 1, wait) <= 0 || !(p.revents & POLLIN)) return out;
    char buf[256];
    ssize_t n = read(master_fd_, buf, sizeof buf);
    if (n <= 0) return out;
    out.append(buf, static_cast<size_t>(n));
    wait = 50;
  }
}

std::string PseudoTerminal::ReadBytes(size_t n, int timeout_ms) const {
  std::string out;
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (out.size() < n) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    pollfd p{master_fd_, POLLIN, 0};
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0 || !(p.revents & POLLIN)) break;
    char buf[256];
    ssize_t got = read(master_fd_, buf, std::min(sizeof buf, n - out.size()));
    if (got <= 0) break;
    out.append(buf, static_cast<size_t>(got));
  }
  return out;
}

std::string PseudoTerminal::ReadNow() const { return Read(0); }

void PseudoTerminal::CloseMaster() {
  if (master_fd_ >= 0) close(master_fd_);
  master_fd_ = -1;
}

bool WaitFor(const std::function<bool()>& done, int timeout_ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace duri::testing
