// The event thread of an open port. It stands in for the overlapped wait on the port's line events:
// poll() on the tty, on an eventfd that Close signals and on one that ReadStr signals when it has taken
// bytes. The receive event fires when bytes wait and either more have arrived since the last look, or
// some were read since the last event (so these are new), or they have been left unread for kStaleMs
// (the reader of the port was busy when they came; they must not wait for the receiver's next byte).
// poll() is level-triggered, so while bytes wait unread the tty is not polled; the thread looks again
// when ReadStr signals, or every kRecheckMs. A line that has hung up (a pseudo-terminal whose other
// side closed, a USB adapter pulled out) keeps the thread asleep, waking every kHangupPauseMs, until
// the port is closed; the state handler hears when the line went down, with its cause, and when a look
// at it finds it answering again. An idle line wakes the thread every kIdleBeatMs, so that the time of
// its last look (EventThreadSeenMs) tells a watcher it is not stuck.
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <system_error>

#include "transport/serial_port.h"

namespace duri {
namespace {

constexpr int kRecheckMs = 20;
constexpr int kStaleMs = 100;
constexpr int kHangupPauseMs = 200;
constexpr int kIdleBeatMs = 1000;

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

// Shared between the port, its event thread and the dispatches queued on the user-interface thread,
// which may run after the port was closed: they then do nothing.
struct TSerialPort::EventLink {
  TSerialPort* port = nullptr;
  UiThread* ui = nullptr;
  TSyncMethod sync = TSyncMethod::smThreadSync;
  bool raise = true;  // evRxChar in the event set

  std::recursive_mutex fire_mu;  // held while a handler runs and while Close marks the link dead
  bool alive = true;

