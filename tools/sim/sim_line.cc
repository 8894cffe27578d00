#include "sim_line.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "transport/serial_names.h"

namespace duri::sim {

namespace fs = std::filesystem;

int64_t MonotonicMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

SimLine::~SimLine() { Close(); }

std::string SimLine::Open(const std::string& station_root, const std::string& port_name) {
  // The link is made and later removed only as <station>/ports/COMn: a name such as "../../x" must never
  // replace or delete a file elsewhere.
  if (duri::StationPortNumber(port_name) == 0) return "port " + port_name + " is not one of COM1..COM16";
  std::error_code ec;
  fs::path dir = fs::path(station_root) / "ports";
  if (fs::is_symlink(fs::symlink_status(dir, ec))) return dir.string() + " is a symbolic link; not linking through it";
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

namespace {

void NoDelay(int fd) {
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

std::string HostPort(const std::string& host, int port) {
  return (host.find(':') != std::string::npos ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

// A connected socket to host:port within timeout_ms, or -1.
int ConnectTo(const std::string& host, int port, int timeout_ms) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list) != 0) return -1;
  int fd = -1;
  for (addrinfo* a = list; a != nullptr && fd < 0; a = a->ai_next) {
    fd = socket(a->ai_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) continue;
    if (connect(fd, a->ai_addr, a->ai_addrlen) == 0) break;
    if (errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      int err = 0;
      socklen_t len = sizeof err;
      if (poll(&p, 1, timeout_ms) == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0) break;
    }
    close(fd);
    fd = -1;
  }
  freeaddrinfo(list);
  return fd;
}

}  // namespace

std::string SimLine::OpenTcp(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (int r = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list); r != 0) {
    return "cannot look up " + host + ": " + gai_strerror(r);
  }
  freeaddrinfo(list);
  carrier_ = Carrier::kConnect;
  host_ = host;
  port_ = port;
  device_path_ = "tcp://" + HostPort(host, port);
  link_path_.clear();
  return {};
}

std::string SimLine::OpenListen(const std::string& address, int port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICHOST;
  addrinfo* list = nullptr;
  if (int r = getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &list); r != 0) {
    return "\"" + address + "\" is not a local address: " + gai_strerror(r);
  }
  listen_fd_ = socket(list->ai_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  int one = 1;
  setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  const bool ok = listen_fd_ >= 0 && bind(listen_fd_, list->ai_addr, list->ai_addrlen) == 0 && listen(listen_fd_, 4) == 0;
  const int err = errno;
  freeaddrinfo(list);
  if (!ok) {
    Close();
    return "cannot listen on " + HostPort(address, port) + ": " + std::strerror(err);
  }
  carrier_ = Carrier::kListen;
  host_ = address;
  port_ = port;
  device_path_ = "listen://" + HostPort(address, port);
  return {};
}

bool SimLine::Reconnect(int timeout_ms, int stop_fd) {
  const int64_t end = MonotonicMs() + timeout_ms;
  while (master_fd_ < 0) {
    const int left = static_cast<int>(end - MonotonicMs());
    if (carrier_ == Carrier::kConnect) {
      master_fd_ = ConnectTo(host_, port_, std::max(0, std::min(left, 1000)));
    } else {
      pollfd p{listen_fd_, POLLIN, 0};
      if (poll(&p, 1, std::max(0, std::min(left, 200))) == 1) {
        master_fd_ = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      }
    }
    if (master_fd_ >= 0) break;
    if (stop_fd >= 0) {
      pollfd p{stop_fd, POLLIN, 0};
      if (poll(&p, 1, 0) == 1) return false;
    }
    if (MonotonicMs() >= end) return false;
    if (carrier_ == Carrier::kConnect) usleep(200 * 1000);  // the station's port is not listening yet
  }
  NoDelay(master_fd_);
  if (connections_++ > 0) ++reconnects_;
  return true;
}

void SimLine::Drop() {
  if (master_fd_ >= 0) close(master_fd_);
  master_fd_ = -1;
}

void SimLine::Close() {
  if (!link_path_.empty()) {
    std::error_code ec;
    if (fs::read_symlink(link_path_, ec) == fs::path(device_path_)) fs::remove(link_path_, ec);
    link_path_.clear();
  }
  if (master_fd_ >= 0) close(master_fd_);
  if (slave_fd_ >= 0) close(slave_fd_);
  if (listen_fd_ >= 0) close(listen_fd_);
  master_fd_ = slave_fd_ = listen_fd_ = -1;
}

bool SimLine::Write(std::string_view bytes, int stop_fd) {
  const bool tcp = carrier_ != Carrier::kPty;
  size_t done = 0;
  while (done < bytes.size()) {
    if (tcp && master_fd_ < 0) {
      if (!Reconnect(1000, stop_fd)) {
        pollfd p{stop_fd, POLLIN, 0};
        if (stop_fd >= 0 && poll(&p, 1, 0) == 1) return false;
        continue;
      }
      done = 0;  // the station dropped what it had of a cut message: send it whole
    }
    ssize_t n = tcp ? send(master_fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL)
                    : write(master_fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (tcp && n < 0 && errno != EAGAIN && errno != EINTR) {
      Drop();
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
  if (carrier_ != Carrier::kPty && master_fd_ < 0) {
    const int64_t end = MonotonicMs() + std::max(timeout_ms, 0);
    if (!Reconnect(std::max(timeout_ms, 0), stop_fd)) {
      pollfd p{stop_fd, POLLIN, 0};
      return !(stop_fd >= 0 && poll(&p, 1, 0) == 1);
    }
    timeout_ms = static_cast<int>(std::max<int64_t>(0, end - MonotonicMs()));
  }
  pollfd p[2] = {{master_fd_, POLLIN, 0}, {stop_fd, POLLIN, 0}};
  int r = poll(p, stop_fd >= 0 ? 2 : 1, timeout_ms < 0 ? 0 : timeout_ms);
  if (r <= 0) return true;
  if (stop_fd >= 0 && (p[1].revents & POLLIN)) return false;
  if (p[0].revents & POLLIN) {
    char buf[512];
    for (;;) {
      ssize_t n = read(master_fd_, buf, sizeof buf);
      if (n == 0 && carrier_ != Carrier::kPty) Drop();  // the station closed: made again at the next write
      if (n <= 0) break;
      out->append(buf, static_cast<size_t>(n));
    }
  } else if (carrier_ != Carrier::kPty && (p[0].revents & (POLLHUP | POLLERR))) {
    Drop();
  }
  return true;
}

}  // namespace duri::sim
