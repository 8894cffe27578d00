#include "platform/ui_thread.h"

#include <exception>
#include <future>

namespace duri {

EventLoopThread::EventLoopThread() : thread_([this] { Run(); }) {}

EventLoopThread::~EventLoopThread() {
  {
    std::lock_guard<std::mutex> lock(mu_);
    stopping_ = true;
  }
  cv_.notify_all();
  thread_.join();
}

void EventLoopThread::Synchronize(const std::function<void()>& fn) {
  if (IsCurrent()) {
    fn();
    return;
  }
  std::promise<void> done;
  std::future<void> finished = done.get_future();
  Post([&] {
    try {
      fn();
      done.set_value();
    } catch (...) {
      done.set_exception(std::current_exception());
    }
  });
  // The exception of a synchronised step ends the caller's pass, as it would on the window's thread.
  finished.get();
}

void EventLoopThread::Post(std::function<void()> fn) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    queue_.push_back(std::move(fn));
  }
  cv_.notify_all();
}

bool EventLoopThread::IsCurrent() const { return std::this_thread::get_id() == thread_.get_id(); }

void EventLoopThread::Drain() { Synchronize([] {}); }

void EventLoopThread::Run() {
  for (;;) {
    std::function<void()> fn;
    {
      std::unique_lock<std::mutex> lock(mu_);
      cv_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;
      fn = std::move(queue_.front());
      queue_.pop_front();
    }
    fn();
  }
}

}  // namespace duri