  std::mutex mu;
  std::condition_variable cv;
  bool stop = false;
  uint64_t done_seq = 0;
};

void TSerialPort::StartEventThread() {
  stop_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (stop_fd_ < 0) return;  // no receive events without a stop signal; the port stays usable
  {
    std::lock_guard<std::mutex> lock(io_mu_);
    wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  }
  link_ = std::make_shared<EventLink>();
  link_->port = this;
  link_->ui = ui_;
  link_->sync = sync_method_;
  link_->raise = (events_ & evRxChar) != 0;
  event_seen_ms_ = NowMs();
  event_thread_ = std::thread(&TSerialPort::EventLoop, this, link_, fd_.load(), stop_fd_, wake_fd_);
}

void TSerialPort::StopEventThread() {
  if (!link_) return;
  {
    std::lock_guard<std::recursive_mutex> fire(link_->fire_mu);
    link_->alive = false;
  }
  {
    std::lock_guard<std::mutex> lock(link_->mu);
    link_->stop = true;
  }
  link_->cv.notify_all();
  uint64_t one = 1;
  ssize_t ignored = write(stop_fd_, &one, sizeof one);
  (void)ignored;
  if (event_thread_.get_id() == std::this_thread::get_id()) {
    event_thread_.detach();  // a handler run on the event thread itself (smNone) closed the port
  } else if (event_thread_.joinable()) {
    event_thread_.join();
  }
  close(stop_fd_);
  stop_fd_ = -1;
  {
    std::lock_guard<std::mutex> lock(io_mu_);
    if (wake_fd_ >= 0) close(wake_fd_);
    wake_fd_ = -1;
  }
  link_.reset();
  event_seen_ms_ = 0;
}

void TSerialPort::ReaderReady() {
  std::lock_guard<std::mutex> lock(io_mu_);
  // Counted as a read, so that the event loop takes what waits as new rather than as bytes already
  // raised once.
  WakeEventThreadLocked();
}

void TSerialPort::WakeEventThreadLocked() {
  ++reads_;
  uint64_t one = 1;
  if (wake_fd_ >= 0 && write(wake_fd_, &one, sizeof one) < 0) {
    // The event thread still looks again within its recheck time.
  }
}

bool TSerialPort::RaiseRxChar(const std::shared_ptr<EventLink>& link, int count) {
  if (!link->raise) return true;
  auto fire = [link, count] {
    std::lock_guard<std::recursive_mutex> guard(link->fire_mu);
    if (!link->alive || !link->port->OnRxChar) return;
    try {
      link->port->OnRxChar(*link->port, count);
    } catch (...) {
      // The component shows nothing; a handler's failure is its own.
    }
  };
  if (link->sync == TSyncMethod::smNone) {
    fire();
  } else if (link->ui == nullptr) {
    return true;
  } else if (link->sync == TSyncMethod::smWindowSync) {
    link->ui->Post(fire);
  } else {
    // Wait until the handler has run, or until Close, which must not be kept waiting by a handler that
    // is queued behind it on the user-interface thread.
    uint64_t seq;
    {
      std::lock_guard<std::mutex> lock(link->mu);
      seq = link->done_seq + 1;
    }
    link->ui->Post([link, fire, seq] {
      fire();
      {
        std::lock_guard<std::mutex> lock(link->mu);
        link->done_seq = seq;
      }
      link->cv.notify_all();
    });
    std::unique_lock<std::mutex> lock(link->mu);
    link->cv.wait(lock, [&] { return link->stop || link->done_seq >= seq; });
  }
  std::lock_guard<std::mutex> lock(link->mu);
  return !link->stop;
}

void TSerialPort::RaiseLineChange(const std::shared_ptr<EventLink>& link, LinkChange change) {
  if (link->ui == nullptr) return;
  link->ui->Post([link, change = std::move(change)]() mutable {
    std::lock_guard<std::recursive_mutex> guard(link->fire_mu);
    if (!link->alive || !link->port->on_line_change_) return;
    if (change.up) change.detail = link->port->DevicePath();
    try {
      link->port->on_line_change_(change);
    } catch (...) {
      // The component shows nothing; a handler's failure is its own.
    }
  });
}

void TSerialPort::EventLoop(std::shared_ptr<EventLink> link, int fd, int stop_fd, int wake_fd) {
  bool idle = true;   // nothing waits unread: the tty itself can be polled
  bool hung = false;  // the line has hung up or fails: sleep until closed
  bool down = false;  // the state handler was told the line is down
  int seen = 0;       // bytes waiting at the last look
  uint64_t reads_at_raise = reads_;
  int64_t last_raise = 0;
  // Tells the state handler of a change only, not of every look at a line that stays down.
  auto tell = [&](bool up, const std::string& cause) {
    if (down == !up) return;
    down = !up;
    RaiseLineChange(link, LinkChange{up, up ? std::string() : cause});
  };
  for (;;) {
    pollfd fds[3] = {{stop_fd, POLLIN, 0}, {wake_fd, POLLIN, 0}, {fd, POLLIN, 0}};
    const int nfds = idle && !hung ? 3 : 2;
    event_seen_ms_ = NowMs();
    const int timeout = hung ? kHangupPauseMs : (idle ? kIdleBeatMs : kRecheckMs);
    int r = poll(fds, static_cast<nfds_t>(nfds), timeout);
    if (r < 0 && errno != EINTR) {
      hung = true;
      tell(false, "the line fails: " + std::generic_category().message(errno));
      continue;
    }
    if (fds[0].revents != 0) break;
    if (fds[1].revents != 0) {
      uint64_t drained;
      if (read(wake_fd, &drained, sizeof drained) < 0) {
        // Already drained.
      }
    }
    int count = 0;
    if (ioctl(fd, FIONREAD, &count) != 0) {
      hung = true;
      tell(false, "the line fails: " + std::generic_category().message(errno));
      continue;
    }
    hung = count == 0 && nfds == 3 && (fds[2].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    // Only a look at the line itself tells whether it is down or answers again.
    if (nfds == 3) tell(!hung, "the line hung up");
    if (count <= 0) {
      idle = true;
      seen = 0;
      continue;
    }
    idle = false;
    const int64_t now = NowMs();
    const uint64_t reads = reads_;
    if (count > seen || reads != reads_at_raise || now - last_raise >= kStaleMs) {
      last_raise = now;
      reads_at_raise = reads;
      if (!RaiseRxChar(link, count)) break;
    }
    seen = count;
  }
}

}  // namespace duri
