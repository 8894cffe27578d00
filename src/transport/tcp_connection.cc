#include "transport/tcp_connection.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace duri {
namespace {

// A reply line longer than this is handed out in pieces; SMTP lines are at most 512 bytes.
constexpr size_t kMaxLine = 4096;

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

struct Address {
  sockaddr_storage storage{};
  socklen_t length = 0;
  int family = 0;
};

std::vector<Address> CopyAddresses(const addrinfo* list) {
  std::vector<Address> out;
  for (const addrinfo* a = list; a != nullptr; a = a->ai_next) {
    if (a->ai_addrlen > sizeof(sockaddr_storage)) continue;
    Address address;
    std::memcpy(&address.storage, a->ai_addr, a->ai_addrlen);
    address.length = a->ai_addrlen;
    address.family = a->ai_family;
    out.push_back(address);
  }
  return out;
}

// getaddrinfo has no time limit of its own and a dead name server can hold it for many seconds, so a
// name is looked up on a helper thread that owns its state together with the waiter; when the waiter
// gives up, the helper finishes alone and the last owner frees the state.
struct Lookup {
  std::mutex mu;
  std::condition_variable cv;
  bool done = false;
  int rc = 0;
  std::vector<Address> addresses;
};

NetResult Resolve(const std::string& host, int port, long long deadline_ms, std::vector<Address>& out) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  std::string service = std::to_string(port);

  // A literal address needs no name server.
  hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  addrinfo* list = nullptr;
  if (getaddrinfo(host.c_str(), service.c_str(), &hints, &list) == 0) {
    out = CopyAddresses(list);
    freeaddrinfo(list);
    return out.empty() ? NetResult::kLookupFailed : NetResult::kOk;
  }

  hints.ai_flags = AI_NUMERICSERV;
  auto lookup = std::make_shared<Lookup>();
  std::thread([lookup, host, service, hints] {
    addrinfo* found = nullptr;
    int rc = getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
    std::vector<Address> addresses;
    if (rc == 0) {
      addresses = CopyAddresses(found);
      freeaddrinfo(found);
    }
    std::lock_guard<std::mutex> lock(lookup->mu);
    lookup->rc = rc;
    lookup->addresses = std::move(addresses);
    lookup->done = true;
    lookup->cv.notify_all();
  }).detach();

  std::unique_lock<std::mutex> lock(lookup->mu);
  long long wait = deadline_ms - NowMs();
  if (wait < 0) wait = 0;
  if (!lookup->cv.wait_for(lock, std::chrono::milliseconds(wait), [&] { return lookup->done; })) {
    return NetResult::kTimedOut;
  }
  if (lookup->rc != 0 || lookup->addresses.empty()) return NetResult::kLookupFailed;
  out = std::move(lookup->addresses);
  return NetResult::kOk;
}

// One non-blocking connect attempt, bounded by the deadline. Returns the connected descriptor or -1.
int ConnectOne(const Address& address, long long deadline_ms, NetResult& result) {
  int fd = socket(address.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    result = NetResult::kSocketError;
    return -1;
  }
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address.storage), address.length) == 0) return fd;
  if (errno != EINPROGRESS) {
    close(fd);
    result = NetResult::kConnectFailed;
    return -1;
  }
  for (;;) {
    long long wait = deadline_ms - NowMs();
    if (wait <= 0) {
      close(fd);
      result = NetResult::kTimedOut;
      return -1;
    }
    pollfd p{fd, POLLOUT, 0};
    int n = poll(&p, 1, static_cast<int>(wait));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) continue;  // re-checks the deadline
    int error = 0;
    socklen_t len = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) {
      close(fd);
      result = NetResult::kConnectFailed;
      return -1;
    }
    return fd;
  }
}

}  // namespace

const char* NetResultText(NetResult result) {
  switch (result) {
    case NetResult::kOk: return "ok";
    case NetResult::kLookupFailed: return "host name not found";
    case NetResult::kConnectFailed: return "connection refused or unreachable";
    case NetResult::kTimedOut: return "timed out";
    case NetResult::kClosed: return "connection closed by the server";
    case NetResult::kSocketError: return "socket error";
  }
  return "unknown";
}

TcpConnection::~TcpConnection() { Close(); }

NetResult TcpConnection::Open(const std::string& host, int port, int timeout_ms) {
  Close();
  long long deadline = NowMs() + timeout_ms;
  std::vector<Address> addresses;
  NetResult result = Resolve(host, port, deadline, addresses);
  if (result != NetResult::kOk) return result;
  result = NetResult::kConnectFailed;
  for (const Address& address : addresses) {
    fd_ = ConnectOne(address, deadline, result);
    if (fd_ >= 0) return NetResult::kOk;
    if (result == NetResult::kTimedOut) break;
  }
  return result;
}

void TcpConnection::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  buffer_.clear();
}

NetResult TcpConnection::WaitFor(short events, long long deadline_ms) {
  for (;;) {
    long long wait = deadline_ms - NowMs();
    if (wait <= 0) return NetResult::kTimedOut;
    pollfd p{fd_, events, 0};
    int n = poll(&p, 1, static_cast<int>(wait));
    if (n < 0) {
      if (errno == EINTR) continue;
      return NetResult::kSocketError;
    }
    if (n > 0) return NetResult::kOk;  // readiness, hang-up and errors all show in the next call
  }
}

NetResult TcpConnection::Write(std::string_view data, int timeout_ms) {
  if (fd_ < 0) return NetResult::kClosed;
  while (!data.empty()) {
    ssize_t n = send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
    if (n > 0) {
      data.remove_prefix(static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      NetResult waited = WaitFor(POLLOUT, NowMs() + timeout_ms);
      if (waited != NetResult::kOk) return waited;
      continue;
    }
    return (n < 0 && (errno == EPIPE || errno == ECONNRESET)) ? NetResult::kClosed : NetResult::kSocketError;
  }
  return NetResult::kOk;
}

NetResult TcpConnection::ReadLine(std::string& line, int timeout_ms) {
  if (fd_ < 0) return NetResult::kClosed;
  long long deadline = NowMs() + timeout_ms;
  for (;;) {
    size_t end = buffer_.find('\n');
    if (end != std::string::npos || buffer_.size() >= kMaxLine) {
      size_t take = end != std::string::npos ? end : kMaxLine;
      line = buffer_.substr(0, take);
      buffer_.erase(0, end != std::string::npos ? end + 1 : take);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return NetResult::kOk;
    }
    NetResult waited = WaitFor(POLLIN, deadline);
    if (waited != NetResult::kOk) return waited;
    char chunk[1024];
    ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
    if (n > 0) {
      buffer_.append(chunk, static_cast<size_t>(n));
    } else if (n == 0) {
      return NetResult::kClosed;
    } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
      return errno == ECONNRESET ? NetResult::kClosed : NetResult::kSocketError;
    }
  }
}

}  // namespace duri
