#include "transport/metrics_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <cstring>

#include "transport/http_request.h"

namespace duri {
namespace {

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct ListenAddress {
  sockaddr_storage storage{};
  socklen_t length = 0;
};

// "" or why the text is not an address to listen on.
std::string ParseAddress(const std::string& text, ListenAddress* out) {
  std::string host = MetricsServer::kDefaultHost;
  std::string port = text;
  if (!text.empty() && text[0] == '[') {
    const size_t close = text.find("]:");
    if (close == std::string::npos) return "an IPv6 address is written [ADDRESS]:PORT";
    host = text.substr(1, close - 1);
    port = text.substr(close + 2);
  } else if (const size_t colon = text.rfind(':'); colon != std::string::npos) {
    if (colon > 0) host = text.substr(0, colon);
    port = text.substr(colon + 1);
  }
  if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos ||
      std::stoi(port) > 65535) {
    return "port \"" + port + "\" is not a number from 0 to 65535";
  }
  const auto number = static_cast<uint16_t>(std::stoi(port));
  auto* v4 = reinterpret_cast<sockaddr_in*>(&out->storage);
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&out->storage);
  if (inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(number);
    out->length = sizeof(sockaddr_in);
  } else if (inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(number);
    out->length = sizeof(sockaddr_in6);
  } else {
    return "\"" + host + "\" is not a numeric IPv4 or IPv6 address";
  }
  return {};
}

std::string AddressText(const sockaddr_storage& storage) {
  char host[INET6_ADDRSTRLEN] = {};
  if (storage.ss_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&storage);
    inet_ntop(AF_INET6, &v6->sin6_addr, host, sizeof host);
    return "[" + std::string(host) + "]:" + std::to_string(ntohs(v6->sin6_port));
  }
  const auto* v4 = reinterpret_cast<const sockaddr_in*>(&storage);
  inet_ntop(AF_INET, &v4->sin_addr, host, sizeof host);
  return std::string(host) + ":" + std::to_string(ntohs(v4->sin_port));
}

// Writes all of text before the deadline; false when the client did not take it.
bool SendAll(int fd, std::string_view text, int64_t deadline) {
  while (!text.empty()) {
    const ssize_t n = send(fd, text.data(), text.size(), MSG_NOSIGNAL);
    if (n > 0) {
      text.remove_prefix(static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    const int64_t left = deadline - NowMs();
    pollfd p{fd, POLLOUT, 0};
    if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) return false;
  }
  return true;
}

std::string Response(const char* status, std::string_view type, const std::string& body, bool with_body,
                     const char* extra = "") {
  std::string out = std::string("HTTP/1.1 ") + status + "\r\nContent-Type: " + std::string(type) +
                    "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n" + extra + "\r\n";
  if (with_body) out += body;
  return out;
}

}  // namespace

MetricsServer::MetricsServer(std::function<std::string()> page) : page_(std::move(page)) {}

MetricsServer::~MetricsServer() { Stop(); }

std::string MetricsServer::Start(const std::string& address) {
  ListenAddress where;
  std::string error = ParseAddress(address, &where);
  if (!error.empty()) return address + ": " + error;
  listen_fd_ = socket(where.storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listen_fd_ < 0) return address + ": " + std::strerror(errno);
  const int one = 1;
  setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (where.storage.ss_family == AF_INET6) setsockopt(listen_fd_, IPPROTO_IPV6, IPV6_V6ONLY, &one, sizeof one);
  if (bind(listen_fd_, reinterpret_cast<sockaddr*>(&where.storage), where.length) != 0 || listen(listen_fd_, 8) != 0) {
    error = address + ": " + std::strerror(errno);
    close(listen_fd_);
    listen_fd_ = -1;
    return error;
  }
  sockaddr_storage bound{};
  socklen_t length = sizeof bound;
  getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&bound), &length);
  bound_ = AddressText(bound);
  stop_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  thread_ = std::thread(&MetricsServer::Serve, this);
  return {};
}

void MetricsServer::Stop() {
  if (thread_.joinable()) {
    const uint64_t one = 1;
    ssize_t ignored = write(stop_fd_, &one, sizeof one);
    (void)ignored;
    thread_.join();
  }
  if (listen_fd_ >= 0) close(listen_fd_);
  if (stop_fd_ >= 0) close(stop_fd_);
  listen_fd_ = stop_fd_ = -1;
}

void MetricsServer::Serve() {
  for (;;) {
    pollfd fds[2] = {{stop_fd_, POLLIN, 0}, {listen_fd_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (fds[0].revents != 0) return;
    if (fds[1].revents == 0) continue;
    const int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) continue;
    Answer(fd);
    shutdown(fd, SHUT_WR);
    close(fd);
  }
}

void MetricsServer::Answer(int fd) {
  const int64_t deadline = NowMs() + kRequestTimeoutMs;
  std::string request;
  HttpRequestHead head;
  HttpHeadParse state = HttpHeadParse::kIncomplete;
  char buffer[2048];
  while (state == HttpHeadParse::kIncomplete) {
    const ssize_t n = recv(fd, buffer, std::min(sizeof buffer, kMaxRequestBytes - request.size()), 0);
    if (n > 0) {
      request.append(buffer, static_cast<size_t>(n));
      state = ParseHttpRequestHead(request, kMaxRequestBytes, &head);
      continue;
    }
    if (n == 0) return;  // the client went away
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return;
    const int64_t left = deadline - NowMs();
    pollfd p[2] = {{fd, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
    if (left <= 0 || poll(p, 2, static_cast<int>(left)) <= 0) {
      SendAll(fd, Response("408 Request Timeout", "text/plain", "request not complete in time\n", true),
              NowMs() + kResponseTimeoutMs);
      return;
    }
    if (p[1].revents != 0) return;
  }
  const int64_t send_deadline = NowMs() + kResponseTimeoutMs;
  if (state == HttpHeadParse::kTooLarge) {
    SendAll(fd, Response("431 Request Header Fields Too Large", "text/plain", "request too large\n", true), send_deadline);
    return;
  }
  if (state == HttpHeadParse::kBad) {
    SendAll(fd, Response("400 Bad Request", "text/plain", "bad request\n", true), send_deadline);
    return;
  }
  const bool with_body = head.method != "HEAD";
  if (head.method != "GET" && head.method != "HEAD") {
    SendAll(fd, Response("405 Method Not Allowed", "text/plain", "only GET and HEAD\n", true, "Allow: GET, HEAD\r\n"),
            send_deadline);
    return;
  }
  if (head.target != "/metrics") {
    SendAll(fd, Response("404 Not Found", "text/plain", "the page is /metrics\n", with_body), send_deadline);
    return;
  }
  SendAll(fd, Response("200 OK", "text/plain; version=0.0.4; charset=utf-8", page_(), with_body), send_deadline);
}

}  // namespace duri
