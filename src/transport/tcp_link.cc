#include "transport/tcp_link.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <array>
#include <asio/connect.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/post.hpp>
#include <asio/steady_timer.hpp>
#include <asio/write.hpp>
#include <deque>
#include <future>
#include <optional>

#include "transport/net_service.h"

namespace duri {

using asio::ip::tcp;

namespace {

struct PendingWrite {
  std::string bytes;
  std::shared_ptr<std::promise<size_t>> done;  // null: nobody waits (the initial command)
};

void Complete(const PendingWrite& w, size_t sent) {
  if (w.done) w.done->set_value(sent);
}

std::string EndpointText(const tcp::endpoint& ep) {
  const std::string address = ep.address().to_string();
  return (ep.address().is_v6() ? "[" + address + "]" : address) + ":" + std::to_string(ep.port());
}

std::string PeerText(const tcp::socket& socket) {
  std::error_code ec;
  tcp::endpoint ep = socket.remote_endpoint(ec);
  return ec ? std::string("unknown peer") : EndpointText(ep);
}

// Keep-alive finds a peer that vanished while the line was quiet; the user time-out finds one that
// vanished with an acknowledgement unanswered, which keep-alive does not probe.
void SetConnectionOptions(tcp::socket& socket, const TcpLinkTiming& t) {
  std::error_code ec;
  socket.set_option(tcp::no_delay(true), ec);  // acknowledgements are single bytes: no coalescing
  socket.set_option(asio::socket_base::keep_alive(true), ec);
  const int fd = socket.native_handle();
  setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &t.keepalive_idle_s, sizeof t.keepalive_idle_s);
  setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &t.keepalive_interval_s, sizeof t.keepalive_interval_s);
  setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &t.keepalive_count, sizeof t.keepalive_count);
  const unsigned user_timeout_ms =
      static_cast<unsigned>((t.keepalive_idle_s + t.keepalive_interval_s * t.keepalive_count) * 1000);
  setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &user_timeout_ms, sizeof user_timeout_ms);
}

}  // namespace

// The network side, on the NetService thread only (but for the atomics). Handlers hold it by
// shared_ptr and check the open generation and the connection number before touching the owner, which
// Close cuts off on this thread before it returns.
struct TcpLink::Conn : std::enable_shared_from_this<TcpLink::Conn> {
  enum class Reported { kUnknown, kUp, kDown };

  Conn(TcpLink* link, asio::io_context& context, TcpLinkTiming t)
      : owner(link), io(context), timing(t), resolver(context), retry(context), grace(context) {}

  TcpLink* owner;
  asio::io_context& io;
  TcpLinkTiming timing;
  tcp::resolver resolver;
  std::optional<tcp::acceptor> acceptor;
  std::optional<tcp::socket> socket;
  asio::steady_timer retry;
  asio::steady_timer grace;
  std::array<char, 4096> buffer{};

  bool open = false;
  uint64_t open_generation = 0;
  uint64_t conn_id = 0;
  bool delivered = false;  // the current connection has sent bytes
  uint8_t last_byte = 0;   // the last of them
  bool paused = false;     // reading stopped until the reader makes room
  bool writing = false;
  std::deque<PendingWrite> writes;
  std::string greeting;
  std::string last_failure;
  std::chrono::milliseconds delay{0};
  Reported reported = Reported::kUnknown;
  std::atomic<bool> peer{false};

  bool Stale(uint64_t generation) const { return !open || generation != open_generation; }

  void StartConnect() {
    auto self = shared_from_this();
    resolver.async_resolve(owner->host_, std::to_string(owner->port_),
                           [self, g = open_generation](const std::error_code& ec, tcp::resolver::results_type r) {
                             if (self->Stale(g)) return;
                             if (ec) return self->ConnectFailed("address lookup failed: " + ec.message());
                             self->socket.emplace(self->io);
                             asio::async_connect(*self->socket, r, [self, g](const std::error_code& e, const tcp::endpoint&) {
                               if (self->Stale(g)) return;
                               if (e) {
                                 self->socket.reset();
                                 return self->ConnectFailed("connection failed: " + e.message());
                               }
                               self->Established("");
                             });
                           });
  }

