#include "transport/net_service.h"

#include <asio/post.hpp>
#include <exception>
#include <future>

namespace duri {

NetService::NetService() : work_(asio::make_work_guard(io_)) {
  thread_ = std::thread([this] {
    for (;;) {
      try {
        io_.run();
        return;
      } catch (...) {
        // A handler's failure is its link's own; the loop serves the others on.
      }
    }
  });
}

NetService::~NetService() {
  work_.reset();
  io_.stop();
  if (thread_.joinable()) thread_.join();
}

void NetService::Call(const std::function<void()>& fn) {
  if (IsCurrent()) {
    fn();
    return;
  }
  std::promise<void> done;
  asio::post(io_, [&fn, &done] {
    try {
      fn();
      done.set_value();
    } catch (...) {
      done.set_exception(std::current_exception());
    }
  });
  done.get_future().get();
}

}  // namespace duri
