// The user-interface thread: every decoder, intake step, shared-file access and window update runs on
// it, so none of them is entered by two threads at once. Port event threads, reader passes and the
// automatic-test thread hand their steps over with Synchronize and wait.
#ifndef DURIDUVAZE_PLATFORM_UI_THREAD_H_
#define DURIDUVAZE_PLATFORM_UI_THREAD_H_

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace duri {

class UiThread {
 public:
  virtual ~UiThread() = default;
  // Runs fn on the user-interface thread and waits for it; at once when already on it.
  virtual void Synchronize(const std::function<void()>& fn) = 0;
  // Queues fn without waiting (used for notices that must not block their sender).
  virtual void Post(std::function<void()> fn) = 0;
  virtual bool IsCurrent() const = 0;
};

// A plain event-loop thread standing in for the window's thread in tests and tools.
class EventLoopThread : public UiThread {
 public:
  EventLoopThread();
  ~EventLoopThread() override;
  void Synchronize(const std::function<void()>& fn) override;
  void Post(std::function<void()> fn) override;
  bool IsCurrent() const override;
  // Waits until everything queued so far has run.
  void Drain();

 private:
  void Run();

  std::mutex mu_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> queue_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace duri

#endif  // DURIDUVAZE_PLATFORM_UI_THREAD_H_