  void ConnectFailed(const std::string& reason) {
    last_failure = reason;
    ScheduleRetry([](Conn& c) { c.StartConnect(); });
  }

  template <typename Step>
  void ScheduleRetry(Step step) {
    if (delay.count() == 0) delay = timing.first_retry;
    retry.expires_after(delay);
    delay = std::min(delay * 2, timing.max_retry);
    retry.async_wait([self = shared_from_this(), g = open_generation, step](const std::error_code& ec) {
      if (ec || self->Stale(g)) return;
      step(*self);
    });
  }

  void StartAccept() {
    auto pending = std::make_shared<tcp::socket>(io);
    acceptor->async_accept(*pending, [self = shared_from_this(), g = open_generation, pending](const std::error_code& ec) {
      if (self->Stale(g)) return;
      if (ec) {
        // Out of descriptors or the like: try again later rather than spin.
        self->last_failure = "accept failed: " + ec.message();
        return self->ScheduleRetry([](Conn& c) { c.StartAccept(); });
      }
      self->delay = std::chrono::milliseconds(0);
      std::string replaced;
      if (self->socket) {
        replaced = PeerText(*self->socket);
        self->DropConnection();
      }
      self->socket.emplace(std::move(*pending));
      self->Established(replaced);
      self->StartAccept();
    });
  }

  // A new connection in socket; replaced: the peer of the one it replaced, if any.
  void Established(const std::string& replaced) {
    SetConnectionOptions(*socket, timing);
    ++conn_id;
    delivered = false;
    paused = false;
    writing = false;
    delay = std::chrono::milliseconds(0);
    peer = true;
    reported = Reported::kUp;
    LinkChange change;
    change.up = true;
    change.detail = PeerText(*socket);
    if (!replaced.empty()) change.detail += " (replaces " + replaced + ")";
    owner->NotifyState(change);
    if (!greeting.empty()) Queue(PendingWrite{greeting, nullptr});
    StartRead();
  }

  void StartRead() {
    if (owner->ReadPaused()) {
      paused = true;
      return;
    }
    paused = false;
    socket->async_read_some(asio::buffer(buffer), [self = shared_from_this(), g = open_generation, id = conn_id](
                                                      const std::error_code& ec, size_t n) {
      if (self->Stale(g) || id != self->conn_id) return;
      if (n > 0) {
        self->owner->Deliver(std::string_view(self->buffer.data(), n));
        self->delivered = true;
        self->last_byte = static_cast<uint8_t>(self->buffer[n - 1]);
      }
      if (ec) return self->Lost(ec == asio::error::eof ? std::string("closed by the receiver") : ec.message());
      self->StartRead();
    });
  }

  // Closes the current connection; a message it was in the middle of must not be joined to what
  // comes next.
  void DropConnection() {
    if (delivered && owner->terminator_ != last_byte) owner->MarkBreak();
    std::error_code ignored;
    socket->shutdown(tcp::socket::shutdown_both, ignored);
    socket->close(ignored);
    socket.reset();
    ++conn_id;
    peer = false;
    FailWrites();
  }

  void Lost(const std::string& reason) {
    DropConnection();
    reported = Reported::kDown;
    owner->NotifyState(LinkChange{false, reason});
    if (owner->mode_ == Mode::kConnect) ScheduleRetry([](Conn& c) { c.StartConnect(); });
  }

  void StartGrace() {
    grace.expires_after(timing.first_connect_grace);
    grace.async_wait([self = shared_from_this(), g = open_generation](const std::error_code& ec) {
      if (ec || self->Stale(g) || self->reported != Reported::kUnknown) return;
      self->reported = Reported::kDown;
      self->owner->NotifyState(
          LinkChange{false, self->last_failure.empty() ? std::string("no connection") : self->last_failure});
    });
  }

  void Queue(PendingWrite w) {
    if (!socket) return Complete(w, 0);
    writes.push_back(std::move(w));
    PumpWrites();
  }

  void PumpWrites() {
    if (writing || writes.empty() || !socket) return;
    writing = true;
    auto w = std::make_shared<PendingWrite>(std::move(writes.front()));
    writes.pop_front();
    asio::async_write(*socket, asio::buffer(w->bytes),
                      [self = shared_from_this(), g = open_generation, id = conn_id, w](const std::error_code& ec,
                                                                                      size_t n) {
                        Complete(*w, ec ? 0 : n);
                        if (self->Stale(g) || id != self->conn_id) return;
                        self->writing = false;
                        self->PumpWrites();
                      });
  }

