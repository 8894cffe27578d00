#include "transport/buffered_link.h"

#include <asio/post.hpp>
#include <asio/steady_timer.hpp>
#include <chrono>
#include <mutex>
#include <optional>

#include "platform/ui_thread.h"
#include "transport/net_service.h"

namespace duri {

// Shared with the events queued on the user-interface thread and the network thread, which may run
// after the link was closed or destroyed.
struct BufferedLink::Shared {
  explicit Shared(asio::io_context& context) : io(context) {}
  asio::io_context& io;

  std::recursive_mutex fire_mu;  // held while a handler runs and while StopEvents marks the link dead
  std::mutex mu;                 // everything below
  bool alive = false;
  bool raise_queued = false;
  std::string input;
  LineErrors errors = 0;
  UiThread* ui = nullptr;
  ReceiveHandler on_receive;
  LinkStateHandler on_state;

  std::optional<asio::steady_timer> recheck;  // network thread only
  bool recheck_armed = false;                 // network thread only
  uint64_t recheck_generation = 0;            // network thread only: a timer of an earlier Open
};

BufferedLink::BufferedLink(NetService& net) : net_(net), shared_(std::make_shared<Shared>(net.context())) {}

BufferedLink::~BufferedLink() { StopEvents(); }

void BufferedLink::SetHandlers(UiThread* ui, ReceiveHandler on_receive, LinkStateHandler on_state) {
  std::lock_guard<std::recursive_mutex> fire(shared_->fire_mu);
  std::lock_guard<std::mutex> lock(shared_->mu);
  shared_->ui = ui;
  shared_->on_receive = std::move(on_receive);
  shared_->on_state = std::move(on_state);
}

void BufferedLink::StartEvents() {
  {
    std::lock_guard<std::mutex> lock(shared_->mu);
    if (shared_->alive) return;
    shared_->alive = true;
    shared_->input.clear();
    shared_->errors = 0;
  }
  auto shared = shared_;
  net_.Call([shared] {
    shared->recheck.emplace(shared->io);
    shared->recheck_armed = false;
    ++shared->recheck_generation;
  });
}

void BufferedLink::StopEvents() {
  {
    std::lock_guard<std::recursive_mutex> fire(shared_->fire_mu);
    std::lock_guard<std::mutex> lock(shared_->mu);
    if (!shared_->alive) return;
    shared_->alive = false;
    shared_->input.clear();
  }
  auto shared = shared_;
  net_.Call([shared] { shared->recheck.reset(); });
}

void BufferedLink::Deliver(std::string_view bytes) {
  if (bytes.empty()) return;
  {
    std::lock_guard<std::mutex> lock(shared_->mu);
    if (!shared_->alive) return;
    shared_->input.append(bytes);
  }
  Raise(shared_);
}

void BufferedLink::MarkBreak() {
  std::lock_guard<std::mutex> lock(shared_->mu);
  shared_->errors |= kBreakError;
}

void BufferedLink::NotifyState(LinkChange change) {
  UiThread* ui;
  {
    std::lock_guard<std::mutex> lock(shared_->mu);
    if (!shared_->alive || shared_->ui == nullptr || !shared_->on_state) return;
    ui = shared_->ui;
  }
  auto shared = shared_;
  ui->Post([shared, change = std::move(change)] {
    std::lock_guard<std::recursive_mutex> fire(shared->fire_mu);
    LinkStateHandler handler;
    {
      std::lock_guard<std::mutex> state_lock(shared->mu);
      if (!shared->alive) return;
      handler = shared->on_state;
    }
    try {
      if (handler) handler(change);
    } catch (...) {
      // A handler's failure is its own; the link goes on.
    }
  });
}

bool BufferedLink::ReadPaused() const {
  std::lock_guard<std::mutex> lock(shared_->mu);
  return shared_->input.size() >= kMaxWaiting;
}

int BufferedLink::InputCount() {
  std::lock_guard<std::mutex> lock(shared_->mu);
  return static_cast<int>(shared_->input.size());
}

int BufferedLink::ReadStr(std::string& text, int count) {
  text.clear();
  if (count <= 0) return 0;
  bool more;
  {
    std::lock_guard<std::mutex> lock(shared_->mu);
    const size_t n = std::min(static_cast<size_t>(count), shared_->input.size());
    text.assign(shared_->input, 0, n);
    shared_->input.erase(0, n);
    more = !shared_->input.empty();
  }
  if (!text.empty()) {
    InputTaken();
    if (more) Raise(shared_);
  }
  return static_cast<int>(text.size());
}

LineErrors BufferedLink::LastErrors() {
  std::lock_guard<std::mutex> lock(shared_->mu);
  LineErrors errors = shared_->errors;
  shared_->errors = 0;
  return errors;
}

void BufferedLink::Raise(const std::shared_ptr<Shared>& shared) {
  UiThread* ui;
  {
    std::lock_guard<std::mutex> lock(shared->mu);
    if (!shared->alive || shared->raise_queued || shared->input.empty() || shared->ui == nullptr) return;
    shared->raise_queued = true;
    ui = shared->ui;
  }
  ui->Post([shared] { Fire(shared); });
}

void BufferedLink::Fire(const std::shared_ptr<Shared>& shared) {
  std::lock_guard<std::recursive_mutex> fire(shared->fire_mu);
  int count;
  ReceiveHandler handler;
  {
    std::lock_guard<std::mutex> lock(shared->mu);
    shared->raise_queued = false;
    if (!shared->alive) return;
    count = static_cast<int>(shared->input.size());
    handler = shared->on_receive;
  }
  if (count <= 0) return;
  try {
    if (handler) handler(count);
  } catch (...) {
    // As on a serial port: a handler's failure is its own.
  }
  ArmRecheck(shared);
}

void BufferedLink::ArmRecheck(const std::shared_ptr<Shared>& shared) {
  asio::post(shared->io, [shared] {
    if (!shared->recheck || shared->recheck_armed) return;
    shared->recheck_armed = true;
    shared->recheck->expires_after(std::chrono::milliseconds(kRecheckMs));
    shared->recheck->async_wait([shared, generation = shared->recheck_generation](const std::error_code& ec) {
      if (generation != shared->recheck_generation) return;
      shared->recheck_armed = false;
      if (!ec) Raise(shared);
    });
  });
}

}  // namespace duri
