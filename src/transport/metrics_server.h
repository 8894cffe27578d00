// A small HTTP server for the metrics page: GET (or HEAD) /metrics on one address only, one
// connection at a time on its own thread. A request head larger than kMaxRequestBytes gets 431, one
// not complete within kRequestTimeoutMs gets 408, and an answer the client does not take within
// kResponseTimeoutMs is abandoned, so no client can hold the server for long; bodies are never read.
#ifndef DURIDUVAZE_TRANSPORT_METRICS_SERVER_H_
#define DURIDUVAZE_TRANSPORT_METRICS_SERVER_H_

#include <functional>
#include <string>
#include <thread>

namespace duri {

class MetricsServer {
 public:
  static constexpr size_t kMaxRequestBytes = 8192;
  static constexpr int kRequestTimeoutMs = 2000;
  static constexpr int kResponseTimeoutMs = 2000;
  // Loopback, when the address names only a port.
  static constexpr char kDefaultHost[] = "127.0.0.1";

  // page: makes the page's text for each request, on the server's thread.
  explicit MetricsServer(std::function<std::string()> page);
  ~MetricsServer();
  MetricsServer(const MetricsServer&) = delete;
  MetricsServer& operator=(const MetricsServer&) = delete;

  // Listens on "HOST:PORT", "[IPv6]:PORT" or ":PORT"/"PORT" (loopback), numeric addresses only; port 0
  // takes a free one. Returns "" or why not.
  std::string Start(const std::string& address);
  // The address listened on, with the port taken ("127.0.0.1:9733"); "" before Start.
  const std::string& address() const { return bound_; }
  void Stop();

 private:
  void Serve();
  void Answer(int fd);

  std::function<std::string()> page_;
  int listen_fd_ = -1;
  int stop_fd_ = -1;
  std::string bound_;
  std::thread thread_;
};

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_METRICS_SERVER_H_