  void FailWrites() {
    for (const PendingWrite& w : writes) Complete(w, 0);
    writes.clear();
    writing = false;
  }

  void Shut() {
    open = false;
    ++open_generation;
    std::error_code ignored;
    resolver.cancel();
    retry.cancel();
    grace.cancel();
    if (acceptor) acceptor->close(ignored);
    acceptor.reset();
    if (socket) DropConnection();
    reported = Reported::kUnknown;
    delay = std::chrono::milliseconds(0);
    last_failure.clear();
  }
};

std::string TcpLinkName(TcpLink::Mode mode, const std::string& host, uint16_t port) {
  const bool v6 = host.find(':') != std::string::npos;
  return std::string(mode == TcpLink::Mode::kConnect ? "tcp://" : "listen://") + (v6 ? "[" + host + "]" : host) +
         ":" + std::to_string(port);
}

TcpLink::TcpLink(NetService& net, Mode mode, std::string host, uint16_t port, TcpLinkTiming timing)
    : BufferedLink(net),
      mode_(mode),
      host_(std::move(host)),
      port_(port),
      local_port_(port),
      conn_(std::make_shared<Conn>(this, net.context(), timing)) {}

TcpLink::~TcpLink() {
  Close();
  StopEvents();
}

std::string TcpLink::LinkName() const { return TcpLinkName(mode_, host_, port_); }

bool TcpLink::PeerConnected() const { return conn_->peer; }

void TcpLink::Open() {
  if (open_) return;
  StartEvents();
  std::error_code failure;
  net().Call([&] {
    Conn& c = *conn_;
    c.open = true;
    ++c.open_generation;
    if (mode_ == Mode::kListen) {
      std::error_code ec;
      const asio::ip::address address = asio::ip::make_address(host_, ec);
      if (!ec) {
        const tcp::endpoint endpoint(address, port_);
        c.acceptor.emplace(c.io);
        c.acceptor->open(endpoint.protocol(), ec);
        if (!ec) c.acceptor->set_option(tcp::acceptor::reuse_address(true), ec);
        if (!ec) c.acceptor->bind(endpoint, ec);
        if (!ec) c.acceptor->listen(asio::socket_base::max_listen_connections, ec);
        if (!ec) local_port_ = c.acceptor->local_endpoint().port();
      }
      if (ec) {
        failure = ec;
        c.Shut();
        return;
      }
      c.StartAccept();
    } else {
      c.StartConnect();
    }
    c.StartGrace();
  });
  if (failure) {
    StopEvents();
    throw LinkError(kErrListen, failure.value());
  }
  open_ = true;
}

void TcpLink::Close() {
  if (!open_) return;
  open_ = false;
  auto conn = conn_;
  net().Call([conn] { conn->Shut(); });
  StopEvents();
}

int TcpLink::WriteStr(std::string_view text) {
  if (text.empty() || !open_ || !conn_->peer) return 0;
  auto done = std::make_shared<std::promise<size_t>>();
  std::future<size_t> sent = done->get_future();
  asio::post(net().context(), [conn = conn_, w = PendingWrite{std::string(text), done}]() mutable {
    if (!conn->open) return Complete(w, 0);
    conn->Queue(std::move(w));
  });
  if (net().IsCurrent()) return static_cast<int>(text.size());  // cannot wait on its own thread
  if (sent.wait_for(conn_->timing.write_timeout) != std::future_status::ready) return 0;
  return static_cast<int>(sent.get());
}

void TcpLink::SendInitialCommand(std::string_view command) {
  asio::post(net().context(), [conn = conn_, text = std::string(command)] {
    conn->greeting = text;
    if (conn->open && conn->socket && !text.empty()) conn->Queue(PendingWrite{text, nullptr});
  });
}

void TcpLink::InputTaken() {
  asio::post(net().context(), [conn = conn_] {
    if (conn->open && conn->paused && conn->socket && !conn->owner->ReadPaused()) conn->StartRead();
  });
}

}  // namespace duri
