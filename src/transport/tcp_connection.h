// A TCP client connection that reads and writes text lines with time limits. The mail client runs on
// the user-interface thread, so no step here may wait without bound: a server that accepts and then
// says nothing would otherwise stop every port's acknowledgements.
#ifndef DURIDUVAZE_TRANSPORT_TCP_CONNECTION_H_
#define DURIDUVAZE_TRANSPORT_TCP_CONNECTION_H_

#include <string>
#include <string_view>

namespace duri {

enum class NetResult {
  kOk,
  kLookupFailed,  // host name not found
  kConnectFailed,  // refused, unreachable, or no address answered
  kTimedOut,
  kClosed,  // the peer closed the connection
  kSocketError,
};

// Text for log lines and error messages.
const char* NetResultText(NetResult result);

class TcpConnection {
 public:
  TcpConnection() = default;
  ~TcpConnection();
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;

  bool is_open() const { return fd_ >= 0; }

  // Looks the host up and connects to the first address that answers, all within timeout_ms.
  NetResult Open(const std::string& host, int port, int timeout_ms);
  void Close();

  // Writes all of data; each wait for room in the send buffer is bounded by timeout_ms.
  NetResult Write(std::string_view data, int timeout_ms);
  // One line without its CR LF (a bare LF ends a line too). The whole line must arrive within
  // timeout_ms. A line longer than the limit is returned in pieces rather than grown without bound.
  NetResult ReadLine(std::string& line, int timeout_ms);

 private:
  // Waits until the descriptor is readable (POLLIN) or writable (POLLOUT) before the deadline.
  NetResult WaitFor(short events, long long deadline_ms);

  int fd_ = -1;
  std::string buffer_;  // bytes received past the last line handed out
};

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_TCP_CONNECTION_H_
