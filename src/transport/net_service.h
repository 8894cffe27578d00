// The network thread of the station: one Asio event loop that every network link of every port runs
// on, so a link never holds a thread of its own and thousands of connections cost no threads. Its
// handlers never wait for the user-interface thread; they only queue work on it.
#ifndef DURIDUVAZE_TRANSPORT_NET_SERVICE_H_
#define DURIDUVAZE_TRANSPORT_NET_SERVICE_H_

#include <asio/executor_work_guard.hpp>
#include <asio/io_context.hpp>
#include <functional>
#include <thread>

namespace duri {

class NetService {
 public:
  // Starts the thread.
  NetService();
  // Stops the loop and joins the thread; handlers still queued are destroyed without running.
  ~NetService();
  NetService(const NetService&) = delete;
  NetService& operator=(const NetService&) = delete;

  asio::io_context& context() { return io_; }
  bool IsCurrent() const { return std::this_thread::get_id() == thread_.get_id(); }
  // Runs fn on the network thread and waits for it; at once when already on it. fn must not wait for
  // the user-interface thread.
  void Call(const std::function<void()>& fn);

 private:
  asio::io_context io_;
  asio::executor_work_guard<asio::io_context::executor_type> work_;
  std::thread thread_;
};

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_NET_SERVICE_H_
